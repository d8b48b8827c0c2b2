// One attack at a time against the sample's people and monsters, with the numbers
// worked by hand: the defence class that touch and flanking attacks meet, critical
// hits, charms broken by blows, and a kill tag finishing a quest.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/random.h"
#include "rules/magic/spell_apply.h"
#include "rules/magic/spell_apply_effect.h"
#include "support/message_texts.h"
#include "support/sample_game.h"

using namespace DRAV;
using QuillmereTest::MessageTexts;
using QuillmereTest::SampleGame;
using QuillmereTest::StartSampleGame;

namespace {

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// A blow that only a roll of 1 to 5 misses, of `dieA` + `bonusA` damage of a type the
// target does not resist at all.
CAttackInfo SureBlow(const CActor& target, std::int32_t dieA, std::int32_t bonusA, std::uint32_t flags) {
    CDamageType type;
    type.category = DAMAGE_PHYSICAL;
    CAttackInfo info("Goblin", 1000, dieA, bonusA, 0, 0, type, 0, flags);
    info.enhancement = target.GetDamageResistance(type);
    return info;
}

void Charm(CActor& actor) {
    auto charm = std::make_shared<CSpellApply>("Charm", CDamageType{}, 0, 0, false, false);
    charm->GetParts().push_back(std::make_shared<CSpellApplyEffectStatus>(0, STATUS_CHARMED));
    actor.AppendEffects({charm});
}

// A goblin on open ground that outlasts any number of blows, the events so far drained.
std::shared_ptr<CActor> TargetGoblin(const QuillmereTest::SampleGame& game) {
    game.EnterOpenArea(20, 6);
    auto goblin = game.Spawn("reed_goblin", 5, 1);
    if (!goblin) return nullptr;
    goblin->SetMaxHitPoints(1000000);
    game.DrainEvents();
    return goblin;
}

}  // namespace

TEST(AttackRules, TouchAndFlankingAttacksMeetTheDefenceWithoutArmour) {
    DRAVCommon::GetRandomEngine().seed(5);
    auto game = StartSampleGame();
    const auto wren = game.Main();
    wren->SetEquipment(SLOT_ARMOR, game.Module().CreateItem("oilskin_coat", 1, game.Game().NewThingId(THING_ITEM), 0));
    wren->SetEquipment(SLOT_OFFHAND,
                       game.Module().CreateItem("ferry_buckler", 1, game.Game().NewThingId(THING_ITEM), 0));
    wren->SetMaxHitPoints(100000);
    // 50, agility 6 gives -10, the coat 3 and the buckler 1.
    ASSERT_EQ(wren->GetDefenseClass(false, nullptr), 44);
    game.DrainEvents();

    struct Case {
        std::uint32_t flags;
        std::string defence;
        std::string tags;
    };
    const std::vector<Case> cases = {
        {0, " vs 44]", ""},
        {ATTACK_TOUCH, " vs 40]", " [touch]"},
        {ATTACK_FLANKING, " vs 40]", " [flanking]"},
        {std::uint32_t{ATTACK_FLANKING} | ATTACK_TOUCH, " vs 40]", " [flanking] [touch]"},
    };
    for (const Case& c : cases) {
        game.Engine().ResolveAttack2(*wren, SureBlow(*wren, 1, 0, c.flags), false);
        const auto texts = MessageTexts(game.DrainEvents());
        ASSERT_EQ(texts.size(), 1u) << c.tags;
        EXPECT_TRUE(Contains(texts[0], c.defence + c.tags + " ") || Contains(texts[0], c.defence + c.tags + "."))
            << texts[0];
    }
}

