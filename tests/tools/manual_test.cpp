// The manual the build assembles: an entry under the anchor the game opens for
// every spell, manual item and faction of every chapter of the sample, and one
// entry only for what several chapters define.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "engine/brain/brain_functions.h"
#include "rules/module.h"
#include "support/sample_module.h"

namespace {

std::size_t Count(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

TEST(SampleManual, EverySpellItemAndFactionOfEveryChapterHasOneEntry) {
    std::ifstream in(QuillmereTest::SampleArchiveRoot() + "/manual/rules.htm", std::ios::binary);
    ASSERT_TRUE(in);
    const std::string manual((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
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

}  // namespace
