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
#include "rules/module.h"
#include "support/sample_brains.h"
#include "world/actor.h"
#include "world/game.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const DRAV::CModule& module = QuillmereTest::SampleWithBrains();
    auto stream = std::make_shared<std::istringstream>(std::string(reinterpret_cast<const char*>(data), size));
    try {
        DRAV::CGame game;
        DRAVCommon::CDataFileReader reader(stream, "fuzz.drav");
        DRAV::CActor actor(reader, game, module);
        DRAVCommon::CDataFileWriter writer("/dev/null");
        actor.Save(writer, module);
        writer.Finish();
    } catch (const CDRAVException&) {
    }
    return 0;
}
