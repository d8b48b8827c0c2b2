// The chapter played from the front page to its closing page through the window
// alone: a new spellcaster made on the creation pages, the keeper's greeting, the
// goblins of the lane fought with a spell chosen on the action bar, a sale and a
// purchase at Tansy's stall, the marsh, Marra, the hide's lookouts paid off, the
// boatwright freed, a save and a load, the trail home, the boatwright home
// and the fare, to "Congratulations!", and on into the next chapter with all she
// carried. Every click on the world is aimed where
// the game's own picking finds its target and made once the hover names it
// (tests/e2e/player_at_window.h); a frame of each stage is kept for the eye.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <utility>
#include <vector>

#include "driver.h"
#include "game/dialogs/chapter_end/win_dlg.h"
#include "game/dialogs/creation/cc_choice_dlg.h"
#include "game/dialogs/front/load_dlg.h"
#include "game/dialogs/front/start_dlg.h"
#include "game/dialogs/maps/world_map_dlg.h"
#include "game/dialogs/play/game_menu_dlg.h"
#include "game/dialogs/sheet/actor_inv_dlg.h"
#include "game/dialogs/sheet/inv_drop_table.h"
#include "game/dialogs/talk/store_count_dlg.h"
#include "game/dialogs/talk/store_dlg.h"
#include "game/dialogs/yes_no_dlg.h"
#include "game/quick_actions.h"
#include "player_at_window.h"
#include "rules/definitions/object_template.h"
#include "rules/vocabulary/actor_class.h"
#include "rules/vocabulary/skills.h"
#include "running_game_steps.h"
#include "wizard_steps.h"
#include "world/cell.h"
#include "../game/world_map_points.h"
#include "world/item.h"

