#include "sweep/modifier_edits.h"

#include <string_view>

#include "sweep/data_tokens.h"

namespace QuillmereSweep {
namespace {

// The definition element each top-level list holds, or "" for any other element.
std::string_view DefinitionOf(std::string_view list) {
    if (list == "monsters") return "monster2";
    if (list == "items") return "item";
    return {};
}

}  // namespace

std::vector<DefinitionSpot> FindModifiableDefinitions(const std::string& text) {
    std::vector<DefinitionSpot> spots;
    std::size_t depth = 0;
    std::string_view definition;  // the element the open top-level list defines
    bool wantKey = false;
    DefinitionSpot open;
    ForEachDataToken(text, [&](const DataToken& token) {
        const bool keyWanted = wantKey;
        wantKey = false;
        if (IsOpeningTag(token.text)) {
            if (depth == 0) definition = DefinitionOf(TagName(token.text));
            if (depth == 1 && !definition.empty() && TagName(token.text) == definition) {
                open = {{}, 0, token.line};
                wantKey = true;
            }
            ++depth;
            return;
        }
        if (IsClosingTag(token.text)) {
            if (depth == 0) return;  // unbalanced: the reader refuses it anyway
            --depth;
            if (depth == 1 && !definition.empty() && TagName(token.text) == definition && !open.key.empty()) {
                open.closing = token.offset;
                spots.push_back(open);
                open = {};
            }
            return;
        }
        if (keyWanted) open.key = std::string(token.text);
    });
    return spots;
}

std::string ModifyElement(const std::string& amount, const std::string& statistic) {
    return "<modify> " + amount + " 0 " + statistic + " </modify>";
}

std::string InsertIntoDefinition(const std::string& text, const DefinitionSpot& spot, const std::string& element) {
    std::string edited = text;
    edited.insert(spot.closing, element + "\n ");
    return edited;
}

}  // namespace QuillmereSweep
