// One screen holding every kind of widget, drawn on OpenGL with the generated
// interface images and written as a PNG into the build folder for a person to
// look at (ui_screens/widgets.png).

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>

#include "ui/pixel/ui_pixel_fixture.h"
#include "ui/ui_test_util.h"
#include "ui/ui_background.h"
#include "ui/ui_button.h"
#include "ui/ui_draw_help.h"
#include "ui/ui_group.h"
#include "ui/ui_image.h"
#include "ui/ui_list_element.h"
#include "ui/ui_static_text.h"
#include "ui/ui_text_element.h"
#include "ui_images/ui_image_palette.h"

namespace {

using namespace DRAVUI;
using QuillmereTest::NearColour;
namespace Palette = QuillmereTools::UiPalette;

// The primitive the hover window draws its bars with, shown as a strip of bars.
class ProgressStrip : public CUIElement {
public:
    explicit ProgressStrip(std::shared_ptr<CUIConfig> config) : CUIElement(0, std::move(config)) {
        SetRect(RECT{0, 0, 160, 40});
    }
    void Realize(DRAVCommon::CXPDevice*, CUIDrawHelp&) override {}
    void Draw(DRAVCommon::CXPDevice*, CUIDrawHelp& help, CUISprite& sprite, const POINT*) override {
        help.DrawProgress(sprite, RECT{m_rect.left, m_rect.top, m_rect.right, m_rect.top + 12}, 0xFFC03030, 0.7);
        help.DrawProgress(sprite, RECT{m_rect.left, m_rect.top + 14, m_rect.right, m_rect.top + 26}, 0xFF3050C0,
                          0.35);
        help.DrawBevel(sprite, 0xFF808080, 0xFFFFFFFF, RECT{m_rect.left, m_rect.top + 28, m_rect.right, m_rect.bottom},
                       3);
    }
};

class WidgetScreenTest : public QuillmereTest::UIPixelTest {
protected:
    std::shared_ptr<CUIConfig> Config() const { return m_manager.GetConfig(); }
    template <typename T>
    std::shared_ptr<T> Sized(std::shared_ptr<T> widget, LONG w, LONG h) {
        widget->SetRect(RECT{0, 0, w, h});
        return widget;
    }
};

TEST_F(WidgetScreenTest, EveryWidgetKindOnOneScreen) {
    // The backdrop: a tinted picture behind a framed panel.
    auto doll = std::make_shared<CUIImageBackground>(Config(), 9, 0x50FFFFFF);
    doll->SetRect(RECT{560, 250, 768, 590});
    auto panel = std::make_shared<CUIBackground>(Config());
    panel->SetFlag(UIF_BACKGROUND, true);
    panel->m_colour = 0xC0203028;

    // A bordered column of buttons and boxes, with a row of swatches.
    auto menu = std::make_shared<CUIGroup>("Reedwater", false, true, 0xC0101810, 4, Config());
    menu->SetFlag(UIF_BACKGROUND, true);
    auto hovered = Sized(std::make_shared<CUITextButton>(2, "Load Game", Config()), 192, 32);
    auto selected = Sized(std::make_shared<CUITextButton>(3, "Options", Config()), 192, 32);
    selected->SetFlag(UIF_SELECTED, true);
    auto blinking = Sized(std::make_shared<CUITextButton>(4, "Journal", Config()), 192, 32);
    blinking->SetFlag(UIF_BLINK, true);
    menu->AddChild(Sized(std::make_shared<CUITextButton>(1, "New Game", Config()), 192, 32));
    menu->AddChild(hovered);
    menu->AddChild(selected);
    menu->AddChild(blinking);
    menu->AddChild(Sized(std::make_shared<CUICheckButton>(Config(), 5, "Sound", true), 192, 24));
    menu->AddChild(Sized(std::make_shared<CUICheckButton>(Config(), 6, "Tutorial", false), 192, 24));
    auto swatches = std::make_shared<CUIGroup>(Config(), "", true, false, 0);
    auto red = Sized(std::make_shared<CUIColorButton>(Config(), 7, 0x003030C0), 32, 32);
    auto green = Sized(std::make_shared<CUIColorButton>(Config(), 8, 0x0040A040), 32, 32);
    green->SetFlag(UIF_SELECTED, true);
    swatches->AddChild(red);
    swatches->AddChild(green);
    swatches->AddChild(Sized(std::make_shared<CUIColorButton>(Config(), 9, 0x00C08040), 32, 32));
    menu->AddChild(swatches);
    menu->MoveTo(POINT{16, 16});

    // Static texts in their looks, and an edited name field.
    auto title = Sized(std::make_shared<CUIStaticText>("Widgets of the Reedwater interface", 0, Config()), 480, 24);
    title->SetFlag(UIF_ONE_LINE | UIF_CENTRED, true);
    title->MoveTo(POINT{260, 12});
    auto framed = Sized(std::make_shared<CUIStaticText>("Framed text", 0, Config()), 150, 22);
    framed->SetFlag(UIF_FRAMED, true);
    framed->MoveTo(POINT{260, 44});
    auto chosen = Sized(std::make_shared<CUIStaticText>("Selected", 0, Config()), 150, 22);
    chosen->SetFlag(UIF_FRAMED | UIF_SELECTED | UIF_ONE_LINE | UIF_CENTRED, true);
    chosen->MoveTo(POINT{420, 44});
    auto small = Sized(std::make_shared<CUIStaticText>("Small print under the ferry sign", 0, Config()), 170, 22);
    small->SetFlag(UIF_SMALL_FONT | UIF_ONE_LINE, true);
    small->MoveTo(POINT{580, 44});
    auto name = Sized(std::make_shared<CUIStaticText>("", 10, Config()), 150, 22);
    name->SetFlag(UIF_FRAMED | UIF_BACKGROUND | UIF_ONE_LINE, true);
    // Shift-A, l, d, r, i, c, shift-minus, 2.
    for (std::uint32_t key : {0x41u, 0x4Cu, 0x44u, 0x52u, 0x49u, 0x43u, 0xBDu, 0x32u})
        name->OnKey(key, key == 0x41u || key == 0xBDu);
    name->MoveTo(POINT{260, 74});
    auto hoveredText = Sized(std::make_shared<CUIStaticText>("Lights up under the mouse", 11, Config()), 150, 22);
    hoveredText->SetFlag(UIF_BACKGROUND | UIF_ONE_LINE, true);
    hoveredText->MoveTo(POINT{420, 74});

    // Icons: framed images, a logo, and image buttons at natural size.
    auto icons = std::make_shared<CUIGroup>(Config(), "", true, false, 0);
    for (int image : {12, 13, 17, 21, 22, 27})
        icons->AddChild(Sized(std::make_shared<CUIImage>(Config(), image, 0), 34, 34));
    for (int image : {66, 67, 76}) {
        auto button = Sized(std::make_shared<CUIImageButton>(Config(), 20 + image, image), 48, 48);
        button->SetFlag(UIF_CENTRED, true);
        icons->AddChild(button);
    }
    icons->MoveTo(POINT{260, 108});
    auto logo = Sized(std::make_shared<CUIImage>(Config(), 83, 0), 364, 90);
    logo->MoveTo(POINT{260, 164});

    // A list of image buttons, scrolled, one selected.
    auto list = std::make_shared<CUIListElement>(Config(), 0, "Pack", 48, 3, 48);
    list->SetRect(RECT{0, 0, 168, 16 + 3 * 48});
    list->SetFlag(UIF_LIST_TAKES_CELL_HITS, true);
    const int packIcons[] = {12, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28};
    for (int i = 0; i < 16; ++i)
        list->AddCell(i % 3, std::make_shared<CUIImageButton>(Config(), 100 + i, packIcons[i]));
    list->SelectId(104);
    list->ScrollBar().Scroll(1);
    list->MoveTo(POINT{262, 268});

    // A scrolled text panel and the message window over a log.
    auto text = std::make_shared<CUITextElement>(
        Config(), 0,
        "Welcome to GAMENAME LINE LINE The ferry to Reedwater has not run since the flood. LINE The reeds are "
        "taller than a man and the paths between them shift with the water. LINE Ask at the inn for Maren.",
        true, true);
    text->SetRect(RECT{440, 268, 760, 380});
    text->SetFlag(UIF_BACKGROUND, true);
    std::deque<std::string> log;
    for (int i = 1; i <= 400; ++i) log.push_back("Day " + std::to_string(i) + ": the heron watches the ford.");
    log.push_back("Aldric finds a rusted key in the mud.");
    auto messages = std::make_shared<CUIMessageWindow>(12, &log, true, Config());
    messages->SetRect(RECT{16, 440, 420, 580});
    messages->SetFlag(UIF_BACKGROUND, true);

    auto bars = std::make_shared<ProgressStrip>(Config());
    bars->MoveTo(POINT{440, 400});
    panel->FitAround({text, bars});
    *panel->GetRect() = Inflated(*panel->GetRect(), 6);

    for (std::shared_ptr<CUIElement> element :
         std::initializer_list<std::shared_ptr<CUIElement>>{doll, panel, menu, title, framed, chosen, small, name,
                                                            hoveredText, icons, logo, list, text, messages, bars})
        m_manager.AddElement(element);
    Realize();

    // The mouse rests on "Load Game".
    const RECT load = *hovered->GetRect();
    const POINT mouse{load.left + 20, load.top + 10};
    const auto pixels = DrawPixels(&mouse);
    const std::string folder = QUILLMERE_UI_SCREEN_DIR;
    std::filesystem::create_directories(folder);
    QuillmereTest::SavePng(pixels, kWidth, kHeight, folder + "/widgets.png");

    const QuillmereTest::Frame frame(pixels, kWidth, kHeight);
    EXPECT_TRUE(NearColour(frame.Rgb(load.left + 6, load.top + 6), Palette::kButtonHoverFill & 0xFFFFFF));
    const RECT swatch = *red->GetRect();
    EXPECT_EQ(frame.Rgb((swatch.left + swatch.right) / 2, (swatch.top + swatch.bottom) / 2), 0xC03030u);
    // The tick of the checked box.
    const RECT sound = *menu->GetChildren()[4]->GetRect();
    EXPECT_TRUE(NearColour(frame.Rgb(sound.left + 10, (sound.top + sound.bottom) / 2), Palette::kCrossMark & 0xFFFFFF));
    EXPECT_EQ(name->m_text, "Aldric_2");
}

}  // namespace