namespace {

using namespace QuillmereE2E;
using namespace QuillmereE2E::AtTheWindow;

// The heads-up display's buttons.
constexpr int kSelectAll = 8;
constexpr int kExitButton = 10;
constexpr int kMenuButton = 5;
constexpr int kFirstPortrait = 100;
constexpr int kFirstBarSlot = 210;

// Schools as a new spellcaster buys them: Matter and Energy Magic with the class
// picks, Elemental Magic, which needs both, with the general one.
const NewCharacter kYsolde{
    CCCGenderDlg::kFemale,
    DRAV::CLASS_SPELLCASTER,
    [] {
        return std::vector<int>{DRAV::SKILL_MATTER_MAGIC, DRAV::SKILL_ENERGY_MAGIC, DRAV::SKILL_ELEMENTAL_MAGIC};
    },
    "Ysolde",
    {DRAV::ATTR_INTELLIGENCE, DRAV::ATTR_DURABILITY, DRAV::ATTR_AGILITY}};

Step Shot(const std::string& stage) { return Screenshot("chapter_" + stage); }

// Quick-action kinds of the bar's slots.
constexpr int kUseKind = 10;
constexpr int kCastKind = 11;

// The action bar's slot that casts the spell, or uses the item; -1 when none does.
int BarSlotOf(const std::string& key) {
    for (int slot = 0; slot < CDRAVActorInfo::kSlots; ++slot) {
        const int kind = App().GetQuickActionKind(Hero(), slot);
        if ((kind == kCastKind && App().GetQuickActionSpell(Hero(), slot) == key) ||
            (kind == kUseKind && App().GetQuickActionItem(Hero(), slot) == key))
            return slot;
    }
    return -1;
}

// The hero fights the foes in sight with the spell from the action bar: she
// chooses the spell on the bar and clicks the nearest foe, which puts the spell
// in place of whatever she was doing, and lets the clock run while she casts;
// badly hurt she drinks a tonic from the bar, and short of strength the draught.
// A page that opens on the way (the combat page, a message) is read and closed.
Step FightWithSpell(const std::string& spell, int rounds = 30) {
    return Next([=] {
        if (PageTitle() == "Party Dead") return std::vector<Step>{Problem("the party fell in the fight")};
        if (App().GetCurrentDialog())
            return std::vector<Step>{Key(SDL_SCANCODE_RETURN), Wait(100), FightWithSpell(spell, rounds)};
        if (!NearestFoe()) return std::vector<Step>{};
        if (rounds == 0) return std::vector<Step>{Problem("the fight goes on")};
        // A spell or a draught under way is seen through before the next choice.
        const auto order = Hero().GetCurrentOrder();
        if (order && (order->GetType() == DRAV::ORDER_CAST || order->GetType() == DRAV::ORDER_USE))
            return std::vector<Step>{Wait(100), FightWithSpell(spell, rounds)};
        std::vector<Step> steps;
        const int tonic = BarSlotOf("river_tonic");
        const int draught = BarSlotOf("still_water_draught");
        const int slot = BarSlotOf(spell);
        if (Hero().GetHitPoints() * 2 < Hero().GetMaxHitPoints() && tonic >= 0) {
            steps.push_back(ClickId(kFirstBarSlot + tonic));
        } else if (Hero().GetEnergy() < 2 && draught >= 0) {
            steps.push_back(ClickId(kFirstBarSlot + draught));
        } else if (Hero().GetEnergy() >= 2 && slot >= 0) {
            steps.push_back(ClickId(kFirstBarSlot + slot));
            steps.push_back(PointAtThing(
                "the nearest foe", [] { return NearestFoe(); }, LeftClickAt));
        } else if (slot < 0) {
            return std::vector<Step>{Problem(spell + " is on no slot of the action bar")};
        }
        steps.push_back(Wait(300));
        steps.push_back(FightWithSpell(spell, rounds - 1));
        return steps;
    });
}

std::string Gold() { return std::to_string(TheGame().GetGold()); }
std::string PartySize() { return std::to_string(TheGame().GetParty().size()); }
std::string Tag(const std::string& tag) { return TheGame().IsQuestTagSet(tag) ? tag : "no " + tag; }

// The class and the schools of the hero the pages made.
std::string ClassAndSchools() {
    std::string made = DRAV::GetClassName(Hero().GetClass());
    for (const auto school : {DRAV::SKILL_MATTER_MAGIC, DRAV::SKILL_ENERGY_MAGIC, DRAV::SKILL_ELEMENTAL_MAGIC})
        if (Hero().HasSkill(school)) made += ", " + DRAV::GetSkillName(school);
    return made;
}

// Whether the hero cast the spell, and whom she killed with it, by the message log.
std::string CastsAndKills(const std::string& spell) {
    const std::string hero = Hero().GetName();
    bool cast = false;
    std::string killed;
    for (const std::string& line : App().GetMessageLog()) {
        cast = cast || line == hero + " casts " + spell + ".";
        const std::string kill = hero + " (" + spell + ") has killed ";
        if (line.rfind(kill, 0) == 0) killed += " " + line.substr(kill.size());
    }
    return (cast ? "cast" : "never cast") + killed;
}

std::string Carried(const std::string& key) {
    int count = 0;
    for (const auto& item : Hero().GetBackpack())
        if (item->GetTemplate().GetKey() == key) count += item->GetCount();
    return std::to_string(count);
}

// The first of the replies the conversation offers, by its button.
Step AnswerFirstOf(std::vector<std::string> replies) {
    return Next([replies] {
        auto* talk = dynamic_cast<CTalkDlg*>(App().GetCurrentDialog().get());
        if (talk)
            for (const std::string& reply : replies)
                for (const std::string& offered : talk->GetReplies())
                    if (offered.size() >= reply.size() &&
                        offered.compare(offered.size() - reply.size(), reply.size(), reply) == 0)
                        return std::vector<Step>{Answer(reply)};
        return std::vector<Step>{Problem("none of the replies offered on " + PageTitle())};
    });
}

// A conversation that ends without a reply to choose is read and closed.
Step CloseTheTalk() {
    return Next([] {
        if (!Talking()) return std::vector<Step>{};
        return std::vector<Step>{Key(SDL_SCANCODE_RETURN), Wait(100), CloseTheTalk()};
    });
}

// Someone of the area is clicked and the conversation waited for; a message that
// the walk there raises is read, and the person clicked again.
Step TalkTo(const std::string& who, const std::string& templateName, int tries = 3) {
    return Next([=] {
        if (tries == 0) return std::vector<Step>{Problem("no word with " + who)};
        return std::vector<Step>{
            ClickOn(who, Person(templateName)),
            WaitUntil(
                "a word with " + who, [] { return Talking() || MessageUp(); }, 8000),
            Next([=] {
                if (Talking()) return std::vector<Step>{};
                return std::vector<Step>{Key(SDL_SCANCODE_RETURN), Wait(100), TalkTo(who, templateName, tries - 1)};
            })};
    });
}

DRAV::CObject* PileWithItems() {
    if (DRAV::CArea* area = TheArea())
        for (const auto& object : area->GetObjects())
            if (object->GetTemplate().GetKey() == "pile" && !object->GetItems().empty()) return object.get();
    return nullptr;
}

// Each pile the goblins left is opened with a click, and what it holds dragged
// into the pack.
Step LootThePiles(int piles = 4) {
    return Next([=] {
        if (!PileWithItems() || piles == 0) return std::vector<Step>{};
        return std::vector<Step>{
            ClickOn("a pile", PileWithItems),
            WaitUntil(
                "the pile's inventory page",
                [] { return dynamic_cast<CActorInvDlg*>(App().GetCurrentDialog().get()) != nullptr; }, 6000),
            Next([] {
                std::vector<Step> drags;
                auto* page = dynamic_cast<CActorInvDlg*>(App().GetCurrentDialog().get());
                const std::size_t count = page && page->GetContainer() ? page->GetContainer()->GetItems().size() : 0;
                for (std::size_t i = 0; i < count; ++i) {
                    drags.push_back(DragId([] {
                        return std::to_string(CInvDropTable::kPileBase) + " " +
                               std::to_string(CInvDropTable::kBackpackList);
                    }));
                    drags.push_back(Wait(100));
                }
                return drags;
            }),
            Key(SDL_SCANCODE_ESCAPE),
            Wait(100),
            LootThePiles(piles - 1)};
    });
}

// The cell of the first stack of `key` in a list of the store page.
int CellOf(const DRAV::ItemPtrList& list, const std::string& key, int base) {
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i]->GetTemplate().GetKey() == key) return base + static_cast<int>(i);
    return -1;
}

