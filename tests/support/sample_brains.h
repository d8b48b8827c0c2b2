#pragma once
// The sample chapter loaded once with the engine's brains, for tests and fuzz
// targets that make or load actors. Whoever includes this links the engine.

#include <memory>

#include "engine/brain/brain_functions.h"
#include "rules/module.h"
#include "support/sample_module.h"

namespace QuillmereTest {

inline const DRAV::CModule& SampleWithBrains() {
    static const std::unique_ptr<DRAV::CModule> module = [] {
        auto loaded = std::make_unique<DRAV::CModule>();
        loaded->SetBrainFunctions(DRAV::GetBrainFunctions());
        loaded->Load(1, nullptr, SampleFolderSource());
        return loaded;
    }();
    return *module;
}

}  // namespace QuillmereTest
