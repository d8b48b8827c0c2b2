// Talking and trading in the running program: Wren walks up to Marra and to Tansy,
// the talk opens over a held clock, keys answer, and Tansy's store sells potions
// through the quantity dialog.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "driver.h"
#include "game/dialogs/maps/help_dlg.h"
#include "game/dialogs/talk/store_count_dlg.h"
#include "game/dialogs/talk/store_dlg.h"
#include "game/dialogs/talk/talk_dlg.h"
#include "game/dialogs/text_dlg.h"
#include "game/dialogs/yes_no_dlg.h"
#include "running_game_steps.h"
#include "ui/ui_group.h"
#include "ui/ui_manager.h"
#include "ui/ui_talk_element.h"
#include "world/item.h"
#include "world/order.h"

namespace {

using namespace QuillmereE2E;

bool Shown(const Observed& run, const std::string& title) {
    return std::find(run.titles.begin(), run.titles.end(), "Quillmere - " + title) != run.titles.end();
}

// `key` stands a few steps from Wren, who is sent to talk.
Step WalkUpTo(const std::string& key) {
    return Check("walk to " + key, [key] {
        DRAV::CArea& area = *Game().GetCurrentArea();
        DRAV::CActor& wren = *Game().GetParty().front();
        auto partner = area.CreateEncounterActor(key, "", 0, *GetApp().GetEngine()->GetModule());
        if (!area.PlaceActor(static_cast<std::uint32_t>(wren.GetX() / 2.5) + 2,
                             static_cast<std::uint32_t>(wren.GetY() / 2.5), false, partner))
            return std::string("no room");
        wren.PushOrder(std::make_shared<DRAV::CMoveTalkOrder>(partner->GetId()), true);
        return partner->GetName();
    });
}

std::vector<Step> IntoTheGame(std::vector<Step> then) {
    std::vector<Step> steps{Wait(200), Key(SDL_SCANCODE_SPACE), Wait(100), Check("intro", StartTheChapter),
                            Wait(200)};
    Append(steps, PastTheIntroAndWelcome());
    steps.push_back(Check("calm", CalmTheLanding));
    steps.insert(steps.end(), then.begin(), then.end());
    return steps;
}

// The frame kept beside the other end-to-end screens, for a look by eye.
void KeepShot(Observed& run, const std::string& name) {
    const Shot& shot = run.shots[name];
    ASSERT_FALSE(shot.path.empty()) << run.log;
    EXPECT_GT(shot.lit, 0.2) << name << " is drawn";
    std::filesystem::create_directories(QUILLMERE_E2E_SCREEN_DIR);
    std::filesystem::copy_file(shot.path, std::string(QUILLMERE_E2E_SCREEN_DIR) + "/" + name + ".png",
                               std::filesystem::copy_options::overwrite_existing);
}

std::string PartySize() { return std::to_string(Game().GetParty().size()); }

TEST(Conversation, TheGuideAnswersByNumberAndLeavesOnlyByAReply) {
    Driver driver;
    Observed run = driver.Execute(IntoTheGame({
        WalkUpTo("reed_witch"),
        Wait(3000),
        Check("talk", CurrentTitle),
        Screenshot("talk"),
        Key(SDL_SCANCODE_ESCAPE),
        Wait(50),
        Check("after esc", CurrentTitle),
        Key(SDL_SCANCODE_3),
        Wait(50),
        Check("next", [] {
            auto* talk = dynamic_cast<CTalkDlg*>(GetApp().GetCurrentDialog().get());
            return talk ? talk->GetLines().front() : std::string("(none)");
        }),
        Key(SDL_SCANCODE_RETURN),
        Wait(50),
        Check("ended", CurrentTitle),
        WalkUpTo("reed_witch"),
        Wait(3000),
        Key(SDL_SCANCODE_4),
        Wait(50),
        Check("passing by", CurrentTitle),
        Check("party before", PartySize),
        WalkUpTo("reed_witch"),
        Wait(3000),
        Key(SDL_SCANCODE_2),
        Wait(50),
        Check("party after", PartySize),
        Key(SDL_SCANCODE_RETURN),
        Wait(100),
        // Once the talk is over the tutorial tells how a party is led; Marra, who
        // joined standing on the loose board, has taken no step onto it.
        Check("party page", CurrentTitle),
        Check("party page text", [] {
            auto* page = dynamic_cast<CHelpDlg*>(GetApp().GetCurrentDialog().get());
            return page ? page->BuildText() : std::string("(no help page)");
        }),
        Key(SDL_SCANCODE_RETURN),
        Wait(100),
        Check("portraits", [] {
            // The HUD's portraits are 100, 105, ... one per member.
            int count = 0;
            for (const auto& element : GetApp().GetUIManager().GetElements()) {
                std::vector<DRAVUI::CUIElement*> all{element.get()};
                if (auto* group = dynamic_cast<DRAVUI::CUIGroup*>(element.get()))
                    for (const auto& child : group->GetChildren()) all.push_back(child.get());
                for (auto* one : all)
                    if (one->GetId() == 100 || one->GetId() == 105) ++count;
            }
            return std::to_string(count);
        }),
    }));
    EXPECT_TRUE(run.exited) << run.log;
    EXPECT_TRUE(run.boxes.empty()) << run.boxes.front().caption << ": " << run.boxes.front().text;
    EXPECT_EQ(run.checks["talk"], "Wren : Marra the Reed Witch");
    KeepShot(run, "talk");
    EXPECT_TRUE(Shown(run, "Wren : Marra the Reed Witch"));
    EXPECT_EQ(run.checks["after esc"], "Wren : Marra the Reed Witch") << "four replies: Esc is no answer";
    EXPECT_EQ(run.checks["next"], "Wren : Farewell, Marra.");
    EXPECT_EQ(run.checks["ended"], "(none)");
    EXPECT_EQ(run.checks["passing by"], "(none)") << "a reply that leads nowhere returns to the game";
    EXPECT_EQ(run.checks["party before"], "1");
    EXPECT_EQ(run.checks["party after"], "2");
    EXPECT_EQ(run.checks["party page"], "Help - Tutorial - Party");
    // Shown once she walks with the party, the page says she has joined it.
    const std::string& page = run.checks["party page text"];
    EXPECT_EQ(page.rfind("Someone has joined your party. ", 0), 0u) << page;
    EXPECT_EQ(page.find("about to join"), std::string::npos) << page;
    EXPECT_NE(page.find("Marra walks with the party now."), std::string::npos) << page;
    EXPECT_EQ(run.checks["portraits"], "2");
}

// What the conversation's first line looks like as drawn: its lines joined by " | ".
std::string FirstLineAsDrawn() {
    for (const auto& element : GetApp().GetUIManager().GetElements())
        if (const auto* talk = dynamic_cast<const DRAVUI::CUITalkElement*>(element.get())) {
            const auto first = talk->GetTextCache().find(0);
            if (first == talk->GetTextCache().end() || !first->second) return "(not drawn)";
            std::string shown = first->second->text;
            for (std::size_t at = shown.find('\n'); at != std::string::npos; at = shown.find('\n', at))
                shown.replace(at, 1, " | ");
            return shown;
        }
    return "(no talk)";
}

// Hollis writes the party into his book, one member to a line.
TEST(Conversation, HollisWritesTheCompanyInTheBookOneMemberToALine) {
    Driver driver;
    Observed run = driver.Execute(IntoTheGame({
        WalkUpTo("innkeeper"),
        Wait(3000),
        Check("talk", CurrentTitle),
        Screenshot("hollis"),
        Check("book", FirstLineAsDrawn),
    }));
    EXPECT_TRUE(run.exited) << run.log;
    EXPECT_EQ(run.checks["talk"], "Wren : Hollis the Innkeeper");
    KeepShot(run, "hollis");
    EXPECT_NE(run.checks["book"].find("Let me write your company in the book: | - Wren ("), std::string::npos)
        << run.checks["book"];
    EXPECT_EQ(run.checks["book"].find("LINE"), std::string::npos) << run.checks["book"];
}

}  // namespace

