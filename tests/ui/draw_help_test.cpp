// The drawing service: its primitives as queued rectangles, the image cache, and
// the icon maps.

#include <gtest/gtest.h>

#include "common/data_file_memory.h"
#include "graphics/graphics_test_util.h"
#include "support/expect_drav.h"
#include "ui/ui_image_table.h"
#include "ui/ui_test_util.h"

namespace {

using namespace DRAVUI;
using QuillmereTest::ExpectRect;

using DrawHelpTest = QuillmereTest::UITest;

TEST_F(DrawHelpTest, BevelLevelsNestInwardLightTopLeftDarkBottomRight) {
    auto sprite = Sprite();
    Help().DrawBevel(sprite, 0xFFAAAAAA, 0xFF555555, RECT{0, 0, 10, 10}, 3);
    const auto& quads = sprite.GetPlainCommands();
    ASSERT_EQ(quads.size(), 12u);
    for (int level = 0; level < 3; ++level) {
        const LONG lo = level, hi = 10 - level;
        ExpectRect(quads[level * 4 + 0].dest, lo, lo, hi, lo + 1);
        ExpectRect(quads[level * 4 + 1].dest, lo, hi - 1, hi, hi);
        ExpectRect(quads[level * 4 + 2].dest, lo, lo + 1, lo + 1, hi - 1);
        ExpectRect(quads[level * 4 + 3].dest, hi - 1, lo + 1, hi, hi - 1);
        EXPECT_EQ(quads[level * 4 + 0].colour, 0xFFAAAAAAu);
        EXPECT_EQ(quads[level * 4 + 3].colour, 0xFF555555u);
    }
    auto none = Sprite();
    Help().DrawBevel(none, 0xFFFFFFFF, 0xFFFFFFFF, RECT{0, 0, 10, 10}, 0);
    Help().FillRect(none, 0xFFFFFFFF, RECT{5, 5, 5, 20});
    Help().FillRect(none, 0xFFFFFFFF, RECT{5, 5, 20, -3});
    EXPECT_TRUE(none.GetPlainCommands().empty());
}

TEST_F(DrawHelpTest, ProgressFramesItsInsideAndHoldsTheBarWithinIt) {
    auto sprite = Sprite();
    Help().DrawProgress(sprite, RECT{0, 0, 104, 10}, 0xFFFF0000, 0.5);
    const auto& quads = sprite.GetPlainCommands();
    ASSERT_EQ(quads.size(), 5u);
    ExpectRect(quads[0].dest, 1, 1, 103, 2);
    EXPECT_EQ(quads[0].colour, 0xFF808080u);
    EXPECT_EQ(quads[1].colour, 0xFFFFFFFFu);
    ExpectRect(quads[4].dest, 2, 2, 52, 8);
    // A fraction past either end would draw outside the frame.
    auto over = Sprite();
    Help().DrawProgress(over, RECT{0, 0, 104, 10}, 0xFFFF0000, 1.7);
    ExpectRect(over.GetPlainCommands().back().dest, 2, 2, 102, 8);
    auto under = Sprite();
    Help().DrawProgress(under, RECT{0, 0, 104, 10}, 0xFFFF0000, -0.2);
    EXPECT_EQ(under.GetPlainCommands().size(), 4u);
}

TEST_F(DrawHelpTest, ImagesAreReadOnceAndRegisteredPicturesCountFromOneThousand) {
    auto sprite = Sprite();
    Help().DrawImageRect(sprite, RECT{0, 0, 32, 32}, 0, 0xFFFFFFFF);
    EXPECT_TRUE(sprite.GetPlainCommands().empty() && sprite.GetTexturedCommands().empty());
    // Never loaded: a plain rectangle in the colour.
    Help().DrawImageRect(sprite, RECT{0, 0, 32, 32}, 30, 0xFF00FF00);
    ASSERT_EQ(sprite.GetPlainCommands().size(), 1u);
    EXPECT_EQ(sprite.GetPlainCommands()[0].colour, 0xFF00FF00u);

    Help().LoadImage(&m_wrapper, 11);
    const auto tick = Image(11);
    ASSERT_TRUE(tick);
    EXPECT_EQ(tick->GetImageWidth(), 32);
    Help().LoadImage(&m_wrapper, 11);
    EXPECT_EQ(Image(11), tick);
    Help().DrawImageRect(sprite, RECT{0, 0, 16, 16}, 11, 0x80FFFFFF);
    ASSERT_EQ(sprite.GetTexturedCommands().size(), 1u);
    EXPECT_EQ(sprite.GetTexturedCommands()[0].texture, tick);
    EXPECT_EQ(sprite.GetTexturedCommands()[0].colour, 0x80FFFFFFu);

    const auto png = QuillmereTest::SolidPng(4, 4, 0xFF123456);
    EXPECT_EQ(Help().AddImage(&m_wrapper, *png), 1000);
    EXPECT_EQ(Help().AddImage(&m_wrapper, *png), 1001);
    EXPECT_EQ(Help().FindImage(1001)->GetImageWidth(), 4);
    // The next screen on the device keeps the table's images; its pictures count afresh.
    m_manager.Clear();
    m_manager.Realize(&m_wrapper, 100);
    EXPECT_EQ(Image(11), tick);
    EXPECT_EQ(Help().AddImage(&m_wrapper, *png), 1000);
}

TEST_F(DrawHelpTest, AMissingImageFileFailsTheLoadWithCodeOne) {
    DRAVCommon::CDataFileFactoryMemory fontOnly;
    QuillmereTest::AddInterfaceFont(fontOnly);
    CUIDrawHelp help(&fontOnly, 100, Config());
    EXPECT_DRAV_CODE(help.LoadImage(&m_wrapper, 4), DRAV_ERR_BAD_DATA);
    EXPECT_DRAV_CODE(help.LoadImage(&m_wrapper, 500), DRAV_ERR_OUT_OF_RANGE);
    EXPECT_EQ(help.FindImage(4), nullptr);
    // A manager realized before it was given its source.
    DRAVUI::CUIManager bare;
    EXPECT_DRAV_CODE(bare.Realize(&m_wrapper, 100), DRAV_ERR_BAD_DATA);
    bare.Draw(&m_wrapper, nullptr);
}

TEST(IconMapTest, ItemKindsAndWeaponTypesMapToTheirIcons) {
    EXPECT_EQ(ItemKindIcon(1), 12);
    EXPECT_EQ(ItemKindIcon(9), 20);
    EXPECT_EQ(ItemKindIcon(10), 21);
    EXPECT_DRAV_CODE(ItemKindIcon(0), DRAV_ERR_OUT_OF_RANGE);
    EXPECT_DRAV_CODE(ItemKindIcon(11), DRAV_ERR_UNEXPECTED);
    EXPECT_DRAV_CODE(ItemKindIcon(-1), DRAV_ERR_UNEXPECTED);
    EXPECT_EQ(WeaponTypeIcon(0), 22);
    EXPECT_EQ(WeaponTypeIcon(5), 27);
    EXPECT_DRAV_CODE(WeaponTypeIcon(6), DRAV_ERR_UNEXPECTED);
    std::string base, extension;
    GetUiImageName(ItemKindIcon(9), base, extension);
    EXPECT_EQ(base + "." + extension, "icon_inv32.png");
}

}  // namespace
