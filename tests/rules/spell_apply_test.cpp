#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "rules/magic/spell_apply.h"
#include "rules/monsters/actor_names.h"
#include "rules_test_util.h"
#include "support/error_code.h"

using namespace DRAV;
using RulesTest::ReaderOver;

namespace {

// A spell map with one hostile and one helpful spell to carry.
SpellMap CarriedSpells() {
    SpellMap spells;
    auto fever = ReaderOver(
        "<spell> fever_chill \"Fever Chill\" 128 \"d\" 0 0 <bonus> 0 </bonus> poison 0 0"
        " <effect> damage 0 3 </effect> </spell>");
    spells.emplace("fever_chill", std::make_shared<CSpell>(*fever));
    auto blessing = ReaderOver(
        "<spell> blessing \"Blessing\" 200 \"d\" 0 0 <bonus> 0 </bonus> 0 0 0"
        " <effect> heal 4 </effect> </spell>");
    spells.emplace("blessing", std::make_shared<CSpell>(*blessing));
    return spells;
}

SpellApplyList EveryPartKind(const SpellMap& spells) {
    SpellApplyList applied;
    auto curse = std::make_shared<CSpellApply>("Marsh Fever", CDamageType{DAMAGE_MATERIAL, ELEMENT_POISON}, 27, 3,
                                               false, false);
    curse->GetParts().push_back(std::make_shared<CSpellApplyEffectModify>(
        4500, ModifierBit(MOD_ATTACK) | ModifierBit(MOD_RESIST_CHARM), -2));
    curse->GetParts().push_back(std::make_shared<CSpellApplyEffectStatus>(4800, STATUS_CONFUSED));
    curse->GetParts().push_back(std::make_shared<CSpellApplyEffectOngoing>(5100, GetSpell(spells, "fever_chill")));
    curse->SetCasterName("Marra");
    applied.push_back(curse);

    auto ring = std::make_shared<CSpellApply>("Reed Ring", CDamageType{}, 0, 0, true, true);
    ring->GetParts().push_back(std::make_shared<CSpellApplyEffectResist>(0, CDamageType{DAMAGE_ENERGETIC, ELEMENT_FIRE}, 10));
    ring->GetParts().push_back(std::make_shared<CSpellApplyEffectResist>(0, CDamageType{}, -1));
    applied.push_back(ring);

    applied.push_back(std::make_shared<CSpellApply>("Empty", CDamageType{DAMAGE_SPIRITUAL, ELEMENT_NONE}, -4, 0,
                                                    true, false));
    return applied;
}

const char* const kEveryPartKindText =
    "<spellapplylist>\n"
    " <spellapply>\n"
    "  \"Marsh Fever\"\n"
    "  poison\n"
    "  27\n"
    "  3\n"
    "  false\n"
    "  false\n"
    "  <effectlist>\n"
    "   <effectmodify>\n"
    "    4500\n"
    "    <modify>\n"
    "     1\n"
    "     16384\n"
    "    </modify>\n"
    "    -2\n"
    "   </effectmodify>\n"
    "   <effectstatus>\n"
    "    4800\n"
    "    confused\n"
    "   </effectstatus>\n"
    "   <effectongoing>\n"
    "    5100\n"
    "    fever_chill\n"
    "   </effectongoing>\n"
    "  </effectlist>\n"
    "  <caster>\n"
    "   \"Marra\"\n"
    "  </caster>\n"
    " </spellapply>\n"
    " <spellapply>\n"
    "  \"Reed Ring\"\n"
    "  0\n"
    "  0\n"
    "  0\n"
    "  true\n"
    "  true\n"
    "  <effectlist>\n"
    "   <effectresist>\n"
    "    0\n"
    "    fire\n"
    "    10\n"
    "   </effectresist>\n"
    "   <effectresist>\n"
    "    0\n"
    "    0\n"
    "    -1\n"
    "   </effectresist>\n"
    "  </effectlist>\n"
    " </spellapply>\n"
    " <spellapply>\n"
    "  \"Empty\"\n"
    "  spiritual\n"
    "  -4\n"
    "  0\n"
    "  true\n"
    "  false\n"
    "  <effectlist>\n"
    "  </effectlist>\n"
    " </spellapply>\n"
    "</spellapplylist>\n";

SpellApplyList ReadList(const std::string& text, const SpellMap& spells) {
    SpellApplyList applied;
    auto reader = ReaderOver(text);
    ReadSpellApplyList(applied, *reader, spells);
    EXPECT_TRUE(reader->AtEnd()) << reader->GetToken();
    return applied;
}

std::int32_t ListError(const std::string& text, const SpellMap& spells) {
    return QuillmereTest::ErrorCodeOf([&] { ReadList(text, spells); });
}

std::string ApplyText(const std::string& parts, const std::string& head = "\"X\" 0 1 2 false false") {
    return "<spellapplylist> <spellapply> " + head + " <effectlist> " + parts +
           " </effectlist> </spellapply> </spellapplylist>";
}

}  // namespace