// An item dragged from one list of the store page to the other; the count page,
// when one asks, is answered with the trade.
std::vector<Step> Trade(std::function<std::string()> ids) {
    return {DragId(ids), Wait(100), Next([] {
                if (!dynamic_cast<CStoreCountDlg*>(App().GetCurrentDialog().get())) return std::vector<Step>{};
                return std::vector<Step>{ClickId(CStoreCountDlg::kTrade), Wait(100)};
            })};
}

// The way out named `exit` is walked up to by the selected party, until the game
// offers it, which it does only once every member is near; it is taken with the
// screen's exit button and the question answered; the party arrives in `area`.
std::vector<Step> LeaveBy(const std::string& exit, int column, int row, const std::string& area) {
    const auto offered = [exit] {
        return TheGame().GetStateCode() == DRAV::GAME_EXIT_AVAILABLE && TheGame().GetAvailableExitName() == exit;
    };
    return {WalkPartyUntil("the way out to " + area, column, row, offered),
            Wait(100),
            ClickId(kExitButton),
            WaitUntil(
                "the question", [] { return PageTitle().rfind("Exit", 0) == 0; }, 2000),
            Check("exit " + exit,
                  [] {
                      auto* question = dynamic_cast<CYesNoDlg*>(App().GetCurrentDialog().get());
                      return question ? question->GetQuestion() : PageTitle();
                  }),
            ClickId(CYesNoDlg::kYes),
            WaitUntil(
                area, [area] { return TheArea() && TheArea()->GetName() == area; }, 5000),
            Wait(300)};
}

