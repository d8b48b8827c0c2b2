#pragma once
// The definitions of a ".drav" element text that can carry a <modify> element:
// each monster of a "monsters" element and each item template of an "items"
// element, both standing at the top of the file (the item lists inside a monster
// name items, they do not define them). A modifier goes in as the definition's
// last element, after any <inherit> it overrides.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace QuillmereSweep {

struct DefinitionSpot {
    std::string key;         // the definition's first word
    std::size_t closing = 0;  // offset of its closing tag
    std::uint32_t line = 1;   // of its opening tag, counted from 1
};

std::vector<DefinitionSpot> FindModifiableDefinitions(const std::string& text);

// The element that changes `statistic` ("actionspeed") by `amount`, in no damage category.
std::string ModifyElement(const std::string& amount, const std::string& statistic);

// `text` with `element` as the last element of the definition at `spot`.
std::string InsertIntoDefinition(const std::string& text, const DefinitionSpot& spot, const std::string& element);

}  // namespace QuillmereSweep
