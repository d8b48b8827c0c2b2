#pragma once
// One attack of a monster, as a monster definition and a saved actor hold it.

#include <memory>
#include <string>

#include "common/data_file_reader.h"
#include "common/data_file_writer.h"
#include "rules/kinds/attack_info.h"

namespace DRAV {

class CActorMonsterAttack {
public:
    CActorMonsterAttack(std::shared_ptr<CAttackInfo> attack, std::string word)
        : m_attack(std::move(attack)), m_word(std::move(word)) {}

    const std::shared_ptr<CAttackInfo>& GetAttack() const { return m_attack; }
    // One extra word of the element; empty when none.
    const std::string& GetWord() const { return m_word; }

private:
    std::shared_ptr<CAttackInfo> m_attack;
    std::string m_word;
};

// Reads an "attack" element: the definition form (name, bonus, damage die and bonus,
// then damage-type groups and flag words) or, with `savedForm`, an "attackinfo"
// element and an optional word.
std::shared_ptr<CActorMonsterAttack> ReadAttack(DRAVCommon::CDataFileReader& reader, bool savedForm);
// Writes the saved form.
void WriteAttack(DRAVCommon::CDataFileWriter& writer, const CActorMonsterAttack& attack);

}  // namespace DRAV
