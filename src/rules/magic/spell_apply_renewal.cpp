#include "rules/magic/spell_apply_renewal.h"

#include <limits>

namespace DRAV {
namespace {

bool SameSource(const CSpellApply& a, const CSpellApply& b) {
    return a.GetName() == b.GetName() && a.GetDamageType() == b.GetDamageType() &&
           a.GetCastingValue() == b.GetCastingValue() && a.GetCasterLevel() == b.GetCasterLevel() &&
           a.IsSilent() == b.IsSilent() && a.IsHidden() == b.IsHidden();
}

bool SameSubject(const CSpellApplyEffect& a, const CSpellApplyEffect& b) {
    if (a.GetKind() != b.GetKind()) return false;
    switch (a.GetKind()) {
        case APPLY_MODIFY:
            return static_cast<const CSpellApplyEffectModify&>(a).GetMask() ==
                   static_cast<const CSpellApplyEffectModify&>(b).GetMask();
        case APPLY_STATUS:
            return static_cast<const CSpellApplyEffectStatus&>(a).GetStatus() ==
                   static_cast<const CSpellApplyEffectStatus&>(b).GetStatus();
        case APPLY_ONGOING:
            return &static_cast<const CSpellApplyEffectOngoing&>(a).GetSpell() ==
                   &static_cast<const CSpellApplyEffectOngoing&>(b).GetSpell();
        case APPLY_RESIST:
            return static_cast<const CSpellApplyEffectResist&>(a).GetDamageType() ==
                   static_cast<const CSpellApplyEffectResist&>(b).GetDamageType();
    }
    return false;
}

// Of two parts with the same subject: the statistics fold the larger bonus, the
// deeper penalty and the higher resistance.
bool AtLeastAsStrong(const CSpellApplyEffect& stronger, const CSpellApplyEffect& weaker) {
    switch (stronger.GetKind()) {
        case APPLY_MODIFY: {
            const std::int32_t amount = static_cast<const CSpellApplyEffectModify&>(stronger).GetAmount();
            const std::int32_t other = static_cast<const CSpellApplyEffectModify&>(weaker).GetAmount();
            return other > 0 ? amount >= other : amount <= other;
        }
        case APPLY_RESIST:
            return static_cast<const CSpellApplyEffectResist&>(stronger).GetAmount() >=
                   static_cast<const CSpellApplyEffectResist&>(weaker).GetAmount();
        case APPLY_STATUS:
        case APPLY_ONGOING: return true;
    }
    return false;
}

// End ticks, 0 being never.
bool LastsAsLong(std::uint32_t end, std::uint32_t other) { return end == 0 || (other != 0 && end >= other); }

// Pairs each part of `inner`, in order, with the first part of `outer` after the
// previous pair's that `pairs` with it; false when one finds none. Taking the
// first is never worse than a later one, so false means no such pairing exists.
template <typename Pairs, typename Visit>
bool PairInOrder(const SpellApplyEffectList& inner, const SpellApplyEffectList& outer, Pairs pairs, Visit visit) {
    std::size_t next = 0;
    for (const auto& part : inner) {
        while (next < outer.size() && !pairs(*outer[next], *part)) ++next;
        if (next == outer.size()) return false;
        visit(*outer[next++], *part);
    }
    return true;
}

bool RenewsPart(const CSpellApplyEffect& newer, const CSpellApplyEffect& older) {
    return SameSubject(newer, older) && AtLeastAsStrong(newer, older) &&
           (newer.GetKind() == APPLY_ONGOING || LastsAsLong(newer.GetEndTick(), older.GetEndTick()));
}

bool OutlastsPart(const CSpellApplyEffect& held, const CSpellApplyEffect& newer) {
    return SameSubject(held, newer) && AtLeastAsStrong(held, newer) &&
           LastsAsLong(held.GetEndTick(), newer.GetEndTick());
}

// The first tick at or after `wanted`, and not before `current`, that keeps the
// pulse rhythm of a carried spell ending at `current`.
std::uint32_t PulseEnd(std::uint32_t current, std::uint32_t wanted) {
    if (current == 0 || wanted == 0) return 0;
    if (wanted <= current) return current;
    constexpr std::uint64_t period = CSpellApplyEffectOngoing::kPulseTicks;
    const std::uint64_t end = current + (std::uint64_t{wanted} - current + period - 1) / period * period;
    // Past the last tick the rhythm cannot be kept; the renewal's own end stands.
    return end > std::numeric_limits<std::uint32_t>::max() ? wanted : static_cast<std::uint32_t>(end);
}

}  // namespace

bool Renews(const CSpellApply& newer, const CSpellApply& older) {
    return SameSource(newer, older) &&
           PairInOrder(older.GetParts(), newer.GetParts(), RenewsPart, [](const auto&, const auto&) {});
}

bool Outlasts(const CSpellApply& held, const CSpellApply& newer) {
    return SameSource(held, newer) &&
           PairInOrder(newer.GetParts(), held.GetParts(), OutlastsPart, [](const auto&, const auto&) {});
}

void RenewPulses(CSpellApply& newer, const CSpellApply& older) {
    PairInOrder(older.GetParts(), newer.GetParts(), RenewsPart,
                [](CSpellApplyEffect& part, const CSpellApplyEffect& renewed) {
                    if (part.GetKind() == APPLY_ONGOING)
                        part.SetEndTick(PulseEnd(renewed.GetEndTick(), part.GetEndTick()));
                });
}

}  // namespace DRAV
