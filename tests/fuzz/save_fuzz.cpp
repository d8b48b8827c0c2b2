// Loads mutations of a real saved game of the sample: a played game is saved once,
// and each input is a list of edits of that text, four bytes each (two bytes of
// position scaled to the text, an operation, a byte): replace, insert, delete a run,
// or cut the text there. A load either fails with CDRAVException and leaves the
// running game as it was, or gives a game that saves again.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "common/exception.h"
#include "support/sample_save.h"
#include "support/temp_dir.h"

namespace {

const DRAV::CModuleVersionRange kExpected("Orvex", 5, 0);

struct Fixture {
    QuillmereTest::SampleGame game;
    QuillmereTest::TempDir dir;
    std::string saved;

    Fixture() {
        QuillmereTest::PlaySampleGame(game);
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
    try {
        fixture.game.Engine().SaveGame(fixture.dir / "again.drav", kExpected, nullptr);
    } catch (const CDRAVException&) {
    }
    return 0;
}