TEST(AttackRules, CriticalHitsDoubleTheWeaponPartOnOneRollInTwentyOrInTen) {
    DRAVCommon::GetRandomEngine().seed(21);
    auto game = StartSampleGame();
    const auto goblin = TargetGoblin(game);
    ASSERT_TRUE(goblin);

    // A weapon part of 1 + 3 and an added 1 + 1 roll one die of 2: 5 or 6 damage.
    // A critical hit doubles the weapon part to 2 + 6: one die of 3 + 7, 8 to 10.
    auto criticals = [&](std::uint32_t flags, const std::string& label) {
        CAttackInfo info = SureBlow(*goblin, 1, 3, flags);
        info.dieB = 1;
        info.bonusB = 1;
        int count = 0;
        for (int i = 0; i < 1000; ++i) {
            const std::int32_t before = goblin->GetDamageTaken();
            game.Engine().ResolveAttack2(*goblin, info, true);
            const auto events = game.DrainEvents();
            const auto texts = MessageTexts(events);
            EXPECT_EQ(texts.size(), 1u);
            const std::int32_t damage = goblin->GetDamageTaken() - before;
            const bool critical = Contains(texts.front(), label);
            const bool event = std::any_of(events.begin(), events.end(),
                                           [](const auto& e) { return e->GetCode() == EVENT_CRITICAL_HIT; });
            EXPECT_EQ(critical, event);
            if (damage == 0) continue;  // a roll of 1 to 5 missed
            if (critical) EXPECT_TRUE(damage >= 8 && damage <= 10) << texts.front();
            else EXPECT_TRUE(damage == 5 || damage == 6) << texts.front();
            count += critical;
        }
        return count;
    };
    const int plain = criticals(0, "[5% critical x2]");
    const int keen = criticals(ATTACK_CRITICAL, "[10% critical x2]");
    // About 48 and 95 of some 950 hits.
    EXPECT_GT(plain, 25);
    EXPECT_LT(plain, 75);
    EXPECT_GT(keen, 65);
    EXPECT_LT(keen, 130);
}

// A saved game or an advanced definition can carry numbers at the ends of the 32-bit
// range: the attack's sums must not wrap round into misses, wounds or heals.
TEST(AttackRules, NumbersAtTheEndsOfTheirRangeDoNotWrapRound) {
    DRAVCommon::GetRandomEngine().seed(9);
    auto game = StartSampleGame();
    const auto goblin = TargetGoblin(game);
    ASSERT_TRUE(goblin);
    // The messages of `count` blows, and the damage they did.
    auto strike = [&](const CAttackInfo& info, int count) {
        const std::int32_t before = goblin->GetDamageTaken();
        std::vector<std::string> texts;
        for (int i = 0; i < count; ++i) {
            game.Engine().ResolveAttack2(*goblin, info, true);
            for (const std::string& text : MessageTexts(game.DrainEvents())) texts.push_back(text);
        }
        return std::make_pair(texts, goblin->GetDamageTaken() - before);
    };

    // The highest bonus misses only on the rolls that always miss.
    CAttackInfo sure = SureBlow(*goblin, 1, 0, 0);
    sure.attackBonus = INT32_MAX;
    const auto [sureTexts, sureDamage] = strike(sure, 200);
    const auto misses = std::count_if(sureTexts.begin(), sureTexts.end(),
                                      [](const std::string& text) { return Contains(text, " misses "); });
    EXPECT_LT(misses, 25);
    EXPECT_GE(sureDamage, 200 - misses);

    // The lowest enhancement leaves every hit resisted whole; the highest resists nothing.
    CAttackInfo blunted = SureBlow(*goblin, 1, 5, 0);
    blunted.enhancement = INT32_MIN;
    const auto [bluntTexts, bluntDamage] = strike(blunted, 20);
    EXPECT_EQ(bluntDamage, 0);
    for (const std::string& text : bluntTexts)
        EXPECT_TRUE(Contains(text, " misses ") || Contains(text, "damage resisted 100%")) << text;
    CAttackInfo keen = SureBlow(*goblin, 1, 5, 0);
    keen.enhancement = INT32_MAX;
    const auto [keenTexts, keenDamage] = strike(keen, 20);
    for (const std::string& text : keenTexts) {
        EXPECT_FALSE(Contains(text, "Resisted")) << text;
        EXPECT_TRUE(Contains(text, " misses ") || Contains(text, " for 6 damage") || Contains(text, " for 11 damage") ||
                    Contains(text, " for 12 damage"))
            << text;
    }
    EXPECT_GT(keenDamage, 0);

    // Two dice of the largest size, doubled by criticals: a wound, never a heal or a graze.
    CAttackInfo huge = SureBlow(*goblin, INT32_MAX, 0, ATTACK_CRITICAL);
    huge.dieB = INT32_MAX;
    for (int i = 0; i < 20 && goblin->IsAlive(); ++i) strike(huge, 1);
    EXPECT_FALSE(goblin->IsAlive());
}

