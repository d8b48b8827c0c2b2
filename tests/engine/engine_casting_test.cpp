// Seeded casts on the sample chapter, one cast step a tick as the cast order runs
// it: wind-up, the strike that pays and launches, the flight of the spell and the
// refusal without energy.

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

#include "common/random.h"
#include "rules/magic/spell.h"
#include "support/message_texts.h"
#include "support/sample_game.h"
#include "world/effect.h"
#include "world/item.h"

using namespace DRAV;
using QuillmereTest::SampleGame;
using QuillmereTest::StartSampleGame;

namespace {

std::vector<std::string> Notices(const SampleGame& game) { return QuillmereTest::MessageTexts(game.DrainEvents()); }

bool Has(const std::vector<std::string>& texts, const std::string& prefix) {
    return std::any_of(texts.begin(), texts.end(), [&prefix](const auto& t) { return t.rfind(prefix, 0) == 0; });
}

// Wren, a spirit mage, faces a wisp summoned five cells away.
struct Duel {
    SampleGame game = StartSampleGame();
    std::shared_ptr<CActor> wisp;
    Duel() {
        DRAVCommon::GetRandomEngine().seed(11);
        game.EnterOpenArea(30, 12);
        game.Main()->AddSkill(SKILL_SPIRIT_MAGIC);
        game.Main()->AddSkill(SKILL_MENTAL_FOCUS);
        // A mage's wits: a level-1 hero of plain 6s has too little energy for the spell.
        game.Main()->SetAttribute(ATTR_INTELLIGENCE, 10);
        wisp = game.Spawn("marsh_wisp", 6, 1);
        wisp->SetSummonEndTick(1000000);
        wisp->SetRelation(RELATION_NEUTRAL);
        game.DrainEvents();
    }
    // One tick with a cast step first; true when the cast is over.
    bool Step() const {
        const CSpell& spell = GetSpell(game.Module().GetSpells(), "still_the_spirit");
        const bool over = game.Engine().CastHelperAttacking(*game.Main(), wisp->GetId(), spell, true, nullptr);
        game.Tick(1);
        return over;
    }
};

}  // namespace

TEST(EngineCasting, ADamageSpellPaysAtTheStrikeFliesAndHits) {
    Duel duel;
    const auto wren = duel.game.Main();
    const CSpell& spell = GetSpell(duel.game.Module().GetSpells(), "still_the_spirit");
    ASSERT_GE(wren->GetMaxEnergy(), spell.GetEnergyCost());
    EXPECT_FALSE(duel.Step());
    EXPECT_EQ(wren->GetActionState(), ACTION_WIND_UP);
    int ticks = 1;
    bool over = false;
    while (!over && ticks < 90) {
        EXPECT_EQ(wren->GetEnergyUsed(), 0);
        over = duel.Step();
        ++ticks;
    }
    // Sixty ticks of wind-up, then the strike pays and launches.
    EXPECT_GE(ticks, 60);
    EXPECT_EQ(wren->GetEnergyUsed(), spell.GetEnergyCost());
    EXPECT_TRUE(Has(Notices(duel.game), "Wren casts Still the Spirit on Marsh Wisp."));
    ASSERT_EQ(duel.game.Area().GetEffects().size(), 1u);
    EXPECT_DOUBLE_EQ(duel.game.Area().GetEffects().front()->GetSpeed(), 75.0);
    EXPECT_EQ(wren->GetActionState(), ACTION_PAUSE);
    duel.game.Tick(10);
    EXPECT_TRUE(duel.game.Area().GetEffects().empty());
    const auto texts = Notices(duel.game);
    EXPECT_TRUE(Has(texts, "Wren (Still the Spirit) hits Marsh Wisp for ")) << (texts.empty() ? "" : texts[0]);
}

TEST(EngineCasting, WithoutEnergyTheCastIsRefusedAndNothingIsPaid) {
    Duel duel;
    const auto wren = duel.game.Main();
    wren->SetEnergyUsed(wren->GetMaxEnergy());
    EXPECT_TRUE(duel.Step());
    EXPECT_EQ(Notices(duel.game),
              std::vector<std::string>{"Wren doesn't have enough energy to cast Still the Spirit."});
    EXPECT_EQ(wren->GetEnergyUsed(), wren->GetMaxEnergy());
    EXPECT_TRUE(duel.game.Area().GetEffects().empty());
}

TEST(EngineCasting, AWandThatBurnsOutIsGoneAndTheCasterRecoversAsFromAWand) {
    DRAVCommon::GetRandomEngine().seed(5);
    SampleGame game = StartSampleGame();
    game.EnterOpenArea(20, 10);
    const auto wren = game.Main();
    // Only the backpack holds the wand, so burning out frees it.
    CItem* wand = nullptr;
    {
        auto item = game.Module().CreateItem("ferry_wand", 1, game.Game().NewThingId(THING_ITEM), 0);
        wand = item.get();
        wren->AddToBackpack(std::move(item), false);
    }
    const ThingId wandId = wand->GetId();
    game.DrainEvents();
    // One cast in twenty burns the wand out.
    int casts = 0;
    bool burnt = false;
    while (!burnt && casts < 300) {
        ++casts;
        bool over = false;
        for (int tick = 0; tick < 200 && !over; ++tick) {
            over = game.Engine().UseWand(*wren, *wand, wren->GetId());
            if (!over) game.Tick(1);
        }
        ASSERT_TRUE(over);
        const auto notices = Notices(game);
        burnt = Has(notices, "Wren's Ferry Wand burns out.");
        EXPECT_TRUE(Has(notices, "Wren uses Ferry Wand.")) << "a wand is used, not cast, burnt out or not";
        if (burnt) break;
        EXPECT_EQ(wren->GetAnimation(), ANIM_WRECOVER);
        for (int tick = 0; tick < 200 && wren->GetActionState() != ACTION_IDLE; ++tick) game.Tick(1);
    }
    ASSERT_TRUE(burnt) << casts << " casts";
    EXPECT_EQ(wren->FindItem(wandId, nullptr), nullptr);
    EXPECT_EQ(wren->GetAnimation(), ANIM_WRECOVER);
}

