// The game screen's small widgets on the recording device: the clock's icons, the
// talk lines' scrolling and replies, the world map's placement and hover, the
// mini-map's picture alpha, widgets that outlive their area or map, and a dragged
// icon at the window's edge.

#include <gtest/gtest.h>

#include <sstream>

#include "common/data_file_memory.h"
#include "common/data_file_reader.h"
#include "common/exception.h"
#include "graphics/graphics_test_util.h"
#include "platform/win32/rect.h"
#include "rules/definitions/travel_map.h"
#include "support/sample_game.h"
#include "ui/ui_action_element.h"
#include "ui/ui_clock_button.h"
#include "ui/ui_hover_window.h"
#include "ui/ui_mini_map.h"
#include "ui/ui_talk_element.h"
#include "ui/ui_test_util.h"
#include "ui/ui_world_map.h"
#include "world/area.h"
#include "world/events/event.h"
#include "world/object.h"
#include "world/order.h"

namespace {

using namespace DRAVUI;
using QuillmereTest::ExpectRect;

class GameWidgetsTest : public QuillmereTest::UITest {};

// A title too wide for one line pushes the text below all of its lines.
TEST_F(GameWidgetsTest, TheHoverWindowsTextStartsBelowAWrappedTitle) {
    CUIHoverWindow hover(Config());
    hover.SetRect(RECT{8, 8, 196, 86});
    hover.Realize(&m_wrapper, Help());
    const POINT away{500, 500};
    for (const std::string title : {"River Blade", "The Blade of the Reed Wardens of the Lower Crossing"}) {
        ElementInfo record;
        record.title = title;
        record.titleColour = 0xFFFFFF00;
        record.text = "Dam: 1-6";
        record.actionHint = "Info";
        record.icon = 22;  // a blade's, which narrows the text beside it
        hover.ShowInfo(record);
        auto sprite = Sprite();
        hover.Draw(&m_wrapper, Help(), sprite, &away);
        const SpriteCommand* titleLines = nullptr;
        const SpriteCommand* text = nullptr;
        for (const auto& command : sprite.GetTexturedCommands()) {
            if (command.colour == 0xFFFFFF00) titleLines = &command;
            if (command.colour == 0xFFFFFFFF && titleLines && !text) text = &command;  // the hint line comes after
        }
        ASSERT_TRUE(titleLines && text) << title;
        EXPECT_GE(text->dest.top, titleLines->dest.bottom) << title;
        EXPECT_LT(text->dest.top, titleLines->dest.bottom + Help().LargeFont().GetLineHeight() / 2) << title;
        EXPECT_LE(text->dest.bottom, 86 - 25) << title << ": the hint line below stays clear";
    }
}

TEST_F(GameWidgetsTest, APausedClockWithoutFastMovementShowsPausedRunAndFastOff) {
    CUIClockButton clock(6, Config());
    clock.SetRect(RECT{100, 200, 148, 248});
    clock.SetState(true, false);
    clock.Realize(&m_wrapper, Help());
    EXPECT_EQ(clock.GetInfo().actionHint, "Toggle Fast");
    auto sprite = Sprite();
    const POINT away{0, 0};
    clock.Draw(&m_wrapper, Help(), sprite, &away);
    const auto& textured = sprite.GetTexturedCommands();
    ASSERT_EQ(textured.size(), 3u);
    EXPECT_EQ(textured[0].texture, Image(69));
    ExpectRect(textured[0].dest, 92, 192, 156, 256);  // 64 x 64 around the centre
    EXPECT_EQ(textured[1].texture, Image(71));
    ExpectRect(textured[1].dest, 104, 228, 120, 244);
    EXPECT_EQ(textured[2].texture, Image(75));
    ExpectRect(textured[2].dest, 128, 228, 144, 244);
    EXPECT_EQ(sprite.GetPlainCommands().front().colour, kPanelBackground);

    // Under the mouse the button image replaces background and bevel.
    auto hot = Sprite();
    const POINT over{120, 220};
    clock.SetState(false, true);
    clock.Draw(&m_wrapper, Help(), hot, &over);
    EXPECT_TRUE(hot.GetPlainCommands().empty());
    EXPECT_EQ(hot.GetTexturedCommands().front().texture, Image(4));
    EXPECT_EQ(hot.GetTexturedCommands()[1].texture, Image(68));
    EXPECT_EQ(hot.GetTexturedCommands()[2].texture, Image(70));
    EXPECT_EQ(hot.GetTexturedCommands()[3].texture, Image(76));
}

TEST_F(GameWidgetsTest, TalkLinesScrollByWholeEntriesAndOnlyRepliesAreClicked) {
    const std::vector<std::string> lines = {"The river is high tonight.", "The ferry waits at the landing.",
                                            "Mind the reeds."};
    const std::vector<std::string> replies = {"Take me across.", "Farewell."};
    auto talk = std::make_shared<CUITalkElement>(Config(), &lines, &replies, 100);
    talk->SetRect(RECT{50, 50, 450, 350});
    m_manager.AddElement(talk);
    talk->Realize(&m_wrapper, Help());
    EXPECT_EQ(talk->ScrollBar().m_range, 4u);

    auto sprite = Sprite();
    talk->Draw(&m_wrapper, Help(), sprite, nullptr);
    ASSERT_EQ(talk->GetChoiceRects().size(), 2u);
    const RECT second = talk->GetChoiceRects()[1];
    ASSERT_LT(second.top, second.bottom);
    // A partner line is no hit; the second reply clicks 101.
    EXPECT_FALSE(Mouse(MOUSE_PRESS, 100, 55));
    EXPECT_TRUE(DrainEvents().empty());
    ASSERT_TRUE(Mouse(MOUSE_PRESS, second.left + 5, second.top + 2));
    EXPECT_EQ(DrainEvents(), (std::vector<std::string>{"1(101)", "0"}));

    // The reply under the mouse is drawn black on white.
    auto hovered = Sprite();
    const POINT over{second.left + 5, second.top + 2};
    talk->Draw(&m_wrapper, Help(), hovered, &over);
    EXPECT_EQ(hovered.GetTexturedCommands().back().colour, 0xFF000000u);

    // At position 4 only the last reply is shown, at the top of the box.
    talk->ScrollBar().m_position = 4;
    auto scrolled = Sprite();
    talk->Draw(&m_wrapper, Help(), scrolled, nullptr);
    EXPECT_TRUE(IsRectEmpty(&talk->GetChoiceRects()[0]));
    EXPECT_EQ(talk->GetChoiceRects()[1].top, 52);
    const POINT onLast{60, 55};
    CUIElement* element = nullptr;
    int id = 0;
    ASSERT_TRUE(talk->HitTest(&onLast, &element, &id));
    EXPECT_EQ(id, 101);
}

// The innkeeper's line as the party's names expand in it, and a reply with an empty
// line: each marker ends a line and none is drawn as a word.
TEST_F(GameWidgetsTest, TalkLinesAndRepliesEndALineAtEachMarker) {
    const std::vector<std::string> lines = {"Let me write your company in the book: LINE - Wren (Spellcaster 1) LINE ",
                                            "Welcome."};
    const std::vector<std::string> replies = {"Sign LINE LINE here."};
    CUITalkElement talk(Config(), &lines, &replies, 100);
    talk.SetRect(RECT{0, 0, 900, 400});  // wide enough that nothing wraps
    talk.Realize(&m_wrapper, Help());
    auto sprite = Sprite();
    talk.Draw(&m_wrapper, Help(), sprite, nullptr);

    const auto& drawn = talk.GetTextCache();
    ASSERT_EQ(drawn.size(), 3u);
    EXPECT_EQ(drawn.at(0)->text, "Let me write your company in the book:\n- Wren (Spellcaster 1)");
    EXPECT_EQ(drawn.at(2)->text, "Sign\n\nhere.");
    const auto height = [](const CUITextTexture& text) { return text.textRect.bottom - text.textRect.top; };
    const int one = height(*drawn.at(1));
    ASSERT_GT(one, 0);
    EXPECT_EQ(height(*drawn.at(0)), 2 * one);
    EXPECT_EQ(height(*drawn.at(2)), 3 * one) << "the empty line keeps its height";
    const RECT reply = talk.GetChoiceRects().at(0);
    EXPECT_GE(reply.bottom - reply.top, 3 * Help().LargeFont().GetLineHeight() - 1);
}

// A world map of a 1000 x 500 picture with a shown area at (450, 200), 100 x 100,
// a hidden one at (100, 100) and a shown one at (800, 50).
class WorldMapTest : public QuillmereTest::UITest {
protected:
    WorldMapTest() {
        auto source = std::make_shared<DRAVCommon::CDataFileFactoryMemory>();
        source->Add(DRAVCommon::DFK_MAP, DRAVCommon::DFS_NONE, "country.png",
                    *QuillmereTest::SolidPng(1000, 500, 0xFF336633));
        source->Add(DRAVCommon::DFK_MAP, DRAVCommon::DFS_NONE, "country_areas.png",
                    *QuillmereTest::SolidPng(1000, 500, 0xFFCC9966));
        m_source = source;
        const std::string text =
            "<map> country \"country.png\" \"country_areas.png\" <areas>"
            " <area> ford \"The Ford\" 450 200 100 100 true ford </area>"
            " <area> hollow \"The Hollow\" 100 100 100 100 false hollow </area>"
            " <area> tower \"The Tower\" 800 50 50 50 true tower </area>"
            " </areas> </map>";
        DRAVCommon::CDataFileReader reader(std::make_shared<std::istringstream>(text), "country.drav");
        m_map = DRAV::CMap2::Load(nullptr, reader);
    }

