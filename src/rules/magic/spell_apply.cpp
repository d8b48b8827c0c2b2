#include "rules/magic/spell_apply.h"

#include <algorithm>
#include <utility>

#include "rules/monsters/actor_names.h"
#include "rules/vocabulary/read_word.h"

namespace DRAV {

namespace {

void WriteBool(DRAVCommon::CDataFileWriter& writer, bool value) { writer.WriteWord(value ? "true" : "false"); }

bool PartHelps(const CSpellApplyEffect& part) {
    switch (part.GetKind()) {
        case APPLY_MODIFY: return static_cast<const CSpellApplyEffectModify&>(part).GetAmount() > 0;
        case APPLY_RESIST: return true;
        case APPLY_ONGOING: return !static_cast<const CSpellApplyEffectOngoing&>(part).GetSpell().IsHostile();
        case APPLY_STATUS: return false;
    }
    return false;
}

}  // namespace

CSpellApply::CSpellApply(std::string name, const CDamageType& damageType, std::int32_t castingValue,
                         std::int32_t casterLevel, bool silent, bool hidden)
    : m_name(std::move(name)),
      m_damageType(damageType),
      m_castingValue(castingValue),
      m_casterLevel(casterLevel),
      m_silent(silent),
      m_hidden(hidden) {}

CSpellApply::CSpellApply(DRAVCommon::CDataFileReader& reader, const SpellMap& spells) {
    reader.BeginBlock("spellapply");
    // A spell's name or an item's, as a module gives them.
    m_name = reader.ReadQuoted(kActorNameLimit, "a harm's name");
    m_damageType = ReadParsedWord(reader, "a damage type", ParseDamageType);
    m_castingValue = reader.ReadInt();
    m_casterLevel = reader.ReadInt();
    m_silent = reader.ReadBool();
    m_hidden = reader.ReadBool();
    ReadEffectList(m_parts, reader, spells);
    if (reader.IsBlock("caster")) {
        reader.BeginBlock("caster");
        // An actor's or a trap's name, as a module or the name page gives it.
        m_casterName = KeptName(reader, reader.ReadQuoted(kActorNameLimit, "a caster's name"), "a caster's name");
        if (m_casterName.empty()) reader.Fail(DRAV_ERR_BAD_DATA, "the caster of " + m_name + " is no actor's name");
        reader.EndBlock();
    }
    reader.EndBlock();
}

void CSpellApply::Save(DRAVCommon::CDataFileWriter& writer) const {
    writer.BeginBlock("spellapply");
    writer.WriteQuoted(m_name);
    WriteDamageType(writer, m_damageType);
    writer.WriteValue(m_castingValue);
    writer.WriteValue(m_casterLevel);
    WriteBool(writer, m_silent);
    WriteBool(writer, m_hidden);
    WriteEffectList(m_parts, writer);
    if (!m_casterName.empty()) {
        writer.BeginBlock("caster");
        writer.WriteQuoted(m_casterName);
        writer.EndBlock();
    }
    writer.EndBlock();
}

bool CSpellApply::IsHostile() const {
    return std::none_of(m_parts.begin(), m_parts.end(), [](const auto& part) { return PartHelps(*part); });
}

void WriteEffectList(const SpellApplyEffectList& parts, DRAVCommon::CDataFileWriter& writer) {
    writer.BeginBlock("effectlist");
    for (const auto& part : parts) part->Save(writer);
    writer.EndBlock();
}

void ReadEffectList(SpellApplyEffectList& parts, DRAVCommon::CDataFileReader& reader, const SpellMap& spells) {
    reader.BeginBlock("effectlist");
    while (!reader.AtBlockEnd()) parts.push_back(ReadSpellApplyEffect(reader, spells));
    reader.EndBlock();
}

void WriteSpellApplyList(const SpellApplyList& applied, DRAVCommon::CDataFileWriter& writer) {
    writer.BeginBlock("spellapplylist");
    for (const auto& apply : applied) apply->Save(writer);
    writer.EndBlock();
}

void ReadSpellApplyList(SpellApplyList& applied, DRAVCommon::CDataFileReader& reader, const SpellMap& spells) {
    reader.BeginBlock("spellapplylist");
    while (!reader.AtBlockEnd()) applied.push_back(std::make_shared<CSpellApply>(reader, spells));
    reader.EndBlock();
}

}  // namespace DRAV
