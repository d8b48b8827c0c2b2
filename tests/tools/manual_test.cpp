// The manual the build assembles: an entry under the anchor the game opens for
// every spell, manual item and faction of every chapter of the sample, and one
// entry only for what several chapters define; and rules that speak of the
// classes, attributes and numbers the game has.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "engine/brain/brain_functions.h"
#include "rules/module.h"
#include "rules/vocabulary/actor_class.h"
#include "rules/vocabulary/attributes.h"
#include "world/actor.h"
#include "support/sample_module.h"

namespace {

std::size_t Count(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

std::string Manual() {
    std::ifstream in(QuillmereTest::SampleArchiveRoot() + "/manual/rules.htm", std::ios::binary);
    EXPECT_TRUE(in);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST(SampleManual, EverySpellItemAndFactionOfEveryChapterHasOneEntry) {
    const std::string manual = Manual();
    int chapters = 0;
    for (int chapter = 1;
         std::filesystem::exists(QuillmereTest::SampleRoot() + "/" + std::to_string(chapter) + "/world.drav");
         ++chapter, ++chapters) {
        DRAV::CModule module;
        module.SetBrainFunctions(DRAV::GetBrainFunctions());
        module.Load(chapter, nullptr, QuillmereTest::SampleFolderSource(chapter));
        for (const auto& [key, spell] : module.GetSpells())
            EXPECT_EQ(Count(manual, "id=\"spell_" + key + "\""), 1u) << "chapter " << chapter << ": " << key;
        for (const auto& [key, item] : module.GetItemTemplates())
            if (item->HasFlag(DRAV::ITEMFLAG_MANUAL)) {
                EXPECT_EQ(Count(manual, "id=\"item_" + key + "\""), 1u) << "chapter " << chapter << ": " << key;
            }
        for (const auto& [key, faction] : module.GetFactions())
            EXPECT_EQ(Count(manual, "id=\"faction_" + key + "\""), 1u) << "chapter " << chapter << ": " << key;
    }
    EXPECT_GE(chapters, 2);
}

TEST(SampleManual, TheRulesNameTheClassesAttributesAndDefenseTheGameHas) {
    const std::string manual = Manual();
    for (int c = DRAV::CLASS_FIGHTER; c <= DRAV::CLASS_SPELLCASTER; ++c) {
        const std::string name = DRAV::GetClassName(static_cast<DRAV::ActorClass>(c));
        EXPECT_NE(manual.find("<b>" + name + "</b>"), std::string::npos) << name;
    }
    const char* const counts[] = {"No", "One", "Two", "Three", "Four", "Five", "Six", "Seven"};
    ASSERT_LT(DRAV::kAttributeCount, 8);
    EXPECT_NE(manual.find(std::string(counts[DRAV::kAttributeCount]) + " attributes describe"), std::string::npos);
    for (int a = 0; a < DRAV::kAttributeCount; ++a)
        EXPECT_NE(manual.find(DRAV::GetAttributeName(static_cast<DRAV::Attribute>(a))), std::string::npos) << a;
    // Of one who wears nothing and has an Agility of 10.
    DRAV::CActor bare(0);
    bare.SetAttribute(DRAV::ATTR_AGILITY, 10);
    EXPECT_NE(manual.find("must beat: " + std::to_string(bare.GetDefenseClass(false, nullptr)) + ","),
              std::string::npos);
}

}  // namespace
