// The module sweep's parts that the game itself must agree with: a save the played
// game cannot make or load back comes out as the game's fault, not as a refusal.

#include <gtest/gtest.h>

#include <string>

#include "sample_play.h"
#include "support/sample_module.h"
#include "support/temp_dir.h"

TEST(SweepPlay, ASaveTheGameCannotMakeOrLoadIsItsOwnFault) {
    const QuillmereTest::TempDir folder;
    QuillmereFuzz::PlayPlan plan;
    plan.ticks = 20;
    plan.savePath = folder / "no such folder/play.drav";
    EXPECT_THROW(QuillmereFuzz::PlaySample(QuillmereTest::SampleFolderSource(1), plan), QuillmereFuzz::SaveNotLoaded);
}
