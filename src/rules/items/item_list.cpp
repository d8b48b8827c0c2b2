#include "rules/items/item_list.h"

#include <algorithm>
#include <limits>

#include "common/exception.h"
#include "common/random.h"
#include "rules/items/item_count.h"
#include "rules/vocabulary/read_word.h"
#include "rules/vocabulary/skills.h"

namespace DRAV {

namespace {

struct TreasureKindRow {
    std::uint32_t ceiling;
    std::uint32_t weights[kItemKindCount];
};

constexpr TreasureKindRow kTreasureKinds[] = {
    {375, {25, 20, 5, 0, 0, 0, 25, 25, 0, 0, 0}},
    {2000, {15, 10, 5, 0, 0, 0, 40, 20, 10, 0, 0}},
    {10000, {25, 20, 5, 5, 5, 5, 0, 20, 15, 0, 0}},
    {50000, {25, 20, 5, 10, 10, 10, 0, 0, 20, 0, 0}},
    {9999999, {30, 20, 5, 15, 15, 15, 0, 0, 0, 0, 0}},
    {0, {}},
};

constexpr std::uint32_t kTreasureValueCap = 400000;
// Draws in a row that find no fitting template before the rest is paid in gold.
constexpr int kTreasureMissLimit = 50;

// Which templates an "auto" selector takes.
struct AutoSelector {
    ItemKind kind;
    bool anySkill = true;
    SkillId skill = SKILL_NONE;
};

std::int32_t RollDieUnsigned(std::uint32_t n) {
    return DRAVCommon::RollDie(static_cast<std::int32_t>(
        std::min<std::uint32_t>(n, static_cast<std::uint32_t>(std::numeric_limits<std::int32_t>::max()))));
}

bool InValueRange(const CItemTemplate& item, std::uint32_t lowest, std::uint32_t highest) {
    return item.GetValue() >= lowest && item.GetValue() <= highest;
}

// The skill an "auto" selector compares with; SKILL_NONE when the template has none.
SkillId TemplateSkill(const CItemTemplate& item) {
    switch (item.GetKind()) {
        case ITEM_POTION:
        case ITEM_SCROLL:
        case ITEM_WAND:
            if (auto spell = item.GetAttributeOf<CItemAttributeSpell>()) return spell->GetSpell().GetSchool();
            return SKILL_NONE;
        case ITEM_WEAPON:
            if (auto weapon = item.GetAttributeOf<CItemAttributeWeapon>())
                return GetWeaponTypeInfo(weapon->GetWeaponType()).proficiency;
            return SKILL_NONE;
        case ITEM_ARMOR:
            if (auto armor = item.GetAttributeOf<CItemAttributeArmor>()) return armor->GetArmorSkill();
            return SKILL_NONE;
        default:
            return SKILL_NONE;
    }
}

bool Matches(const AutoSelector& selector, const CItemTemplate& item) {
    if (item.GetKind() != selector.kind) return false;
    if (selector.anySkill) return true;
    const SkillId skill = TemplateSkill(item);
    return skill != SKILL_NONE && skill == selector.skill;
}

AutoSelector ReadAutoSelector(DRAVCommon::CDataFileReader& reader) {
    AutoSelector selector;
    if (!reader.BeginGroup(2, false)) {
        selector.kind = ReadItemKind(reader);
        return selector;
    }
    selector.kind = ReadItemKind(reader);
    const SkillId skill = ReadParsedWord(reader, "a skill or 0", [](const std::string& word) {
        return word == "0" ? SKILL_NONE : ParseSkill(word);
    });
    selector.anySkill = skill == SKILL_NONE;
    selector.skill = skill;
    return selector;
}

}  // namespace

void ReadItemList(DRAVCommon::CDataFileReader& reader, const ItemTemplateMap& items, ItemList& list) {
    if (!reader.IsBlock("items")) return;
    reader.BeginBlock("items");
    while (!reader.AtBlockEnd()) {
        if (reader.IsBlock("auto")) {
            ReadAutoItems(reader, items, list);
        } else if (reader.IsBlock("treasure")) {
            ReadTreasure(reader, items, list);
        } else if (reader.IsBlock("item")) {
            reader.BeginBlock("item");
            ItemListEntry entry;
            entry.key = ReadKeyOrEmpty(reader, "an item key");
            entry.count = ReadItemCount(reader);
            list.push_back(std::move(entry));
            reader.EndBlock();
        } else if (reader.IsWord("0")) {
            // An absent pair; whatever follows is read as an entry of its own.
            reader.Advance();
        } else if (reader.BeginGroup(2, false)) {
            ItemListEntry entry;
            entry.key = ReadKeyOrEmpty(reader, "an item key");
            entry.count = ReadItemCount(reader);
            list.push_back(std::move(entry));
        } else {
            list.push_back({ReadKeyOrEmpty(reader, "an item key or an item list entry"), 1});
        }
    }
    reader.EndBlock();
}

void ReadAutoItems(DRAVCommon::CDataFileReader& reader, const ItemTemplateMap& items, ItemList& list) {
    reader.BeginBlock("auto");
    // A bare "0" is a fixed count of none, not an absent group: the group forms of
    // the amount and the range never stand for zero here.
    std::uint32_t fixedCount = 0;
    std::uint32_t chance = 0;
    std::uint32_t die = 1;
    if (reader.BeginGroup(2, false)) {
        chance = reader.ReadUInt();
        // A random count is 1 to the die.
        die = ReadItemCount(reader);
    } else {
        fixedCount = ReadItemCount(reader);
    }
    reader.BeginGroup(2, false);
    const std::uint32_t lowest = reader.ReadUInt();
    const std::uint32_t highest = reader.ReadUInt();

    while (!reader.AtBlockEnd()) {
        const AutoSelector selector = ReadAutoSelector(reader);
        for (const auto& [key, item] : items) {
            if (!item || !item->HasFlag(ITEMFLAG_NORMAL) || !InValueRange(*item, lowest, highest)) continue;
            if (!Matches(selector, *item)) continue;
            std::uint32_t count = fixedCount;
            if (chance != 0 && static_cast<std::uint32_t>(DRAVCommon::RollDie(100)) <= chance)
                count = static_cast<std::uint32_t>(RollDieUnsigned(die)) + fixedCount;
            if (count != 0) list.push_back({key, count});
        }
    }
    reader.EndBlock();
}

void ReadTreasure(DRAVCommon::CDataFileReader& reader, const ItemTemplateMap& items, ItemList& list) {
    reader.BeginBlock("treasure");
    // What items do not take of it is paid as one stack of gold.
    const std::uint32_t value = ReadItemCount(reader, "a treasure value");
    reader.EndBlock();
    GenerateTreasure(items, list, value);
}

void GenerateTreasure(const ItemTemplateMap& items, ItemList& list, std::uint32_t value) {
    const std::uint32_t half = value / 2;
    int misses = 0;
    while (value > half && value > 100 && misses < kTreasureMissLimit) {
        const std::uint32_t cap = std::min(value, kTreasureValueCap);
        const std::uint32_t target = static_cast<std::uint32_t>(RollDieUnsigned(cap * 9 / 10)) + cap / 10;
        const ItemKind kind = PickTreasureKind(target);
        std::vector<const ItemTemplateMap::value_type*> fitting;
        for (const auto& entry : items) {
            const auto& item = entry.second;
            if (item && item->GetKind() == kind && item->HasFlag(ITEMFLAG_NORMAL) &&
                InValueRange(*item, target / 10, target))
                fitting.push_back(&entry);
        }
        if (fitting.empty()) {
            ++misses;
            continue;
        }
        misses = 0;
        const auto& chosen = *fitting[static_cast<std::size_t>(RollDieUnsigned(fitting.size()) - 1)];
        list.push_back({chosen.first, 1});
        value -= chosen.second->GetValue();
    }
    list.push_back({kGoldItemKey, value});
}

ItemKind PickTreasureKind(std::uint32_t target) {
    const TreasureKindRow* row = kTreasureKinds;
    while (row->ceiling != 0 && row->ceiling < target) ++row;
    if (row->ceiling == 0)
        throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "no treasure kind for a value of " + std::to_string(target));
    std::uint32_t roll = static_cast<std::uint32_t>(DRAVCommon::RollDie(100));
    for (int kind = 0; kind < kItemKindCount; ++kind) {
        if (roll <= row->weights[kind]) return static_cast<ItemKind>(kind);
        roll -= row->weights[kind];
    }
    throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "treasure kind weights add up to less than the roll");
}

}  // namespace DRAV