TEST(SpellApply, WrittenLayoutLineByLine) {
    SpellMap spells = CarriedSpells();
    std::string text = RulesTest::WrittenText([&](auto& writer) { WriteSpellApplyList(EveryPartKind(spells), writer); });
    EXPECT_EQ(text, kEveryPartKindText);
}

TEST(SpellApply, RoundTripKeepsEveryField) {
    SpellMap spells = CarriedSpells();
    SpellApplyList read = ReadList(kEveryPartKindText, spells);
    ASSERT_EQ(read.size(), 3u);

    const CSpellApply& curse = *read[0];
    EXPECT_EQ(curse.GetName(), "Marsh Fever");
    EXPECT_EQ(curse.GetDamageType(), (CDamageType{DAMAGE_MATERIAL, ELEMENT_POISON}));
    EXPECT_EQ(curse.GetCastingValue(), 27);
    EXPECT_EQ(curse.GetCasterLevel(), 3);
    EXPECT_FALSE(curse.IsSilent());
    EXPECT_FALSE(curse.IsHidden());
    EXPECT_EQ(curse.GetCasterName(), "Marra");
    ASSERT_EQ(curse.GetParts().size(), 3u);
    auto modify = std::dynamic_pointer_cast<CSpellApplyEffectModify>(curse.GetParts()[0]);
    ASSERT_NE(modify, nullptr);
    EXPECT_EQ(modify->GetKind(), APPLY_MODIFY);
    EXPECT_EQ(modify->GetEndTick(), 4500u);
    EXPECT_EQ(modify->GetMask(), ModifierBit(MOD_ATTACK) | ModifierBit(MOD_RESIST_CHARM));
    EXPECT_EQ(modify->GetAmount(), -2);
    auto status = std::dynamic_pointer_cast<CSpellApplyEffectStatus>(curse.GetParts()[1]);
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(status->GetStatus(), STATUS_CONFUSED);
    auto ongoing = std::dynamic_pointer_cast<CSpellApplyEffectOngoing>(curse.GetParts()[2]);
    ASSERT_NE(ongoing, nullptr);
    EXPECT_EQ(&ongoing->GetSpell(), FindSpell(spells, "fever_chill"));
    EXPECT_EQ(ongoing->GetEndTick(), 5100u);

    const CSpellApply& ring = *read[1];
    EXPECT_TRUE(ring.IsSilent());
    EXPECT_TRUE(ring.IsHidden());
    auto resist = std::dynamic_pointer_cast<CSpellApplyEffectResist>(ring.GetParts()[0]);
    ASSERT_NE(resist, nullptr);
    EXPECT_EQ(resist->GetDamageType(), (CDamageType{DAMAGE_ENERGETIC, ELEMENT_FIRE}));
    EXPECT_EQ(resist->GetAmount(), 10);
    EXPECT_EQ(resist->GetEndTick(), 0u);
    EXPECT_TRUE(read[2]->GetParts().empty());

    // Written again, the list is the same text.
    EXPECT_EQ(RulesTest::WrittenText([&](auto& writer) { WriteSpellApplyList(read, writer); }), kEveryPartKindText);

    // Reading appends to what the list holds.
    ReadList(kEveryPartKindText, spells);
    auto reader = ReaderOver(kEveryPartKindText);
    ReadSpellApplyList(read, *reader, spells);
    EXPECT_EQ(read.size(), 6u);
}

