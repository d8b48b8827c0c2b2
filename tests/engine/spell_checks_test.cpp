// The checks a spell passes on its way, with the numbers worked by hand: the
// caster's concentration (and defensive casting after a wound), then at the target
// immunity, nullification, the save and resistance or vulnerability. Ember Hex is
// hostile, saved against as a curse for half effect, and leaves an effect.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/random.h"
#include "engine/spell_words.h"
#include "rules/kinds/modifiers.h"
#include "rules/magic/spell.h"
#include "rules/magic/spell_apply.h"
#include "rules/magic/spell_apply_effect.h"
#include "support/message_texts.h"
#include "support/sample_game.h"

using namespace DRAV;
using QuillmereTest::MessageTexts;
using QuillmereTest::SampleGame;
using QuillmereTest::StartSampleGame;

namespace {

bool StartsWith(const std::string& text, const std::string& head) { return text.rfind(head, 0) == 0; }
bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

struct HexTarget {
    SampleGame game = StartSampleGame();
    std::shared_ptr<CActor> goblin;
    const CSpell& hex = GetSpell(game.Module().GetSpells(), "ember_hex");
    std::string type = hex.GetSaveDamageType().GetFullName();

    HexTarget() {
        DRAVCommon::GetRandomEngine().seed(13);
        game.EnterOpenArea(20, 6);
        goblin = game.Spawn("reed_goblin", 5, 1);
        game.DrainEvents();
    }
    // A lasting effect on the goblin with one part.
    void Give(std::shared_ptr<CSpellApplyEffect> part) const {
        auto effect = std::make_shared<CSpellApply>("Gift", CDamageType{}, 0, 0, false, false);
        effect->GetParts().push_back(std::move(part));
        goblin->AppendEffects({effect});
    }
    // The hex at difficulty `difficulty`; the lines it gives.
    std::vector<std::string> Cast(std::int32_t difficulty, SkillId penetration = SKILL_NONE) const {
        game.Engine().ResolveSpell({"Wren"}, goblin.get(), goblin->GetX(), goblin->GetY(), true, hex, difficulty, 0, 1,
                                   penetration);
        return MessageTexts(game.DrainEvents());
    }
};

}  // namespace

TEST(SpellChecks, ResistanceTwentyIsImmunityTenHalvesAndMinusFourAddsAFifth) {
    HexTarget t;
    const std::string label = "Wren (Ember Hex)";
    t.Give(std::make_shared<CSpellApplyEffectResist>(0, t.hex.GetSaveDamageType(), 20));
    const std::size_t effects = t.goblin->GetActiveEffects().size();
    EXPECT_EQ(t.Cast(0), std::vector<std::string>{t.goblin->GetName() + " is immune to " + label + " (Type: " +
                                                  t.type + ")."});
    EXPECT_EQ(t.goblin->GetActiveEffects().size(), effects);

    // 10 points: 50 percent off. A failed save (100) leaves half; a saved one (50) nothing.
    int failed = 0;
    int saved = 0;
    for (int i = 0; i < 40; ++i) {
        // Each hex lands on a goblin free of the last one, which it would only renew.
        t.goblin->ClearEffects();
        t.Give(std::make_shared<CSpellApplyEffectResist>(0, t.hex.GetSaveDamageType(), 10));
        const std::size_t before = t.goblin->GetActiveEffects().size();
        const auto lines = t.Cast(0);
        ASSERT_FALSE(lines.empty());
        // The save: difficulty 0 + 50 against the goblin's curse resistance.
        EXPECT_NE(lines[0].find(" vs 50] against " + label + " (" + t.type + ")"), std::string::npos) << lines[0];
        if (StartsWith(lines[0], t.goblin->GetName() + " saved ")) {
            ++saved;
            EXPECT_TRUE(EndsWith(lines[0], ", half effect, resists " + t.type + " by 50%, negating the effect."))
                << lines[0];
            EXPECT_EQ(lines.size(), 1u);
            EXPECT_EQ(t.goblin->GetActiveEffects().size(), before);
        } else {
            ++failed;
            EXPECT_TRUE(EndsWith(lines[0], ", resists " + t.type + " by 50%.")) << lines[0];
            ASSERT_EQ(lines.size(), 2u);
            EXPECT_EQ(lines[1], "Wren casts Ember Hex on " + t.goblin->GetName() + ".");
            EXPECT_EQ(t.goblin->GetActiveEffects().size(), before + 1);
        }
    }
    EXPECT_GT(failed, 0);
    EXPECT_GT(saved, 0);

    // -4 points: vulnerable by 20 percent, the hex lands even after a save.
    t.goblin->ClearEffects();
    t.Give(std::make_shared<CSpellApplyEffectResist>(0, t.hex.GetSaveDamageType(), -4));
    for (int i = 0; i < 10; ++i) {
        const auto lines = t.Cast(0);
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_TRUE(EndsWith(lines[0], ", is vulnerable to " + t.type + " by 20%.")) << lines[0];
    }
}

