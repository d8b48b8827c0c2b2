#include <SDL_image.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "driver.h"
#include "game/app.h"
#include "game/dialogs/front/chapter_dlg.h"
#include "game/dialogs/dialog.h"
#include "ui/ui_button.h"
#include "ui/ui_group.h"

namespace {

using namespace QuillmereE2E;
namespace fs = std::filesystem;

// The splash, ended by a click, and a moment for the front page to paint.
std::vector<Step> ToTheFrontPage(std::vector<Step> then) {
    std::vector<Step> steps{Wait(200), Move(500, 400), Click(500, 400), Wait(100)};
    steps.insert(steps.end(), then.begin(), then.end());
    return steps;
}

std::string CurrentTitle() {
    const auto& dialog = GetApp().GetCurrentDialog();
    return dialog ? dialog->GetTitle() : "(none)";
}

// The chapter strip's buttons as "id:image@x,y" at their centres in window pixels.
std::string StripButtons() {
    auto& ui = GetApp().GetUIManager();
    std::ostringstream out;
    for (const auto& element : ui.GetElements()) {
        auto* page = dynamic_cast<DRAVUI::CUIGroup*>(element.get());
        if (!page || page->GetChildren().empty()) continue;
        auto* strip = dynamic_cast<DRAVUI::CUIGroup*>(page->GetChildren().back().get());
        if (!strip) continue;
        for (const auto& child : strip->GetChildren()) {
            auto& button = dynamic_cast<DRAVUI::CUIImageButton&>(*child);
            const POINT centre = RectCenter(*button.GetRect());
            const LONG scale = static_cast<LONG>(ui.GetScale());
            out << button.GetId() << ':' << button.GetImageId() << '@' << centre.x * scale / 100 << ','
                << centre.y * scale / 100 << ' ';
        }
    }
    return out.str();
}

// How much a square around a point varies: a picture does, a plain face does not.
double Variation(SDL_Surface* image, int x, int y) {
    SDL_Surface* rgb = SDL_ConvertSurfaceFormat(image, SDL_PIXELFORMAT_RGB24, 0);
    double lo = 1e9, hi = -1e9;
    for (int dy = -20; dy <= 20; dy += 4)
        for (int dx = -20; dx <= 20; dx += 4) {
            const auto* p = static_cast<const Uint8*>(rgb->pixels) + (y + dy) * rgb->pitch + (x + dx) * 3;
            const double luma = 0.3 * p[0] + 0.59 * p[1] + 0.11 * p[2];
            lo = std::min(lo, luma);
            hi = std::max(hi, luma);
        }
    SDL_FreeSurface(rgb);
    return hi - lo;
}

TEST(FrontPage, AClickOnTheSplashShowsWelcomeWithTheStripAndKeysChangeNothing) {
    Driver driver;
    Observed run = driver.Execute(ToTheFrontPage({
        Screenshot("welcome"),
        Check("strip", StripButtons),
        Key(SDL_SCANCODE_ESCAPE),
        Key(SDL_SCANCODE_RETURN),
        Wait(50),
        Check("after keys", CurrentTitle),
    }));
    EXPECT_TRUE(run.exited) << run.log;
    EXPECT_TRUE(run.boxes.empty()) << run.boxes.front().caption << ": " << run.boxes.front().text;
    ASSERT_FALSE(run.titles.empty());
    EXPECT_EQ(run.titles.back(), "Quillmere - Welcome");
    EXPECT_EQ(run.checks["after keys"], "Welcome");

    // The sample's two chapters, each by its picture, and nothing after them.
    std::istringstream strip(run.checks["strip"]);
    std::vector<std::tuple<int, int, int, int>> buttons;
    std::string entry;
    while (strip >> entry) {
        int id = 0, image = 0, x = 0, y = 0;
        ASSERT_EQ(std::sscanf(entry.c_str(), "%d:%d@%d,%d", &id, &image, &x, &y), 4) << entry;
        buttons.emplace_back(id, image, x, y);
    }
    ASSERT_EQ(buttons.size(), 2u) << run.checks["strip"];
    EXPECT_EQ(std::get<0>(buttons[0]), 100);
    EXPECT_EQ(std::get<0>(buttons[1]), 101);

    const Shot& shot = run.shots["welcome"];
    ASSERT_FALSE(shot.path.empty()) << run.log;
    fs::create_directories(QUILLMERE_E2E_SCREEN_DIR);
    fs::copy_file(shot.path, std::string(QUILLMERE_E2E_SCREEN_DIR) + "/welcome.png", fs::copy_options::overwrite_existing);
    SDL_Surface* image = IMG_Load(shot.path.c_str());
    ASSERT_NE(image, nullptr);
    for (std::size_t n = 0; n < buttons.size(); ++n)
        EXPECT_GT(Variation(image, std::get<2>(buttons[n]), std::get<3>(buttons[n])), 20.0)
            << "button " << n << " shows a picture";
    // Where a third button would stand, beside the second, the strip is plain.
    const int step = std::get<2>(buttons[1]) - std::get<2>(buttons[0]);
    EXPECT_LT(Variation(image, std::get<2>(buttons[1]) + step, std::get<3>(buttons[1])), 10.0);
    SDL_FreeSurface(image);
}

TEST(FrontPage, AboutIsTitledAndEscReturnsToWelcome) {
    Driver driver;
    Observed run = driver.Execute(ToTheFrontPage({ClickId(4), Wait(50), Key(SDL_SCANCODE_ESCAPE), Wait(50)}));
    EXPECT_TRUE(run.exited) << run.log;
    auto about = std::find(run.titles.begin(), run.titles.end(), "Quillmere - About");
    ASSERT_NE(about, run.titles.end());
    EXPECT_EQ(run.titles.back(), "Quillmere - Welcome");
}

TEST(FrontPage, ExitEndsTheProgramWithoutAQuestion) {
    Driver driver;
    Observed run = driver.Execute(ToTheFrontPage({ClickId(5), Wait(100), Check("still running", CurrentTitle)}));
    EXPECT_TRUE(run.exited) << run.log;
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.boxes.empty());
    EXPECT_EQ(run.checks.count("still running"), 0u) << "the message loop ended with the click";
}