// Whom the closing page names among the party: only the hero crosses into the
// next chapter.
std::string WhoGoesOn() {
    const auto* page = dynamic_cast<CWinDlg*>(App().GetCurrentDialog().get());
    if (!page || page->GetPages().empty()) return "no closing page";
    const std::string& text = page->GetPages().front().text;
    std::string named;
    for (const auto& member : App().GetEngine()->GetGame()->GetParty())
        if (text.find(member->GetName()) != std::string::npos) named += (named.empty() ? "" : " ") + member->GetName();
    return named;
}

// Every item the hero carries, worn or packed, by key in order.
std::string Belongings() {
    std::vector<std::string> keys;
    for (const auto& item : Hero().GetBackpack()) keys.push_back(item->GetTemplate().GetKey());
    for (const auto& item : Hero().GetEquipment())
        if (item) keys.push_back(item->GetTemplate().GetKey());
    std::sort(keys.begin(), keys.end());
    std::string text;
    for (const auto& key : keys) text += (text.empty() ? "" : " ") + key;
    return text;
}

// From the front page to Marra walking with the party: a new spellcaster, the
// keeper's greeting, the goblins of the lane, Tansy's stall, with `news` the
// innkeeper's word of the missing boatwright, and the marsh.
std::vector<Step> ToMarra(bool news) {
    std::vector<Step> steps = MadeByTheWizard(kYsolde);
    Append(steps,
           {Check("intro", PageTitle), Shot("intro"), Key(SDL_SCANCODE_RETURN), Wait(200), Check("welcome", PageTitle),
            Key(SDL_SCANCODE_RETURN), Wait(200), Shot("arrival"), Check("made", ClassAndSchools)});
    // The keeper on the dock, found by the pointer as the welcome page says.
    steps.push_back(TalkTo("Mother Hesk", "ferry_keeper"));
    Append(steps, {Check("greeting", PageTitle), Shot("greeting"), Answer("Not today.")});
    // Down the lane from the dock: the reeds spring, and the goblins fall to her darts.
    Append(steps, {WalkTo(6, 7), Check("ambush", PageTitle), Shot("ambush"), FightWithSpell("river_dart"),
                   Check("lane", [] { return CastsAndKills("River Dart"); }), Shot("after_fight"), LootThePiles(),
                   Check("looted", Gold)});
    // Tansy buys the ferry's scroll and sells a pie.
    steps.push_back(TalkTo("Tansy", "landing_trader"));
    Append(steps,
           {Answer("Let me see your goods."), CloseTheTalk(),
            WaitUntil(
                "the store", [] { return dynamic_cast<CStoreDlg*>(App().GetCurrentDialog().get()) != nullptr; }, 2000),
            Shot("store")});
    Append(steps, Trade([] {
               return std::to_string(CellOf(Hero().GetBackpack(), "lantern_scroll", CStoreDlg::kBackpackBase)) + " " +
                      std::to_string(CStoreDlg::kStoreList);
           }));
    Append(steps, {Check("sold", Gold)});
    Append(steps, Trade([] {
               const auto* tansy = dynamic_cast<DRAV::CActor*>(Person("landing_trader")());
               return std::to_string(tansy ? CellOf(tansy->GetStoreItems(), "eel_pie", CStoreDlg::kStoreBase) : -1) +
                      " " + std::to_string(CStoreDlg::kBackpackList);
           }));
    Append(steps, {Check("bought", [] { return Gold() + " gold, pies " + Carried("eel_pie"); }), Shot("bought"),
                   ClickId(CStoreDlg::kDone), Wait(100)});
    if (news) {
        // Hollis tells of Orrin, gone into the reeds, and the party says it will look for him.
        steps.push_back(TalkTo("Hollis", "innkeeper"));
        Append(steps, {Answer("What news on the river?"), Answer("We will look for him."), CloseTheTalk(),
                       ClosePages(), Check("news", [] { return Tag("boatwright_asked"); })});
    }
    // West along the lane into the marsh, where Marra comes along.
    Append(steps, LeaveBy("marsh_path", 1, 9, "reed_marsh"));
    Append(steps, {Shot("marsh")});
    steps.push_back(TalkTo("Marra", "reed_witch"));
    Append(steps,
           {AnswerFirstOf({"We are looking for Orrin the boatwright.", "What are the lights in the reeds at night?"}),
            AnswerFirstOf({"Will you come with us?", "Will you walk with us a while?"}), CloseTheTalk()});
    Append(steps, ReadAndClose("Help - Tutorial"));
    Append(steps, {Check("marra", PartySize)});
    return steps;
}

