#include "rules/monsters/actor_template.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "common/exception.h"
#include "rules/vocabulary/vocabulary_table.h"
#include "rules/items/item_attribute.h"
#include "rules/kinds/damage.h"
#include "rules/kinds/formulas.h"
#include "rules/module.h"
#include "rules/monsters/actor_names.h"
#include "rules/vocabulary/read_word.h"
#include "script/script_loader.h"

namespace DRAV {
namespace {

// The attribute bonus: ((score - 10) x 5) / 2, truncated toward zero.
std::int64_t Bonus(std::int64_t score) { return ((score - 10) * 5) / 2; }
// The same bonus, counted down from the score.
std::int64_t NegBonus(std::int64_t score) { return ((10 - score) * 5) / 2; }

// Module numbers are 32-bit, so sums of a few of them and their bonuses fit 64
// bits; a product of two may not, and saturates instead. Every result is then
// held to what its field stores, as the rules curves do for absurd values.
std::int64_t SaturatingProduct(std::int64_t a, std::int64_t b) {
    std::int64_t product;
    if (!__builtin_mul_overflow(a, b, &product)) return product;
    return (a < 0) != (b < 0) ? std::numeric_limits<std::int64_t>::min() : std::numeric_limits<std::int64_t>::max();
}

std::uint32_t SaturateUInt32(std::int64_t value) {
    return static_cast<std::uint32_t>(std::clamp<std::int64_t>(value, 0, std::numeric_limits<std::uint32_t>::max()));
}

// Hit points never wrap: a total below zero leaves none. `change` may be a saturated product.
std::uint32_t AddHitPoints(std::uint32_t hitPoints, std::int64_t change) {
    const std::int64_t limit = std::numeric_limits<std::uint32_t>::max();
    return SaturateUInt32(std::clamp(change, -limit, limit) + hitPoints);
}

void AddTo(std::int32_t& field, std::int64_t change) { field = SaturateInt32(field + change); }


struct FlagWord {
    const char* word;
    std::uint32_t bit;
    bool set;
};

constexpr FlagWord kFlagWords[] = {
    {"autospell", MONSTER_AUTOSPELL, true},       {"sneak", MONSTER_SNEAK, true},
    {"surrender", MONSTER_SURRENDER, true},       {"shield", MONSTER_SHIELD, true},
    {"nofidget", MONSTER_NOFIDGET, true},         {"nosneak", MONSTER_SNEAK, false},
    {"nosurrender", MONSTER_SURRENDER, false},    {"nowandpotion", MONSTER_NOWANDPOTION, true},
};

}  // namespace

CActorTemplate::CActorTemplate(std::string key) : m_key(std::move(key)) {}

CActorTemplate::CActorTemplate(DRAVCommon::CDataFileReader& reader, const CModule& module) {
    reader.BeginBlock("monster2");
    m_key = reader.ReadWord();
    try {
        ReadElements(reader, module);
        RequireItemsDefined(reader, module);
    } catch (const CDRAVException& error) {
        throw CDRAVException(error.GetCode(), "monster \"" + m_key + "\": " + error.GetMessage());
    }
}

void CActorTemplate::ReadElements(DRAVCommon::CDataFileReader& reader, const CModule& module) {
    PendingAdvance advance;
    while (!reader.AtBlockEnd()) {
        const std::string element = reader.PeekBlockName();
        if (element.empty())
            ReadFlag(reader);
        else if (!ReadWholeElement(element, reader, module))
            ReadSimpleElement(element, reader, module, advance);
    }
    reader.EndBlock();

    if (advance.actorClass == CLASS_MONSTER)
        AdvanceMonster(advance.count);
    else if (advance.actorClass != kClassNotSet)
        Advance(advance.actorClass, advance.count, advance.attribute);
}

// Elements whose readers enter and leave the element themselves.
bool CActorTemplate::ReadWholeElement(const std::string& element, DRAVCommon::CDataFileReader& reader,
                                      const CModule& module) {
    if (element == "inherit") {
        ReadInherit(reader, module);
    } else if (element == "name") {
        ReadName(reader);
    } else if (element == "graphic") {
        ReadGraphic(reader);
    } else if (element == "monsterstats") {
        ReadMonsterStats(reader);
    } else if (element == "attack") {
        m_attacks.push_back(ReadAttack(reader, false));
    } else if (element == "skills") {
        ReadSkills(m_skills, reader, false);
    } else if (element == "spells") {
        ReadSpellList(m_spells, reader, module.GetSpells());
    } else if (element == "items") {
        ReadItemList(reader, module.GetItemTemplates(), m_items);
    } else if (element == "store") {
        m_store = std::make_shared<CStoreTemplate>(reader, module);
    } else if (element == "talk") {
        m_talkStates.clear();
        ReadTalkStates(m_talkStates, reader, "monster " + m_key);
    } else if (element == "brain") {
        ReadBrain(reader, module);
    } else if (element == "modify") {
        ReadModify(reader);
    } else if (element == "resist") {
        ReadResist(reader);
    } else {
        return false;
    }
    return true;
}

void CActorTemplate::ReadSimpleElement(const std::string& element, DRAVCommon::CDataFileReader& reader,
                                       const CModule& module, PendingAdvance& advance) {
    reader.BeginBlock(element);
    if (element == "sex") {
        m_gender = ReadGender(reader);
    } else if (element == "race") {
        m_race = ReadParsedWord(reader, "a race", ParseRace);
    } else if (element == "size") {
        ReadSize(reader);
    } else if (element == "type") {
        m_gender = ReadGender(reader);
        m_race = ReadRace(reader);
        ReadSize(reader);
    } else if (element == "level") {
        m_baseLevel = reader.ReadInt();
        m_class = ReadClass(reader);
        m_level = reader.ReadUInt();
    } else if (element == "advance") {
        advance.actorClass = ReadClass(reader);
        advance.count = reader.ReadInt();
        // A negative count would take levels away; nothing means that.
        if (advance.count < 0) reader.Fail(DRAV_ERR_BAD_DATA, "expected a level count of 0 or more");
        advance.attribute = ReadAttribute(reader);
    } else if (element == "faction") {
        m_faction = FindFaction(module.GetFactions(), reader.ReadWord());
        m_factionRank = reader.ReadUInt();
    } else if (element == "stats") {
        m_hitPoints = reader.ReadUInt();
        for (std::uint32_t& score : m_attributes) score = reader.ReadUInt();
    } else if (element == "dropitems") {
        ReadItemList(reader, module.GetItemTemplates(), m_dropItems);
    } else if (element == "heartbeat") {
        m_heartbeat = LoadScript(reader, "monster " + m_key + ", heartbeat");
    } else {
        reader.Fail(DRAV_ERR_BAD_DATA, "<" + element + "> is no element of a monster definition");
    }
    reader.EndBlock();
}

void ReadActorSize(DRAVCommon::CDataFileReader& reader, double& radius, double& height) {
    const double read = reader.ReadDouble(0.0, kMaxActorSize, "a radius");
    height = reader.ReadDouble(0.0, kMaxActorSize, "a height");
    radius = read;
}

void CActorTemplate::ReadSize(DRAVCommon::CDataFileReader& reader) {
    // A radius of 0 leaves the size to a base definition; below 0 it would stand for
    // no size at all, and only the definitions made from this one would say so.
    double radius = 0.0, second = 0.0;
    ReadActorSize(reader, radius, second);
    m_radius = radius;
    m_secondSize = second;
}

void CActorTemplate::RequireItemsDefined(const DRAVCommon::CDataFileReader& reader, const CModule& module) const {
    // Checked here rather than where the items are made, which is in the middle of
    // a spawn or an area load and far from the file at fault.
    const ItemTemplateMap& items = module.GetItemTemplates();
    for (const ItemList* list : {&m_items, &m_dropItems, m_store ? &m_store->GetItems() : nullptr}) {
        if (!list) continue;
        for (const ItemListEntry& entry : *list)
            if (!FindItemTemplate(items, entry.key))
                throw CDRAVException(DRAV_ERR_BAD_DATA,
                                     reader.GetSourceName() + ": item \"" + entry.key + "\" is not defined");
    }
}

void CActorTemplate::ReadInherit(DRAVCommon::CDataFileReader& reader, const CModule& module) {
    reader.BeginBlock("inherit");
    while (!reader.AtBlockEnd()) {
        if (!AtWord(reader)) reader.Fail(DRAV_ERR_BAD_DATA, "expected the key of a monster to inherit from");
        const auto& monsters = module.GetMonsterTemplates();
        const auto found = monsters.find(reader.GetToken());
        if (found == monsters.end() || !found->second)
            reader.Fail(DRAV_ERR_BAD_DATA, "no monster of that key is defined before this one");
        Inherit(*found->second);
        m_bases.push_back(found->first);
        reader.Advance();
    }
    reader.EndBlock();
}

void CActorTemplate::ReadName(DRAVCommon::CDataFileReader& reader) {
    reader.BeginBlock("name");
    m_name = KeptName(reader, reader.ReadQuoted(), "a name");
    m_secondName = KeptName(reader, reader.ReadQuoted(), "a description");
    reader.ReadColour(m_nameColor);
    m_nameWord = KeptWord(reader, reader.ReadWordOrEmpty(), "a name word");
    reader.EndBlock();
}

void CActorTemplate::ReadGraphic(DRAVCommon::CDataFileReader& reader) {
    reader.BeginBlock("graphic");
    m_graphic = reader.ReadWord();
    if (reader.IsBlock("color")) m_colors = std::make_shared<DRAVGraph::CGraphicColors>(reader);
    reader.EndBlock();
}

void CActorTemplate::ReadMonsterStats(DRAVCommon::CDataFileReader& reader) {
    // One set of combat numbers per definition, inherited ones included.
    if (m_defenseClass != 0 || m_actionSpeed != 0 || m_movementSpeed != 0)
        reader.Fail(DRAV_ERR_BAD_DATA, "the defense and speeds are already set");
    reader.BeginBlock("monsterstats");
    m_defenseClass = reader.ReadInt();
    for (std::int32_t& resistance : m_resistances) resistance = reader.ReadInt();
    if (!reader.AtBlockEnd()) {
        reader.BeginPairGroup();
        m_actionSpeed = reader.ReadInt(-kMostSpeed, kMostSpeed, "an action speed");
        m_movementSpeed = reader.ReadInt(-kMostSpeed, kMostSpeed, "a movement speed");
    }
    reader.EndBlock();
}

void CActorTemplate::ReadBrain(DRAVCommon::CDataFileReader& reader, const CModule& module) {
    const BrainFunctions& functions = module.GetBrainFunctions();
    // Passing the brain over would drop it without a word, and every actor made from
    // the definition would then stand idle.
    if (!functions.read) reader.Fail(DRAV_ERR_BAD_DATA, "a brain, but no brain reader was handed to the module");
    m_brain = functions.read(reader);
    m_cloneBrain = functions.clone;
}

void CActorTemplate::ReadModify(DRAVCommon::CDataFileReader& reader) {
    m_modifiers.push_back(CItemAttributeModify(reader, "").GetModifier());
}

void CActorTemplate::ReadResist(DRAVCommon::CDataFileReader& reader) {
    m_modifiers.push_back(CItemAttributeResist(reader, "").GetResistance());
}

void CActorTemplate::ReadFlag(DRAVCommon::CDataFileReader& reader) {
    const int row = AtWord(reader) ? FindTableKey(kFlagWords, &FlagWord::word, reader.GetToken()) : -1;
    if (row < 0) reader.Fail(DRAV_ERR_BAD_DATA, "expected an element or a flag word of a monster definition");
    const FlagWord& flag = kFlagWords[row];
    m_flags = flag.set ? (m_flags | flag.bit) : (m_flags & ~flag.bit);
    reader.Advance();
}

void CActorTemplate::Inherit(const CActorTemplate& base) {
    if (!base.m_name.empty()) {
        m_name = base.m_name;
        m_secondName = base.m_secondName;
        m_nameColor = base.m_nameColor;
        m_nameWord = base.m_nameWord;
    }
    if (!base.m_graphic.empty()) {
        m_graphic = base.m_graphic;
        m_colors = base.m_colors;
    }
    if (base.m_gender != kGenderNotSet) m_gender = base.m_gender;
    if (base.m_race != RACE_NONE) m_race = base.m_race;
    if (base.m_radius > 0.0) {
        m_radius = base.m_radius;
        m_secondSize = base.m_secondSize;
    }
    if (base.m_class != kClassNotSet) {
        m_baseLevel = base.m_baseLevel;
        m_class = base.m_class;
        m_level = base.m_level;
    }
    if (base.m_faction) {
        m_faction = base.m_faction;
        m_factionRank = base.m_factionRank;
    }
    if (base.m_hitPoints != 0) {
        m_hitPoints = base.m_hitPoints;
        m_attributes = base.m_attributes;
    }
    if (base.m_defenseClass != 0) {
        m_defenseClass = base.m_defenseClass;
        m_resistances = base.m_resistances;
        m_actionSpeed = base.m_actionSpeed;
        m_movementSpeed = base.m_movementSpeed;
    }
    // Copies: advancing this definition raises its attacks in place.
    for (const auto& attack : base.m_attacks)
        m_attacks.push_back(std::make_shared<CActorMonsterAttack>(std::make_shared<CAttackInfo>(*attack->GetAttack()),
                                                                  attack->GetWord()));
    m_skills.insert(base.m_skills.begin(), base.m_skills.end());
    for (const CSpell* spell : base.m_spells)
        if (std::find(m_spells.begin(), m_spells.end(), spell) == m_spells.end()) m_spells.push_back(spell);
    m_items.insert(m_items.end(), base.m_items.begin(), base.m_items.end());
    if (base.m_store) m_store = base.m_store;
    if (base.m_heartbeat) m_heartbeat = base.m_heartbeat;
    if (base.m_brain) {
        m_brain = base.m_brain;
        m_cloneBrain = base.m_cloneBrain;
    }
    m_talkStates = base.m_talkStates;
    m_modifiers.insert(m_modifiers.end(), base.m_modifiers.begin(), base.m_modifiers.end());
    m_flags |= base.m_flags;
}

void CActorTemplate::Advance(ActorClass actorClass, std::int32_t count, Attribute attribute) {
    const ClassInfo& info = GetClassInfo(actorClass);
    const AttributeScores old = m_attributes;
    AttributeScores raised = old;
    raised.at(attribute) = SaturateUInt32(std::int64_t{raised.at(attribute)} + count / 4);

    if (info.freeSkill != SKILL_NONE) m_skills.insert(info.freeSkill);

    const std::int64_t oldDurability = old[ATTR_DURABILITY];
    const std::int64_t newDurability = raised[ATTR_DURABILITY];
    if (m_baseLevel > 0)
        m_hitPoints = AddHitPoints(
            m_hitPoints, SaturatingProduct(NegBonus(oldDurability) + Bonus(newDurability), m_baseLevel));
    else
        m_hitPoints = 0;
    m_hitPoints =
        AddHitPoints(m_hitPoints, SaturatingProduct((info.hitDie * 3 + 3) / 4 + Bonus(newDurability), count));

    if (count >= 0)
        for (const auto& attack : m_attacks) AddTo(attack->GetAttack()->attackBonus, (info.attackRate * std::int64_t{count}) / 24);

    if (m_defenseClass != 0) {
        for (int category = DAMAGE_ENERGETIC; category <= DAMAGE_SPIRITUAL; ++category) {
            const DamageCategoryInfo& row = GetDamageCategoryInfo(static_cast<DamageCategory>(category));
            std::int32_t& resistance = m_resistances[category];
            AddTo(resistance, m_skills.count(row.improvedSkill) ? (std::int64_t{count} * 10) / 3 : (std::int64_t{count} * 5) / 3);
            if (m_skills.count(row.greaterSkill)) AddTo(resistance, std::max<std::int64_t>(Bonus(raised.at(row.attribute)), 10));
        }
    }

    m_class = actorClass;
    m_level = static_cast<std::uint32_t>(count);
    m_attributes = raised;
}

void CActorTemplate::AdvanceMonster(std::int32_t count) {
    const AttributeScores old = m_attributes;
    AttributeScores raised = old;
    for (std::uint32_t& score : raised) score = SaturateUInt32(std::int64_t{score} + 4 * std::int64_t{count});

    const std::int64_t levels = (m_baseLevel < 2 ? 1 : std::int64_t{m_baseLevel}) + count;
    m_hitPoints = AddHitPoints(
        m_hitPoints, SaturatingProduct(NegBonus(old[ATTR_DURABILITY]) + Bonus(raised[ATTR_DURABILITY]), levels));

    const std::int64_t strengthGain = Bonus(raised[ATTR_STRENGTH]) + NegBonus(old[ATTR_STRENGTH]);
    for (const auto& attack : m_attacks) {
        AddTo(attack->GetAttack()->attackBonus, strengthGain);
        AddTo(attack->GetAttack()->bonusA, strengthGain);
    }

    if (m_defenseClass != 0) {
        for (int category = DAMAGE_ENERGETIC; category <= DAMAGE_SPIRITUAL; ++category) {
            const Attribute attribute = GetDamageCategoryInfo(static_cast<DamageCategory>(category)).attribute;
            AddTo(m_resistances[category], NegBonus(old.at(attribute)) + Bonus(raised.at(attribute)));
        }
        AddTo(m_defenseClass, Bonus(raised[ATTR_AGILITY]) + 10 + NegBonus(old[ATTR_AGILITY]));
    }

    AddTo(m_baseLevel, count);
    m_attributes = raised;
}

void CActorTemplate::Validate() const {
    const char* missing = nullptr;
    if (m_name.empty())
        missing = "name";
    else if (m_graphic.empty())
        missing = "graphic";
    else if (m_gender == kGenderNotSet)
        missing = "sex";
    else if (m_race == RACE_NONE)
        missing = "race";
    else if (!(m_radius > 0.0))
        missing = "size";
    else if (m_class == kClassNotSet)
        missing = "class";
    else if (m_hitPoints == 0)
        missing = "hit points";
    else if (!m_brain)
        // Its actors would have no relation to start from and nothing to think with.
        missing = "brain";
    if (missing)
        throw CDRAVException(DRAV_ERR_BAD_DATA, "monster \"" + m_key + "\" cannot be made into an actor: no " + missing);
}

std::shared_ptr<CBrain> CActorTemplate::CopyBrain() const {
    if (!m_brain || !m_cloneBrain) return nullptr;
    return m_cloneBrain(*m_brain);
}

}  // namespace DRAV
