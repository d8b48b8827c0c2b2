// Every key of every vocabulary table names a value that prints back as the same key,
// through the parse and key functions and through the data-file readers and writers.

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <vector>

#include "rules/vocabulary/actor_class.h"
#include "rules/vocabulary/animation_direction.h"
#include "rules/vocabulary/attributes.h"
#include "rules/kinds/damage.h"
#include "rules/vocabulary/difficulty.h"
#include "rules/vocabulary/gender_race.h"
#include "rules/kinds/item_kinds.h"
#include "rules/vocabulary/relation.h"
#include "rules/vocabulary/skills.h"
#include "rules/vocabulary/special_stat.h"
#include "rules/vocabulary/status.h"
#include "rules/kinds/tile_effect_kinds.h"
#include "rules_test_util.h"

using namespace DRAV;
using RulesTest::ExpectThrowsCode;

namespace {

struct KeyedTable {
    const char* what;
    int count;
    std::function<std::string(int)> key;
    std::function<int(const std::string&)> parse;
    std::int32_t unknownCode;
};

template <typename Enum>
KeyedTable Keyed(const char* what, int count, std::string (*key)(Enum), Enum (*parse)(const std::string&),
                 std::int32_t unknownCode) {
    return {what, count, [key](int v) { return key(static_cast<Enum>(v)); },
            [parse](const std::string& w) { return static_cast<int>(parse(w)); }, unknownCode};
}

std::vector<KeyedTable> KeyedTables() {
    return {
        Keyed("race", kRaceCount, &GetRaceKey, &ParseRace, DRAV_ERR_OUT_OF_RANGE),
        Keyed("attribute", kAttributeCount, &GetAttributeKey, &ParseAttribute, DRAV_ERR_OUT_OF_RANGE),
        Keyed("class", kClassCount, &GetClassKey, &ParseClass, DRAV_ERR_OUT_OF_RANGE),
        Keyed("relation", kRelationCount, &GetRelationKey, &ParseRelation, DRAV_ERR_OUT_OF_RANGE),
        Keyed("special statistic", kSpecialStatCount, &GetSpecialStatKey, &ParseSpecialStat, DRAV_ERR_OUT_OF_RANGE),
        Keyed("status", kStatusCount, &GetStatusKey, &ParseStatus, DRAV_ERR_BAD_DATA),
        Keyed("difficulty", kDifficultyCount, &GetDifficultyKey, &ParseDifficulty, DRAV_ERR_BAD_DATA),
        Keyed("weapon type", kWeaponTypeCount, &GetWeaponTypeKey, &ParseWeaponType, DRAV_ERR_OUT_OF_RANGE),
        Keyed("spell effect kind", kSpellEffectKindCount, &GetSpellEffectKindKey, &ParseSpellEffectKind,
              DRAV_ERR_OUT_OF_RANGE),
        Keyed("skill", kSkillCount, &GetSkillKey, &ParseSkill, DRAV_ERR_OUT_OF_RANGE),
    };
}

// Data-file words read by a reader function and printed by a writer (or key) function.
struct ReadWriteTable {
    const char* what;
    int count;
    std::function<void(DRAVCommon::CDataFileWriter&, int)> write;
    std::function<int(DRAVCommon::CDataFileReader&)> read;
    std::int32_t unknownCode;
};

template <typename Enum>
std::function<int(DRAVCommon::CDataFileReader&)> Reading(Enum (*read)(DRAVCommon::CDataFileReader&)) {
    return [read](DRAVCommon::CDataFileReader& reader) { return static_cast<int>(read(reader)); };
}

template <typename Enum>
std::function<void(DRAVCommon::CDataFileWriter&, int)> WritingKey(std::string (*key)(Enum)) {
    return [key](DRAVCommon::CDataFileWriter& writer, int v) { writer.WriteWord(key(static_cast<Enum>(v))); };
}

std::vector<ReadWriteTable> ReadWriteTables() {
    return {
        {"gender", kGenderCount,
         [](DRAVCommon::CDataFileWriter& w, int v) { WriteGender(w, static_cast<Gender>(v)); },
         Reading(&ReadGender), DRAV_ERR_BAD_DATA},
        {"status", kStatusCount,
         [](DRAVCommon::CDataFileWriter& w, int v) { WriteStatus(w, static_cast<StatusKind>(v)); },
         Reading(&ReadStatus), DRAV_ERR_BAD_DATA},
        {"race", kRaceCount, WritingKey(&GetRaceKey), Reading(&ReadRace), DRAV_ERR_OUT_OF_RANGE},
        {"class", kClassCount, WritingKey(&GetClassKey), Reading(&ReadClass), DRAV_ERR_OUT_OF_RANGE},
        {"relation", kRelationCount, WritingKey(&GetRelationKey), Reading(&ReadRelation), DRAV_ERR_OUT_OF_RANGE},
        {"attribute", kAttributeCount, WritingKey(&GetAttributeKey), Reading(&ReadAttribute),
         DRAV_ERR_OUT_OF_RANGE},
        {"item kind", kItemKindCount, WritingKey(&GetItemKindKey), Reading(&ReadItemKind), DRAV_ERR_BAD_DATA},
    };
}

std::vector<std::string> Words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

}  // namespace

