#pragma once
// The sample chapter's definitions, loaded once for a benchmark program.

#include <memory>

#include "common/data_file_path.h"
#include "engine/brain/brain_functions.h"
#include "rules/module.h"

namespace BenchSupport {

inline const DRAV::CModule& SampleModule() {
    static const std::unique_ptr<DRAV::CModule> module = [] {
        auto loaded = std::make_unique<DRAV::CModule>();
        loaded->SetBrainFunctions(DRAV::GetBrainFunctions());
        loaded->Load(1, nullptr, std::make_shared<DRAVCommon::CDataFileFactoryPath>(QUILLMERE_SAMPLE_DIR, 1));
        return loaded;
    }();
    return *module;
}

}  // namespace BenchSupport