    std::shared_ptr<CUIWorldMap> Make(bool canEnter) {
        auto map = std::make_shared<CUIWorldMap>(Config(), 100, m_map, "ford", m_source, canEnter);
        map->SetRect(RECT{0, 0, 600, 600});
        map->Realize(&m_wrapper, Help());
        return map;
    }

    std::shared_ptr<DRAVCommon::CDataFileFactory> m_source;
    std::shared_ptr<DRAV::CMap2> m_map;
};

TEST_F(WorldMapTest, ThePictureFitsTheRectangleAndOnlyShownAreasAreDrawn) {
    auto map = Make(true);
    auto sprite = Sprite();
    map->Draw(&m_wrapper, Help(), sprite, nullptr);
    const auto& textured = sprite.GetTexturedCommands();
    ASSERT_EQ(textured.size(), 3u);  // the picture, the ford, the tower
    ExpectRect(textured[0].dest, 0, 150, 600, 450);
    EXPECT_EQ(textured[0].mode, static_cast<std::uint32_t>(CUISprite::MODE_BACKGROUND));
    EXPECT_EQ(textured[0].texture, map->GetManager().GetBackground());
    ExpectRect(textured[1].dest, 270, 270, 330, 330);
    ExpectRect(textured[1].source, 450, 200, 550, 300);
    EXPECT_EQ(textured[1].texture, map->GetManager().GetAreaImage());
    ExpectRect(textured[2].source, 800, 50, 850, 100);
}

TEST_F(WorldMapTest, HoveringAnAreaSelectsItAndTheBackgroundSelectsNothing) {
    auto map = Make(true);
    m_manager.AddElement(map);
    CUIElement* element = nullptr;
    int id = 0;
    const POINT ford{300, 300};
    ASSERT_TRUE(map->HitTest(&ford, &element, &id));
    EXPECT_EQ(id, 100);
    EXPECT_EQ(map->GetSelectedDestination(), "ford");
    EXPECT_EQ(map->GetInfo().title, "The Ford");
    EXPECT_EQ(map->GetInfo().text, "(current area)");
    EXPECT_EQ(map->GetInfo().actionHint, "Enter Area");
    EXPECT_EQ(map->GetInfo().kind, INFO_LOCATION);

    // The hidden hollow (map point 150, 150 is screen 90, 240) and the open country find nothing.
    const POINT hollow{90, 240}, country{450, 400};
    for (const POINT& point : {hollow, country}) {
        ASSERT_TRUE(map->HitTest(&point, &element, &id));
        EXPECT_TRUE(map->GetSelectedDestination().empty());
        EXPECT_EQ(map->GetInfo().kind, INFO_NOTHING);
    }
    // A click there still clicks the map; the dialog then travels nowhere.
    ASSERT_TRUE(Mouse(MOUSE_PRESS, 450, 400));
    EXPECT_EQ(DrainEvents(), (std::vector<std::string>{"1(100)", "0"}));

    // Without travel no area offers "Enter Area"; another area is not the current one.
    auto looking = Make(false);
    const POINT tower{495, 195};  // map point (825, 75)
    ASSERT_TRUE(looking->HitTest(&tower, &element, &id));
    EXPECT_EQ(looking->GetSelectedDestination(), "tower");
    EXPECT_TRUE(looking->GetInfo().actionHint.empty());
    EXPECT_TRUE(looking->GetInfo().text.empty());
}

TEST_F(WorldMapTest, AWorldMapThatOutlivesItsMapDrawsAndFindsNothing) {
    auto map = Make(true);
    m_map.reset();
    auto sprite = Sprite();
    map->Draw(&m_wrapper, Help(), sprite, nullptr);
    EXPECT_TRUE(sprite.GetTexturedCommands().empty());
    const POINT ford{300, 300};
    EXPECT_TRUE(map->HitTest(&ford, nullptr, nullptr));
    EXPECT_TRUE(map->GetSelectedDestination().empty());
    // Before any map is set nothing is found either.
    DRAVGraph::CGraphicsMapManager2 empty;
    EXPECT_FALSE(empty.AreaAtPoint(RECT{0, 0, 600, 600}, 300, 300, nullptr));
}

// A damaged picture: the other one of the pair gives the size, so the map keeps
// its layout and its areas stay where they were; with neither there is no map.
TEST_F(WorldMapTest, AnUnreadablePictureIsAnEmptyOneOfTheSameSize) {
    auto source = std::make_shared<DRAVCommon::CDataFileFactoryMemory>();
    const std::string damaged = "not a picture";
    source->Add(DRAVCommon::DFK_MAP, DRAVCommon::DFS_NONE, "country.png",
                DRAVCommon::ByteVector(damaged.begin(), damaged.end()));
    source->Add(DRAVCommon::DFK_MAP, DRAVCommon::DFS_NONE, "country_areas.png",
                *QuillmereTest::SolidPng(1000, 500, 0xFFCC9966));
    m_source = source;
    auto map = Make(true);
    const auto& background = map->GetManager().GetBackground();
    ASSERT_NE(background, nullptr);
    EXPECT_EQ(background->GetImageWidth(), 1000);
    EXPECT_EQ(background->GetImageHeight(), 500);
    auto sprite = Sprite();
    map->Draw(&m_wrapper, Help(), sprite, nullptr);
    ASSERT_EQ(sprite.GetTexturedCommands().size(), 3u);
    ExpectRect(sprite.GetTexturedCommands()[0].dest, 0, 150, 600, 450);
    const POINT ford{300, 300};
    ASSERT_TRUE(map->HitTest(&ford, nullptr, nullptr));
    EXPECT_EQ(map->GetSelectedDestination(), "ford");

    // The overlay missing instead: the picture gives the size the same way.
    auto swapped = std::make_shared<DRAVCommon::CDataFileFactoryMemory>();
    swapped->Add(DRAVCommon::DFK_MAP, DRAVCommon::DFS_NONE, "country.png",
                 *QuillmereTest::SolidPng(1000, 500, 0xFF336633));
    m_source = swapped;
    auto overlayless = Make(true);
    ASSERT_NE(overlayless->GetManager().GetAreaImage(), nullptr);
    EXPECT_EQ(overlayless->GetManager().GetAreaImage()->GetImageWidth(), 1000);

    m_source = std::make_shared<DRAVCommon::CDataFileFactoryMemory>();
    auto blind = std::make_shared<CUIWorldMap>(Config(), 100, m_map, "ford", m_source, true);
    EXPECT_THROW(blind->Realize(&m_wrapper, Help()), CDRAVException);
}

class MiniMapTest : public QuillmereTest::UITest {
protected:
    QuillmereTest::SampleGame m_game;
};

TEST_F(MiniMapTest, WithFlag512ThePictureIsTranslucentAndAGoneAreaDrawsNothing) {
    DRAV::CArea& open = m_game.EnterOpenArea(20, 12);
    open.GetExploredCells().Set(3, 2, true);
    std::shared_ptr<DRAV::CArea> area = m_game.Game().GetAreas().at("open");
    CUIMiniMap map(3, area, Config());
    map.SetRect(RECT{0, 0, 42, 26});  // 20 x 12 cells
    map.SetFlag(UIF_BACKGROUND, true);
    map.Realize(&m_wrapper, Help());
    auto sprite = Sprite();
    map.Draw(&m_wrapper, Help(), sprite, nullptr);
    ASSERT_FALSE(sprite.GetTexturedCommands().empty());
    const auto& picture = *sprite.GetTexturedCommands().front().texture;
    EXPECT_EQ(picture.GetImageWidth(), 20);
    EXPECT_EQ(picture.GetImageHeight(), 12);
    EXPECT_EQ(QuillmereTest::TexturePixel(picture, 3, 2), 0xB0C0C0C0u);
    EXPECT_EQ(QuillmereTest::TexturePixel(picture, 4, 2), 0xB0000000u);
    // The frame stays opaque white.
    EXPECT_EQ(sprite.GetPlainCommands().front().colour, 0xFFFFFFFFu);

    // The party stands in the open area: its mark is translucent too.
    bool green = false;
    for (const auto& command : sprite.GetPlainCommands()) green |= command.colour == 0xB000FF00u;
    EXPECT_TRUE(green);

    // A click flips the view and shows the reversal icon.
    EXPECT_EQ(map.OnMouse(MOUSE_PRESS, nullptr), ANSWER_CLICK);
    auto reversed = Sprite();
    map.Draw(&m_wrapper, Help(), reversed, nullptr);
    EXPECT_EQ(reversed.GetTexturedCommands().back().texture, Image(79));
    EXPECT_EQ(reversed.GetTexturedCommands().back().colour, 0xB0FFFFFFu);

    std::weak_ptr<DRAV::CArea> gone;
    {
        auto dropped = std::make_shared<DRAV::CArea>(&m_game.Game());
        gone = dropped;
    }
    CUIMiniMap stale(3, gone, Config());
    stale.SetRect(RECT{0, 0, 42, 26});
    auto nothing = Sprite();
    stale.Draw(&m_wrapper, Help(), nothing, nullptr);
    EXPECT_TRUE(nothing.GetPlainCommands().empty());
    EXPECT_TRUE(nothing.GetTexturedCommands().empty());
}

TEST_F(GameWidgetsTest, AnIconDraggedPastTheTopLeftEdgeIsQueuedWhereItIs) {
    auto slot = std::make_shared<CUIActionElement2>(Config(), 5, false, false);
    slot->SetRect(RECT{10, 10, 58, 58});
    slot->SetFlag(UIF_DRAGGABLE, true);
    slot->ShowAttack();
    m_manager.AddElement(slot);
    m_manager.Realize(&m_wrapper, 150);
    ASSERT_TRUE(m_manager.OnMouse(MOUSE_PRESS, std::make_unique<POINT>(POINT{30, 30}).get(), 0));
    // The mouse at window pixel (-6, 3) is logical (-4, 2): the icon hangs off both edges.
    ASSERT_TRUE(m_manager.OnMouse(MOUSE_MOVE, std::make_unique<POINT>(POINT{-6, 3}).get(), 0));
    ExpectRect(*slot->GetRect(), -28, -22, 20, 26);

    CUISprite sprite(&m_wrapper, 150, nullptr);
    slot->DrawDrag(&m_wrapper, *m_manager.GetDrawHelp(), sprite, nullptr);
    ASSERT_FALSE(sprite.GetTexturedCommands().empty());
    // The face over the slot, scaled 150 % with the edges rounded down.
    ExpectRect(sprite.GetTexturedCommands().front().dest, -42, -33, 30, 39);
}

}  // namespace

