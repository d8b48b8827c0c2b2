#include <algorithm>
#include <cmath>

#include "common/exception.h"
#include "common/trace.h"
#include "engine/engine.h"
#include "game/app.h"
#include "ui/ui_action_element.h"
#include "ui/ui_action_window.h"
#include "world/actor.h"
#include "world/movement/pathfind.h"
#include "world/game.h"

// The one choice of whom the player commands (a party index, or the whole party),
// what follows from it on the screen, and the point the camera follows.

namespace {

constexpr std::uint32_t kVisible = 1;
constexpr std::uint32_t kHighlighted = 4;
// The float that stands for a quarter turn in the facing sums.
constexpr double kQuarterTurn = 1.5707963705062866;
constexpr float kLookAhead = 10.0f;
constexpr float kLookAheadChange = 25.0f;  // squared: 5 units
// A heading must hold this many game ticks, a quarter of a second, for the view
// to follow it.
constexpr std::uint32_t kSteadyHeadingTicks = 15;
constexpr float kCameraJump = 2500.0f;     // squared: 50 units
constexpr float kCameraSettle = 1.0f;

bool IsAlive(const DRAV::CActor& actor) { return actor.GetActionState() != DRAV::ACTION_DEAD; }

}  // namespace

void CDRAVApp::GetSelectedActors(std::vector<DRAV::CActor*>& out) const {
    out.clear();
    if (!m_engine || !m_engine->GetGame()) return;
    const DRAV::ActorList party = m_engine->GetGame()->GetParty();
    if (m_selectedParty == kWholeParty) {
        for (const auto& member : party)
            if (IsAlive(*member)) out.push_back(member.get());
    } else if (m_selectedParty < party.size()) {
        out.push_back(party[m_selectedParty].get());
    }
}

DRAV::CActor* CDRAVApp::GetSelectedActor() const {
    std::vector<DRAV::CActor*> actors;
    GetSelectedActors(actors);
    return actors.empty() ? nullptr : actors.front();
}

void CDRAVApp::GetSelectedIds(std::vector<DRAV::ThingId>& out) const {
    std::vector<DRAV::CActor*> actors;
    GetSelectedActors(actors);
    out.clear();
    for (const DRAV::CActor* actor : actors) out.push_back(actor->GetId());
}

bool CDRAVApp::IsSelected(const DRAV::CActor& actor) const {
    if (m_selectedParty == kWholeParty) return actor.GetRelation() == DRAV::RELATION_PARTY;
    const DRAV::ActorList party = m_engine->GetGame()->GetParty();
    return m_selectedParty < party.size() && party[m_selectedParty].get() == &actor;
}

void CDRAVApp::SelectPartyMember(std::uint32_t index) {
    const DRAV::ActorList party = m_engine->GetGame()->GetParty();
    if (index >= party.size() || !IsAlive(*party[index])) return;
    m_selectedParty = index;
    OnSelectionChanged();
}

void CDRAVApp::SetSelection(const DRAV::CActor& actor) {
    DRAV_TRACE(DRAVCommon::TRACE_LOW, "begin %s\n", actor.GetName().c_str());
    if (!IsAlive(actor)) return;
    const DRAV::ActorList party = m_engine->GetGame()->GetParty();
    std::uint32_t index = 0;
    while (index < party.size() && party[index].get() != &actor) ++index;
    m_selectedParty = index;
    OnSelectionChanged();
}

void CDRAVApp::SelectMember(DRAV::CActor& actor) {
    SetSelection(actor);
    if (HasQuickActions(actor)) SelectQuickAction(actor, CDRAVActorInfo::kNoSlot);
}

void CDRAVApp::SelectActor(DRAV::CActor& actor) {
    const bool wasSelected = m_selectedParty != kWholeParty && IsSelected(actor);
    SelectMember(actor);
    // A second press on the one selected member while paused takes back its orders.
    if (wasSelected && m_paused) actor.CancelOrders();
}