// The lookouts at the hide, who stop the party on its way in, take its twenty gold.
std::vector<Step> PayTheLookouts() {
    return {WalkTo(18, 3), WaitUntil("the lookouts", Talking, 6000), Shot("lookouts"),
            Answer("Twenty gold says you saw nobody."), CloseTheTalk(),
            Check("paid", [] { return Gold() + " " + Tag("hide_passage"); })};
}

// From the boatwright in the skiff to the end pages: a save and a load on the way,
// home by the trail, the keeper's fare.
std::vector<Step> OrrinHomeAndAcross() {
    std::vector<Step> steps{TalkTo("Orrin", "boatwright")};
    Append(steps, {Answer("Cut the ropes and pull the gag out."), Answer("Come with us, then."), CloseTheTalk(),
                   ClosePages(), Check("orrin", PartySize), Shot("orrin")});
    // Saved by going to the main menu, and loaded again from the front page.
    Append(steps,
           {ClickId(kMenuButton), Wait(100), ClickId(CDRAVGameMenuDlg::kMainMenu), Wait(300), Check("saved", PageTitle),
            ClickId(CStartDlg::kLoadExistingGame), Wait(200), Shot("load"), ClickId(CLoadDlg::kFirstGame), Wait(500),
            Check("loaded", [] { return TheArea()->GetName() + " " + PartySize() + " " + Gold(); })});
    // Home by the smugglers' trail, the whole party walking together: the lookouts
    // were paid, and told nobody to wait for the party at the dock's end.
    Append(steps, {ClickId(kSelectAll)});
    Append(steps, LeaveBy("hidden_trail", 19, 3, "reedwater_landing"));
    Append(steps, {ClosePages(), Shot("trail"), Check("arrived by the trail", [] {
                       return NearestFoe() ? std::string("a foe waiting") : std::string("nobody upon the party");
                   }),
                   Check("trail", [] { return Person("smuggler_lookout")() ? std::string("a lookout") : std::string("clear"); })});
    // Orrin is told he is home, with the talk action of the hero's bar.
    Append(steps, {ClickId(kFirstPortrait), ClickId(kFirstBarSlot + 1), ClickOn("Orrin", Person("boatwright")),
                   WaitUntil("a word with Orrin", Talking, 8000), Answer("You are home, Orrin. Go and rest."),
                   CloseTheTalk(), Check("orrin home", [] { return PartySize() + " " + Tag("boatwright_returned"); })});
    // The keeper hears of the hide and takes the fare.
    steps.push_back(TalkTo("Mother Hesk", "ferry_keeper"));
    Append(steps, {Answer("We saw lanterns in the reeds. Smugglers, and they keep a hide."),
                   Answer("We need to cross the river."), Answer("Here is the fare."), CloseTheTalk(),
                   WaitUntil(
                       "the end pages", [] { return PageTitle() == "Congratulations!"; }, 3000),
                   Shot("won"), ClickId(CWinDlg::kNext), Wait(150), ClickId(CWinDlg::kNext), Wait(150),
                   Check("end", [] { return PageTitle() + " " + Gold() + " " + Tag("ferry_crossed"); }),
                   Check("goes on", WhoGoesOn), Check("carried out", Belongings), Shot("end")});
    return steps;
}

