#include <gtest/gtest.h>

#include "engine/engine.h"
#include "support/sample_module.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/game.h"

namespace {

// The second chapter is a real chapter of its own: its version, start and area.
TEST(SampleChapterTwo, LoadsAtItsOwnVersionAndANewGameEntersItsStartArea) {
    auto engine = std::make_shared<DRAV::CEngine>();
    engine->LoadModule(2, DRAV::CModuleVersionRange("Orvex", 5, 0), QuillmereTest::SampleFolderSource(2));
    const DRAV::CModule& module = *engine->GetModule();
    EXPECT_EQ(module.GetChapter(), 2);
    EXPECT_EQ(module.GetVersion(), 5);
    EXPECT_EQ(module.GetSecondVersion(), 1);

    std::shared_ptr<DRAV::CActor> main = engine->NewGame();
    main->SetName("Wren");
    engine->BeginNewGame(main);
    engine->EnterArea();
    DRAV::CArea* area = engine->GetGame()->GetCurrentArea();
    ASSERT_NE(area, nullptr);
    EXPECT_EQ(area->GetName(), "ashcombe_weir");
    EXPECT_EQ(main->GetArea(), area);
}

}  // namespace
