// Loads mutations of a real saved game of the sample: a game in the middle of
// everything (support/busy_game.h) in a calm is saved once, and each input is a
// list of edits of that text, four bytes each (two bytes of position scaled to the
// text, an operation, a byte): replace, insert, delete a run, or cut the text
// there. A load either fails with CDRAVException and leaves the running game as it
// was, or gives a game that plays a few hundred ticks, saves and loads again. A
// broken script ends only its tick, as the application goes on past it; any other
// error of play, and a save of its own that does not load, is a finding.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/exception.h"
#include "common/random.h"
#include "support/busy_game.h"
#include "support/temp_dir.h"

namespace {

const DRAV::CModuleVersionRange kExpected("Orvex", 5, 0);
// The ticks a loaded game plays: long enough for every queued order to come to its turn.
constexpr int kTicksPlayed = 300;

struct Fixture {
    QuillmereTest::SampleGame game;
    QuillmereTest::TempDir dir;
    std::string saved;

    Fixture() {
        if (!QuillmereTest::MakeBusy(game).goblin) std::abort();
        game.Game().SetCalmEnd(game.Game().GetTick() + 600);
        game.Engine().SaveGame(dir / "seed.drav", kExpected, nullptr);
        saved = QuillmereTest::ReadTextFile(dir / "seed.drav");
    }
};

std::string Mutate(std::string text, const std::uint8_t* data, std::size_t size) {
    for (std::size_t i = 0; i + 4 <= size && !text.empty(); i += 4) {
        const std::size_t at = (static_cast<std::size_t>(data[i]) << 8 | data[i + 1]) * text.size() / 65536;
        const std::uint8_t value = data[i + 3];
        switch (data[i + 2] % 4) {
            case 0: text[at] = static_cast<char>(value); break;
            case 1: text.insert(at, 1, static_cast<char>(value)); break;
            case 2: text.erase(at, value); break;
            default: text.resize(at); break;
        }
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Fixture fixture;
    const std::string path = fixture.dir.WriteFile("mutated.drav", Mutate(fixture.saved, data, size));
    const auto running = fixture.game.Engine().GetGame();
    const auto party = running->GetParty();
    std::string bonus = "kept";
    try {
        fixture.game.Engine().LoadGame(path, kExpected, bonus);
    } catch (const CDRAVException&) {
        if (fixture.game.Engine().GetGame() != running || running->GetParty() != party || bonus != "kept") std::abort();
        return 0;
    }
    // The same rolls for the same input, so a finding repeats.
    DRAVCommon::GetRandomEngine().seed(1);
    for (int tick = 0; tick < kTicksPlayed; ++tick) {
        try {
            fixture.game.Engine().RunTick();
        } catch (const CDRAVException& error) {
            if (error.GetCode() != DRAV_ERR_SCRIPT) {
                std::fprintf(stderr, "tick %d of a loaded save: error %d %s\n", tick, static_cast<int>(error.GetCode()),
                             error.GetMessage().c_str());
                std::abort();
            }
        }
        std::shared_ptr<DRAV::CEvent> event;
        while (fixture.game.Game().PopEvent(event)) {}
    }
    const std::string again = fixture.dir / "again.drav";
    try {
        fixture.game.Engine().SaveGame(again, kExpected, nullptr);
    } catch (const CDRAVException&) {
        // A game between areas is not saved.
        return 0;
    }
    try {
        fixture.game.Engine().LoadGame(again, kExpected, bonus);
    } catch (const CDRAVException& error) {
        std::fprintf(stderr, "its own save does not load: %s\n", error.GetMessage().c_str());
        std::abort();
    }
    return 0;
}