std::vector<Step> TheRoad() {
    std::vector<Step> steps = ToMarra(false);
    // Over the bridge to the hide.
    Append(steps, {WalkTo(13, 3)});
    Append(steps, PayTheLookouts());
    Append(steps, OrrinHomeAndAcross());
    // On into the next chapter: the hero alone at the towpath's end, with all she
    // carried stowed in her pack and a page that says so.
    Append(steps, {ClickId(CWinDlg::kNextChapter), Wait(500), Check("next chapter", PageTitle),
                   Key(SDL_SCANCODE_RETURN), Wait(200), Check("upriver", PageTitle), Shot("ashcombe"),
                   Key(SDL_SCANCODE_RETURN), Wait(200),
                   Check("arrived", [] { return TheArea()->GetName() + " " + PartySize() + " " + Gold(); }),
                   Check("carried in", Belongings), Shot("ashcombe_arrival")});
    return steps;
}

// Where the hero stands, by area and cell.
std::string Whereabouts() {
    if (!TheArea()) return "nowhere";
    return TheArea()->GetName() + " (" + std::to_string(static_cast<int>(Hero().GetX() / DRAV::kCellSize)) + " " +
           std::to_string(static_cast<int>(Hero().GetY() / DRAV::kCellSize)) + ")";
}

// Marra is asked, with the talk action of the hero's bar, to take the party round
// in her punt; the conversation ends with its Done.
std::vector<Step> AskForThePunt() {
    return {ClickId(kFirstPortrait), ClickId(kFirstBarSlot + 1), ClickOn("Marra", Person("reed_witch")),
            WaitUntil("a word with Marra", Talking, 8000), Answer("Take us round to the hide in your punt."),
            CloseTheTalk(),
            WaitUntil(
                "the travel map", [] { return dynamic_cast<CDRAVWorldMapDlg*>(App().GetCurrentDialog().get()); },
                2000)};
}

// The travel map on screen: its name, the button, where the party stands.
std::string TravelMapShown() {
    auto* map = dynamic_cast<CDRAVWorldMapDlg*>(App().GetCurrentDialog().get());
    if (!map) return PageTitle();
    return map->GetMap().GetName() + (map->IsTravel() ? " to travel, " : " to look at, ") + Whereabouts();
}

// The road round by Marra's punt: a first look at the travel map is cancelled,
// then the hide is chosen on it.
std::vector<Step> ThePuntRoad() {
    std::vector<Step> steps = ToMarra(true);
    Append(steps, AskForThePunt());
    Append(steps, {Check("map", TravelMapShown), Shot("travel_map"), Check("before cancel", Whereabouts),
                   ClickId(CDRAVWorldMapDlg::kDone), Wait(100)});
    Append(steps, ClockRuns("clock", 1000));
    Append(steps, {Check("after cancel", [] { return PageTitle() + " " + Whereabouts(); })});
    Append(steps, AskForThePunt());
    Append(steps, {PointAt(
                       [] {
                           const auto hide = QuillmereTest::MapLocationPoint(App(), "smugglers_hide");
                           return hide ? Units(*hide) : std::string("no hide on the map");
                       },
                       true),
                   WaitUntil(
                       "the hide", [] { return TheArea() && TheGame().GetCurrentEntry().second == "hideout"; }, 5000),
                   Wait(300), Shot("hide"),
                   Check("landed", [] { return TheGame().GetCurrentEntry().first + " " +
                                               TheGame().GetCurrentEntry().second + " " + PartySize(); })});
    Append(steps, PayTheLookouts());
    Append(steps, OrrinHomeAndAcross());
    return steps;
}

// The frames of the stages, kept under `road` + the stage's name.
void Keep(const Observed& run, const std::string& road) {
    const std::string stage = "chapter_";
    std::filesystem::create_directories(QUILLMERE_E2E_SCREEN_DIR);
    for (const auto& [name, shot] : run.shots) {
        if (name.rfind(stage, 0) != 0 || shot.path.empty()) continue;
        std::filesystem::copy_file(shot.path,
                                   std::string(QUILLMERE_E2E_SCREEN_DIR) + "/" + road + name.substr(stage.size()) + ".png",
                                   std::filesystem::copy_options::overwrite_existing);
    }
}

using Stages = std::vector<std::pair<std::string, std::string>>;

