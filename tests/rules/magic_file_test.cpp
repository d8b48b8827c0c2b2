#include <gtest/gtest.h>

#include <set>
#include <string>

#include "rules/magic/magic_file.h"
#include "rules/vocabulary/skills.h"
#include "rules/magic/spell_effects_conjure.h"
#include "rules_test_util.h"
#include "support/error_code.h"
#include "support/sample_module.h"

using namespace DRAV;
using RulesTest::ReaderOver;

namespace {

SpellMap LoadSample(DRAVCommon::CDataFileFactory& source) {
    SpellMap spells;
    LoadMagic(spells, source);
    return spells;
}

void Parse(SpellMap& spells, const std::string& text) {
    auto reader = ReaderOver(text);
    ParseMagic(spells, *reader);
    EXPECT_TRUE(reader->AtEnd()) << reader->GetToken();
}

std::string Magic(const std::string& body) { return "<magic> <spells> " + body + " </spells> </magic>"; }

std::string PlainSpell(const std::string& key, const std::string& extra = "") {
    return "<spell> " + key + " \"" + key + "\" 200 \"d\" 0 0 <bonus> 0 </bonus> 0 0 0 " + extra + " </spell> ";
}

std::string MultiSpell(const std::string& key, const std::string& flags) {
    return "<multispell> <instance> 1 100 </instance> <instance> 5 200 </instance>"
           " <spell> " + key + " \"Cry\" 200 \"d\" 0 0 <level> 1 </level> 0 0 0"
           " <effect> modify 0 2 attack </effect> " + flags + " </spell> </multispell>";
}

}  // namespace

TEST(MagicFile, SampleChapterLoadsEverySpell) {
    auto source = QuillmereTest::SampleFolderSource();
    SpellMap spells = LoadSample(*source);

    const std::set<std::string> expected = {
        "ferry_blessing", "reed_lash", "marsh_fever", "fever_chill", "smugglers_smoke", "call_wisp", "ember_hex",
        "ferry_crossing", "lantern_light", "mend_wounds", "still_water", "unbinding", "river_sight",
        "warding_reeds", "gust", "drowned_return", "still_the_spirit", "s_power-oar_sweep",
        "s_power-steady_pole", "s_power-boatmans_chant", "s_power-rally1", "s_power-rally2", "s_power-rally3",
        "s_power-sneak", "heron_shadow", "mud_grip", "marsh_spark", "heron_calm", "heron_cry", "river_dart",
        "ferrymans_luck",
        "marsh_balm", "drowning_word"};
    std::set<std::string> keys;
    for (const auto& [key, spell] : spells) {
        keys.insert(key);
        EXPECT_EQ(spell->GetKey(), key);
    }
    EXPECT_EQ(keys, expected);
    EXPECT_EQ(FindSpell(spells, "s_power-rally"), nullptr);

    // Every effect kind appears in the sample.
    std::set<SpellEffectKind> kinds;
    for (const auto& [key, spell] : spells)
        for (const auto& effect : spell->GetEffects()) kinds.insert(effect->GetKind());
    EXPECT_EQ(kinds.size(), static_cast<std::size_t>(kSpellEffectKindCount));

    const CSpell& blessing = GetSpell(spells, "ferry_blessing");
    EXPECT_TRUE(blessing.HasFlag(SPELL_POTION));
    EXPECT_TRUE(blessing.HasFlag(SPELL_WAND));
    EXPECT_FALSE(blessing.HasFlag(SPELL_NOMANUAL));
    EXPECT_EQ(GetSkillInfo(blessing.GetSchool()).skillClass, 2);  // a scroll can be made of it
    EXPECT_NE(blessing.GetSchool(), blessing.GetSecondSkill());
    EXPECT_TRUE(GetSpell(spells, "fever_chill").HasFlag(SPELL_NOMANUAL));

    const CSpell& sweep = GetSpell(spells, "s_power-oar_sweep");
    EXPECT_EQ(sweep.GetPowerWeaponType(), WEAPON_STAFF);
    EXPECT_EQ(sweep.GetPowerSkill(), SKILL_STAFF_MASTERY);
    EXPECT_EQ(sweep.GetSaveDamageType(), (CDamageType{DAMAGE_POWER, ELEMENT_NONE}));
    EXPECT_EQ(GetSpell(spells, "s_power-boatmans_chant").GetSaveDamageType(),
              (CDamageType{DAMAGE_MUSICAL, ELEMENT_NONE}));

    const CSpell& rally1 = GetSpell(spells, "s_power-rally1");
    const CSpell& rally2 = GetSpell(spells, "s_power-rally2");
    const CSpell& rally3 = GetSpell(spells, "s_power-rally3");
    EXPECT_EQ(rally1.GetName(), "Rally 1");
    EXPECT_EQ(rally3.GetName(), "Rally 3");
    EXPECT_EQ(rally1.GetLevel(), 1);
    EXPECT_EQ(rally3.GetLevel(), 12);
    EXPECT_EQ(rally1.GetSchool(), SKILL_BATTLE_MUSIC);
    EXPECT_EQ(rally2.GetSchool(), SKILL_HEROIC_MUSIC);
    EXPECT_EQ(rally2.GetSecondSkill(), SKILL_BATTLE_MUSIC);
    EXPECT_EQ(rally3.GetSchool(), SKILL_BATTLE_MUSIC);

    // The ongoing effect's carried spell is among the spells.
    const auto& ongoing = static_cast<const CSpellEffectOngoing&>(*GetSpell(spells, "marsh_fever").GetEffects()[0]);
    EXPECT_NE(FindSpell(spells, ongoing.GetSpellKey()), nullptr);
}

