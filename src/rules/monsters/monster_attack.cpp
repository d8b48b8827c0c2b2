#include "rules/monsters/monster_attack.h"

#include "common/exception.h"
#include "rules/vocabulary/read_word.h"

namespace DRAV {
namespace {

const CDamageType kSharp{DAMAGE_PHYSICAL, ELEMENT_SHARP};
const CDamageType kBlunt{DAMAGE_PHYSICAL, ELEMENT_BLUNT};

std::shared_ptr<CActorMonsterAttack> ReadDefinitionAttack(DRAVCommon::CDataFileReader& reader) {
    std::string name = reader.ReadQuoted();
    const std::int32_t attackBonus = reader.ReadInt();
    // Parentheses around the die and its bonus are optional.
    reader.BeginGroup(2, true);
    const std::int32_t dieA = reader.ReadInt();
    const std::int32_t bonusA = reader.ReadInt();
    CDamageType damageType = kSharp;
    std::int32_t enhancement = 0;
    std::uint32_t flags = 0;
    std::string word;
    while (!reader.AtBlockEnd()) {
        if (reader.BeginGroup(2, false)) {
            if (reader.IsWord("blunt"))
                damageType = kBlunt;
            else if (reader.IsWord("sharp"))
                damageType = kSharp;
            else
                reader.Fail(DRAV_ERR_BAD_DATA, "expected blunt or sharp in the attack's group");
            reader.Advance();
            enhancement = reader.ReadInt();
            continue;
        }
        if (!AtWord(reader)) reader.Fail(DRAV_ERR_BAD_DATA, "expected a word of the attack");
        if (reader.IsWord("touch"))
            flags |= ATTACK_TOUCH;
        else if (reader.IsWord("critical"))
            flags |= ATTACK_CRITICAL;
        else if (reader.IsWord("blunt"))
            damageType = kBlunt;
        else
            word = reader.GetToken();
        reader.Advance();
    }
    auto attack = std::make_shared<CAttackInfo>(std::move(name), attackBonus, dieA, bonusA, 0, 0, damageType,
                                                enhancement, flags);
    return std::make_shared<CActorMonsterAttack>(std::move(attack), std::move(word));
}

std::shared_ptr<CActorMonsterAttack> ReadSavedAttack(DRAVCommon::CDataFileReader& reader) {
    auto attack = std::make_shared<CAttackInfo>();
    attack->Load(reader);
    std::string word;
    if (!reader.AtBlockEnd()) word = reader.ReadWordOrEmpty();
    return std::make_shared<CActorMonsterAttack>(std::move(attack), std::move(word));
}

}  // namespace

std::shared_ptr<CActorMonsterAttack> ReadAttack(DRAVCommon::CDataFileReader& reader, bool savedForm) {
    reader.BeginBlock("attack");
    auto attack = savedForm ? ReadSavedAttack(reader) : ReadDefinitionAttack(reader);
    reader.EndBlock();
    return attack;
}

void WriteAttack(DRAVCommon::CDataFileWriter& writer, const CActorMonsterAttack& attack) {
    writer.BeginBlock("attack");
    attack.GetAttack()->Save(writer);
    if (!attack.GetWord().empty()) writer.WriteWordOrZero(attack.GetWord());
    writer.EndBlock();
}

}  // namespace DRAV