// What each stage showed, in the order the road passes them.
void ExpectStages(Observed& run, const Stages& stages) {
    for (const auto& [stage, shown] : stages) EXPECT_EQ(run.checks[stage], shown) << stage;
}

// The run ended by itself with no box, no problem and nothing wrong in the driver.
void ExpectAPlainRun(Observed& run) {
    EXPECT_TRUE(run.exited) << run.log;
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.log.empty()) << run.log;
    for (const Box& box : run.boxes) ADD_FAILURE() << box.caption << ": " << box.text;
    ASSERT_EQ(run.checks.count("problem"), 0u) << run.checks["problem"];
}

// From the lookouts paid at the hide to the end pages, whichever way the party
// came to the hide.
const Stages kFromTheHideToTheEnd{
    {"paid", "10 hide_passage"},
    {"orrin", "3"},
    // The main menu saved the game; the front page loaded it again.
    {"saved", "Welcome"},
    {"loaded", "reed_marsh 3 10"},
    {"exit hidden_trail", "Exit to the trail to the landing?"},
    {"arrived by the trail", "nobody upon the party"},
    {"trail", "clear"},
    {"orrin home", "2 boatwright_returned"},
    {"end", "Congratulations! 5 ferry_crossed"},
    {"goes on", "Ysolde"},
};

TEST(ChapterPlaythrough, ANewSpellcasterPlaysTheChapterToItsEndThroughTheWindow) {
    Driver driver;
    // The whole chapter takes many times as long as any other run, more still when
    // the suite shares the machine.
    driver.SetRealTimeLimit(400);
    Observed run = driver.Execute(TheRoad());
    Keep(run, "chapter_");
    ExpectAPlainRun(run);
    ExpectStages(run, {
                          {"made", "Spellcaster, Matter Magic, Energy Magic, Elemental Magic"},
                          {"greeting", "Ysolde : Mother Hesk"},
                          {"ambush", "Help - Tutorial - Combat"},
                          // The goblins fell to the darts chosen on the bar.
                          {"lane", "cast Reed Goblin. Goblin Archer."},
                          // The goblins' purses, the scroll sold for 13 and a pie bought for 3.
                          {"looted", "20"},
                          {"sold", "33"},
                          {"bought", "30 gold, pies 2"},
                          {"exit marsh_path", "Exit to the reed marsh?"},
                          {"marra", "2"},
                      });
    ExpectStages(run, kFromTheHideToTheEnd);
    ExpectStages(run, {
                          {"next chapter", "The Weir at Ashcombe"},
                          {"upriver", "Help - Tutorial - Items"},
                          {"arrived", "ashcombe_weir 1 5"},
                      });
    // Whatever she carried out of Reedwater she carries at Ashcombe, the gold too.
    EXPECT_FALSE(run.checks["carried out"].empty());
    EXPECT_EQ(run.checks["carried in"], run.checks["carried out"]);
    EXPECT_NE(std::find(run.titles.begin(), run.titles.end(), "Quillmere - Load Game"), run.titles.end());
}

TEST(ChapterPlaythrough, ASpellcasterGoesRoundByMarrasPuntToTheHide) {
    Driver driver;
    driver.SetRealTimeLimit(400);
    Observed run = driver.Execute(ThePuntRoad());
    Keep(run, "punt_");
    ExpectAPlainRun(run);
    const std::string fireside = run.checks["before cancel"];
    EXPECT_EQ(fireside.rfind("reed_marsh (", 0), 0u) << fireside;
    ExpectStages(run, {
                          {"news", "boatwright_asked"},
                          {"marra", "2"},
                          {"map", "reedwater_map to travel, " + fireside},
                          // Cancel: the party stays by her fire, and the game plays on there.
                          {"after cancel", "(none) " + fireside},
                          {"clock", "runs"},
                          {"landed", "reed_marsh hideout 2"},
                      });
    ExpectStages(run, kFromTheHideToTheEnd);
    EXPECT_NE(std::find(run.titles.begin(), run.titles.end(), "Quillmere - World Map"), run.titles.end());
}

}  // namespace