TEST(MagicFile, PackedArchiveLoadsTheSameSpells) {
    auto folder = QuillmereTest::SampleFolderSource();
    auto archive = QuillmereTest::SampleArchiveSource();
    SpellMap fromFolder = LoadSample(*folder);
    SpellMap fromArchive = LoadSample(*archive);
    ASSERT_EQ(fromFolder.size(), fromArchive.size());
    for (const auto& [key, spell] : fromFolder) {
        const CSpell* other = FindSpell(fromArchive, key);
        ASSERT_NE(other, nullptr) << key;
        EXPECT_EQ(other->GetName(), spell->GetName());
        EXPECT_EQ(other->GetEffects().size(), spell->GetEffects().size());
    }
}

TEST(MagicFile, DuplicateSingleSpellIsRefused) {
    SpellMap spells;
    RulesTest::ExpectThrowsCode([&] { Parse(spells, Magic(PlainSpell("wisp") + PlainSpell("wisp"))); },
                                DRAV_ERR_BAD_DATA, "wisp");

    // Across files too: the global file may not redefine a chapter spell.
    SpellMap twoFiles;
    Parse(twoFiles, Magic(PlainSpell("wisp")));
    RulesTest::ExpectThrowsCode([&] { Parse(twoFiles, Magic(PlainSpell("wisp"))); }, DRAV_ERR_BAD_DATA, "wisp");
}

TEST(MagicFile, MultispellInstancesReplaceAndTheTemplateStaysOut) {
    SpellMap spells;
    Parse(spells, Magic(PlainSpell("cry2", "<effect> damage 3 </effect>") + MultiSpell("cry", "power")));
    EXPECT_EQ(spells.size(), 2u);
    EXPECT_EQ(FindSpell(spells, "cry"), nullptr);
    EXPECT_EQ(GetSpell(spells, "cry1").GetLevel(), 1);
    // The instance took the place of the single spell of that key.
    EXPECT_EQ(GetSpell(spells, "cry2").GetLevel(), 5);
    EXPECT_EQ(GetSpell(spells, "cry2").GetEffects()[0]->GetKind(), EFFECT_MODIFY);

    // A later single spell of an instance's key is a duplicate.
    EXPECT_EQ(QuillmereTest::ErrorCodeOf([&] { Parse(spells, Magic(PlainSpell("cry1"))); }), DRAV_ERR_BAD_DATA);
}

TEST(MagicFile, MalformedFilesAreRefused) {
    SpellMap spells;
    RulesTest::ExpectThrowsCode([&] { Parse(spells, Magic(MultiSpell("cry", "multitarget"))); }, DRAV_ERR_BAD_DATA,
                                "not a power");
    EXPECT_EQ(QuillmereTest::ErrorCodeOf([&] { Parse(spells, Magic("<potion> x </potion>")); }), DRAV_ERR_BAD_DATA);
    EXPECT_EQ(QuillmereTest::ErrorCodeOf([&] { Parse(spells, "<spells> </spells>"); }), DRAV_ERR_BAD_DATA);
    EXPECT_EQ(QuillmereTest::ErrorCodeOf([&] { Parse(spells, "<magic> <spells> </spells>"); }), DRAV_ERR_BAD_DATA);
    EXPECT_EQ(QuillmereTest::ErrorCodeOf(
                  [&] { Parse(spells, Magic("<multispell> <instance> 1 100 </instance> </multispell>")); }),
              DRAV_ERR_BAD_DATA);
    EXPECT_TRUE(spells.empty());
    // An empty file of spells is allowed.
    Parse(spells, Magic(""));
    EXPECT_TRUE(spells.empty());
}

TEST(MagicFile, BuiltinPowersAndCarriedSpells) {
    SpellMap spells;
    Parse(spells, Magic(PlainSpell("s_power-sneak") + PlainSpell("chill") +
                        PlainSpell("fever", "<effect> ongoing 1round chill </effect>")));
    AddBuiltinPowers(spells);
    EXPECT_EQ(GetSpell(spells, "s_power-sneak").GetName(), "Sneak");
    CheckSpellReferences(spells);

    Parse(spells, Magic(PlainSpell("blight", "<effect> ongoing 1round rot </effect>")));
    RulesTest::ExpectThrowsCode([&] { CheckSpellReferences(spells); }, DRAV_ERR_BAD_DATA, "\"rot\"");
    EXPECT_EQ(spells.count("rot"), 0u);
}
