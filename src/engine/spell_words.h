#pragma once
// The words of the log's lines about a spell: who sent it, whom it reached and
// what came of it. Every line a cast or a resolved spell writes is built here, so
// that a cast is told once, by its caster as she casts it, a member who heals
// herself reads so, and a spell nobody sent (a script's, the pulse of an effect its
// bearer carries, the one a blow carries, the one an arrival brings) goes by its own
// name, never as its bearer striking herself; a pulse says besides whose lasting spell
// it is, and a blow's spell whose blow it rode.

#include <cstdint>
#include <string>
#include <vector>

#include "rules/kinds/thing_id.h"

namespace DRAV {

class CActor;
class CSpell;

// Who sent a spell on its way, as its lines name them.
struct CSpellSender {
    // The caster's, the trap's or the wielder's name; empty when nobody sent it.
    std::string name;
    // The actor who cast it, so that a spell she cast on herself reads so; 0 when
    // no actor cast it.
    ThingId caster = 0;
    // Her own line named the spell and whom she cast it at as she cast it.
    bool announced = false;
    // Who cast the lasting spell that this one pulses from, or struck the blow that
    // carried it, when nobody sends it.
    std::string whose{};
    // How many pulses of her lasting spells this one stands for: copies held apart
    // that fall due together strike as one, with their harm summed in one line.
    std::int32_t pulses = 1;
};

class CSpellWords {
public:
    CSpellWords(CSpellSender sender, const CSpell& spell);

    // Who acts in a line: "Marra (Reedlash)", or the spell alone when nobody sent it,
    // with whose lasting spell it pulses from: "Fever's Grip (Marra's)".
    const std::string& Label() const { return m_label; }
    // Who a death is laid to: the sender, or the spell when nobody sent it.
    const std::string& Killer() const;
    // The spell's hold on `target`; empty when its caster's own line said it already.
    std::string TakesHold(const CActor& target) const;
    // Hit points (energy points with `energy`) given back: "Marra heals Wren for 5
    // hit points.", "Tamsin heals herself for 1 hit point."
    std::string Heals(const CActor& target, std::int32_t amount, bool energy) const;
    std::string CannotHeal(const CActor& target) const;
    std::string Summons(const std::string& summoned) const;
    // A summon that comes to nothing, and `why`.
    std::string Fizzles(const std::string& why) const;

    // The caster's line as she casts, uses or drinks (`act`: " casts River Dart"):
    // it names whom the spell goes to, unless only to herself.
    static std::string Cast(const CActor& caster, const std::string& act, const std::vector<CActor*>& targets);
    // The actor's name, or the word for herself when `actor` is `self`.
    static std::string Whom(const CActor& actor, ThingId self);

private:
    // The sender, or the label when nobody sent it.
    const std::string& Who() const { return m_sender.name.empty() ? m_label : m_sender.name; }

    CSpellSender m_sender;
    std::string m_spellName;
    std::string m_label;
};

}  // namespace DRAV