TEST(SpellChecks, NullificationMeetsTheDifficultyAndThePenetrationSkill) {
    HexTarget t;
    // A modifier of 20 makes a target of 70; -50 makes none at all.
    t.Give(std::make_shared<CSpellApplyEffectModify>(0, ModifierBit(MOD_SPELL_NULLIFICATION), 20));
    ASSERT_EQ(t.goblin->GetModifier(MOD_SPELL_NULLIFICATION), 20);
    struct Case {
        SkillId penetration;
        std::string bonus;
    };
    for (const Case& c : {Case{SKILL_NONE, "+ 30 vs 70]."}, Case{SKILL_SPELL_PENETRATION, "+ 40 vs 70]."},
                          Case{SKILL_GREATER_SPELL_PENETRATION, "+ 50 vs 70]."}}) {
        int nullified = 0;
        for (int i = 0; i < 30; ++i) {
            const auto lines = t.Cast(30, c.penetration);
            ASSERT_FALSE(lines.empty());
            if (!StartsWith(lines[0], t.goblin->GetName() + " nullifies Wren (Ember Hex) [")) continue;
            ++nullified;
            EXPECT_TRUE(EndsWith(lines[0], c.bonus)) << lines[0];
            EXPECT_EQ(lines.size(), 1u);
        }
        EXPECT_GT(nullified, 0) << c.bonus;
    }
    t.goblin->ClearEffects();
    t.Give(std::make_shared<CSpellApplyEffectModify>(0, ModifierBit(MOD_SPELL_NULLIFICATION), -50));
    for (int i = 0; i < 30; ++i)
        for (const auto& line : t.Cast(0)) EXPECT_EQ(line.find(" nullifies "), std::string::npos) << line;
}

TEST(SpellChecks, ConcentrationAndDefensiveCastingAfterAWound) {
    HexTarget t;
    CEngine& engine = t.game.Engine();
    const auto wren = t.game.Main();
    const std::int32_t d = t.hex.GetCastingDifficulty();
    const std::string hex = "Ember Hex";
    auto Check = [&](std::int32_t value, std::vector<std::string>& lines) {
        const bool go = engine.CastConcentrationCheck(*wren, t.hex, value);
        lines = MessageTexts(t.game.DrainEvents());
        return go;
    };
    std::vector<std::string> lines;

    // Unhurt and able: always.
    for (int i = 0; i < 20; ++i) {
        EXPECT_TRUE(Check(d, lines));
        EXPECT_TRUE(lines.empty());
    }
    // Short of the difficulty: a roll of value + r against it.
    int failures = 0;
    for (int i = 0; i < 60; ++i) {
        if (Check(d - 60, lines)) continue;
        ++failures;
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0].rfind("Wren failed casting check for " + hex + " [", 0), 0u) << lines[0];
        EXPECT_TRUE(EndsWith(lines[0], " vs " + std::to_string(d) + "].")) << lines[0];
    }
    EXPECT_GT(failures, 20);

    // Wounded for 10 this tick: value against difficulty + 10 + 50, or + 20 with
    // Combat Casting.
    wren->SetLastDamage(10, t.game.Game().GetTick());
    const std::string dc = " vs " + std::to_string(d + 60) + "].";
    int disrupted = 0;
    for (int i = 0; i < 60; ++i) {
        if (Check(d, lines)) continue;
        ++disrupted;
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_TRUE(StartsWith(lines[0], "Wren was disrupted casting " + hex + " [")) << lines[0];
        EXPECT_TRUE(EndsWith(lines[0], "+ " + std::to_string(d) + dc)) << lines[0];
    }
    EXPECT_GT(disrupted, 10);
    wren->AddSkill(SKILL_COMBAT_CASTING);
    for (int i = 0; i < 30; ++i) {
        if (!Check(d, lines)) {
            EXPECT_TRUE(EndsWith(lines[0], "+ " + std::to_string(d + 20) + dc)) << lines[0];
        }
    }

    // Defensive casting first tries magic level + value against twice the difficulty + 90.
    wren->AddSkill(SKILL_DEFENSIVE_CASTING);
    const std::string defensive = "+ " + std::to_string(wren->GetMagicLevel() + d) + " vs " +
                                  std::to_string(2 * d + 90) + "].";
    int calm = 0;
    for (int i = 0; i < 200; ++i) {
        const bool go = Check(d, lines);
        if (lines.empty() || !StartsWith(lines[0], "Wren casts " + hex + " defensively [")) continue;
        ++calm;
        EXPECT_TRUE(go);
        EXPECT_TRUE(EndsWith(lines[0], defensive)) << lines[0];
    }
    EXPECT_GT(calm, 0);

    // A wound older than a casting cycle no longer counts.
    wren->SetLastDamage(10, 0);
    t.game.Game().SetTick(t.game.Game().GetTick() + 10000);
    for (int i = 0; i < 20; ++i) {
        EXPECT_TRUE(Check(d, lines));
        EXPECT_TRUE(lines.empty());
    }
}
