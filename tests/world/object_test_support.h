#pragma once
// Object definitions read from text, and items for objects to hold.

#include <memory>
#include <string>

#include "common/data_file_reader.h"
#include "rules/definitions/object_template.h"
#include "rules/items/item_template.h"
#include "support/sample_module.h"
#include "world/item.h"

namespace WorldTest {

inline std::shared_ptr<DRAV::CObjectTemplate> DefinitionFrom(const std::string& text) {
    DRAVCommon::CDataFileReader reader(QuillmereTest::TextStream(text), "objects.drav");
    auto definition = std::make_shared<DRAV::CObjectTemplate>();
    definition->Load(reader);
    return definition;
}

// An item of a plain template read from text; objects never look inside it.
inline std::shared_ptr<DRAV::CItem> LooseItem(DRAV::ThingId id) {
    static const std::shared_ptr<DRAV::CItemTemplate> plain = [] {
        DRAVCommon::CDataFileReader reader(
            QuillmereTest::TextStream(
                "<item> rope \"Rope\" \"Coil of Rope\" 0 \"A coil of rope.\" rope 0 0 2 1 misc normal </item>"),
            "items.drav");
        reader.BeginBlock("item");
        auto made = std::make_shared<DRAV::CItemTemplate>(reader, DRAV::SpellMap{});
        reader.EndBlock();
        return made;
    }();
    return std::make_shared<DRAV::CItem>(id, *plain, 1, 0);
}

}  // namespace WorldTest
