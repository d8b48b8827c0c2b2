// The party: who is in it and in which order, the gold its members bring, the best
// of their skills, and experience.

#include <algorithm>

#include "common/exception.h"
#include "common/trace.h"
#include "rules/items/item_template.h"
#include "script/script_run.h"
#include "world/game.h"
#include "world/movement/party_visibility.h"

namespace DRAV {

std::shared_ptr<CActor> CGame::GetMainActor() const {
    for (const auto& member : m_party)
        if (member->IsMainCharacter()) return member;
    throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "the party has no main character");
}

bool CGame::IsPartyFull() const {
    const auto own = std::count_if(m_party.begin(), m_party.end(), [](const auto& member) { return !member->IsSummoned(); });
    return m_party.size() >= kMaxPartyMembers || static_cast<std::size_t>(own) >= kMaxOwnPartyMembers;
}

void CGame::SetFirstPartyMember(std::shared_ptr<CActor> actor) {
    m_party.clear();
    actor->SetPartyIndex(0);
    m_party.push_back(actor);
    m_nonLocatedActors.push_back(std::move(actor));
}

void CGame::AddPartyMember(std::shared_ptr<CActor> actor) {
    // Twice in the party, one actor would act and be saved twice.
    if (std::find(m_party.begin(), m_party.end(), actor) != m_party.end())
        throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, actor->GetName() + " is in the party already");
    CountMadeThing();
    // What it walked before it joined is no member's step onto a trap.
    actor->SetPosition(actor->GetX(), actor->GetY());
    actor->SetRelation(RELATION_PARTY);
    actor->SetPartyIndex(static_cast<std::uint32_t>(m_party.size()));
    m_party.push_back(actor);
    for (const auto& item : actor->GetBackpack()) {
        if (item->GetTemplate().GetKind() != ITEM_MONEY) continue;
        const std::int64_t gold = std::int64_t{m_gold} + item->GetCount();
        m_gold = static_cast<std::int32_t>(std::clamp<std::int64_t>(gold, 0, INT32_MAX));
        PushMessage(MESSAGE_GOLD, "The party has gained " + std::to_string(item->GetCount()) + " gold.");
        actor->RemoveFromBackpack(*item);
    }
}

void CGame::TakePartySteps() {
    for (const auto& member : m_party) member->TakeStep();
}

void CGame::RemovePartyMember(const CActor& actor) {
    const auto found =
        std::find_if(m_party.begin(), m_party.end(), [&](const auto& member) { return member.get() == &actor; });
    if (found == m_party.end()) throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, actor.GetName() + " is not in the party");
    // A party without its leader has nobody to command and cannot be saved.
    if (actor.IsMainCharacter())
        throw CDRAVException(DRAV_ERR_PARTY_POSITION, actor.GetName() + " leads the party and cannot leave it");
    CountMadeThing();
    const std::shared_ptr<CActor> member = *found;
    const std::size_t position = static_cast<std::size_t>(found - m_party.begin());
    member->SetRelation(RELATION_NEUTRAL);
    // The player's orders were a member's: one told to wait stays where she left
    // the party, and does not walk on to a way out the party no longer takes her through.
    member->ClearOrders();
    m_party.erase(found);
    if (!member->IsSummoned() && !member->IsAlive()) {
        DRAV_TRACE(DRAVCommon::TRACE_LOW, "Actor %s was dead... remove from game\n", member->GetName().c_str());
        std::erase(m_nonLocatedActors, member);
    }
    RenumberParty(position);
}

void CGame::MovePartyMember(std::uint32_t from, std::uint32_t to) {
    if (from >= m_party.size() || to >= m_party.size() || from == to)
        throw CDRAVException(DRAV_ERR_PARTY_POSITION, "cannot move party member " + std::to_string(from) + " to " +
                                                          std::to_string(to));
    std::shared_ptr<CActor> member = std::move(m_party[from]);
    m_party.erase(m_party.begin() + from);
    m_party.insert(m_party.begin() + to, std::move(member));
    RenumberParty(0);
}

void CGame::RenumberParty(std::size_t from) {
    for (std::size_t i = from; i < m_party.size(); ++i) m_party[i]->SetPartyIndex(static_cast<std::uint32_t>(i));
}

std::shared_ptr<CActor> CGame::RemoveNonLocatedActor(const CActor& actor) {
    return RemoveActorFromList(m_nonLocatedActors, actor);
}

std::int32_t CGame::GetBestPartySpecialStat(SpecialStat stat) const {
    std::int32_t best = -100000;
    for (const auto& member : m_party)
        if (member->IsAlive()) best = std::max(best, member->GetSpecialStat(stat));
    return best;
}

void CGame::AwardExperience(std::uint32_t experience) {
    PushMessage(MESSAGE_NOTICE, "The party gains " + std::to_string(experience) + " experience each.");
    for (const auto& member : m_party) {
        if (member->IsSummoned()) continue;
        const std::uint64_t total = std::uint64_t{member->GetExperience()} + experience;
        member->SetExperience(static_cast<std::uint32_t>(std::min<std::uint64_t>(total, UINT32_MAX)));
        while (member->AdvanceLevel()) {
            PushMessage(MESSAGE_NOTICE, member->GetName() + " has gained a level!");
            PushActorInfoEvent(EVENT_ACTOR_LEVEL, member->GetId());
        }
    }
}

bool CGame::UpdatePartyVisibility() { return DRAV::UpdatePartyVisibility(m_currentArea, m_party); }

}  // namespace DRAV
