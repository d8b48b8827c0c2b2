#pragma once
// A sample game that has been played a little, for saved-game tests, the fuzz
// target and the benchmark: a party of six (four of its own, two summoned) that
// crossed from Reedwater Landing to the Reed Marsh through the map, with tags,
// a journal entry, gold and a running store.

#include <string>

#include "support/sample_game.h"

namespace QuillmereTest {

inline void PlaySampleGame(const SampleGame& game) {
    DRAV::CGame& state = game.Game();
    const char* joiners[] = {"ferry_keeper", "reed_smuggler", "smuggler_lookout", "marsh_spirit", "reed_smuggler"};
    std::uint32_t column = 3;
    for (const char* key : joiners) {
        const auto actor = game.Spawn(key, column++, 2);
        if (!actor) continue;
        if (state.IsPartyFull()) actor->SetSummonEndTick(state.GetTick() + 90000);
        state.AddPartyMember(actor);
    }
    state.SetQuestTag("smugglers_seen", 1);
    state.AddJournalEntry("reed_smugglers", "reed_smugglers");
    state.SetGold(state.GetGold() + 250);
    game.Tick(10);

    state.SetEntry({"reedwater_map", ""}, DRAV::AREA_LOAD_FRESH, "");
    state.SetStateCode(DRAV::GAME_EXIT_AVAILABLE);
    game.Engine().LeaveArea();
    game.Engine().SetEntry({"reed_marsh", "landing"});
    game.Engine().EnterArea();
    game.Tick(20);
    game.DrainEvents();
}

}  // namespace QuillmereTest
