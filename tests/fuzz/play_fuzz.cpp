// Plays a mutated sample chapter: the first byte chooses one of the chapter's
// definition, area or map files, the rest replaces its text. The harness starts a
// new game, spawns one of every monster kind made into actors beside the party and
// runs a few hundred ticks, saving and loading the game half-way. Data the game
// accepts must play; anything but a CDRAVException naming a file is a finding.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <utility>

#include "common/data_file_path.h"
#include "common/exception.h"
#include "common/random.h"
#include "engine/engine.h"
#include "rules/module.h"
#include "rules/monsters/actor_template.h"
#include "support/overlay_source.h"
#include "support/temp_dir.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/game.h"

namespace {

using DRAVCommon::DataFileKind;

const DRAV::CModuleVersionRange kExpected("Orvex", 5, 0);
constexpr int kTicks = 600;

// The files a new game of the chapter reads, in the order the seed corpus numbers them.
constexpr std::pair<DataFileKind, const char*> kFiles[] = {
    {DRAVCommon::DFK_CHAPTER, "world.drav"},       {DRAVCommon::DFK_GLOBAL, "global_world.drav"},
    {DRAVCommon::DFK_CHAPTER, "magic.drav"},       {DRAVCommon::DFK_GLOBAL, "global_magic.drav"},
    {DRAVCommon::DFK_CHAPTER, "items.drav"},       {DRAVCommon::DFK_GLOBAL, "global_items.drav"},
    {DRAVCommon::DFK_GLOBAL, "global_factions.drav"}, {DRAVCommon::DFK_CHAPTER, "monsters.drav"},
    {DRAVCommon::DFK_GLOBAL, "global_monsters.drav"}, {DRAVCommon::DFK_CHAPTER, "quests.drav"},
    {DRAVCommon::DFK_CHAPTER, "journal.drav"},     {DRAVCommon::DFK_CHAPTER, "reedwater_landing.drav"},
    {DRAVCommon::DFK_CHAPTER, "reed_marsh.drav"},  {DRAVCommon::DFK_CHAPTER, "reedwater_map.drav"},
};
constexpr std::size_t kFileCount = sizeof(kFiles) / sizeof(kFiles[0]);

const QuillmereTest::TempDir& SaveFolder() {
    static const QuillmereTest::TempDir folder;
    return folder;
}

bool CanBeMade(const DRAV::CActorTemplate& definition) {
    try {
        definition.Validate();
        return true;
    } catch (const CDRAVException&) {
        return false;
    }
}

// Every monster kind beside the main character. Only a base of other definitions
// may be incomplete: the module load refuses any other.
void SpawnEveryKind(DRAV::CEngine& engine) {
    const DRAV::CModule& module = *engine.GetModule();
    std::set<std::string> bases;
    for (const auto& [key, definition] : module.GetMonsterTemplates())
        bases.insert(definition->GetBases().begin(), definition->GetBases().end());
    DRAV::CArea& area = *engine.GetGame()->GetCurrentArea();
    const auto main = engine.GetGame()->GetMainActor();
    const auto column = static_cast<std::uint32_t>(main->GetX() / 2.5);
    const auto row = static_cast<std::uint32_t>(main->GetY() / 2.5);
    for (const auto& [key, definition] : module.GetMonsterTemplates()) {
        if (bases.count(key) && !CanBeMade(*definition)) continue;
        area.PlaceActor(column, row, true, area.CreateEncounterActor(key, "", 0, module));
    }
}

void Play(const std::shared_ptr<DRAVCommon::CDataFileFactory>& source) {
    auto engine = std::make_shared<DRAV::CEngine>();
    engine->LoadModule(1, kExpected, source);
    const std::shared_ptr<DRAV::CActor> main = engine->NewGame();
    main->SetName("Wren");
    engine->BeginNewGame(main);
    engine->EnterArea();
    SpawnEveryKind(*engine);
    const std::string path = SaveFolder() / "play.drav";
    for (int tick = 0; tick < kTicks; ++tick) {
        if (tick == kTicks / 2) {
            engine->SaveGame(path, kExpected, nullptr);
            std::string bonus;
            engine->LoadGame(path, kExpected, bonus);
        }
        engine->RunTick();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    static const auto sample = std::make_shared<DRAVCommon::CDataFileFactoryPath>(QUILLMERE_SAMPLE_DIR, 1);
    auto source = std::make_shared<QuillmereTest::OverlaySource>(sample);
    const auto& [kind, name] = kFiles[data[0] % kFileCount];
    source->Add(kind, DRAVCommon::DFS_NONE, name, std::string(data + 1, data + size));
    // The same rolls for the same input, so a finding repeats.
    DRAVCommon::GetRandomEngine().seed(1);
    try {
        Play(source);
    } catch (const CDRAVException& error) {
        if (error.GetMessage().find(".drav") == std::string::npos) __builtin_trap();
    }
    return 0;
}