namespace {

std::string Gold() { return std::to_string(Game().GetGold()); }

// The cell of the first stack of `key` in `list`, or -1.
int CellOf(const DRAV::ItemPtrList& list, const std::string& key, int base) {
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i]->GetTemplate().GetKey() == key) return base + static_cast<int>(i);
    return -1;
}
int StoreCell(const DRAV::CActor& keeper, const std::string& key) {
    return CellOf(keeper.GetStoreItems(), key, CStoreDlg::kStoreBase);
}
int BackpackCell(const std::string& key) {
    return CellOf(Game().GetParty().front()->GetBackpack(), key, CStoreDlg::kBackpackBase);
}
DRAV::CActor* Tansy() {
    for (const auto& actor : Game().GetCurrentArea()->GetActors())
        if (actor->GetTemplateName() == "landing_trader") return actor.get();
    return nullptr;
}
CStoreDlg* Store() { return dynamic_cast<CStoreDlg*>(GetApp().GetCurrentDialog().get()); }

// From the landing to Tansy's store: talk, the trade reply, then the store.
std::vector<Step> IntoTansysStore(std::vector<Step> then) {
    std::vector<Step> steps{WalkUpTo("landing_trader"), Wait(3000), Check("talk", CurrentTitle),
                            Key(SDL_SCANCODE_1),        Wait(50),   Key(SDL_SCANCODE_RETURN),
                            Wait(100),                  Check("store", CurrentTitle)};
    steps.insert(steps.end(), then.begin(), then.end());
    return IntoTheGame(steps);
}

