#include "rules/magic/spell.h"

#include <algorithm>
#include <utility>

#include "common/exception.h"
#include "rules/vocabulary/vocabulary_table.h"
#include "rules/kinds/formulas.h"
#include "rules/vocabulary/read_word.h"
#include "rules/vocabulary/skills.h"
#include "rules/magic/spell_effects_motion.h"
#include "rules/magic/spell_effects_stat.h"
#include "rules/monsters/actor_names.h"

namespace DRAV {

namespace {

struct SpellFlagWord {
    const char* word;
    std::uint32_t bit;
};

constexpr SpellFlagWord kSpellFlagWords[] = {
    {"touch", SPELL_TOUCH},   {"multitarget", SPELL_MULTITARGET}, {"summontarget", SPELL_SUMMONTARGET},
    {"power", SPELL_POWER},   {"potion", SPELL_POTION},           {"wand", SPELL_WAND},
    {"nomanual", SPELL_NOMANUAL}, {"noresist", SPELL_NORESIST},
};

constexpr WeaponType kAnyWeapon = static_cast<WeaponType>(kWeaponTypeCount);

// A school or second skill: "0" for none, else a skill key.
SkillId ReadSkillOrNone(DRAVCommon::CDataFileReader& reader, const char* what) {
    return ReadParsedWord(reader, what, [](const std::string& word) {
        return word == "0" ? SKILL_NONE : ParseSkill(word);
    });
}

void ReadRaceList(DRAVCommon::CDataFileReader& reader, const char* element, std::vector<Race>& races) {
    reader.BeginBlock(element);
    while (!reader.AtBlockEnd()) races.push_back(ReadParsedWord(reader, "a race", ParseRace));
    reader.EndBlock();
}

bool RaceListed(const std::vector<Race>& races, Race race) {
    Race parent = race >= 0 && race < kRaceCount ? GetRaceParent(race) : RACE_NONE;
    return std::any_of(races.begin(), races.end(), [&](Race listed) { return listed == race || listed == parent; });
}

double InstanceVisualScale(std::int32_t level) {
    if (level < 2) return 0.75;
    if (level <= 5) return 0.85;
    if (level <= 10) return 1.0;
    if (level <= 15) return 1.2;
    return 1.4;
}

// Darkens each channel for instances below level 20; the channel keeps its low 8 bits.
// Computed in 64 bits for any level a module writes; below level -20 the channel is black.
std::uint32_t InstanceColour(std::uint32_t colour, std::int32_t level) {
    const std::int64_t factor = std::max<std::int64_t>((std::int64_t{level} + 20) * 256 / 40, 0);
    std::uint32_t result = colour & 0xFF000000u;
    for (int shift = 0; shift <= 16; shift += 8) {
        const std::int64_t channel = (colour >> shift) & 0xFFu;
        result |= (static_cast<std::uint32_t>(channel * factor / 256) & 0xFFu) << shift;
    }
    return result;
}

}  // namespace

std::uint32_t ParseSpellFlag(const std::string& word) {
    const int row = FindTableKey(kSpellFlagWords, &SpellFlagWord::word, word);
    return row < 0 ? 0 : kSpellFlagWords[row].bit;
}

void CSpellInstance::Read(DRAVCommon::CDataFileReader& reader) {
    reader.BeginBlock("instance");
    level = reader.ReadInt();
    percent = reader.ReadInt();
    hasSkills = reader.IsBlock("skills");
    school = SKILL_NONE;
    secondSkill = SKILL_NONE;
    if (hasSkills) {
        reader.BeginBlock("skills");
        school = ReadSkillOrNone(reader, "a school");
        secondSkill = ReadSkillOrNone(reader, "a second skill");
        reader.EndBlock();
    }
    reader.EndBlock();
}

CSpell::CSpell(std::string keyName) : m_key(std::move(keyName)) {}

CSpell::CSpell(DRAVCommon::CDataFileReader& reader) {
    reader.BeginBlock("spell");
    m_key = reader.ReadWord();
    // Also the name of the lasting harms it gives, which a save holds.
    m_name = KeptName(reader, reader.ReadQuoted(), "a name");
    reader.ReadColour(m_colour);
    m_description = reader.ReadQuoted();
    m_visualName = ReadKeyOrEmpty(reader, "a visual name or 0");
    if (!m_visualName.empty()) m_visualParams = std::make_shared<DRAVGraph::CEffectParams>(reader);
    m_school = ReadSkillOrNone(reader, "a school");
    ReadDifficulty(reader);
    ReadSave(reader);
    m_secondSkill = ReadSkillOrNone(reader, "a second skill");
    ReadRange(reader);
    ReadBody(reader);
    if (m_effects.empty()) m_hostile = false;
    if (HasFlag(SPELL_POWER) && m_saveDamageType.category == DAMAGE_NONE)
        m_saveDamageType = {m_school == SKILL_SINGING ? DAMAGE_MUSICAL : DAMAGE_POWER, ELEMENT_NONE};
    reader.EndBlock();
}

void CSpell::ReadDifficulty(DRAVCommon::CDataFileReader& reader) {
    std::int32_t* field;
    const char* element;
    if (reader.IsBlock("tier")) field = &m_tier, element = "tier";
    else if (reader.IsBlock("level")) field = &m_level, element = "level";
    else if (reader.IsBlock("bonus")) field = &m_bonus, element = "bonus";
    else reader.Fail(DRAV_ERR_BAD_DATA, "expected <tier>, <level> or <bonus>");
    reader.BeginBlock(element);
    *field = reader.ReadInt();
    reader.EndBlock();
}

void CSpell::ReadSave(DRAVCommon::CDataFileReader& reader) {
    if (!reader.IsBlock("save")) {
        m_saveDamageType = ReadParsedWord(reader, "a save damage type", ParseDamageType);
        return;
    }
    reader.BeginBlock("save");
    if (reader.BeginGroup(2, false)) {
        m_saveDamageType = ReadParsedWord(reader, "a save damage type", ParseDamageType);
        m_saveLimit = reader.ReadInt();
    } else {
        m_saveDamageType = ReadParsedWord(reader, "a save damage type", ParseDamageType);
    }
    m_saveOutcome = ReadParsedWord(reader, "a save outcome", [](const std::string& word) {
        return ParseSaveOutcome(word == "0" ? std::string() : word);
    });
    reader.EndBlock();
}

void CSpell::ReadRange(DRAVCommon::CDataFileReader& reader) {
    if (reader.IsWord("0")) m_range = 10.0;
    else if (reader.IsWord("short")) m_range = 25.0;
    else if (reader.IsWord("long")) m_range = 75.0;
    else reader.Fail(DRAV_ERR_BAD_DATA, "expected a range: 0, short or long");
    reader.Advance();
}

void CSpell::ReadBody(DRAVCommon::CDataFileReader& reader) {
    m_hostile = true;
    m_flags = 0;
    m_targetType = SPELL_TARGET_ACTOR;
    m_powerWeaponType = kAnyWeapon;
    m_powerSkill = SKILL_NONE;
    const std::int32_t effectTier = m_tier < 0 ? 0 : m_tier;
    while (!reader.AtBlockEnd()) {
        if (reader.IsBlock("effect")) {
            reader.BeginBlock("effect");
            std::shared_ptr<CSpellEffect> effect = ReadSpellEffect(reader, effectTier);
            reader.EndBlock();
            if (!effect->IsHostile()) m_hostile = false;
            m_effects.push_back(std::move(effect));
        } else if (reader.IsBlock("race")) {
            ReadRaceList(reader, "race", m_races);
        } else if (reader.IsBlock("notrace")) {
            ReadRaceList(reader, "notrace", m_excludedRaces);
        } else if (reader.IsBlock("powerreqs")) {
            reader.BeginBlock("powerreqs");
            m_powerWeaponType = ReadParsedWord(reader, "a weapon type or 0", [](const std::string& word) {
                return word == "0" ? kAnyWeapon : ParseWeaponType(word);
            });
            m_powerSkill = ReadSkillOrNone(reader, "a skill or 0");
            reader.EndBlock();
        } else {
            ReadTargetWord(reader);
        }
    }
}

void CSpell::ReadTargetWord(DRAVCommon::CDataFileReader& reader) {
    const std::string& word = reader.GetToken();
    if (std::uint32_t bit = ParseSpellFlag(word)) {
        m_flags |= bit;
        if (bit == SPELL_MULTITARGET || bit == SPELL_SUMMONTARGET) m_targetType = SPELL_TARGET_ACTOR;
    } else if (word == "tiletarget" || word == "selftarget") {
        m_targetType = word == "tiletarget" ? SPELL_TARGET_TILE : SPELL_TARGET_SELF;
        m_flags &= ~static_cast<std::uint32_t>(SPELL_MULTITARGET);
    } else {
        reader.Fail(DRAV_ERR_BAD_DATA, "expected an effect, a race list, power requirements or a spell flag");
    }
    reader.Advance();
}

std::shared_ptr<CSpell> CSpell::MakeInstance(std::int32_t index, const CSpellInstance& instance,
                                             const CSpell& base) {
    const std::string number = std::to_string(index + 1);
    auto spell = std::make_shared<CSpell>(base.m_key + number);
    spell->m_name = base.m_name + " " + number;
    spell->m_description = base.m_description;
    spell->m_school = instance.hasSkills ? instance.school : base.m_school;
    spell->m_secondSkill = instance.hasSkills ? instance.secondSkill : base.m_secondSkill;
    spell->m_level = instance.level;
    spell->m_colour = InstanceColour(base.m_colour, instance.level);
    spell->m_powerWeaponType = base.m_powerWeaponType;
    spell->m_powerSkill = base.m_powerSkill;
    spell->m_visualName = base.m_visualName;
    if (!base.m_visualName.empty()) {
        std::vector<std::string> words = base.m_visualParams ? base.m_visualParams->GetWords() : std::vector<std::string>{};
        spell->m_visualParams =
            std::make_shared<DRAVGraph::CEffectParams>(InstanceVisualScale(instance.level), std::move(words));
    }
    spell->m_range = base.m_range;
    spell->m_saveDamageType = base.m_saveDamageType;
    spell->m_saveOutcome = base.m_saveOutcome;
    spell->m_saveLimit = base.m_saveLimit;
    spell->m_flags = base.m_flags & (SPELL_POWER | SPELL_MULTITARGET);
    if (spell->HasFlag(SPELL_MULTITARGET)) spell->m_targetType = SPELL_TARGET_ACTOR;

    for (const std::shared_ptr<CSpellEffect>& effect : base.m_effects) {
        if (effect->GetKind() == EFFECT_MODIFY) {
            const auto& modify = static_cast<const CSpellEffectModify&>(*effect);
            std::int32_t value = modify.GetMagnitude().GetValue(0);
            spell->m_effects.push_back(
                std::make_shared<CSpellEffectModify>(SaturateInt32(std::int64_t{instance.percent} * value / 100), modify.GetMask()));
        } else if (effect->GetKind() == EFFECT_RESIST) {
            spell->m_effects.push_back(
                std::make_shared<CSpellEffectResist>(static_cast<const CSpellEffectResist&>(*effect)));
        } else {
            throw CDRAVException(DRAV_ERR_BAD_DATA, "multispell " + base.m_key + ": an instance takes only modify and resist effects, not " +
                                                        GetSpellEffectKindKey(effect->GetKind()));
        }
    }
    return spell;
}

std::int32_t CSpell::GetCastingDifficulty() const {
    if (m_tier != -1) return SaturateInt32(std::max<std::int64_t>(5 * std::int64_t{m_tier} - 3, 0));
    if (m_level != -1) return 0;
    return m_bonus;
}

std::int32_t CSpell::GetEnergyCost() const {
    if (m_school == SKILL_SNEAK) return 0;
    if (HasFlag(SPELL_POWER)) return std::max(m_level, 1);
    return GetEnergyCostForTier(m_tier);
}

bool CSpell::FindTeleportEffect(const CSpellEffectTeleport** effect) const {
    for (const std::shared_ptr<CSpellEffect>& candidate : m_effects) {
        if (candidate->GetKind() != EFFECT_TELEPORT) continue;
        if (effect) *effect = static_cast<const CSpellEffectTeleport*>(candidate.get());
        return true;
    }
    return false;
}

bool CSpell::CanAffect(bool summoned, Race race,
                       const std::function<std::int32_t(const CDamageType&)>& categoryResistance) const {
    if (HasFlag(SPELL_SUMMONTARGET) && !summoned) return false;
    if (!m_races.empty() && !RaceListed(m_races, race)) return false;
    if (!m_excludedRaces.empty() && RaceListed(m_excludedRaces, race)) return false;
    if (m_saveLimit != 0 && categoryResistance(m_saveDamageType) > m_saveLimit) return false;
    return true;
}

double CSpell::GetEffectSpeed() const {
    return HasFlag(SPELL_MULTITARGET) && HasFlag(SPELL_POWER) ? 750.0 : 75.0;
}

const CSpell* FindSpell(const SpellMap& spells, const std::string& key) {
    auto found = spells.find(key);
    return found == spells.end() ? nullptr : found->second.get();
}

const CSpell& GetSpell(const SpellMap& spells, const std::string& key) {
    const CSpell* spell = FindSpell(spells, key);
    if (!spell) throw CDRAVException(DRAV_ERR_BAD_DATA, "unknown spell \"" + key + "\"");
    return *spell;
}

std::shared_ptr<CSpell> MakeSneakPower() {
    auto power = std::make_shared<CSpell>("s_power-sneak");
    power->m_name = "Sneak";
    power->m_description =
        "The actor hides in the shadows, becoming invisible until spotted by an observant enemy.";
    power->m_school = SKILL_SNEAK;
    power->m_secondSkill = SKILL_SNEAK;
    power->m_saveDamageType = {DAMAGE_POWER, ELEMENT_NONE};
    power->m_level = 0;
    power->m_range = 10.0;
    power->m_flags = SPELL_POWER;
    power->m_targetType = SPELL_TARGET_SELF;
    return power;
}

}  // namespace DRAV
