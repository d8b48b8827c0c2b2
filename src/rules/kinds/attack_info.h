#pragma once
// The description of one attack of a monster template or an actor.

#include <cstdint>
#include <string>

#include "common/data_file_reader.h"
#include "common/data_file_writer.h"
#include "rules/kinds/damage.h"

namespace DRAV {

enum AttackFlags : std::uint32_t {
    ATTACK_TOUCH = 1,
    ATTACK_CRITICAL = 2,  // printed as " (crit x2)"
};

class CAttackInfo {
public:
    CAttackInfo() = default;
    CAttackInfo(std::string name, std::int32_t attackBonus, std::int32_t dieA, std::int32_t bonusA,
                std::int32_t dieB, std::int32_t bonusB, CDamageType damageType, std::int32_t enhancement,
                std::uint32_t flags);
    CAttackInfo(const CAttackInfo&) = default;
    CAttackInfo& operator=(const CAttackInfo&) = default;

    // The range of die A + die B and bonus A + bonus B.
    std::string GetDamageText() const;

    // The block "attackinfo".
    void Save(DRAVCommon::CDataFileWriter& writer) const;
    void Load(DRAVCommon::CDataFileReader& reader);

    std::string name;
    std::int32_t attackBonus = 0;
    std::int32_t dieA = 0;    // the attack's own damage
    std::int32_t bonusA = 0;
    std::int32_t dieB = 0;    // added damage
    std::int32_t bonusB = 0;
    CDamageType damageType;   // blunt or sharp for a physical attack
    std::int32_t enhancement = 0;
    std::uint32_t flags = 0;  // AttackFlags; the actor's attack computation sets further bits
};

}  // namespace DRAV