TEST(VocabularyRoundTrip, EveryKeyParsesToItsValueAndPrintsBack) {
    for (const KeyedTable& table : KeyedTables()) {
        SCOPED_TRACE(table.what);
        for (int v = 0; v < table.count; ++v) {
            const std::string key = table.key(v);
            EXPECT_FALSE(key.empty());
            EXPECT_EQ(table.parse(key), v) << key;
        }
    }
}

TEST(VocabularyRoundTrip, UnknownWordsThrowTheTableCodeNamingTheWord) {
    for (const KeyedTable& table : KeyedTables()) {
        SCOPED_TRACE(table.what);
        // Keys compare exactly: a capitalised key is not a key.
        std::string capitalised = table.key(0);
        capitalised[0] = static_cast<char>(std::toupper(capitalised[0]));
        for (const std::string& word : {std::string("nonsense_word"), capitalised})
            ExpectThrowsCode([&] { table.parse(word); }, table.unknownCode, word);
    }
}

TEST(VocabularyRoundTrip, KeyGettersRejectValuesOutsideTheirTables) {
    for (const KeyedTable& table : KeyedTables()) {
        SCOPED_TRACE(table.what);
        ExpectThrowsCode([&] { table.key(table.count); }, DRAV_ERR_OUT_OF_RANGE, std::to_string(table.count));
        ExpectThrowsCode([&] { table.key(-1); }, DRAV_ERR_OUT_OF_RANGE, "-1");
    }
}

TEST(VocabularyRoundTrip, WrittenWordsReadBackThroughTheReaders) {
    for (const ReadWriteTable& table : ReadWriteTables()) {
        SCOPED_TRACE(table.what);
        const std::string text = RulesTest::WrittenText([&](DRAVCommon::CDataFileWriter& writer) {
            for (int v = 0; v < table.count; ++v) table.write(writer, v);
        });
        auto reader = RulesTest::ReaderOver(text);
        std::vector<std::string> written = Words(text);
        ASSERT_EQ(written.size(), static_cast<std::size_t>(table.count));
        for (int v = 0; v < table.count; ++v) {
            EXPECT_EQ(reader->GetToken(), written[v]);
            EXPECT_EQ(table.read(*reader), v);
        }
        EXPECT_TRUE(reader->AtEnd());
        // Reading again the word each value printed as gives the same text.
        const std::string again = RulesTest::WrittenText([&](DRAVCommon::CDataFileWriter& writer) {
            auto reread = RulesTest::ReaderOver(text);
            for (int v = 0; v < table.count; ++v) table.write(writer, table.read(*reread));
        });
        EXPECT_EQ(again, text);
    }
}

TEST(VocabularyRoundTrip, ReadersRejectUnknownWordsAndTheEndOfData) {
    for (const ReadWriteTable& table : ReadWriteTables()) {
        SCOPED_TRACE(table.what);
        auto unknown = RulesTest::ReaderOver("Bogus");
        ExpectThrowsCode([&] { table.read(*unknown); }, table.unknownCode, "\"Bogus\"");
        EXPECT_EQ(unknown->GetToken(), "Bogus") << "a rejected word must not be consumed";
        auto empty = RulesTest::ReaderOver("");
        ExpectThrowsCode([&] { table.read(*empty); }, DRAV_ERR_BAD_DATA, "end of the data");
    }
}

TEST(VocabularyRoundTrip, ReadersCompareWordsExactly) {
    for (const ReadWriteTable& table : ReadWriteTables()) {
        SCOPED_TRACE(table.what);
        const std::string text = RulesTest::WrittenText([&](DRAVCommon::CDataFileWriter& writer) {
            for (int v = 0; v < table.count; ++v) table.write(writer, v);
        });
        const std::vector<std::string> words = Words(text);
        for (std::string word : words) {
            word[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(word[0])));
            auto capitalised = RulesTest::ReaderOver(word);
            ExpectThrowsCode([&] { table.read(*capitalised); }, table.unknownCode, word);
        }
        // Whole words only: a key with more after it is not the key.
        const std::string longer = words.front() + "s";
        auto extended = RulesTest::ReaderOver(longer);
        ExpectThrowsCode([&] { table.read(*extended); }, table.unknownCode, longer);
    }
}

