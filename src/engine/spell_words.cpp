#include "engine/spell_words.h"

#include <algorithm>
#include <utility>

#include "rules/magic/spell.h"
#include "world/actor.h"

namespace DRAV {

namespace {

std::string Reflexive(Gender gender) {
    switch (gender) {
    case GENDER_FEMALE: return "herself";
    case GENDER_MALE: return "himself";
    default: return "itself";
    }
}

std::string Points(std::int32_t amount, const char* kind) {
    return std::to_string(amount) + " " + kind + (amount == 1 || amount == -1 ? " point" : " points");
}

}  // namespace

CSpellWords::CSpellWords(CSpellSender sender, const CSpell& spell)
    : m_sender(std::move(sender)), m_spellName(spell.GetName()) {
    if (!m_sender.name.empty()) m_label = m_sender.name + " (" + m_spellName + ")";
    else if (!m_sender.whose.empty()) m_label = m_spellName + " (" + m_sender.whose + "'s)";
    else m_label = m_spellName;
}

const std::string& CSpellWords::Killer() const { return Who(); }

std::string CSpellWords::Whom(const CActor& actor, ThingId self) {
    return self != 0 && actor.GetId() == self ? Reflexive(actor.GetGender()) : actor.GetName();
}

std::string CSpellWords::TakesHold(const CActor& target) const {
    if (m_sender.announced) return std::string();
    if (m_sender.name.empty()) return m_label + " takes hold of " + target.GetName() + ".";
    return m_sender.name + " casts " + m_spellName + " on " + Whom(target, m_sender.caster) + ".";
}

std::string CSpellWords::Heals(const CActor& target, std::int32_t amount, bool energy) const {
    return Who() + (energy ? " restores " : " heals ") + Whom(target, m_sender.caster) + " for " +
           Points(amount, energy ? "energy" : "hit") + ".";
}

std::string CSpellWords::CannotHeal(const CActor& target) const {
    return Who() + " can't heal " + Whom(target, m_sender.caster) + " (no Recoveries left).";
}

std::string CSpellWords::Summons(const std::string& summoned) const {
    if (m_sender.name.empty()) return m_label + " summons " + summoned + ".";
    if (m_sender.announced) return summoned + " answers " + m_sender.name + "'s call.";
    return m_sender.name + " casts " + m_spellName + ", summoning " + summoned + ".";
}

std::string CSpellWords::Fizzles(const std::string& why) const {
    return (m_sender.name.empty() ? m_label : m_sender.name + "'s spell") + " fizzles; " + why;
}

std::string CSpellWords::Cast(const CActor& caster, const std::string& act, const std::vector<CActor*>& targets) {
    std::vector<std::string> names;
    for (const CActor* target : targets) {
        const std::string name = Whom(*target, caster.GetId());
        if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
    }
    std::string line = caster.GetName() + act;
    if (!(targets.empty() || (targets.size() == 1 && targets.front() == &caster))) {
        for (std::size_t i = 0; i < names.size(); ++i)
            line += (i == 0 ? " on " : i + 1 == names.size() ? " and " : ", ") + names[i];
    }
    return line + ".";
}

}  // namespace DRAV