void CDRAVApp::SelectAll() {
    const bool wasWholeParty = m_selectedParty == kWholeParty;
    const std::size_t size = m_engine->GetGame()->GetParty().size();
    m_selectedParty = size > 1 ? kWholeParty : 0;
    OnSelectionChanged();
    if (!m_paused) return;
    if (wasWholeParty || size < 2) CancelSelectedOrders();
}

void CDRAVApp::CancelSelectedOrders() {
    std::vector<DRAV::CActor*> actors;
    GetSelectedActors(actors);
    for (DRAV::CActor* actor : actors)
        if (!actor->HasStatus(DRAV::STATUS_CONFUSED) && !actor->HasStatus(DRAV::STATUS_DOMINATED)) actor->CancelOrders();
}

void CDRAVApp::CancelSelectedOrdersButTheFight() {
    std::vector<DRAV::CActor*> actors;
    GetSelectedActors(actors);
    for (DRAV::CActor* actor : actors) {
        if (actor->HasStatus(DRAV::STATUS_CONFUSED) || actor->HasStatus(DRAV::STATUS_DOMINATED)) continue;
        std::shared_ptr<DRAV::COrder> fight;
        for (const auto& order : actor->GetContinuingOrders())
            if (order->GetType() == DRAV::ORDER_ATTACK) {
                fight = order;
                break;
            }
        actor->CancelOrders();
        if (fight) actor->PushOrder(std::move(fight), false);
    }
}

void CDRAVApp::SelectNextMember() {
    const DRAV::ActorList party = m_engine->GetGame()->GetParty();
    if (party.size() < 2) {
        m_selectedParty = 0;
    } else {
        // At most one round: the whole-party step always ends it.
        for (;;) {
            if (m_selectedParty == kWholeParty) {
                m_selectedParty = 0;
            } else if (++m_selectedParty >= party.size()) {
                m_selectedParty = kWholeParty;
                break;
            }
            if (IsAlive(*party[m_selectedParty])) break;
        }
    }
    OnSelectionChanged();
}

void CDRAVApp::ResetPartySelection() {
    m_selectedParty = m_engine->GetGame()->GetParty().size() == 1 ? 0 : kWholeParty;
    OnSelectionChanged();
}

void CDRAVApp::OnSelectionChanged() {
    std::vector<DRAV::ThingId> ids;
    GetSelectedIds(ids);
    m_graphicsManager.GetSelection().assign(ids.begin(), ids.end());
    if (m_actionBar) {
        if (m_selectedParty == kWholeParty) {
            m_actionBar->SetFlag(kVisible, false);
        } else {
            m_actionBar->SetFlag(kVisible, true);
            m_actionBar->ClearFilled();
        }
    }
    for (std::size_t i = 0; i < m_portraits.size(); ++i)
        m_portraits[i]->SetFlag(kHighlighted, m_selectedParty == kWholeParty || i == m_selectedParty);
    RequestRepaint();
}

