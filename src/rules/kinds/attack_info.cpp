#include "rules/kinds/attack_info.h"

#include <utility>

#include "common/exception.h"
#include "rules/kinds/formulas.h"
#include "rules/kinds/number_texts.h"

namespace DRAV {

CAttackInfo::CAttackInfo(std::string name, std::int32_t attackBonus, std::int32_t dieA, std::int32_t bonusA,
                         std::int32_t dieB, std::int32_t bonusB, CDamageType damageType,
                         std::int32_t enhancement, std::uint32_t flags)
    : name(std::move(name)),
      attackBonus(attackBonus),
      dieA(dieA),
      bonusA(bonusA),
      dieB(dieB),
      bonusB(bonusB),
      damageType(damageType),
      enhancement(enhancement),
      flags(flags) {}

std::string CAttackInfo::GetDamageText() const {
    return FormatDamageRange(SaturateInt32(std::int64_t{dieA} + dieB), SaturateInt32(std::int64_t{bonusA} + bonusB));
}

void CAttackInfo::Save(DRAVCommon::CDataFileWriter& writer) const {
    writer.BeginBlock("attackinfo");
    writer.WriteQuoted(name);
    for (std::int32_t value : {attackBonus, dieA, bonusA, dieB, bonusB}) writer.WriteValue(value);
    WriteDamageType(writer, damageType);
    writer.WriteValue(enhancement);
    writer.WriteValue(flags);
    writer.EndBlock();
}

void CAttackInfo::Load(DRAVCommon::CDataFileReader& reader) {
    reader.BeginBlock("attackinfo");
    name = reader.ReadQuoted(SIZE_MAX, "an attack's name");
    for (std::int32_t* value : {&attackBonus, &dieA, &bonusA, &dieB, &bonusB}) *value = reader.ReadInt();
    if (reader.AtEnd()) reader.Fail(DRAV_ERR_BAD_DATA, "expected a damage type");
    try {
        damageType = ParseDamageType(reader.GetToken());
    } catch (const CDRAVException& error) {
        reader.Fail(error.GetCode(), "unknown damage type");
    }
    reader.Advance();
    enhancement = reader.ReadInt();
    flags = reader.ReadUInt();
    reader.EndBlock();
}

}  // namespace DRAV
