#pragma once
// Readers of item definitions and item lists over short texts, for the item tests.

#include <memory>
#include <string>

#include "rules/items/item_file.h"
#include "rules/items/item_template.h"
#include "rules/magic/magic_file.h"
#include "rules/magic/spell.h"
#include "../rules_test_util.h"
#include "support/sample_module.h"

namespace ItemsTest {

// One "item" element's text with the given kind, value, flag words and attributes.
inline std::string ItemText(const std::string& key, const std::string& kind, unsigned value,
                            const std::string& rest = "") {
    return "<item> " + key + " \"" + key + " name\" \"Full " + key + "\" 128 \"Text.\" g_" + key + " 0 w 1.5 " +
           std::to_string(value) + " " + kind + " " + rest + " </item> ";
}

// Reads one template from the text of an "item" element.
inline std::shared_ptr<DRAV::CItemTemplate> ReadTemplate(const std::string& text,
                                                         const DRAV::SpellMap& spells = {}) {
    auto reader = RulesTest::ReaderOver(text);
    reader->BeginBlock("item");
    auto itemTemplate = std::make_shared<DRAV::CItemTemplate>(*reader, spells);
    reader->EndBlock();
    return itemTemplate;
}

// A spell map holding one plain spell of the key, school and tier.
inline DRAV::SpellMap OneSpell(const std::string& key, const std::string& school = "arcane_magic",
                               int tier = 1, const std::string& flags = "") {
    auto reader = RulesTest::ReaderOver("<spell> " + key + " \"" + key + "\" 200 \"d\" 0 " + school + " <tier> " +
                                        std::to_string(tier) + " </tier> 0 0 0 " + flags + " </spell>");
    auto spell = std::make_shared<DRAV::CSpell>(*reader);
    return {{key, spell}};
}

// The sample chapter's spells and items, loaded from the folder tree.
struct SampleChapter {
    std::shared_ptr<DRAVCommon::CDataFileFactory> source = QuillmereTest::SampleFolderSource();
    DRAV::SpellMap spells;
    DRAV::ItemTemplateMap items;

    SampleChapter() {
        DRAV::LoadMagic(spells, *source);
        DRAV::LoadItems(items, *source, spells);
    }
};

}  // namespace ItemsTest