TEST(Conversation, TansysStoreSellsThreeSalvesThroughTheCount) {
    Driver driver;
    Observed run = driver.Execute(IntoTansysStore({
        Screenshot("store"),
        // The driver has no drag: the drop arrives as the UI manager reports it.
        Check("drop", [] {
            CStoreDlg* store = Store();
            DRAV::CActor* tansy = Tansy();
            if (!store || !tansy) return std::string("no store");
            Game().SetGold(100);
            const int salve = StoreCell(*tansy, "reed_salve");
            if (salve < 0) return std::string("no salve");
            if (tansy->GetStoreItems()[static_cast<std::size_t>(salve - CStoreDlg::kStoreBase)]->GetCount() != 5)
                return std::string("not 5 salves");
            store->OnDrop(salve, CStoreDlg::kBackpackList);
            auto* count = dynamic_cast<CStoreCountDlg*>(GetApp().GetCurrentDialog().get());
            return count ? count->GetQuestion() : CurrentTitle();
        }),
        Key(SDL_SCANCODE_EQUALS),
        Key(SDL_SCANCODE_EQUALS),
        Wait(50),
        ClickId(CStoreCountDlg::kTrade),
        Wait(100),
        Check("after", CurrentTitle),
        Check("gold", Gold),
        Check("bought", [] {
            const DRAV::ItemPtrList pack = Game().GetParty().front()->GetBackpack();
            for (const auto& item : pack)
                if (item->GetTemplate().GetKey() == "reed_salve") return std::to_string(item->GetCount());
            return std::string("0");
        }),
    }));
    EXPECT_TRUE(run.exited) << run.log;
    EXPECT_EQ(run.checks["talk"], "Wren : Tansy the Trader");
    EXPECT_EQ(run.checks["store"], "Tansy the Trader - Buy/Sell");
    EXPECT_TRUE(Shown(run, "Tansy the Trader - Buy/Sell"));
    EXPECT_EQ(run.checks["drop"].rfind("How many of Reed Salve would you like to buy for 30 gold per item?", 0),
              0u);
    EXPECT_EQ(run.checks["after"], "Tansy the Trader - Buy/Sell");
    EXPECT_EQ(run.checks["gold"], "10");
    KeepShot(run, "store");
    EXPECT_EQ(run.checks["bought"], "3");
}

}  // namespace

