// Reads arbitrary bytes as a saved actor block against the sample chapter, with the
// engine's brains. A loaded actor is saved again; only CDRAVException may come out.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>

#include "common/data_file_reader.h"
#include "common/data_file_writer.h"
#include "common/exception.h"
#include "engine/brain_functions.h"
#include "rules/module.h"
#include "support/sample_module.h"
#include "world/actor.h"
#include "world/game.h"

namespace {

const DRAV::CModule& Sample() {
    static const std::unique_ptr<DRAV::CModule> module = [] {
        auto loaded = std::make_unique<DRAV::CModule>();
        loaded->SetBrainFunctions(DRAV::GetBrainFunctions());
        loaded->Load(1, nullptr, QuillmereTest::SampleFolderSource());
        return loaded;
    }();
    return *module;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const DRAV::CModule& module = Sample();
    auto stream = std::make_shared<std::istringstream>(std::string(reinterpret_cast<const char*>(data), size));
    try {
        DRAV::CGame game;
        DRAVCommon::CDataFileReader reader(stream, "fuzz.drav");
        DRAV::CActor actor(reader, game, module);
        DRAVCommon::CDataFileWriter writer("/dev/null");
        actor.Save(writer);
        writer.Finish();
    } catch (const CDRAVException&) {
    }
    return 0;
}