TEST(EngineCasting, AWandInTheHandsOfAnAbsurdIntelligenceCastsAtTheLargestValue) {
    DRAVCommon::GetRandomEngine().seed(3);
    SampleGame game = StartSampleGame();
    game.EnterOpenArea(20, 10);
    const auto wren = game.Main();
    // A module may give a stat of a thousand million; its bonus is past 32 bits.
    wren->SetAttribute(ATTR_INTELLIGENCE, 1000000000u);
    auto wand = game.Module().CreateItem("ferry_wand", 2, game.Game().NewThingId(THING_ITEM), 0);
    wren->AddToBackpack(wand, false);
    bool over = false;
    for (int tick = 0; tick < 200 && !over; ++tick) {
        over = game.Engine().UseWand(*wren, *wand, wren->GetId());
        if (!over) game.Tick(1);
    }
    ASSERT_TRUE(over);
    ASSERT_FALSE(game.Area().GetEffects().empty());
    for (const auto& effect : game.Area().GetEffects()) {
        const auto* spell = dynamic_cast<const CEffectSpell*>(effect.get());
        ASSERT_NE(spell, nullptr);
        EXPECT_EQ(spell->difficulty, std::numeric_limits<std::int32_t>::max());
    }
}

// A cast is told once, by its caster as she casts, naming whom it goes to; what
// comes of it follows in lines of its own, never the cast told again. Wren, a
// caster of every school the rows need, stands by Tamsin with a goblin a few cells off.
TEST(EngineCasting, EachCastIsToldOnceByItsCaster) {
    struct Row {
        const char* key;
        enum { Self, Ally, Foe, Ground } at;
        const char* cast;   // the caster's line
        const char* after;  // the start of a line that follows it, or none
    };
    for (const Row& row : {Row{"ferry_blessing", Row::Ally, "Wren casts Ferryman's Blessing on Tamsin and herself.",
                               nullptr},
                           Row{"warding_reeds", Row::Ally, "Wren casts Warding Reeds on Tamsin.", nullptr},
                           Row{"mend_wounds", Row::Self, "Wren casts Mend Wounds.", "Wren heals herself for "},
                           Row{"mend_wounds", Row::Ally, "Wren casts Mend Wounds on Tamsin.", "Wren heals Tamsin for "},
                           Row{"ember_hex", Row::Foe, "Wren casts Ember Hex on Reed Goblin.", nullptr},
                           Row{"call_wisp", Row::Ground, "Wren casts Call Marsh Wisp.", "Marsh Wisp answers Wren's call."}}) {
        SCOPED_TRACE(std::string(row.key) + " " + row.cast);
        DRAVCommon::GetRandomEngine().seed(3);
        SampleGame game = StartSampleGame();
        game.EnterOpenArea(30, 12);
        const auto wren = game.Main();
        wren->SetGender(GENDER_FEMALE);
        for (SkillId school : {SKILL_LIFE_MAGIC, SKILL_VOID_MAGIC, SKILL_SPIRIT_MAGIC, SKILL_ENERGY_MAGIC})
            wren->AddSkill(school);
        for (Attribute a : {ATTR_INTELLIGENCE, ATTR_PERSONALITY}) wren->SetAttribute(a, 30);
        wren->SetDamageTaken(5);
        const auto tamsin = game.Spawn("ferryman", 2, 1);
        tamsin->SetName("Tamsin");
        game.Game().AddPartyMember(tamsin);
        tamsin->SetDamageTaken(5);
        const auto goblin = game.Spawn("reed_goblin", 6, 1);
        game.DrainEvents();
        const CSpell& spell = GetSpell(game.Module().GetSpells(), row.key);
        const ThingId target = row.at == Row::Self   ? wren->GetId()
                               : row.at == Row::Ally ? tamsin->GetId()
                               : row.at == Row::Foe  ? goblin->GetId()
                                                     : 0x01000000u + 4 * 1000 + 8;
        bool over = false;
        for (int tick = 0; tick < 200 && !over; ++tick) {
            over = game.Engine().CastHelperAttacking(*wren, target, spell, false, nullptr);
            game.Tick(1);
        }
        ASSERT_TRUE(over);
        game.Tick(60);
        const std::vector<std::string> said = Notices(game);
        const auto told = std::count_if(said.begin(), said.end(), [&](const std::string& line) {
            return line.find(" casts " + spell.GetName()) != std::string::npos;
        });
        EXPECT_EQ(told, 1) << testing::PrintToString(said);
        ASSERT_FALSE(said.empty());
        EXPECT_EQ(said.front(), row.cast) << testing::PrintToString(said);
        if (row.after) EXPECT_TRUE(Has(said, row.after)) << testing::PrintToString(said);
    }
}