TEST(FrontPage, ManualAsksTheBrowserOnceOrReportsThatItCannot) {
    {
        Driver driver;
        Observed run = driver.Execute(ToTheFrontPage({ClickId(3), Wait(200), Check("after", CurrentTitle)}));
        EXPECT_TRUE(run.exited) << run.log;
        EXPECT_TRUE(run.boxes.empty());
        ASSERT_EQ(run.browser.size(), 1u);
        EXPECT_EQ(run.browser[0], std::string(QUILLMERE_E2E_SAMPLE) + "/manual/rules.htm");
        EXPECT_EQ(run.checks["after"], "Welcome");
    }
    Driver driver;
    fs::remove(driver.Home() + "/bin/xdg-open");
    Observed run = driver.Execute(ToTheFrontPage({ClickId(3), Wait(100), Check("after", CurrentTitle)}));
    EXPECT_TRUE(run.exited) << run.log;
    ASSERT_EQ(run.boxes.size(), 1u);
    EXPECT_EQ(run.boxes[0].caption, "Manual Error");
    EXPECT_EQ(run.checks["after"], "Welcome");
    EXPECT_EQ(run.titles.back(), "Quillmere - Welcome");
}

std::string Read(const std::string& path) {
    std::ifstream file(path);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

void Replace(std::string& text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
}

// The loose sample as a module of three chapters, the third announced by the
// second but not installed.
std::string SampleAnnouncingAThirdChapter(const Driver& driver) {
    const std::string sample = QUILLMERE_E2E_SAMPLE_FOLDER;
    const std::string folder = SampleWithout(driver, sample, {"1/chapter.drav", "2/chapter.drav"});
    std::string first = Read(sample + "/1/chapter.drav");
    Replace(first, "( 1 2 )", "( 1 3 )");
    std::string second = Read(sample + "/2/chapter.drav");
    Replace(second, "( 2 2 )", "( 2 3 )");
    Replace(second, "\"\"\n \"\"", "\"The Mill Race\"\n \"Below the weir a wheel turns again.\"");
    std::ofstream(folder + "/1/chapter.drav") << first;
    std::ofstream(folder + "/2/chapter.drav") << second;
    // The announcement's picture, any picture of the chapter's size.
    fs::copy_file(sample + "/1/next.jpg", folder + "/2/next.jpg");
    return folder;
}

TEST(FrontPage, ChapterPagesOfTheInstalledAndTheAnnouncedChapter) {
    Driver driver;
    driver.SetModuleFolder(SampleAnnouncingAThirdChapter(driver));
    Observed run = driver.Execute(ToTheFrontPage({
        Check("strip", StripButtons),
        ClickId(101),
        Wait(50),
        Check("chapter 2", [] {
            auto* page = dynamic_cast<CChapterDlg*>(GetApp().GetCurrentDialog().get());
            return page ? page->BuildChapterText() : std::string("(no chapter page)");
        }),
        Screenshot("chapter2"),
        ClickId(1),
        Wait(50),
        ClickId(102),
        Wait(50),
        Check("chapter 3", CurrentTitle),
        ClickId(3),
        Wait(200),
        Check("after", CurrentTitle),
    }));
    EXPECT_TRUE(run.exited) << run.log;
    EXPECT_TRUE(run.boxes.empty());
    // Two pictures and the purchase picture of the third chapter.
    EXPECT_NE(run.checks["strip"].find("102:84@"), std::string::npos) << run.checks["strip"];
    EXPECT_EQ(run.checks["chapter 2"].rfind("Chapter 2: The Weir at Ashcombe (5.1) LINE ", 0), 0u)
        << run.checks["chapter 2"];
    EXPECT_NE(std::find(run.titles.begin(), run.titles.end(), "Quillmere - The Weir at Ashcombe"), run.titles.end());
    EXPECT_EQ(run.checks["chapter 3"], "The Mill Race");
    ASSERT_EQ(run.browser.size(), 1u);
    EXPECT_TRUE(run.browser[0].ends_with("/3.html")) << run.browser[0];
    EXPECT_EQ(run.checks["after"], "Welcome");
    const Shot& shot = run.shots["chapter2"];
    if (!shot.path.empty())
        fs::copy_file(shot.path, std::string(QUILLMERE_E2E_SCREEN_DIR) + "/chapter2.png",
                      fs::copy_options::overwrite_existing);
}

}  // namespace
