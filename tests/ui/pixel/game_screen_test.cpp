// The game's own widgets on OpenGL: the mini-map's cells and party marks read back
// pixel by pixel, and the whole game screen on the sample chapter's start area,
// written as ui_screens/game_screen.png for a person to look at.

#include <gtest/gtest.h>

#include <filesystem>

#include "graphics/pixel/pixel_fixture.h"
#include "support/sample_module.h"
#include "ui/game_screen.h"
#include "ui/ui_test_util.h"
#include "world/area.h"

namespace {

using namespace DRAVUI;
using QuillmereTest::NearColour;

class GameScreenTest : public QuillmereTest::PixelWindowTest<1024, 768> {
protected:
    GameScreenTest() { m_manager.SetDataFileFactory(QuillmereTest::SampleInterfaceSource()); }

    std::vector<std::uint32_t> DrawPixels(const POINT* mouse) {
        D3D9Layer::CGLDevice* device = m_window.Device();
        m_wrapper.SetDefaultRenderStates(true);
        device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000000u, 1.0f, 0);
        device->BeginScene();
        m_manager.Draw(&m_wrapper, mouse);
        device->EndScene();
        return device->ReadBackBuffer();
    }
    QuillmereTest::Frame Draw(const POINT* mouse) { return QuillmereTest::Frame(DrawPixels(mouse), kWidth, kHeight); }

    QuillmereTest::SampleGame m_game;
    CUIManager m_manager;
};

TEST_F(GameScreenTest, TheMiniMapShowsExploredFloorAndFramedPartyMarks) {
    DRAV::CArea& open = m_game.EnterOpenArea(40, 20);
    std::shared_ptr<DRAV::CArea> area = m_game.Game().GetAreas().at("open");
    open.GetExploredCells().Clear();
    // Explored: every cell of rows 0 to 11 of the first 24 columns; the rest not.
    for (std::uint32_t row = 0; row < 12; ++row)
        for (std::uint32_t column = 0; column < 24; ++column) open.GetExploredCells().Set(column, row, true);
    auto map = std::make_shared<CUIMiniMap>(3, area, m_manager.GetConfig());
    map->SetRect(RECT{100, 100, 162, 142});  // inside (101, 101) 60 x 40: 30 x 20 cells from (0, 0)
    m_manager.AddElement(map);
    m_manager.Realize(&m_wrapper, 100);

    // The party member at world (1.5, 10): picture pixel (1, 8), the first column.
    m_game.Main()->SetPosition(1.5, 10.0);
    QuillmereTest::Frame frame = Draw(nullptr);
    // Cells are filtered: read the middle of uniform 3 x 3 blocks. A pixel of the
    // queue lands one to the right and below its rectangle's coordinates.
    const auto cellPixel = [](int column, int row) { return POINT{101 + 2 * column + 2, 101 + 2 * row + 2}; };
    const POINT floor = cellPixel(10, 4), dark = cellPixel(27, 15), darkBelow = cellPixel(10, 16);
    EXPECT_EQ(frame.Rgb(floor.x, floor.y), 0xC0C0C0u);
    EXPECT_EQ(frame.Rgb(dark.x, dark.y), 0u);
    EXPECT_EQ(frame.Rgb(darkBelow.x, darkBelow.y), 0u);
    // The mark: a 2 x 2 green inside a black frame, whose left edge covers the map's white frame.
    EXPECT_EQ(frame.Rgb(101 + 1 + 1, 101 + 8 + 1), 0x00FF00u);
    EXPECT_EQ(frame.Rgb(101, 101 + 8 + 1), 0u);
    EXPECT_EQ(frame.Rgb(101 + 1 + 1, 101 + 8 + 2), 0u);
    EXPECT_EQ(frame.Rgb(101, 101 + 15), 0xFFFFFFu);

    // On the first pixel row (py' = 1) the mark is not drawn.
    m_game.Main()->SetPosition(10.0, 1.5);
    frame = Draw(nullptr);
    for (int y = 100; y < 142; ++y)
        for (int x = 100; x < 162; ++x) ASSERT_NE(frame.Rgb(x, y), 0x00FF00u) << x << "," << y;
}

TEST_F(GameScreenTest, TheGameScreenOnTheStartArea) {
    std::shared_ptr<DRAV::CActor> smuggler = m_game.Spawn("reed_smuggler", 8, 6);
    ASSERT_TRUE(smuggler);
    QuillmereTest::SampleQuickActions actions(m_game);
    const QuillmereTest::GameScreen screen = QuillmereTest::BuildGameScreen(m_manager, m_game, actions, 1024, 768);
    m_manager.Realize(&m_wrapper, 100);
    ElementInfo hovered;
    ElementInfo::DescribeThing(hovered, smuggler.get(), m_game.Main().get());
    screen.hover->ShowInfo(hovered);

    const POINT overSlot{1024 - 40, 768 - 64 - 480 + 48 * 4 + 20};
    const std::vector<std::uint32_t> pixels = DrawPixels(&overSlot);
    const QuillmereTest::Frame frame(pixels, kWidth, kHeight);
    const std::string folder = QUILLMERE_UI_SCREEN_DIR;
    std::filesystem::create_directories(folder);
    QuillmereTest::SavePng(pixels, kWidth, kHeight, folder + "/game_screen.png");

    // The hover window's frame and the bar's green selected slot.
    EXPECT_EQ(frame.Rgb(8 + 100, 8), 0xFFFFFFu);
    EXPECT_EQ(frame.Rgb(1024 - 56 + 1, 768 - 64 - 480 + 24), 0x00C000u);
    // The party's mark on the mini-map: green at alpha 0xB0 over black.
    int marks = 0;
    for (int y = 9; y < 138; ++y)
        for (int x = 1024 - 209; x < 1024 - 8; ++x) marks += NearColour(frame.Rgb(x, y), 0x00B000u, 3);
    EXPECT_EQ(marks, 4);
    EXPECT_EQ(screen.bar->Slot(4).GetInfo().title,
              m_game.Module().GetItemTemplates().at("river_tonic")->GetName());
}

}  // namespace
