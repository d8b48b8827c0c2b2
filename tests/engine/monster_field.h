#pragma once
// The party alone on an open field with a seeded generator, for watching what
// monster AIs order.

#include "common/random.h"
#include "support/sample_game.h"

namespace QuillmereTest {

inline SampleGame MonsterField(unsigned seed) {
    SampleGame game = StartSampleGame();
    game.EnterOpenArea(40, 12);
    // The landing's goblins are left behind: no battle here.
    game.Game().SetInBattle(false);
    DRAVCommon::GetRandomEngine().seed(seed);
    return game;
}

// The actor's current continuing order as `T`, or null.
template <typename T>
const T* CurrentOrder(const DRAV::CActor& actor) {
    return dynamic_cast<const T*>(actor.GetCurrentOrder().get());
}

}  // namespace QuillmereTest
