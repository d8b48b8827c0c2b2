// The actor sheet's inventory, abilities and journal pages in the running program,
// with a Spellcaster as the creation pages make one: drags between the page's
// widgets, the wield question, a spell put on the quick-action bar, and quests as
// the console's tags assign and finish them.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "driver.h"
#include "game/dialogs/actor_inv_dlg.h"
#include "game/dialogs/actor_journal_dlg.h"
#include "rules/items/item_template.h"
#include "rules/magic/spell.h"
#include "rules/module.h"
#include "rules/vocabulary/actor_class.h"
#include "rules/vocabulary/skill_id.h"
#include "running_game_steps.h"
#include "ui/ui_action_window.h"
#include "ui/ui_items_list.h"
#include "ui/ui_manager.h"
#include "world/item.h"
#include "world/object.h"

namespace {

using namespace QuillmereE2E;

DRAV::CActor& Main() { return *Game().GetParty().front(); }

std::string StartWithASpellcaster() {
    const std::string title = StartTheChapterWith([](DRAV::CActor& main) {
        main.SetClass(DRAV::CLASS_SPELLCASTER);
        main.ResetSkills();
        // The two schools a new Spellcaster is most often given on the skills page.
        main.AddSkill(DRAV::SKILL_ARCANE_MAGIC);
        main.AddSkill(DRAV::SKILL_LIFE_MAGIC);
    });
    CalmTheLanding();
    return title;
}

// The same, and Wren has learnt the ferrymen's mending from Hollis.
std::string StartWithAMender() {
    const std::string title = StartWithASpellcaster();
    Main().AddSpell(*GetApp().GetEngine()->GetModule()->GetSpells().at("mend_wounds"));
    GetApp().ResetQuickActions(Main());
    return title;
}

std::vector<Step> Opening(std::function<std::string()> start = StartWithASpellcaster) {
    return {Wait(200), Key(SDL_SCANCODE_SPACE), Wait(100), Check("intro", std::move(start)), Wait(200),
            Key(SDL_SCANCODE_RETURN), Wait(200)};
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
    std::vector<Step> steps = Opening(StartWithAMender);
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
    EXPECT_EQ(run.checks["sheet"], "Wren - Journal");
    EXPECT_NE(run.checks["assigned"].find("ferry_passage;"), std::string::npos) << run.checks["assigned"] << run.log;
    EXPECT_EQ(run.checks["finished"].find("ferry_passage;"), std::string::npos) << run.checks["finished"];
    EXPECT_NE(run.checks["shown again"].find("ferry_passage;"), std::string::npos) << run.checks["shown again"];
    Keep(run, "journal");
}

}  // namespace