TEST(VocabularyRoundTrip, WritersRejectValuesOutsideTheirTables) {
    QuillmereTest::TempDir dir;
    DRAVCommon::CDataFileWriter writer(dir / "out.drav");
    ExpectThrowsCode([&] { WriteGender(writer, static_cast<Gender>(3)); }, DRAV_ERR_OUT_OF_RANGE, "3");
    ExpectThrowsCode([&] { WriteStatus(writer, static_cast<StatusKind>(-1)); }, DRAV_ERR_OUT_OF_RANGE, "-1");
    writer.Finish();
    EXPECT_EQ(QuillmereTest::ReadTextFile(dir / "out.drav"), "") << "nothing is written for a bad value";
}

TEST(VocabularyRoundTrip, DamageTypeWordsReadBackAsTheSamePair) {
    std::vector<CDamageType> types{{}};
    for (int c = 0; c < kDamageCategoryCount; ++c) types.push_back({static_cast<DamageCategory>(c), ELEMENT_NONE});
    for (int e = 1; e < kDamageElementCount; ++e) {
        auto element = static_cast<DamageElement>(e);
        types.push_back({GetDamageElementInfo(element).category, element});
    }
    const std::string text = RulesTest::WrittenText([&](DRAVCommon::CDataFileWriter& writer) {
        for (const CDamageType& type : types) WriteDamageType(writer, type);
    });
    std::vector<std::string> words = Words(text);
    ASSERT_EQ(words.size(), types.size());
    for (std::size_t i = 0; i < types.size(); ++i) {
        EXPECT_EQ(ParseDamageType(words[i]), types[i]) << words[i];
        EXPECT_EQ(words[i], types[i].GetKey());
        EXPECT_EQ(IsDamageTypeWord(words[i]), i != 0) << words[i];
    }
}

TEST(VocabularyRoundTrip, DirectionsReadTheirKeysAndLetters) {
    for (int v = 0; v < kDirectionCount; ++v) {
        auto direction = static_cast<Direction>(v);
        EXPECT_EQ(ParseDirection(GetDirectionKey(direction)), direction);
        EXPECT_EQ(ParseDirection(GetDirectionLetter(direction)), direction);
    }
}

TEST(VocabularyRoundTrip, TileKindsParseAndObjectsTakeOnlyTheFirstThree) {
    for (int v = 0; v < kTileKindCount; ++v) {
        auto kind = static_cast<TileKind>(v);
        const std::string key = GetTileKindKey(kind);
        EXPECT_EQ(ParseTileKind(key), kind);
        if (v < kObjectTileKindCount) EXPECT_EQ(ParseObjectTileKind(key), kind);
        else ExpectThrowsCode([&] { ParseObjectTileKind(key); }, DRAV_ERR_OUT_OF_RANGE, key);
    }
}

TEST(VocabularyRoundTrip, NamesExistForEveryValueAndStopAtTheTableEnd) {
    struct Named {
        const char* what;
        int count;
        std::function<std::string(int)> name;
    };
    const std::vector<Named> tables = {
        {"gender", kGenderCount, [](int v) { return GetGenderName(static_cast<Gender>(v)); }},
        {"gender letter", kGenderCount, [](int v) { return GetGenderLetter(static_cast<Gender>(v)); }},
        {"race", kRaceCount, [](int v) { return GetRaceName(static_cast<Race>(v)); }},
        {"attribute", kAttributeCount, [](int v) { return GetAttributeName(static_cast<Attribute>(v)); }},
        {"combat statistic", kCombatStatCount, [](int v) { return GetCombatStatName(static_cast<CombatStat>(v)); }},
        {"class", kClassCount, [](int v) { return GetClassName(static_cast<ActorClass>(v)); }},
        {"relation", kRelationCount, [](int v) { return GetRelationName(static_cast<Relation>(v)); }},
        {"special", kSpecialStatCount, [](int v) { return GetSpecialStatName(static_cast<SpecialStat>(v)); }},
        {"status", kStatusCount, [](int v) { return GetStatusName(static_cast<StatusKind>(v)); }},
        {"difficulty", kDifficultyCount, [](int v) { return GetDifficultyName(static_cast<Difficulty>(v)); }},
        {"animation", kAnimationCount, [](int v) { return GetAnimationName(static_cast<AnimationId>(v)); }},
        {"item kind", kItemKindCount, [](int v) { return GetItemKindName(static_cast<ItemKind>(v)); }},
        {"weapon type", kWeaponTypeCount, [](int v) { return GetWeaponTypeName(static_cast<WeaponType>(v)); }},
        {"skill", kSkillCount, [](int v) { return GetSkillName(static_cast<SkillId>(v)); }},
    };
    for (const Named& table : tables) {
        SCOPED_TRACE(table.what);
        for (int v = 0; v < table.count; ++v) EXPECT_FALSE(table.name(v).empty()) << v;
        ExpectThrowsCode([&] { table.name(table.count); }, DRAV_ERR_OUT_OF_RANGE, std::to_string(table.count));
        ExpectThrowsCode([&] { table.name(-1); }, DRAV_ERR_OUT_OF_RANGE, "-1");
    }
}
