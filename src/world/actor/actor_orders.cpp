// The two order queues, the attack target and attackers, and the action timers.

#include <algorithm>
#include <cmath>

#include "common/exception.h"
#include "world/actor.h"
#include "world/order.h"
#include "world/saved_orders.h"

namespace DRAV {
namespace {

constexpr std::uint32_t kPauseTicks = 15;
constexpr std::uint32_t kWindUpTicks = 60;

void PopFront(OrderQueue& queue, const COrder& order, const char* which) {
    if (queue.empty() || queue.front().get() != &order)
        throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, std::string("the order is not the front of the ") + which +
                                                        " queue");
    queue.pop_front();
}

}  // namespace

bool CActor::FollowsOwnWill() const { return !HasStatus(STATUS_CONFUSED) && !HasStatus(STATUS_DOMINATED); }

// A save keeps a queue whole, so it never holds more than a load takes back.
void CActor::PushInstantOrder(std::shared_ptr<COrder> order) {
    if (m_instantOrders.size() < kOrderQueueLimit) m_instantOrders.push_back(std::move(order));
}

void CActor::PushOrder(std::shared_ptr<COrder> order, bool forced) {
    if ((!forced && !FollowsOwnWill()) || m_continuingOrders.size() >= kOrderQueueLimit) return;
    m_continuingOrders.push_back(std::move(order));
}

void CActor::PushOrderBefore(OrderType before, std::shared_ptr<COrder> order) {
    if (!FollowsOwnWill() || m_continuingOrders.size() >= kOrderQueueLimit) return;
    const auto next = std::find_if(m_continuingOrders.begin(), m_continuingOrders.end(),
                                   [before](const auto& queued) { return queued->GetType() == before; });
    if (next == m_continuingOrders.begin() && next != m_continuingOrders.end()) {
        m_ordersChanged = 1;
        ForgetWalk();
    }
    m_continuingOrders.insert(next, std::move(order));
}

std::shared_ptr<COrder> CActor::GetInstantOrder() const {
    return m_instantOrders.empty() ? nullptr : m_instantOrders.front();
}

std::shared_ptr<COrder> CActor::GetCurrentOrder() const {
    return m_continuingOrders.empty() ? nullptr : m_continuingOrders.front();
}

std::list<std::shared_ptr<COrder>> CActor::GetOrders() const {
    return {m_continuingOrders.begin(), m_continuingOrders.end()};
}

void CActor::PopInstantOrder(const COrder& order) { PopFront(m_instantOrders, order, "instant"); }

void CActor::PopOrder(const COrder& order) {
    PopFront(m_continuingOrders, order, "continuing");
    ForgetWalk();
}

void CActor::CancelOrders() {
    if (FollowsOwnWill()) ClearOrders();
}

void CActor::ReleaseAttackers(bool pause, std::uint32_t tick) {
    const std::vector<CActor*> attackers = m_attackers;
    for (CActor* attacker : attackers) {
        if (attacker->m_actionState == ACTION_WIND_UP || attacker->m_actionState == ACTION_STRIKE)
            attacker->m_actionState = ACTION_IDLE;
        if (attacker->m_attackTarget == this) attacker->SetAttackTarget(0, nullptr);
        if (pause) attacker->EnterPauseState(tick);
    }
    m_attackers.clear();
}

void CActor::BeginAttack(std::uint32_t tick, const CActor* target) {
    m_actionState = ACTION_WIND_UP;
    m_actionEndTick = tick + kWindUpTicks;
    m_targetChangeTick = tick;
    m_targetChangeId = target ? target->GetId() : 0;
}

void CActor::StartRecovery(std::uint32_t tick, std::int32_t actionKind) {
    if (m_actionState != ACTION_PAUSE) m_actionState = ACTION_RECOVERING;
    const double seconds = std::max(0.5, 4.0 - GetActionSpeed(actionKind, nullptr) / 5.0);
    m_actionEndTick = tick + static_cast<std::uint32_t>(std::trunc(30.0 * seconds));
}

void CActor::EnterPauseState(std::uint32_t tick) {
    if (m_actionState != ACTION_RECOVERING) m_actionEndTick = 0;
    m_actionState = ACTION_PAUSE;
    m_pauseEndTick = tick + kPauseTicks;
}

void CActor::ResetCombatState() {
    m_damageTaken = 0;
    m_lastDamage = 0;
    m_lastDamageTick = 0;
    m_healsReceived = 0;
    m_energyUsed = 0;
    m_actionState = ACTION_IDLE;
    m_unspentPoints = 0;
    m_skillEdit = 0;
    m_storeFlag = 0;
    // Leaving the target's attackers too: a list naming an actor that may be gone
    // would later be followed to freed memory.
    SetAttackTarget(0, nullptr);
}

bool CActor::HasAttackers(std::size_t* count) const {
    if (count) *count = m_attackers.size();
    return !m_attackers.empty();
}

bool CActor::IsHeldOnlyBy(const CActor& attacker) const {
    return m_attackers.size() == 1 && m_attackers.front() == &attacker;
}

}  // namespace DRAV