TEST(SpellApply, HostileUnlessSomePartHelps) {
    SpellMap spells = CarriedSpells();
    auto apply = [](auto part) {
        CSpellApply spell("S", CDamageType{}, 0, 0, false, false);
        spell.GetParts().push_back(part);
        return spell.IsHostile();
    };
    EXPECT_TRUE(CSpellApply("S", CDamageType{}, 0, 0, false, false).IsHostile());
    EXPECT_TRUE(apply(std::make_shared<CSpellApplyEffectModify>(0, ModifierBit(MOD_ATTACK), 0)));
    EXPECT_FALSE(apply(std::make_shared<CSpellApplyEffectModify>(0, ModifierBit(MOD_ATTACK), 1)));
    EXPECT_TRUE(apply(std::make_shared<CSpellApplyEffectStatus>(0, STATUS_FEAR)));
    EXPECT_FALSE(apply(std::make_shared<CSpellApplyEffectResist>(0, CDamageType{}, -3)));
    EXPECT_TRUE(apply(std::make_shared<CSpellApplyEffectOngoing>(0, GetSpell(spells, "fever_chill"))));
    EXPECT_FALSE(apply(std::make_shared<CSpellApplyEffectOngoing>(0, GetSpell(spells, "blessing"))));

    SpellApplyList list = EveryPartKind(spells);
    EXPECT_TRUE(list[0]->IsHostile());
    EXPECT_FALSE(list[1]->IsHostile());
}

TEST(SpellApply, UnknownCarriedSpellIsRefused) {
    SpellMap spells = CarriedSpells();
    RulesTest::ExpectThrowsCode(
        [&] { ReadList(ApplyText("<effectongoing> 10 swamp_rot </effectongoing>"), spells); }, DRAV_ERR_BAD_DATA,
        "swamp_rot");
    EXPECT_EQ(ListError(ApplyText("<effectongoing> 10 0 </effectongoing>"), spells), DRAV_ERR_BAD_DATA);
    EXPECT_EQ(spells.size(), 2u);
    EXPECT_EQ(spells.count("swamp_rot"), 0u);
    EXPECT_EQ(spells.count(""), 0u);
}

TEST(SpellApply, MalformedPartsAreRefused) {
    SpellMap spells = CarriedSpells();
    // An absent mask reads as 0.
    SpellApplyList noMask = ReadList(ApplyText("<effectmodify> 7 3 </effectmodify>"), spells);
    EXPECT_EQ(std::static_pointer_cast<CSpellApplyEffectModify>(noMask[0]->GetParts()[0])->GetMask(), 0u);

    EXPECT_EQ(ListError(ApplyText("<effectheal> 7 3 </effectheal>"), spells), DRAV_ERR_BAD_DATA);
    EXPECT_EQ(ListError(ApplyText("stray"), spells), DRAV_ERR_BAD_DATA);
    EXPECT_EQ(ListError(ApplyText("<effectmodify> -7 3 </effectmodify>"), spells), DRAV_ERR_BAD_DATA);
    EXPECT_EQ(ListError(ApplyText("<effectmodify> 7 </effectmodify>"), spells), DRAV_ERR_BAD_DATA);
    EXPECT_EQ(ListError(ApplyText("<effectstatus> 7 asleep </effectstatus>"), spells), DRAV_ERR_BAD_DATA);
    EXPECT_EQ(ListError(ApplyText("<effectstatus> 7 </effectstatus>"), spells), DRAV_ERR_BAD_DATA);
    EXPECT_EQ(ListError(ApplyText("<effectresist> 7 smoke 2 </effectresist>"), spells), DRAV_ERR_BAD_DATA);
    EXPECT_EQ(ListError(ApplyText("<effectresist> 7 </effectresist>"), spells), DRAV_ERR_BAD_DATA);
    EXPECT_EQ(ListError(ApplyText("", "\"X\" 0 1 2 yes false"), spells), DRAV_ERR_BAD_DATA);
    EXPECT_EQ(ListError(ApplyText("", "\"X\" smoke 1 2 false false"), spells), DRAV_ERR_BAD_DATA);
    EXPECT_EQ(ListError(ApplyText("", "X 0 1 2 false false"), spells), DRAV_ERR_BAD_DATA);
    EXPECT_EQ(ListError("<spellapplylist> <spellapply> \"X\" 0 1 2 false false </spellapply> </spellapplylist>", spells),
              DRAV_ERR_BAD_DATA);
    EXPECT_EQ(ListError("<spellapplylist> <effectlist> </effectlist> </spellapplylist>", spells), DRAV_ERR_BAD_DATA);
    // A caster is an actor's name.
    for (const std::size_t length : {std::size_t{0}, kActorNameLimit, kActorNameLimit + 1}) {
        const std::string text =
            "<spellapplylist> <spellapply> \"X\" 0 1 2 false false <effectlist> </effectlist> <caster> \"" +
            std::string(length, 'a') + "\" </caster> </spellapply> </spellapplylist>";
        EXPECT_EQ(ListError(text, spells), length == kActorNameLimit ? 0 : DRAV_ERR_BAD_DATA) << length;
    }
}
