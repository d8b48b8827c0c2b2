#pragma once
// A sample game that has been played a little, for saved-game tests, the fuzz
// target and the benchmark: a party of six (four of its own, two summoned) that
// crossed from Reedwater Landing to the Reed Marsh through the map, with tags,
// a journal entry, gold and a running store.

#include <initializer_list>
#include <string>

#include "support/sample_game.h"
#include "rules/module_version_range.h"

namespace QuillmereTest {

// The version range the sample's saves are written and read under.
inline const DRAV::CModuleVersionRange kSampleVersion("Orvex", 5, 0);

// An engine holding the sample's first chapter and no game, to load a save into.
inline std::shared_ptr<DRAV::CEngine> FreshSampleEngine() {
    auto engine = std::make_shared<DRAV::CEngine>();
    engine->LoadModule(1, kSampleVersion, SampleFolderSource());
    return engine;
}

// `keys` join the party from cells (column, 2) onwards; with `summoned` they are
// summoned for an hour of game time.
inline void JoinParty(const SampleGame& game, std::initializer_list<const char*> keys, std::uint32_t column,
                      bool summoned) {
    DRAV::CGame& state = game.Game();
    for (const char* key : keys) {
        const auto actor = game.Spawn(key, column++, 2);
        if (!actor) continue;
        if (summoned) actor->SetSummonEndTick(state.GetTick() + 108000);
        state.AddPartyMember(actor);
    }
}

inline void PlaySampleGame(const SampleGame& game) {
    DRAV::CGame& state = game.Game();
    JoinParty(game, {"ferry_keeper", "reed_smuggler", "smuggler_lookout"}, 3, false);
    state.SetQuestTag("smugglers_seen", 1);
    state.AddJournalEntry("reed_smugglers", "reed_smugglers");
    state.SetGold(state.GetGold() + 250);
    game.Tick(10);

    state.SetEntry({"reedwater_map", ""}, DRAV::AREA_LOAD_FRESH, "");
    state.SetStateCode(DRAV::GAME_EXIT_AVAILABLE);
    game.Engine().LeaveArea();
    game.Engine().SetEntry({"reed_marsh", "landing"});
    game.Engine().EnterArea();
    // Summoned companions stay behind in an area left; these are called up here.
    JoinParty(game, {"marsh_spirit", "reed_smuggler"}, 2, true);
    game.Tick(20);
    game.DrainEvents();
}

}  // namespace QuillmereTest