namespace {

class SampleTalkTest : public QuillmereTest::UITest {
protected:
    QuillmereTest::SampleGame m_game;
};

TEST_F(SampleTalkTest, TheHeronsLongMemoryOverflowsTheTalkBoxAndScrolls) {
    DRAV::CObject* heron = nullptr;
    for (const auto& object : m_game.Area().GetObjects())
        if (object->GetName() == "Heron Statue") heron = object.get();
    ASSERT_TRUE(heron);
    m_game.Main()->SetPosition(heron->GetX() + 1.2, heron->GetY());
    ASSERT_TRUE(m_game.Main()->IsNextToObject(*heron));
    m_game.DrainEvents();
    m_game.Engine().RunInstantOrder(*m_game.Main(), DRAV::CTalkOrder(heron->GetId(), "history", ""));
    std::vector<std::string> lines;
    for (const auto& event : m_game.DrainEvents())
        if (auto* message = dynamic_cast<DRAV::CMessageEvent*>(event.get())) lines.push_back(message->GetText());
    std::vector<std::string> replies;
    for (const auto& choice : heron->GetTalkChoices()) replies.push_back(choice->GetText());
    ASSERT_EQ(lines.size(), 6u);
    ASSERT_EQ(replies.size(), 4u);

    // The conversation dialog's box: the last replies do not fit until scrolled.
    CUITalkElement talk(Config(), &lines, &replies, 100);
    talk.SetRect(RECT{0, 0, 400, 200});
    talk.Realize(&m_wrapper, Help());
    auto sprite = Sprite();
    talk.Draw(&m_wrapper, Help(), sprite, nullptr);
    EXPECT_TRUE(IsRectEmpty(&talk.GetChoiceRects().back()));
    talk.ScrollBar().m_position = talk.ScrollBar().m_range;
    talk.Draw(&m_wrapper, Help(), sprite, nullptr);
    EXPECT_FALSE(IsRectEmpty(&talk.GetChoiceRects().back()));
}

}  // namespace