TEST(AttackRules, ABlowBreaksACharmUnlessThePartyStrikesItsOwn) {
    auto game = StartSampleGame();
    game.EnterOpenArea(20, 6);
    const auto wren = game.Main();
    const auto goblin = game.Spawn("reed_goblin", 5, 1);
    ASSERT_TRUE(goblin);
    game.DrainEvents();

    // A charmed member struck by the party stays charmed, and silent.
    Charm(*wren);
    game.Engine().RemoveCharmedCheck(*wren, true);
    EXPECT_TRUE(wren->HasStatus(STATUS_CHARMED));
    EXPECT_TRUE(game.DrainEvents().empty());
    // Struck by anyone else, the charm ends with a word and a refresh of the member.
    game.Engine().RemoveCharmedCheck(*wren, false);
    EXPECT_FALSE(wren->HasStatus(STATUS_CHARMED));
    const auto events = game.DrainEvents();
    EXPECT_EQ(MessageTexts(events), std::vector<std::string>{"Wren is attacked, is no longer charmed."});
    EXPECT_TRUE(std::any_of(events.begin(), events.end(),
                            [](const auto& e) { return e->GetCode() == EVENT_ACTOR_STATUS; }));
    // A charmed monster loses the charm to the party's blow, silently; hit or miss.
    Charm(*goblin);
    goblin->SetRelation(RELATION_HOSTILE);
    CAttackInfo miss = SureBlow(*goblin, 1, 0, 0);
    miss.attackBonus = -1000;
    game.Engine().ResolveAttack2(*goblin, miss, true);
    EXPECT_FALSE(goblin->HasStatus(STATUS_CHARMED));
    EXPECT_EQ(MessageTexts(game.DrainEvents()).size(), 1u);  // the miss alone
}

TEST(AttackRules, KillingAMonsterWithAKillTagCompletesTheQuestsItFinishes) {
    auto game = StartSampleGame();
    const auto captain = game.Spawn("smuggler_captain", 12, 6);
    ASSERT_TRUE(captain);
    captain->SetCompletionTag("boatwright_found");
    game.Game().SetQuestTag("boatwright_asked", 1);
    const std::uint32_t experience = game.Main()->GetExperience();
    game.DrainEvents();

    game.Engine().ResolveActorDied("Wren", *captain);
    game.Tick();
    const auto texts = MessageTexts(game.DrainEvents());
    auto has = [&](const std::string& line) { return std::find(texts.begin(), texts.end(), line) != texts.end(); };
    EXPECT_TRUE(game.Game().IsQuestTagSet("boatwright_found"));
    EXPECT_TRUE(has("The party has completed a quest for 300xp (The Missing Boatwright)."));
    EXPECT_TRUE(game.Game().IsQuestTagSet("find_boatwright"));
    // Its follow-up waits for the boatwright to be brought home.
    EXPECT_FALSE(has("The party has completed a quest for 150xp (Home to the Slip)."));
    EXPECT_FALSE(game.Game().IsQuestTagSet("boatwright_home"));
    EXPECT_EQ(game.Main()->GetExperience(), experience + 300);
    game.Engine().SetTag("boatwright_returned", false);
    EXPECT_TRUE(game.Game().IsQuestTagSet("boatwright_home"));
    EXPECT_EQ(game.Main()->GetExperience(), experience + 450);
}
