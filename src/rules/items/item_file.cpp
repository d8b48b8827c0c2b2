#include "rules/items/item_file.h"

#include <memory>
#include <utility>

#include "common/exception.h"
#include "rules/vocabulary/actor_class.h"
#include "rules/vocabulary/skills.h"

namespace DRAV {

void ParseItems(ItemTemplateMap& items, DRAVCommon::CDataFileReader& reader, const SpellMap& spells) {
    reader.BeginBlock("items");
    while (reader.IsBlock("item")) {
        reader.BeginBlock("item");
        auto itemTemplate = std::make_shared<CItemTemplate>(reader, spells);
        const std::string key = itemTemplate->GetKey();
        if (!items.emplace(key, std::move(itemTemplate)).second)
            reader.Fail(DRAV_ERR_BAD_DATA, "item \"" + key + "\" is defined twice");
        reader.EndBlock();
    }
    reader.EndBlock();
}

void MakeSpellItem(ItemTemplateMap& items, ItemKind kind, const CSpell& spell) {
    auto itemTemplate = std::make_shared<CItemTemplate>(kind, spell);
    const std::string key = itemTemplate->GetKey();
    items.insert_or_assign(key, std::move(itemTemplate));
}

void MakeSpellItems(ItemTemplateMap& items, const SpellMap& spells) {
    for (const auto& [key, spell] : spells) {
        if (!spell) continue;
        if (spell->HasFlag(SPELL_POTION)) MakeSpellItem(items, ITEM_POTION, *spell);
        if (spell->HasFlag(SPELL_WAND)) MakeSpellItem(items, ITEM_WAND, *spell);
        const SkillId school = spell->GetSchool();
        if (school != SKILL_NONE && school != spell->GetSecondSkill() && school >= 0 && school < kSkillCount &&
            GetSkillInfo(school).skillClass == CLASS_SPELLCASTER && !spell->HasFlag(SPELL_NOMANUAL))
            MakeSpellItem(items, ITEM_SCROLL, *spell);
    }
}

void LoadItems(ItemTemplateMap& items, DRAVCommon::CDataFileFactory& source, const SpellMap& spells) {
    for (auto [kind, name] : {std::pair{DRAVCommon::DFK_CHAPTER, "items.drav"},
                              std::pair{DRAVCommon::DFK_GLOBAL, "global_items.drav"}}) {
        DRAVCommon::CDataFileReader reader(source, kind, DRAVCommon::DFS_NONE, name);
        ParseItems(items, reader, spells);
        reader.RequireEnd();
    }
    MakeSpellItems(items, spells);
}

}  // namespace DRAV
