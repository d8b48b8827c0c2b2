// Seeded casts on the sample chapter, one cast step a tick as the cast order runs
// it: wind-up, the strike that pays and launches, the flight of the spell and the
// refusal without energy.

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>
#include <tuple>
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
    // What she casts: at the wisp, or at the ground beside her.
    std::string spell = "still_the_spirit";
    Duel() {
        DRAVCommon::GetRandomEngine().seed(2);
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
        const CSpell& cast = GetSpell(game.Module().GetSpells(), spell);
        const ThingId ground = (ThingId{THING_TILE} << 24) + 1002;
        const ThingId target = cast.GetTargetType() == SPELL_TARGET_TILE ? ground : wisp->GetId();
        const bool over = game.Engine().CastHelperAttacking(*game.Main(), target, cast, true, nullptr);
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
    const auto told = Notices(duel.game);
    EXPECT_TRUE(Has(told, "Wren casts Still the Spirit on Marsh Wisp.")) << testing::PrintToString(told);
    ASSERT_EQ(duel.game.Area().GetEffects().size(), 1u);
    EXPECT_DOUBLE_EQ(duel.game.Area().GetEffects().front()->GetSpeed(), 75.0);
    EXPECT_EQ(wren->GetActionState(), ACTION_PAUSE);
    duel.game.Tick(10);
    EXPECT_TRUE(duel.game.Area().GetEffects().empty());
    const auto texts = Notices(duel.game);
    EXPECT_TRUE(Has(texts, "Wren (Still the Spirit) hits Marsh Wisp for ")) << (texts.empty() ? "" : texts[0]);
}

// A cast without the energy or that would come to nothing (at one who surrendered, a
// second call of the wisp), from the start or in the wind-up, is refused with a word,
// unpaid; a target out of reach is closed on again, the order standing.
TEST(EngineCasting, ARefusedCastIsToldAndUnpaidAndOutOfReachItClosesInAgain) {
    struct Row {
        std::string spell;
        std::string notice;  // none: out of reach
        void (*lack)(Duel&);
    };
    const Row rows[]{
        {"still_the_spirit", "Wren doesn't have enough energy to cast Still the Spirit.",
         [](Duel& duel) { duel.game.Main()->SetEnergyUsed(duel.game.Main()->GetMaxEnergy()); }},
        {"still_the_spirit", "", [](Duel& duel) { duel.wisp->FinalizeMove(70.0, 28.0); }},
        {"still_the_spirit", "Wren can't cast Still the Spirit at Marsh Wisp: Marsh Wisp has surrendered.",
         [](Duel& duel) { duel.wisp->SetRelation(RELATION_SURRENDER); }},
        {"call_wisp", "Wren can't cast Call Marsh Wisp: Marsh Wisp is already summoned.",
         [](Duel& duel) { duel.wisp->SetSummonEndTick(1000000); }},
    };
    for (const Row& row : rows)
        for (const bool meanwhile : {false, true}) {
            SCOPED_TRACE((row.notice.empty() ? "out of reach" : row.notice) + (meanwhile ? " in the wind-up" : ""));
            Duel duel;
            const auto wren = duel.game.Main();
            duel.spell = row.spell;
            // The wisp there is none she called until it is summoned.
            if (row.spell == "call_wisp") duel.wisp->SetSummonEndTick(0);
            if (meanwhile) {
                ASSERT_FALSE(duel.Step());
                ASSERT_EQ(wren->GetActionState(), ACTION_WIND_UP);
            }
            row.lack(duel);
            const std::int32_t used = wren->GetEnergyUsed();
            bool over = false;
            for (int tick = 0; tick < 90 && !over && (tick == 0 || wren->GetActionState() == ACTION_WIND_UP ||
                                                      wren->GetActionState() == ACTION_STRIKE);
                 ++tick)
                over = duel.Step();
            const bool outOfReach = row.notice.empty();
            EXPECT_EQ(over, !outOfReach);
            EXPECT_EQ(Notices(duel.game), outOfReach ? std::vector<std::string>{} : std::vector{row.notice});
            EXPECT_EQ(wren->GetEnergyUsed(), used);
            EXPECT_TRUE(duel.game.Area().GetEffects().empty());
            const double x = wren->GetX();
            if (outOfReach) {
                EXPECT_FALSE(duel.Step() || duel.Step());
            }
            EXPECT_EQ(wren->GetX() > x, outOfReach) << "she walks on towards it";
        }
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
// comes of it follows in lines of its own, never the cast told again.
TEST(EngineCasting, EachCastIsToldOnceByItsCaster) {
    for (const auto& [key, at, cast, after] : std::vector<std::tuple<std::string, int, std::string, std::string>>{
             {"ferry_blessing", 1, "Wren casts Ferryman's Blessing on Tamsin and herself.", ""},
             {"mend_wounds", 0, "Wren casts Mend Wounds.", "Wren heals herself for "},
             {"ember_hex", 2, "Wren casts Ember Hex on Reed Goblin.", ""},
             {"call_wisp", 3, "Wren casts Call Marsh Wisp.", "Marsh Wisp answers Wren's call."},
             // Aimed at the ground and given at a person, as a click on them aims it: the cell under them.
             {"call_wisp", 2, "Wren casts Call Marsh Wisp.", "Marsh Wisp answers Wren's call."}}) {
        DRAVCommon::GetRandomEngine().seed(3);
        SampleGame game = StartSampleGame();
        game.EnterOpenArea(30, 12);
        const auto wren = game.Main();
        wren->SetGender(GENDER_FEMALE);
        for (SkillId school : {SKILL_LIFE_MAGIC, SKILL_VOID_MAGIC, SKILL_SPIRIT_MAGIC}) wren->AddSkill(school);
        for (Attribute a : {ATTR_INTELLIGENCE, ATTR_PERSONALITY}) wren->SetAttribute(a, 30);
        const auto tamsin = game.Spawn("ferryman", 2, 1);
        tamsin->SetName("Tamsin");
        game.Game().AddPartyMember(tamsin);
        const ThingId target[] = {wren->GetId(), tamsin->GetId(), game.Spawn("reed_goblin", 6, 1)->GetId(),
                                  0x01000000u + 4 * 1000 + 8};
        game.DrainEvents();
        const CSpell& spell = GetSpell(game.Module().GetSpells(), key);
        for (int tick = 0; tick < 200 && !game.Engine().CastHelperAttacking(*wren, target[at], spell, false, nullptr);
             ++tick)
            game.Tick(1);
        game.Tick(60);
        const std::vector<std::string> said = Notices(game);
        EXPECT_EQ(std::count_if(said.begin(), said.end(),
                                [&](const auto& line) { return line.find(" casts " + spell.GetName()) != line.npos; }),
                  1)
            << testing::PrintToString(said);
        EXPECT_EQ(said.empty() ? "" : said.front(), cast);
        EXPECT_TRUE(Has(said, after)) << testing::PrintToString(said);
    }
}
