#include "rules/magic/spell_apply_effect.h"

#include "common/exception.h"
#include "rules/vocabulary/read_word.h"

namespace DRAV {

void CSpellApplyEffect::BeginSave(DRAVCommon::CDataFileWriter& writer, const char* element) const {
    writer.BeginBlock(element);
    writer.WriteValue(m_endTick);
}

CSpellApplyEffectModify::CSpellApplyEffectModify(std::uint32_t endTick, DRAVCommon::CDataFileReader& reader)
    : CSpellApplyEffect(APPLY_MODIFY, endTick) {
    ReadModifierMask(m_mask, reader);
    m_amount = reader.ReadInt();
}

void CSpellApplyEffectModify::Save(DRAVCommon::CDataFileWriter& writer) const {
    BeginSave(writer, "effectmodify");
    WriteModifierMask(m_mask, writer);
    writer.WriteValue(m_amount);
    writer.EndBlock();
}

void CSpellApplyEffectStatus::Save(DRAVCommon::CDataFileWriter& writer) const {
    BeginSave(writer, "effectstatus");
    WriteStatus(writer, m_status);
    writer.EndBlock();
}

void CSpellApplyEffectOngoing::Save(DRAVCommon::CDataFileWriter& writer) const {
    BeginSave(writer, "effectongoing");
    writer.WriteWord(m_spell->GetKey());
    writer.EndBlock();
}

void CSpellApplyEffectResist::Save(DRAVCommon::CDataFileWriter& writer) const {
    BeginSave(writer, "effectresist");
    WriteDamageType(writer, m_damageType);
    writer.WriteValue(m_amount);
    writer.EndBlock();
}

std::shared_ptr<CSpellApplyEffect> ReadSpellApplyEffect(DRAVCommon::CDataFileReader& reader, const SpellMap& spells) {
    const std::string element = reader.PeekBlockName();
    if (element != "effectmodify" && element != "effectstatus" && element != "effectongoing" &&
        element != "effectresist")
        reader.Fail(DRAV_ERR_BAD_DATA, "expected an applied effect part");
    reader.BeginBlock(element);
    std::uint32_t endTick = reader.ReadUInt();
    std::shared_ptr<CSpellApplyEffect> part;
    if (element == "effectmodify") {
        part = std::make_shared<CSpellApplyEffectModify>(endTick, reader);
    } else if (element == "effectstatus") {
        part = std::make_shared<CSpellApplyEffectStatus>(endTick, ReadParsedWord(reader, "a status", ParseStatus));
    } else if (element == "effectongoing") {
        const CSpell& spell = ReadParsedWord(reader, "a spell key", [&](const std::string& key) {
            return std::cref(GetSpell(spells, key == "0" ? std::string() : key));
        });
        part = std::make_shared<CSpellApplyEffectOngoing>(endTick, spell);
    } else {
        CDamageType type = ReadParsedWord(reader, "a damage type", ParseDamageType);
        part = std::make_shared<CSpellApplyEffectResist>(endTick, type, reader.ReadInt());
    }
    reader.EndBlock();
    return part;
}

}  // namespace DRAV
