#include "world/actor.h"

#include <algorithm>

#include "common/exception.h"
#include "common/trace.h"
#include "script/script_run.h"
#include "world/game.h"
#include "world/movement/pathfind_standard.h"

namespace DRAV {

CActor::CActor(ThingId id) : CThing(id) { Init(); }

void CActor::Init() {
    m_area = nullptr;
    m_attackTarget = nullptr;
    m_targetChangeTick = 0;
    m_equipment = EquipmentSlots{};
    m_encounterIndex = 0;
    m_relation = RELATION_NEUTRAL;
    m_faction = nullptr;
    m_factionRank = 0;
    m_storeFlag = 0;
    m_animation = 0;
    m_animationVariant = 0;
    m_animationTime = 0.0;
    m_facing = 0.0;
    m_currentPower = nullptr;
    m_powerEffect = nullptr;
    m_powerEndTick = 0;
    m_powerCooldownTick = 0;
    m_summonEndTick = 0;
    m_defenseAdjustment = 0;
    m_actionSpeed = 0;
    m_movementSpeed = 0;
    m_baseResistances = {};
    m_pathfinder = std::make_shared<CPathfindStandard>();
    RecountModifiers();
}

void CActor::SetPosition(double x, double y) {
    m_x = m_stoodX = m_stepStartX = x;
    m_y = m_stoodY = m_stepStartY = y;
    if (m_gridFiling.grid) m_gridFiling.grid->Refile(*this);
}

void CActor::SetRadius(double radius) {
    m_radius = radius;
    if (m_gridFiling.grid) m_gridFiling.grid->Refile(*this);
}

void CActor::SetEncounter(std::string name, std::int32_t index) {
    m_encounterName = std::move(name);
    m_encounterIndex = index;
}

void CActor::SetFaction(const CFaction* faction, std::uint32_t rank) {
    CountMadeThing();
    m_faction = faction;
    m_factionRank = rank;
}

std::string CActor::GetFactionText() const {
    if (!m_faction) return "No Faction";
    std::string title;
    const auto& titles = m_faction->GetRankTitles();
    if (m_factionRank < titles.size()) {
        const FactionRankTitle& rank = titles[m_factionRank];
        title = m_gender == GENDER_FEMALE && !rank.femaleTitle.empty() ? rank.femaleTitle : rank.title;
    }
    return m_faction->GetName() + " " + std::to_string(std::uint64_t{m_factionRank} + 1) + " (" + title + ")";
}

void CActor::SetDamageTaken(std::int32_t damage) { m_damageTaken = std::max(0, damage); }

void CActor::SetLastDamage(std::int32_t damage, std::uint32_t tick) {
    m_lastDamage = damage;
    m_lastDamageTick = tick;
}

void CActor::SetEnergyUsed(std::int32_t used) { m_energyUsed = std::max(0, used); }

void CActor::SetBrain(std::shared_ptr<CBrain> brain, const BrainFunctions& functions) {
    m_brain = std::move(brain);
    m_brainFunctions = functions;
}

void CActor::SetActionTimers(std::uint32_t pauseEnd, std::uint32_t actionEnd) {
    m_pauseEndTick = pauseEnd;
    m_actionEndTick = actionEnd;
}

void CActor::SetEquipment(EquipSlot slot, std::shared_ptr<CItem> item) {
    if (item) item->SetHolder(this);
    m_equipment.at(slot) = std::move(item);
    RecountModifiers();
}

void CActor::SetAttackTarget(std::uint32_t tick, CActor* target) {
    if (m_attackTarget) m_attackTarget->RemoveAttacker(*this);
    m_attackTarget = target;
    if (!target) return;
    target->m_attackers.push_back(this);
    // A target taken within 195 ticks of the last change does not count as the main one.
    if (std::uint64_t{tick} > std::uint64_t{m_targetChangeTick} + 195) {
        DRAV_TRACE(DRAVCommon::TRACE_LOW, "No current main target, now %s\n", target->m_templateName.c_str());
        m_targetChangeTick = tick;
        m_targetChangeId = target->GetId();
    }
}

void CActor::RemoveAttacker(const CActor& attacker) {
    auto found = std::find(m_attackers.begin(), m_attackers.end(), &attacker);
    if (found == m_attackers.end()) throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "attacker not found: " + attacker.m_name);
    m_attackers.erase(found);
}

void CActor::StopAttacking() {
    if (m_actionState == ACTION_WIND_UP || m_actionState == ACTION_STRIKE) m_actionState = ACTION_IDLE;
    SetAttackTarget(0, nullptr);
}

void CActor::ClearOrders() {
    m_instantOrders.clear();
    m_continuingOrders.clear();
    m_ordersChanged = 1;
    ForgetWalk();
}

void CActor::ForgetWalk() {
    m_pathfinder->Reset();
    m_walkGoal.reset();
}

std::uint32_t CActor::GetTick() const { return m_game ? m_game->GetTick() : 0; }

void CActor::PushMessage(const std::string& text) const {
    if (m_game) m_game->PushMessage(MESSAGE_NOTICE, text);
}

void CActor::PushPartyEvent(std::int32_t code) const {
    if (m_game && m_relation == RELATION_PARTY) m_game->PushActorInfoEvent(code, GetId());
}

std::shared_ptr<CActor> RemoveActorFromList(ActorList& actors, const CActor& actor) {
    auto found = std::find_if(actors.begin(), actors.end(),
                              [&](const std::shared_ptr<CActor>& entry) { return entry.get() == &actor; });
    if (found == actors.end()) throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "actor not in the list: " + actor.GetName());
    std::shared_ptr<CActor> removed = std::move(*found);
    actors.erase(found);
    return removed;
}

}  // namespace DRAV
