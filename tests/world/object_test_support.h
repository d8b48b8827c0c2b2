#pragma once
// Object definitions read from text, and items for objects to hold.

#include <memory>
#include <string>

#include "common/data_file_reader.h"
#include "rules/definitions/object_template.h"
#include "support/sample_module.h"
#include "world/item.h"

namespace WorldTest {

inline std::shared_ptr<DRAV::CObjectTemplate> DefinitionFrom(const std::string& text) {
    DRAVCommon::CDataFileReader reader(QuillmereTest::TextStream(text), "objects.drav");
    auto definition = std::make_shared<DRAV::CObjectTemplate>();
    definition->Load(reader);
    return definition;
}

// Objects only hold items and never look at their templates, so an item may
// point at a template no module defines.
inline std::shared_ptr<DRAV::CItem> LooseItem(DRAV::ThingId id) {
    static const int kNoTemplate = 0;
    return std::make_shared<DRAV::CItem>(id, reinterpret_cast<const DRAV::CItemTemplate&>(kNoTemplate), 1, 0);
}

}  // namespace WorldTest
