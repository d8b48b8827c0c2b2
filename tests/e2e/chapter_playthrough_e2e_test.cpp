// The chapter played from the front page to its closing page through the window
// alone: a new spellcaster made on the creation pages, the keeper's greeting, the
// goblins of the lane fought with a spell chosen on the action bar, a sale and a
// purchase at Tansy's stall, the marsh, Marra, the hide's lookouts paid off, the
// boatwright freed, a save and a load, the trail home, the boatwright home
// and the fare, to "Congratulations!", and on into the next chapter with all she
// carried. Other roads go round by Marra's punt and on up the towpath to the end
// of the Ashcombe chapter. Every click on the world is aimed where
// the game's own picking finds its target and made once the hover names it
// (tests/e2e/player_at_window.h); a frame of each stage is kept for the eye.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
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
#include "rules/magic/spell.h"
#include "rules/module.h"
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

// A fighter with the plain picks of a new one.
const NewCharacter kCorwin{CCCGenderDlg::kMale, DRAV::CLASS_FIGHTER, FighterSkills, "Corwin",
                           {DRAV::ATTR_STRENGTH, DRAV::ATTR_AGILITY, DRAV::ATTR_DURABILITY, DRAV::ATTR_INTELLIGENCE,
                            DRAV::ATTR_PERSONALITY}};

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
// With no spell named the hero fights with what is in hand: a click on the foe,
// again whenever the blow is not under way. A page that opens on the way (the
// combat page, a message) is read and closed.
Step FightWithSpell(const std::string& spell, int rounds = 30) {
    return Next([=] {
        if (PageTitle() == "Party Dead") return std::vector<Step>{Problem("the party fell in the fight")};
        // A page that will not stay closed is as much a problem as a fight that goes on.
        if (rounds <= 0 && App().GetCurrentDialog()) return std::vector<Step>{Problem(PageTitle() + " stays up")};
        if (App().GetCurrentDialog())
            return std::vector<Step>{Key(SDL_SCANCODE_RETURN), Wait(100), FightWithSpell(spell, rounds - 1)};
        if (!NearestFoe()) return std::vector<Step>{};
        if (rounds <= 0) return std::vector<Step>{Problem("the fight goes on")};
        // A spell or a draught under way is seen through before the next choice.
        const auto order = Hero().GetCurrentOrder();
        const int underWay = spell.empty() ? DRAV::ORDER_ATTACK : DRAV::ORDER_CAST;
        if (order && (order->GetType() == underWay || order->GetType() == DRAV::ORDER_USE))
            return std::vector<Step>{Wait(100), FightWithSpell(spell, rounds)};
        std::vector<Step> steps;
        const int tonic = BarSlotOf("river_tonic");
        const int draught = BarSlotOf("still_water_draught");
        const int slot = BarSlotOf(spell);
        if (Hero().GetHitPoints() * 3 < Hero().GetMaxHitPoints() * 2 && tonic >= 0) {
            steps.push_back(ClickId(kFirstBarSlot + tonic));
        } else if (Hero().GetEnergy() < 2 && draught >= 0) {
            steps.push_back(ClickId(kFirstBarSlot + draught));
        } else if (spell.empty()) {
            steps.push_back(PointAtThing(
                "the nearest foe", [] { return NearestFoe(); }, LeftClickAt));
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

// Whether the hero cast the spell `key`, and whom she killed with it, by the
// message log; with no spell, whom the hero killed by hand.
std::string CastsAndKills(const std::string& key) {
    const DRAV::CSpell* spell = DRAV::FindSpell(App().GetEngine()->GetModule()->GetSpells(), key);
    const std::string hero = Hero().GetName();
    const std::string by = spell ? hero + " (" + spell->GetName() + ")" : hero;
    bool cast = false;
    std::string killed;
    for (const std::string& line : App().GetMessageLog()) {
        // Cast at a foe, the line names it: "Wren casts River Dart on Reed Goblin."
        cast = cast || (spell && line.rfind(hero + " casts " + spell->GetName() + " on ", 0) == 0);
        const std::string kill = by + " has killed ";
        if (line.rfind(kill, 0) == 0) killed += " " + line.substr(kill.size());
    }
    return (!spell ? "fought" : cast ? "cast" : "never cast") + killed;
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

// A conversation that ends without a reply to choose is read and closed; one
// that keeps opening again is a problem.
Step CloseTheTalk(int tries = 10) {
    return Next([tries] {
        if (!Talking()) return std::vector<Step>{};
        if (tries == 0) return std::vector<Step>{Problem(PageTitle() + " opens again each time it is closed")};
        return std::vector<Step>{Key(SDL_SCANCODE_RETURN), Wait(100), CloseTheTalk(tries - 1)};
    });
}

// Someone of the area is clicked and the conversation waited for; a message that
// the walk there raises is read, and the person clicked again unless the walk went
// on to the talk by itself.
Step TalkTo(const std::string& who, const std::string& templateName, int tries = 3) {
    return Next([=] {
        if (tries == 0) return std::vector<Step>{Problem("no word with " + who)};
        const Step talkOrAgain = Next([=] {
            if (Talking()) return std::vector<Step>{};
            return std::vector<Step>{TalkTo(who, templateName, tries - 1)};
        });
        return std::vector<Step>{ClickOn(who, Person(templateName)),
                                 WaitUntil(
                                     "a word with " + who, [] { return Talking() || MessageUp(); }, 8000),
                                 Next([=] {
                                     if (Talking()) return std::vector<Step>{};
                                     return std::vector<Step>{Key(SDL_SCANCODE_RETURN), Wait(100), talkOrAgain};
                                 })};
    });
}

// The first object of the area made from the template `key` that holds anything.
Find Holding(const std::string& key) {
    return [key]() -> DRAV::CThing* {
        if (DRAV::CArea* area = TheArea())
            for (const auto& object : area->GetObjects())
                if (object->GetTemplate().GetKey() == key && !object->GetItems().empty()) return object.get();
        return nullptr;
    };
}

// Each container of `key` (the piles the goblins left, a strongbox) is opened with
// a click, and what it holds dragged into the pack.
Step Loot(const std::string& key, int times = 4) {
    return Next([=] {
        if (!Holding(key)() || times == 0) return std::vector<Step>{};
        return std::vector<Step>{
            ClickOn("a " + key, Holding(key)),
            WaitUntil(
                "the " + key + "'s inventory page",
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
            Loot(key, times - 1)};
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
    // A walk that ends at the way out asks by itself; one still going is asked by the button.
    return {WalkPartyUntil("the way out to " + area, column, row, offered),
            Wait(100),
            Next([] {
                return PageTitle().rfind("Exit", 0) == 0 ? std::vector<Step>{} : std::vector<Step>{ClickId(kExitButton)};
            }),
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

// The text of the closing page that is up, as the player reads it.
std::string ClosingPage() {
    const auto* page = dynamic_cast<CWinDlg*>(App().GetCurrentDialog().get());
    return page && !page->GetPages().empty() ? page->GetPages().front().text : "no closing page";
}

// Whom the closing page names among the party: only the hero crosses into the
// next chapter.
std::string WhoGoesOn() {
    const std::string text = ClosingPage();
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

// From the front page to Marra walking with the party: a new hero, the keeper's
// greeting, the goblins of the lane fought with `spell` (none: by hand), Tansy's
// stall, with `news` the innkeeper's word of the missing boatwright, and the marsh.
std::vector<Step> ToMarra(bool news, const NewCharacter& hero = kYsolde, const std::string& spell = "river_dart") {
    std::vector<Step> steps = MadeByTheWizard(hero);
    Append(steps,
           {Check("intro", PageTitle), Shot("intro"), Key(SDL_SCANCODE_RETURN), Wait(200), Check("welcome", PageTitle),
            Key(SDL_SCANCODE_RETURN), Wait(200), Shot("arrival"), Check("made", ClassAndSchools)});
    // The keeper on the dock, found by the pointer as the welcome page says.
    steps.push_back(TalkTo("Mother Hesk", "ferry_keeper"));
    Append(steps, {Check("greeting", PageTitle), Shot("greeting"), Answer("Not today.")});
    // Down the lane from the dock: the reeds spring, and the goblins fall to her darts.
    Append(steps, {WalkTo(6, 7), Check("ambush", PageTitle), Shot("ambush"), FightWithSpell(spell),
                   Check("lane", [spell] { return CastsAndKills(spell); }), Shot("after_fight"), Loot("pile"),
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
// home by the trail, the keeper's fare, hearing of the hide first unless `reported`.
std::vector<Step> OrrinHomeAndAcross(bool reported = false) {
    std::vector<Step> steps{TalkTo("Orrin", "boatwright")};
    Append(steps, {Answer("Cut the ropes and pull the gag out."), Answer("Come with us, then."), CloseTheTalk(),
                   ClosePages(), Check("orrin", PartySize), Shot("orrin")});
    // Saved by going to the main menu, and loaded again from the front page.
    Append(steps,
           {ClickId(kMenuButton), Wait(100), ClickId(CDRAVGameMenuDlg::kMainMenu), Wait(300), Check("saved", PageTitle),
            ClickId(CStartDlg::kLoadExistingGame), Wait(200), Shot("load"), ClickId(CLoadDlg::kFirstGame), Wait(500),
            Check("loaded", [] { return TheArea()->GetName() + " " + PartySize() + " " + Gold(); })});
    // Home by the smugglers' trail, the whole party walking together: the lookouts
    // were paid, and told nobody to wait for the party on the trail head.
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
    if (!reported) steps.push_back(Answer("We saw lanterns in the reeds. Smugglers, and they keep a hide."));
    Append(steps, {Answer("We need to cross the river."), Answer("Here is the fare."), CloseTheTalk(),
                   WaitUntil(
                       "the end pages", [] { return PageTitle() == "Congratulations!"; }, 3000),
                   Shot("won"), ClickId(CWinDlg::kNext), Wait(150), ClickId(CWinDlg::kNext), Wait(150),
                   Check("end", [] { return PageTitle() + " " + Gold() + " " + Tag("ferry_crossed"); }),
                   Check("goes on", WhoGoesOn), Check("closing", ClosingPage), Check("carried out", Belongings),
                   Shot("end")});
    return steps;
}

// On into the next chapter: the hero alone at the towpath's end, with all she
// carried stowed in her pack and a page that says so.
std::vector<Step> IntoTheNextChapter() {
    return {ClickId(CWinDlg::kNextChapter), Wait(500), Check("next chapter", PageTitle),
            Key(SDL_SCANCODE_RETURN), Wait(200), Check("upriver", PageTitle), Shot("ashcombe"),
            Key(SDL_SCANCODE_RETURN), Wait(200),
            Check("arrived", [] { return TheArea()->GetName() + " " + PartySize() + " " + Gold(); }),
            Check("carried in", Belongings), Shot("ashcombe_arrival")};
}

// Up the towpath to the end pages at Ashcombe Weir: Sefton says what he waits for,
// Nell what she saw at night, and told of it Sefton opens his sluice house; Wick,
// who stops whoever comes to its doors, is fought with `spell` for the Guild's
// strongbox, and Marrow's ledger from it brought to Sefton drops his chain.
std::vector<Step> AtTheWeir(const std::string& spell) {
    // A word with someone of the area, the replies chosen in turn, and the talk closed.
    const auto ask = [](const std::string& who, const std::string& key, const std::vector<std::string>& replies) {
        std::vector<Step> talk{TalkTo(who, key)};
        for (const std::string& reply : replies) talk.push_back(Answer(reply));
        talk.push_back(CloseTheTalk());
        return talk;
    };
    std::vector<Step> steps = ask("Sefton", "toll_keeper", {"What are you waiting for?", "Farewell."});
    steps.push_back(Check("sefton", [] {
        const auto& log = App().GetMessageLog();
        const auto said = [](const std::string& line) { return line.find("Mother Hesk's word came up") != std::string::npos; };
        return std::any_of(log.begin(), log.end(), said) ? "heard" : "never heard";
    }));
    Append(steps, ask("Nell", "bargewoman", {"Have you seen anything strange on the weir?", "Thank you, Nell."}));
    Append(steps, ask("Sefton", "toll_keeper", {"Someone carries a lantern into your sluice house at night."}));
    // Over the weir walk to the sluice house's open doors.
    Append(steps, {Check("sluice", [] { return Tag("lantern_seen") + " " + Tag("sluice_opened"); }), WalkTo(11, 5),
                   WalkTo(14, 5), WaitUntil("Wick at the sluice house", Talking, 8000), Check("wick", PageTitle),
                   Shot("wick"), Answer("Step away from the Guild's strongbox."), CloseTheTalk(), FightWithSpell(spell),
                   ClosePages(), Check("wick fought", [spell] { return CastsAndKills(spell); })});
    Append(steps, ask("Wick", "weir_runner", {"Go, and keep off this river."}));
    Append(steps, {Loot("pile"), Loot("guild_strongbox", 1), Check("strongbox", [] {
                       return "ledger " + Carried("marrows_ledger") + ", tolls " + Carried("guild_tolls");
                   })});
    Append(steps, ask("Sefton", "toll_keeper",
                      {"We found the Guild's strongbox in your sluice house, and Marrow's ledger in it."}));
    Append(steps, {WaitUntil("the end pages", [] { return PageTitle() == "Congratulations!"; }, 3000), Shot("weir_won"), ClickId(CWinDlg::kNext), Wait(150), ClickId(CWinDlg::kNext), Wait(150),
                   Check("weir end",
                         [] { return PageTitle() + " " + Tag("boats_released") + " " + Tag("tolls_returned"); }),
                   Check("weir closing", ClosingPage), Shot("weir_end")});
    return steps;
}

std::vector<Step> TheRoad() {
    std::vector<Step> steps = ToMarra(false);
    // Over the bridge to the hide.
    Append(steps, {WalkTo(13, 3)});
    Append(steps, PayTheLookouts());
    Append(steps, OrrinHomeAndAcross());
    Append(steps, IntoTheNextChapter());
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
// then the hide is chosen on it, where the punt lands behind the lookouts, who
// watch the bridge and never see the party.
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
                       "the hide", [] { return TheArea() && TheGame().GetCurrentEntry().second == "punt"; }, 5000),
                   Wait(300), Shot("hide"),
                   Check("landed", [] { return TheGame().GetCurrentEntry().first + " " +
                                               TheGame().GetCurrentEntry().second + " " + PartySize(); }),
                   Check("unseen", [] { return Gold() + " " + Tag("hide_unseen"); })});
    Append(steps, OrrinHomeAndAcross());
    Append(steps, IntoTheNextChapter());
    Append(steps, AtTheWeir("river_dart"));
    return steps;
}

// The members who lost hit points since the last count, which is taken anew.
std::string StruckSinceCounted() {
    static std::map<std::string, std::int32_t> counted;
    std::string struck;
    for (const auto& member : TheGame().GetParty()) {
        const auto [at, fresh] = counted.try_emplace(member->GetName(), member->GetHitPoints());
        if (!fresh && member->GetHitPoints() < at->second) struck += " " + member->GetName();
        at->second = member->GetHitPoints();
    }
    return struck.empty() ? "nobody struck" : "struck:" + struck;
}

// A new fighter with Marra leaves the hide's lookouts' talk, walks back past nobody
// (never threatened, they post nobody by the keeper), tells her of the hide, returns
// by the landing's trail, pays the lookouts after all and goes on as the spellcaster does.
std::vector<Step> TheFightersRoad() {
    std::vector<Step> steps = ToMarra(false, kCorwin, "");
    Append(steps, {WalkTo(13, 3), WalkTo(18, 3), WaitUntil("the lookouts", Talking, 6000), Check("lookouts", PageTitle),
                   Answer("We are leaving."), CloseTheTalk(), Check("left", PageTitle)});
    // He stands a while in their sight, then walks back over the bridge.
    Append(steps, ClockRuns("stood", 2000));
    Append(steps, {Check("standing", PageTitle), WalkTo(9, 4), Check("walked away", PageTitle), ClickId(kSelectAll)});
    Append(steps, LeaveBy("landing_path", 0, 4, "reedwater_landing"));
    Append(steps, {ClosePages(), ClickId(kSelectAll), WalkTo(12, 3),
                   Check("dock", [] { return Person("smuggler_lookout")() ? std::string("a lookout") : std::string("clear"); }),
                   TalkTo("Mother Hesk", "ferry_keeper"),
                   Answer("We saw lanterns in the reeds. Smugglers, and they keep a hide."),
                   Answer("Fair winds, Mother Hesk."), CloseTheTalk(), ClosePages(),
                   Check("reported", [] { return Tag("smugglers_reported"); }), ClickId(kSelectAll),
                   Check("counted", StruckSinceCounted)});
    Append(steps, LeaveBy("smugglers_trail", 15, 4, "reed_marsh"));
    // The party comes out of the trail by the bridge's east end, out of everyone's reach.
    Append(steps, {Shot("fighter_trail"), Wait(2000), ClosePages(),
                   Check("out of the trail", [] { return StruckSinceCounted() + ", " + PageTitle(); }),
                   ClickId(kFirstPortrait)});
    Append(steps, PayTheLookouts());
    Append(steps, OrrinHomeAndAcross(true));
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

// From the boatwright freed at the hide to the end pages, whichever way the party
// came to the hide.
const Stages kFromTheHideToTheEnd{
    {"orrin", "3"},
    // The main menu saved the game; the front page loaded it again.
    {"saved", "Welcome"},
    {"exit hidden_trail", "Exit to the trail to the landing?"},
    {"arrived by the trail", "nobody upon the party"},
    {"trail", "clear"},
    {"orrin home", "2 boatwright_returned"},
    {"goes on", "Ysolde"},
};

TEST(ChapterPlaythrough, ANewSpellcasterPlaysTheChapterToItsEndThroughTheWindow) {
    Driver driver;
    // The whole chapter takes many times as long as any other run, more still when
    // the suite shares the machine.
    driver.SetTimeLimit(400);
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
    ExpectStages(run,
                 {{"paid", "10 hide_passage"}, {"loaded", "reed_marsh 3 10"}, {"end", "Congratulations! 5 ferry_crossed"}});
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
    driver.SetTimeLimit(400);
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
                          {"landed", "reed_marsh punt 2"},
                          {"unseen", "30 hide_unseen"},
                          {"loaded", "reed_marsh 3 30"},
                          {"end", "Congratulations! 25 ferry_crossed"},
                      });
    ExpectStages(run, kFromTheHideToTheEnd);
    EXPECT_NE(std::find(run.titles.begin(), run.titles.end(), "Quillmere - World Map"), run.titles.end());
    // On up the towpath, where the toll-keeper has had word of her from the keeper.
    ExpectStages(run, {{"arrived", "ashcombe_weir 1 25"}, {"sefton", "heard"}, {"sluice", "lantern_seen sluice_opened"},
                       {"wick", "Ysolde : Wick the Runner"}, {"wick fought", "cast"},
                       {"strongbox", "ledger 1, tolls 1"},
                       {"weir end", "Congratulations! boats_released tolls_returned"}});
    EXPECT_NE(run.checks["weir closing"].find("Nell's barge first"), std::string::npos) << run.checks["weir closing"];
}

TEST(ChapterPlaythrough, AFighterLeavesTheLookoutsReportsThemAndReturnsByTheTrail) {
    Driver driver;
    driver.SetTimeLimit(400);
    Observed run = driver.Execute(TheFightersRoad());
    Keep(run, "fighter_");
    ExpectAPlainRun(run);
    ExpectStages(run, {{"lane", "fought Reed Goblin. Goblin Archer."}, {"lookouts", "Corwin : Smuggler Lookout"},
                       // Left, the lookouts let the party be while it stands in their sight.
                       {"left", "(none)"}, {"stood", "runs"}, {"standing", "(none)"}, {"walked away", "(none)"},
                       {"dock", "clear"}, {"reported", "smugglers_reported"},
                       {"out of the trail", "nobody struck, (none)"}, {"paid", "10 hide_passage"},
                       {"trail", "clear"}, {"orrin home", "2 boatwright_returned"},
                       {"end", "Congratulations! 5 ferry_crossed"}, {"goes on", "Corwin"}});
    // The closing page follows him up the towpath alone.
    EXPECT_NE(run.checks["closing"].find("Corwin is on the towpath, walking upriver alone"), std::string::npos)
        << run.checks["closing"];
}

}  // namespace
