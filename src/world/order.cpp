#include "world/order.h"

#include <array>

namespace DRAV {
namespace {

using Words = std::array<std::uint32_t, 3>;

template <class T>
const T* As(const COrder& order) {
    return dynamic_cast<const T*>(&order);
}

std::uint32_t Word(std::int32_t value) { return static_cast<std::uint32_t>(value); }

// By the object's class, so that a bare COrder carrying a subclass's type code
// reads as having no ids rather than as memory it does not own.
Words WordsOf(const COrder& order) {
    if (auto* o = As<CAttackOrder>(order)) return {o->target, 0, 0};
    if (auto* o = As<CWieldOrder>(order)) return {o->item, Word(o->slot), 0};
    if (auto* o = As<CUnwieldOrder>(order)) return {Word(o->slot), 0, 0};
    if (auto* o = As<CGetOrder>(order)) return {o->container, o->item, 0};
    if (auto* o = As<CDropOrder>(order)) return {o->container, o->item, 0};
    if (auto* o = As<CSplitOrder>(order)) return {o->stack, o->count, 0};
    if (auto* o = As<CCombineOrder>(order)) return {o->first, o->second, 0};
    if (auto* o = As<CGiveOrder>(order)) return {o->receiver, o->item, 0};
    if (auto* o = As<CUseOrder>(order)) return {Word(o->kind), o->thing, o->target};
    if (auto* o = As<CTalkOrder>(order)) return {o->partner, 0, 0};
    if (auto* o = As<CPositionOrder>(order)) return {Word(o->index), 0, 0};
    if (auto* o = As<CSpendPointsOrder>(order)) return {Word(o->attribute), Word(o->learn), Word(o->forget)};
    if (auto* o = As<CStoreOrder>(order)) return {o->buy ? 1u : 0u, o->keeper, o->item};
    if (auto* o = As<CMoveTalkOrder>(order)) return {o->partner, 0, 0};
    return {0, 0, 0};  // no ids: move, cast, power, leave, return
}

}  // namespace

bool IsInstantOrderType(std::int32_t type) {
    return (type >= ORDER_WIELD && type <= ORDER_GIVE) || (type >= ORDER_TALK && type <= ORDER_STORE);
}

std::uint32_t COrder::GetWord(int index) const { return WordsOf(*this)[static_cast<std::size_t>(index)]; }

}  // namespace DRAV