void CDRAVApp::ComputeCameraTarget(float out[3]) {
    if (const DRAV::CActor* focus = GetTalkFocus()) {
        out[0] = static_cast<float>(focus->GetX());
        out[1] = 0.0f;
        out[2] = static_cast<float>(focus->GetY());
        m_lookAhead[0] = m_lookAhead[1] = m_lookAhead[2] = 0.0f;
        m_cameraSnap = true;
        return;
    }
    std::vector<DRAV::CActor*> actors;
    GetSelectedActors(actors);
    if (actors.empty()) {
        // Nobody to follow: the camera stays where it looks.
        for (int i = 0; i < 3; ++i) out[i] = m_cameraTarget[i];
        return;
    }
    float mean[3] = {0.0f, 0.0f, 0.0f};
    const float n = static_cast<float>(actors.size());
    for (const DRAV::CActor* actor : actors) {
        mean[0] += static_cast<float>(actor->GetX()) / n;
        mean[2] += static_cast<float>(actor->GetY()) / n;
    }
    // The view looks ahead of the way the selection walks. One that stands and
    // fights turns to its foes as they move round it, and one whose walk is held
    // up turns to and fro as it presses, slides or steps aside; a view that
    // followed those turns would swing under the player's pointer. Only those
    // getting somewhere on a walk say where to look, and while none does the
    // view stays.
    const auto leads = [](const DRAV::CActor& actor) {
        return actor.GetAnimation() == DRAV::ANIM_MOVE && actor.GetCurrentOrder() &&
               !actor.GetPathfinder()->IsHeldUp();
    };
    float ahead[3] = {0.0f, 0.0f, 0.0f};
    float walking = 0.0f;
    for (const DRAV::CActor* actor : actors) walking += leads(*actor) ? 1.0f : 0.0f;
    for (const DRAV::CActor* actor : actors) {
        if (!leads(*actor)) continue;
        const double turn = actor->GetFacing() + kQuarterTurn;
        ahead[0] += kLookAhead * static_cast<float>(std::cos(turn)) / walking;
        ahead[2] += -kLookAhead * static_cast<float>(std::sin(turn)) / walking;
    }
    // Small turns do not swing the view; only a real change of heading does, and
    // only one that holds: a walker pressing past people in a narrow way gets a
    // little nearer now and then while it faces aside or back. Once every walk is
    // over the view comes back to the walkers, not left ahead of where they stopped.
    const auto differs = [](const float a[3], const float b[3]) {
        const float dx = a[0] - b[0];
        const float dz = a[2] - b[2];
        return dx * dx + dz * dz > kLookAheadChange;
    };
    const bool ordered = std::any_of(actors.begin(), actors.end(),
                                     [](const DRAV::CActor* actor) { return actor->GetCurrentOrder() != nullptr; });
    const std::uint32_t tick = m_engine->GetGame()->GetTick();
    if (walking == 0.0f && !ordered) {
        for (int i = 0; i < 3; ++i) m_lookAhead[i] = ahead[i];
        m_headingChanging = false;
    } else if (walking == 0.0f || !differs(ahead, m_lookAhead)) {
        m_headingChanging = false;
    } else if (!m_headingChanging || differs(ahead, m_newHeading)) {
        for (int i = 0; i < 3; ++i) m_newHeading[i] = ahead[i];
        m_newHeadingSince = tick;
        m_headingChanging = true;
    } else if (tick - m_newHeadingSince >= kSteadyHeadingTicks) {
        for (int i = 0; i < 3; ++i) m_lookAhead[i] = ahead[i];
        m_headingChanging = false;
    }
    for (int i = 0; i < 3; ++i) out[i] = mean[i] + m_lookAhead[i];
}

void CDRAVApp::GetCameraTarget(float out[3]) {
    float target[3];
    ComputeCameraTarget(target);
    if (!m_gameRunning || m_paused || m_suspendCount > 0 || m_cameraSnap) {
        for (int i = 0; i < 3; ++i) m_cameraTarget[i] = target[i];
        m_cameraSnap = false;
    } else {
        float d[3];
        float squared = 0.0f;
        for (int i = 0; i < 3; ++i) {
            d[i] = target[i] - m_cameraTarget[i];
            squared += d[i] * d[i];
        }
        if (squared > kCameraJump || squared < kCameraSettle) {
            for (int i = 0; i < 3; ++i) m_cameraTarget[i] = target[i];
        } else {
            const float step = m_fastMove ? 0.4f : 0.2f;
            for (int i = 0; i < 3; ++i) m_cameraTarget[i] += d[i] * step;
        }
    }
    for (int i = 0; i < 3; ++i) out[i] = m_cameraTarget[i];
}

void CDRAVApp::RunInstantOrders() {
    try {
        m_engine->RunInstantOrders();
    } catch (const CDRAVException& failure) {
        if (failure.GetCode() != DRAV_ERR_SCRIPT) throw;
        ShowScriptError(failure);
    }
}
