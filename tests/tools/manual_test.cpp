// The manual the build assembles: an entry under the anchor the game opens for
// every spell, manual item and faction of every chapter of the sample, and one
// entry only for what several chapters define.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
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

std::string Manual() {  // its words, each run of white space a single blank
    std::ifstream in(QuillmereTest::SampleArchiveRoot() + "/manual/rules.htm", std::ios::binary);
    std::string manual, word;
    while (in >> word) manual += word + " ";
    return manual;
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
    for (const auto c : {DRAV::CLASS_FIGHTER, DRAV::CLASS_ROGUE, DRAV::CLASS_SPELLCASTER})
        EXPECT_NE(manual.find("<b>" + DRAV::GetClassName(c) + "</b>"), std::string::npos) << c;
    std::string attributes = "describe a character: ";
    for (int a = 0; a < DRAV::kAttributeCount; ++a)
        attributes += (a == 0 ? "" : a + 1 == DRAV::kAttributeCount ? " and " : ", ") +
                      DRAV::GetAttributeName(static_cast<DRAV::Attribute>(a));
    EXPECT_NE(manual.find(attributes + "."), std::string::npos) << attributes;
    DRAV::CActor bare(0);  // nothing worn, an Agility of 10
    bare.SetAttribute(DRAV::ATTR_AGILITY, 10);
    EXPECT_NE(manual.find("must beat: " + std::to_string(bare.GetDefenseClass(false, nullptr))), std::string::npos);
}

}  // namespace
