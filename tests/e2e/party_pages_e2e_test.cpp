// The actor sheet's inventory, abilities and journal pages in the running program,
// with a Spellcaster made on the creation pages as a player makes one: drags between the page's
// widgets, the wield question, a spell put on the quick-action bar, and quests as
// the console's tags assign and finish them.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "driver.h"
#include "game/dialogs/sheet/actor_inv_dlg.h"
#include "game/dialogs/sheet/actor_journal_dlg.h"
#include "game/dialogs/front/intro_dlg.h"
#include "rules/items/item_template.h"
#include "rules/magic/spell.h"
#include "rules/module.h"
#include "rules/vocabulary/actor_class.h"
#include "rules/vocabulary/skill_id.h"
#include "running_game_steps.h"
#include "wizard_steps.h"
#include "ui/ui_action_window.h"
#include "ui/ui_items_list.h"
#include "ui/ui_manager.h"
#include "world/item.h"
#include "world/object.h"

namespace {

using namespace QuillmereE2E;

DRAV::CActor& Main() { return *Game().GetParty().front(); }

// Wren, a level-1 Spellcaster as a player makes her on the creation pages; the
// schools she buys there are ones the chapter's spells use, her mending's first.
const NewCharacter kWren{CCCGenderDlg::kFemale, DRAV::CLASS_SPELLCASTER,
                         [] { return SchoolsForSpells("mend_wounds", FirstLevelPicks(DRAV::CLASS_SPELLCASTER)); },
                         "Wren"};

// Her class, how many schools she knows, and how many of those the module's spells use.
std::string Made() {
    const DRAV::SpellMap& spells = GetApp().GetEngine()->GetModule()->GetSpells();
    int schools = 0, used = 0;
    for (int skill = 0; skill < DRAV::kSkillCount; ++skill) {
        const auto id = static_cast<DRAV::SkillId>(skill);
        if (DRAV::GetSkillInfo(id).skillClass != DRAV::CLASS_SPELLCASTER || !Main().HasSkill(id)) continue;
        ++schools;
        if (std::any_of(spells.begin(), spells.end(),
                        [&](const auto& spell) { return spell.second->GetSchool() == id; }))
            ++used;
    }
    return DRAV::GetClassName(Main().GetClass()) + " " + std::to_string(schools) + " " + std::to_string(used);
}

std::string IntroShown() {
    return dynamic_cast<CIntroDlg*>(GetApp().GetCurrentDialog().get()) && GetApp().IsGameRunning() ? "yes" : "no";
}

// Only the party stays on the landing, so the goblins there cannot break into the
// pages; the wizard has no say in that, so it is set in the program's process.
std::vector<Step> Opening(std::vector<Step> thenInProcess = {}) {
    std::vector<Step> steps = MadeByTheWizard(kWren);
    steps.push_back(Check("intro", IntroShown));
    Append(steps, PastTheIntroAndWelcome());
    Append(steps, {Check("made", Made), Check("calm", CalmTheLanding)});
    Append(steps, thenInProcess);
    return steps;
}

// The name typed on the last page started the chapter with its intro, and Wren
// knows as many schools as a level-1 Spellcaster picks, each one a school of the
// chapter's spells.
void ExpectMadeByTheWizard(Observed& run) {
    const std::string picks = std::to_string(FirstLevelPicks(DRAV::CLASS_SPELLCASTER));
    EXPECT_EQ(run.checks["intro"], "yes") << run.log;
    EXPECT_EQ(run.checks["made"], "Spellcaster " + picks + " " + picks) << run.log;
}

// The screenshot `name` of the run, kept with the build's other screens.
void Keep(Observed& run, const std::string& name) {
    const Shot& shot = run.shots[name];
    ASSERT_FALSE(shot.path.empty()) << name << run.log;
    EXPECT_GT(shot.lit, 0.02) << name;
    std::filesystem::create_directories(QUILLMERE_E2E_SCREEN_DIR);
    std::filesystem::copy_file(shot.path, std::string(QUILLMERE_E2E_SCREEN_DIR) + "/" + name + ".png",
                               std::filesystem::copy_options::overwrite_existing);
}

// The backpack cell of the first item of `key` whose count is `count` (any when 0).
std::string BackpackCell(const std::string& key, int count) {
    const DRAV::ItemPtrList& backpack = Main().GetBackpackItems();
    for (std::size_t i = 0; i < backpack.size(); ++i)
        if (backpack[i]->GetTemplate().GetKey() == key && (count == 0 || backpack[i]->GetCount() == count))
            return std::to_string(CInvDropTable::kBackpackBase + static_cast<int>(i));
    return "none";
}

std::string Counts(const std::string& key) {
    std::string counts;
    for (const auto& item : Main().GetBackpackItems())
        if (item->GetTemplate().GetKey() == key) counts += (counts.empty() ? "" : " ") + std::to_string(item->GetCount());
    return counts;
}

std::string Weapon() {
    const DRAV::CItem* weapon = Main().GetEquipped(DRAV::SLOT_WEAPON);
    return weapon ? weapon->GetTemplate().GetKey() : "none";
}

// The keys the pile list shows.
std::string PileShows() {
    for (const auto& element : GetApp().GetUIManager().GetElements())
        if (auto* pile = dynamic_cast<DRAVUI::CUIItemsListWindow*>(element.get());
            pile && pile->GetId() == CInvDropTable::kPileList) {
            std::string keys;
            for (const auto& item : pile->GetItems()) keys += item->GetTemplate().GetKey() + ";";
            return keys;
        }
    return "no pile list";
}

TEST(PartyPages, TheInventoryPageSplitsDropsAndAsksBeforeAForeignWeapon) {
    Driver driver;
    std::vector<Step> steps = Opening();
    Append(steps, {Key(SDL_SCANCODE_I), Wait(100), Check("sheet", CurrentTitle), Key(SDL_SCANCODE_ESCAPE), Wait(100)});
    Append(steps, ConsoleLine("item reed_salve 3"));
    Append(steps, {
                      Key(SDL_SCANCODE_I),
                      Wait(100),
                      Check("before", [] { return Counts("reed_salve"); }),
                      DragId([] { return BackpackCell("reed_salve", 3) + " 300"; }),
                      Wait(100),
                      Check("split", [] { return Counts("reed_salve"); }),
                      DragId([] { return BackpackCell("reed_salve", 1) + " 301"; }),
                      Wait(100),
                      Check("dropped", [] { return Counts("reed_salve"); }),
                      Check("pile", PileShows),
                      Screenshot("inventory"),
                      Key(SDL_SCANCODE_ESCAPE),
                      Wait(100),
                  });
    Append(steps, ConsoleLine("item hand_axe"));
    Append(steps, {
                      // Her staff in hand, so that the slot has something to keep.
                      Check("staff",
                            [] {
                                Main().SetEquipment(DRAV::SLOT_WEAPON,
                                                    GetApp().GetEngine()->GetModule()->CreateItem(
                                                        "quarterstaff", 1, Game().NewThingId(DRAV::THING_ITEM), 0));
                                return Weapon();
                            }),
                      Key(SDL_SCANCODE_I),
                      Wait(100),
                      Check("weapon before", Weapon),
                      DragId([] { return BackpackCell("hand_axe", 0) + " 200"; }),
                      Wait(100),
                      Check("question", CurrentTitle),
                      Key(SDL_SCANCODE_N),
                      Wait(100),
                      Check("answered", CurrentTitle),
                      Check("weapon after", Weapon),
                      Check("axe", [] { return BackpackCell("hand_axe", 0); }),
                  });
    Observed run = driver.Execute(steps);
    EXPECT_TRUE(run.exited) << run.log;
    ExpectMadeByTheWizard(run);
    EXPECT_EQ(run.checks["sheet"], "Wren - Inventory");
    EXPECT_NE(std::find(run.titles.begin(), run.titles.end(), "Quillmere - Wren - Inventory"), run.titles.end());
    EXPECT_EQ(run.checks["before"], "3") << run.log;
    EXPECT_EQ(run.checks["split"], "2 1");
    EXPECT_EQ(run.checks["dropped"], "2");
    EXPECT_NE(run.checks["pile"].find("reed_salve;"), std::string::npos) << run.checks["pile"];
    EXPECT_EQ(run.checks["question"], "Wield?");
    EXPECT_EQ(run.checks["answered"], "Wren - Inventory");
    EXPECT_EQ(run.checks["weapon before"], "quarterstaff");
    EXPECT_EQ(run.checks["weapon after"], "quarterstaff");
    EXPECT_NE(run.checks["axe"], "none") << "the axe stays in the backpack";
    Keep(run, "inventory");
    Keep(run, "skills_bought");
}

// The first spell (not a power) Wren knows, and its cell on the abilities page.
std::string FirstSpell() {
    const DRAV::SpellList spells = Main().GetSpells();
    for (std::size_t i = 0; i < spells.size(); ++i)
        if ((spells[i]->GetFlags() & DRAV::SPELL_POWER) == 0)
            return std::to_string(1000 + i) + " " + spells[i]->GetKey();
    return "none";
}

std::string HudSlot5() {
    for (const auto& element : GetApp().GetUIManager().GetElements())
        if (auto* bar = dynamic_cast<DRAVUI::CUIActionWindow2*>(element.get())) return bar->Slot(5).GetInfo().key;
    return "no bar";
}

TEST(PartyPages, ASpellDroppedOnSlotFiveIsCastFromTheHudsBar) {
    Driver driver;
    // No creation page teaches a spell: Hollis's lesson in the ferrymen's mending is
    // given in the program's process, and her quick actions follow it.
    std::vector<Step> steps = Opening({Check("taught", [] {
        Main().AddSpell(*GetApp().GetEngine()->GetModule()->GetSpells().at("mend_wounds"));
        GetApp().ResetQuickActions(Main());
        return std::string("mend_wounds");
    })});
    Append(steps, {
                      Key(SDL_SCANCODE_B),
                      Wait(100),
                      Check("sheet", CurrentTitle),
                      Check("spell", FirstSpell),
                      Screenshot("abilities"),
                      DragId([] {
                          std::istringstream spell(FirstSpell());
                          int cell = 0;
                          spell >> cell;
                          return std::to_string(cell) + " 155";
                      }),
                      Wait(100),
                      Check("slot 5",
                            [] {
                                return std::to_string(GetApp().GetQuickActionKind(Main(), 5)) + " " +
                                       GetApp().GetQuickActionSpell(Main(), 5);
                            }),
                      Key(SDL_SCANCODE_ESCAPE),
                      Wait(100),
                      Screenshot("hud"),
                      Wait(100),
                      Check("closed", CurrentTitle),
                      Check("hud", HudSlot5),
                  });
    Observed run = driver.Execute(steps);
    EXPECT_TRUE(run.exited) << run.log;
    ExpectMadeByTheWizard(run);
    EXPECT_EQ(run.checks["sheet"], "Wren - Abilities") << run.log;
    EXPECT_TRUE(run.boxes.empty()) << run.boxes.front().caption << ": " << run.boxes.front().text;
    ASSERT_NE(run.checks["spell"], "none") << "a Spellcaster knows a spell";
    const std::string key = run.checks["spell"].substr(run.checks["spell"].find(' ') + 1);
    EXPECT_EQ(run.checks["slot 5"], "11 " + key) << run.log;
    EXPECT_EQ(run.checks["closed"], "(none)");
    EXPECT_EQ(run.checks["hud"], key);
    Keep(run, "abilities");
}

std::string QuestRows() {
    auto* page = dynamic_cast<CActorJournalDlg*>(GetApp().GetCurrentDialog().get());
    if (!page) return "no journal: " + CurrentTitle();
    std::string keys;
    for (const std::string& key : page->GetRowKeys()) keys += key + ";";
    return keys;
}

TEST(PartyPages, TheConsolesTagsAssignAndFinishAQuestOnTheJournal) {
    Driver driver;
    std::vector<Step> steps = Opening();
    Append(steps, ConsoleLine("tag ferry_fare_asked"));
    Append(steps, {Key(SDL_SCANCODE_J), Wait(100), Check("sheet", CurrentTitle), ClickId(CActorJournalDlg::kQuestsMode),
                   Wait(100), Check("assigned", QuestRows), Key(SDL_SCANCODE_ESCAPE), Wait(100)});
    Append(steps, ConsoleLine("tag ferry_passage"));
    Append(steps, {Key(SDL_SCANCODE_J), Wait(100), ClickId(CActorJournalDlg::kQuestsMode), Wait(100),
                   Check("finished", QuestRows), ClickId(CActorJournalDlg::kHideFinished), Wait(100),
                   Check("shown again", QuestRows), Screenshot("journal")});
    Observed run = driver.Execute(steps);
    EXPECT_TRUE(run.exited) << run.log;
    ExpectMadeByTheWizard(run);
    EXPECT_EQ(run.checks["sheet"], "Wren - Journal");
    EXPECT_NE(run.checks["assigned"].find("ferry_passage;"), std::string::npos) << run.checks["assigned"] << run.log;
    EXPECT_EQ(run.checks["finished"].find("ferry_passage;"), std::string::npos) << run.checks["finished"];
    EXPECT_NE(run.checks["shown again"].find("ferry_passage;"), std::string::npos) << run.checks["shown again"];
    Keep(run, "journal");
}

}  // namespace
