// Feeds arbitrary bytes to the area loader as an area file of the sample chapter,
// under a load type and a from-area chosen by the first byte. Only CDRAVException
// may come out; a loaded area is then asked a few questions.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>

#include "common/data_file_reader.h"
#include "common/exception.h"
#include "rules/module.h"
#include "world/area.h"
#include "world/game.h"
#include "support/sample_brains.h"

namespace {

const DRAV::CModule& Module() { return QuillmereTest::SampleWithBrains(); }

void Probe(DRAV::CArea& area) {
    auto actor = std::make_shared<DRAV::CActor>(0x03000001);
    actor->SetRadius(0.5);
    area.PlaceActor(area.GetColumns() / 2, area.GetRows() / 2, false, actor);
    area.CanReachPoint(*actor, 0.0, 0.0, 100.0, 0.0, true);
    std::string sound;
    area.FindObjectSoundAt(actor->GetX(), actor->GetY(), sound);
    for (const auto& object : area.GetObjects()) area.IsObjectSeen(*object);
    area.ReplaceBlockedActors();
    area.MakeInactive();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const DRAV::CModule& module = Module();
    const std::uint8_t choice = size ? data[0] : 0;
    const std::string text = size ? std::string(reinterpret_cast<const char*>(data) + 1, size - 1) : std::string();
    DRAV::CGame game;
    DRAV::CArea area(&game);
    try {
        DRAVCommon::CDataFileReader reader(std::make_shared<std::istringstream>(text), "fuzz.drav");
        area.ReadAreaFile(reader, choice & 4 ? "reedwater_landing" : "", "fuzz", module, choice & 3, (choice & 8) != 0);
        Probe(area);
    } catch (const CDRAVException&) {
    }
    return 0;
}