namespace {

// Selling, the quest item, the knife Wren is not trained in and the free water,
// on Tansy's own stock; the float and the token are put in Wren's backpack.
TEST(Conversation, TansyPaysHalfRefusesTheTokenAndAsksAboutTheKnife) {
    Driver driver;
    Observed run = driver.Execute(IntoTansysStore({
        Check("kit", [] {
            Game().SetGold(100);
            for (const char* key : {"cork_float", "ferry_token"})
                Game().GetParty().front()->AddToBackpack(
                    GetApp().GetEngine()->GetModule()->CreateItem(key, 1, Game().NewThingId(DRAV::THING_ITEM), 0),
                    false);
            Store()->Refresh();
            return BackpackCell("ferry_token") >= 0 ? std::string("token") : std::string("no token");
        }),
        Check("sold", [] {
            Store()->OnDrop(BackpackCell("cork_float"), CStoreDlg::kStoreList);
            return Gold() + (BackpackCell("cork_float") < 0 ? " gone" : " kept");
        }),
        Check("token", [] {
            Store()->OnDrop(BackpackCell("ferry_token"), CStoreDlg::kStoreList);
            return Gold() + (BackpackCell("ferry_token") < 0 ? " gone" : " kept");
        }),
        Check("why", [] {
            auto* box = dynamic_cast<CTextDlg*>(GetApp().GetCurrentDialog().get());
            return box ? box->GetTitle() + "|" + box->GetText() : CurrentTitle();
        }),
        Key(SDL_SCANCODE_RETURN),
        Wait(50),
        Check("knife", [] {
            Store()->OnDrop(StoreCell(*Tansy(), "smugglers_knife"), CStoreDlg::kBackpackList);
            auto* confirm = dynamic_cast<CYesNoDlg*>(GetApp().GetCurrentDialog().get());
            return confirm ? confirm->GetTitle() + "|" + confirm->GetQuestion() : CurrentTitle();
        }),
        Key(SDL_SCANCODE_N),
        Wait(50),
        Check("refused", [] { return CurrentTitle() + "|" + Gold(); }),
        Check("water", [] {
            Store()->OnDrop(StoreCell(*Tansy(), "marsh_water"), CStoreDlg::kBackpackList);
            auto* count = dynamic_cast<CStoreCountDlg*>(GetApp().GetCurrentDialog().get());
            return count ? count->GetQuestion() : CurrentTitle();
        }),
        Key(SDL_SCANCODE_EQUALS),
        Wait(50),
        ClickId(CStoreCountDlg::kTrade),
        Wait(100),
        Check("free", [] {
            const int cell = BackpackCell("marsh_water");
            if (cell < 0) return CurrentTitle() + "|none|" + Gold();
            const DRAV::ItemPtrList pack = Game().GetParty().front()->GetBackpack();
            const auto& water = pack[static_cast<std::size_t>(cell - CStoreDlg::kBackpackBase)];
            return CurrentTitle() + "|" + std::to_string(water->GetCount()) + "|" + Gold();
        }),
    }));
    EXPECT_TRUE(run.exited) << run.log;
    EXPECT_EQ(run.checks["store"], "Tansy the Trader - Buy/Sell");
    EXPECT_EQ(run.checks["kit"], "token");
    EXPECT_EQ(run.checks["sold"], "104 gone") << "a value-7 float sells for 4";
    EXPECT_EQ(run.checks["token"], "104 kept") << "a quest item is not for sale";
    EXPECT_EQ(run.checks["why"].rfind("Tansy the Trader|Wren can't sell ", 0), 0u) << run.checks["why"];
    EXPECT_EQ(run.checks["knife"].rfind("Confirm buy?|", 0), 0u) << run.checks["knife"];
    EXPECT_NE(run.checks["knife"].find("Wren is not proficient in the use of "), std::string::npos);
    EXPECT_EQ(run.checks["refused"], "Tansy the Trader - Buy/Sell|104");
    EXPECT_EQ(run.checks["water"].rfind("How many of ", 0), 0u) << run.checks["water"];
    EXPECT_EQ(run.checks["free"], "Tansy the Trader - Buy/Sell|2|104");
}

}  // namespace