namespace {

class SampleWorldMapTest : public QuillmereTest::UITest {
protected:
    QuillmereTest::SampleGame m_game;
};

TEST_F(SampleWorldMapTest, TheChapterMapShowsOnlyTheAreasThePartyKnows) {
    DRAV::CGame& game = m_game.Game();
    ASSERT_TRUE(game.FindAndLoadTempMap("reedwater_map", m_game.Module()));
    std::shared_ptr<DRAV::CMap2> map = game.GetMaps().at("reedwater_map");
    CUIWorldMap widget(Config(), 100, map, "reedwater_landing", QuillmereTest::SampleFolderSource(), true);
    widget.SetRect(RECT{0, 0, 480, 400});  // twice the picture's 240 x 200
    widget.Realize(&m_wrapper, Help());
    EXPECT_EQ(widget.GetManager().GetBackground()->GetImageWidth(), 240);
    EXPECT_EQ(widget.GetManager().GetAreaImage()->GetImageHeight(), 200);

    auto sprite = Sprite();
    widget.Draw(&m_wrapper, Help(), sprite, nullptr);
    ASSERT_EQ(sprite.GetTexturedCommands().size(), 2u);  // the picture and the landing
    ExpectRect(sprite.GetTexturedCommands()[1].dest, 0, 240, 192, 368);
    const POINT landing{50, 300}, hide{340, 70};
    ASSERT_TRUE(widget.HitTest(&landing, nullptr, nullptr));
    EXPECT_EQ(widget.GetSelectedDestination(), "reedwater_landing");
    EXPECT_EQ(widget.GetInfo().text, "(current area)");
    ASSERT_TRUE(widget.HitTest(&hide, nullptr, nullptr));
    EXPECT_TRUE(widget.GetSelectedDestination().empty());

    // Once the party learns of the hide it is drawn and can be chosen.
    map->GetArea("smugglers_hide").SetKnown(true);
    ASSERT_TRUE(widget.HitTest(&hide, nullptr, nullptr));
    EXPECT_EQ(widget.GetSelectedDestination(), "smugglers_hide");
    EXPECT_EQ(widget.GetInfo().title, "The Smugglers' Hide");
}

}  // namespace
