#include "rules/items/item_template.h"

#include <algorithm>

#include "common/exception.h"
#include "rules/vocabulary/vocabulary_table.h"
#include "rules/kinds/formulas.h"
#include "rules/vocabulary/read_word.h"
#include "rules/monsters/actor_names.h"

namespace DRAV {

namespace {

struct FlagWord {
    const char* word;
    std::uint32_t bits;
};

constexpr FlagWord kFlagWords[] = {
    {"public", ITEMFLAG_MANUAL | ITEMFLAG_NORMAL},
    {"common", ITEMFLAG_MANUAL | ITEMFLAG_COMMON | ITEMFLAG_NORMAL},
    {"normal", ITEMFLAG_NORMAL},
    {"nogive", ITEMFLAG_NOGIVE},
};

std::string ReadKeyWord(DRAVCommon::CDataFileReader& reader, const char* what) {
    if (!AtWord(reader)) reader.Fail(DRAV_ERR_BAD_DATA, std::string("expected ") + what);
    return reader.ReadWord();
}

std::string SpellItemDescription(ItemKind kind, const std::string& spellName) {
    switch (kind) {
        case ITEM_POTION: return "This potion contains a liquid with the power of " + spellName + ".";
        case ITEM_SCROLL: return "This scroll has the spell " + spellName + " written on it.";
        case ITEM_WAND: return "This wand is imbued with the power of the spell " + spellName + ".";
        default:
            throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "no spell item of kind " + std::to_string(kind));
    }
}

}  // namespace

std::uint32_t ParseItemFlagWord(const std::string& word) {
    const int row = FindTableKey(kFlagWords, &FlagWord::word, word);
    return row < 0 ? 0 : kFlagWords[row].bits;
}

CItemTemplate::CItemTemplate(DRAVCommon::CDataFileReader& reader, const SpellMap& spells) {
    m_key = ReadKeyWord(reader, "an item key");
    // Also the name of the lasting harms it gives, which a save holds.
    m_name = KeptName(reader, reader.ReadQuoted(), "a name");
    m_fullName = reader.ReadQuoted();
    reader.ReadColour(m_colour);
    m_description = reader.ReadQuoted();
    m_graphics[0] = ReadKeyWord(reader, "a graphic name");
    m_graphics[1] = ReadKeyWord(reader, "a second graphic name or 0");
    if (m_graphics[1] == "0") m_graphics[1] = m_graphics[0];
    m_extraWord = ReadKeyWord(reader, "a word");
    m_weight = reader.ReadDouble();
    m_value = reader.ReadUInt();
    m_kind = ReadItemKind(reader);
    while (!reader.IsAnyBlockStart() && !reader.AtBlockEnd()) {
        const std::uint32_t bits = ParseItemFlagWord(reader.GetToken());
        if (bits == 0) reader.Fail(DRAV_ERR_BAD_DATA, "expected an item flag (public, common, normal or nogive)");
        m_flags |= bits;
        reader.Advance();
    }
    while (!reader.AtBlockEnd()) m_attributes.push_back(ReadItemAttribute(reader, spells, m_name));
}

CItemTemplate::CItemTemplate(ItemKind kind, const CSpell& spell)
    : m_key("i_" + GetItemKindKey(kind) + "-" + spell.GetKey()),
      m_name(spell.GetName()),
      m_fullName(GetItemKindName(kind) + " of " + spell.GetName()),
      m_colour(spell.GetColour()),
      m_description(SpellItemDescription(kind, spell.GetName())),
      m_kind(kind),
      // A tier below the table's start would price the item negatively; it is worth nothing.
      m_value(static_cast<std::uint32_t>(std::max(0, GetSpellItemValue(spell.GetTier(), kind)))),
      m_flags(ITEMFLAG_NORMAL) {
    m_attributes.push_back(std::make_shared<CItemAttributeSpell>(spell));
}

const CItemAttribute* CItemTemplate::GetAttribute(ItemAttributeType type) const {
    for (const auto& attribute : m_attributes)
        if (attribute->GetType() == type) return attribute.get();
    return nullptr;
}

const CItemTemplate* FindItemTemplate(const ItemTemplateMap& items, const std::string& key) {
    auto found = items.find(key);
    return found == items.end() ? nullptr : found->second.get();
}

}  // namespace DRAV
