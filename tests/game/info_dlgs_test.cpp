#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

#include "app_test_access.h"
#include "game/app.h"
#include "game/dialogs/sheet/item_dlg.h"
#include "game/dialogs/sheet/monster_dlg.h"
#include "game/dialogs/sheet/spell_dlg.h"
#include "game/dialogs/sheet/spell_effects_dlg.h"
#include "rules/descriptions/spell_rules_text.h"
#include "rules/magic/spell_apply.h"
#include "rules/module.h"
#include "rules/vocabulary/relation.h"
#include "rules/vocabulary/skill_id.h"
#include "support/sample_game.h"
#include "world/actor.h"
#include "world/game.h"
#include "world/item.h"
#include "world/order.h"

namespace {

using namespace DRAV;

std::shared_ptr<CSpellApply> Applied(const std::string& name, CDamageType type, bool hidden,
                                     std::vector<std::shared_ptr<CSpellApplyEffect>> parts) {
    auto record = std::make_shared<CSpellApply>(name, type, 7, 3, false, hidden);
    record->GetParts() = std::move(parts);
    return record;
}

TEST(SpellEffectsText, WritesEachShownRecordWithItsEffectsAndTimeLeft) {
    const std::uint32_t now = 1000;
    const CDamageType poison{DAMAGE_MATERIAL, ELEMENT_POISON};
    CActor actor(ThingId{});
    actor.AppendEffects({
        Applied("Ring of Wards", poison, true, {std::make_shared<CSpellApplyEffectResist>(0, poison, 5)}),
        Applied("Marsh Fever", poison, false,
                {std::make_shared<CSpellApplyEffectModify>(now + 90, ModifierBit(MOD_ATTACK), 0),
                 std::make_shared<CSpellApplyEffectModify>(0, ModifierBit(MOD_ATTACK), -2),
                 std::make_shared<CSpellApplyEffectResist>(0, poison, 20),
                 std::make_shared<CSpellApplyEffectResist>(now - 5, poison, 19)}),
        Applied("Reed Song", CDamageType{DAMAGE_MUSICAL, ELEMENT_NONE}, false,
                {std::make_shared<CSpellApplyEffectModify>(now + 90, ModifierBit(MOD_ATTACK), 2)}),
    });
    std::ostringstream attack;
    GetModifierKindName(attack, ModifierBit(MOD_ATTACK));
    const std::string to = " to " + attack.str();
    EXPECT_EQ(WriteSpellEffectsText(actor, now),
              "Marsh Fever LINE Effect Type: Material/Poison LINE Spellcaster Bonus: 7 LINE "
              "Penalty: 0" + to + " (3 sec) LINE Penalty: -2" + to + " LINE "
              "Immune: Material/Poison LINE Resist: Material/Poison +19 (0 sec) LINE  LINE "
              "Reed Song LINE Effect Type: Musical LINE Bonus: +2" + to + " LINE  LINE ");

    CActor armoured(ThingId{});
    armoured.AppendEffects({actor.GetActiveEffects().front()});
    EXPECT_EQ(WriteSpellEffectsText(armoured, now), "No effects. LINE ") << "worn items' effects are not shown";
}

// The shell over a running game of "Wren".
class InfoDlgTest : public ::testing::Test {
protected:
    InfoDlgTest() {
        CDRAVAppTestAccess::SetEngine(m_app, m_game.EnginePtr());
        CDRAVAppTestAccess::StartPlaying(m_app);
    }
    CItem& Give(const std::string& key) {
        auto item = m_game.Module().CreateItem(key, 1, m_game.Game().NewThingId(5), 0);
        m_game.Main()->AddToBackpack(item, false);
        return *item;
    }
    QuillmereTest::SampleGame m_game;
    CDRAVApp m_app;
};

TEST_F(InfoDlgTest, ItemPagesOfferUseAndTheManualByTheirRules) {
    CActor* wren = m_game.Main().get();
    wren->AddSkill(SKILL_LIFE_MAGIC);
    EXPECT_EQ(CItemDlg(&m_app, Give("lantern_scroll"), wren, true).GetExtraLabel(), "")
        << "a scroll is read only with Arcane Magic";
    wren->RemoveSkill(SKILL_LIFE_MAGIC);
    wren->AddSkill(SKILL_ARCANE_MAGIC);
    EXPECT_EQ(CItemDlg(&m_app, Give("lantern_scroll"), wren, true).GetExtraLabel(), "")
        << "and with its school";
    wren->AddSkill(SKILL_LIFE_MAGIC);
    struct Case {
        const char* key;
        CActor* actor;
        bool offer;
        const char* label;
        const char* anchor;
    } cases[] = {
        {"river_tonic", wren, true, "Delayed Use", "item_river_tonic"},
        {"lantern_scroll", wren, true, "Use", ""},
        {"lantern_scroll", wren, false, "", ""},
        {"river_tonic", nullptr, true, "", "item_river_tonic"},
        {"still_water_draught", wren, true, "Delayed Use", ""},
        {"river_blade", wren, true, "", "item_river_blade"},
    };
    for (const Case& c : cases) {
        CItemDlg page(&m_app, Give(c.key), c.actor, c.offer);
        EXPECT_EQ(page.GetExtraLabel(), c.label) << c.key;
        EXPECT_EQ(page.GetManualAnchor(), c.anchor) << c.key;
        EXPECT_FALSE(page.GetText().empty()) << c.key;
    }
    CItemDlg tonic(&m_app, Give("river_tonic"), wren, true);
    EXPECT_EQ(tonic.GetTitle(), "River Tonic");
}

TEST_F(InfoDlgTest, DelayedUseReplacesTheOrdersAndWaitsForTheGame) {
    CItem& tonic = Give("river_tonic");
    CActor& wren = *m_game.Main();
    wren.PushOrder(std::make_shared<CMoveOrder>(10.0, 10.0), false);
    CItemDlg page(&m_app, tonic, &wren, true);
    page.OnClose(CTextDlg::kExtra);
    ASSERT_EQ(wren.GetOrders().size(), 1u);
    const auto* use = dynamic_cast<const CUseOrder*>(wren.GetOrders().front().get());
    ASSERT_NE(use, nullptr);
    EXPECT_EQ(use->kind, 5);
    EXPECT_EQ(use->thing, tonic.GetId());
    EXPECT_EQ(use->target, ThingId{});
}

TEST_F(InfoDlgTest, UseReadsAScrollAtOnce) {
    CActor& wren = *m_game.Main();
    wren.AddSkill(SKILL_ARCANE_MAGIC);
    wren.AddSkill(SKILL_LIFE_MAGIC);
    CItem& scroll = Give("lantern_scroll");
    const ThingId id = scroll.GetId();
    CItemDlg page(&m_app, scroll, &wren, true);
    ASSERT_EQ(page.GetExtraLabel(), "Use");
    page.OnClose(CTextDlg::kExtra);
    EXPECT_EQ(FindItemById(wren.GetBackpackItems(), id), nullptr) << "read while the clock stands";
    EXPECT_TRUE(wren.GetOrders().empty());
}

TEST_F(InfoDlgTest, MonsterPagesKnowFriendsFullyAndStrangersByObservationAgainstStealth) {
    auto smuggler = m_game.Spawn("reed_smuggler", 8, 6);
    ASSERT_NE(smuggler, nullptr);
    CMonsterDlg page(&m_app, *smuggler);
    EXPECT_EQ(page.GetTitle(), smuggler->GetName());
    EXPECT_EQ(MonsterKnowledge(m_app, *smuggler), m_game.Game().GetBestPartySpecialStat(SPECIAL_OBSERVATION) -
                                                      smuggler->GetSpecialStat(SPECIAL_STEALTH));
    smuggler->SetRelation(RELATION_FRIENDLY);
    EXPECT_EQ(MonsterKnowledge(m_app, *smuggler), 25);
    // One who keeps watch in the open hides nothing by his Stealth.
    auto lookout = m_game.Spawn("smuggler_lookout", 9, 6);
    ASSERT_TRUE(lookout && !lookout->IsSneaking());
    EXPECT_EQ(MonsterKnowledge(m_app, *lookout), m_game.Game().GetBestPartySpecialStat(SPECIAL_OBSERVATION));
}

TEST_F(InfoDlgTest, SpellPagesAlwaysHaveTheirManualEntry) {
    const CSpell& gust = *m_game.Module().GetSpells().at("gust");
    CSpellDlg page(&m_app, gust, m_game.Main().get());
    EXPECT_EQ(page.GetTitle(), gust.GetName());
    EXPECT_EQ(page.GetManualAnchor(), "spell_gust");
    EXPECT_FALSE(page.GetText().empty());
}

}  // namespace
