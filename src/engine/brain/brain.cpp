#include "engine/brain/brain.h"

#include <algorithm>

#include "common/exception.h"
#include "common/trace.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/cell.h"
#include "world/game.h"
#include "rules/vocabulary/read_word.h"

namespace DRAV {
namespace {

std::vector<std::string> ReadTags(DRAVCommon::CDataFileReader& reader) {
    std::vector<std::string> tags;
    reader.BeginBlock("tags");
    while (!reader.AtBlockEnd()) {
        if (reader.IsAnyBlockStart()) reader.Fail(DRAV_ERR_BAD_DATA, "expected a tag name");
        tags.push_back(reader.ReadWord());
    }
    reader.EndBlock();
    return tags;
}

}  // namespace

void CBrain::Load(DRAVCommon::CDataFileReader& reader) {
    reader.BeginBlock("brain");
    m_relation = ReadParsedWord(reader, "the brain's relation", ParseRelation);
    m_hostileWhenAttacked = reader.ReadBool();
    if (reader.IsBlock("proximity")) {
        reader.BeginBlock("proximity");
        m_proximityRange = reader.ReadDouble();
        m_proximityTag = reader.ReadWordOrEmpty();
        reader.EndBlock();
    } else {
        m_proximityRange = reader.ReadDouble();
        m_proximityTag.clear();
    }
    m_triggerTags = ReadTags(reader);
    m_fireTags = ReadTags(reader);
    m_peacefulAI = CAI::ReadElement(reader);
    m_combatAI = CAI::ReadElement(reader);
    reader.EndBlock();
    m_equipped = false;
}

std::shared_ptr<CBrain> CBrain::Clone() const {
    auto copy = std::make_shared<CBrain>();
    copy->m_relation = m_relation;
    copy->m_hostileWhenAttacked = m_hostileWhenAttacked;
    copy->m_proximityRange = m_proximityRange;
    copy->m_proximityTag = m_proximityTag;
    copy->m_triggerTags = m_triggerTags;
    copy->m_fireTags = m_fireTags;
    if (m_peacefulAI) copy->m_peacefulAI = m_peacefulAI->Clone();
    if (m_combatAI) copy->m_combatAI = m_combatAI->Clone();
    return copy;
}

void CBrain::LoadState(DRAVCommon::CDataFileReader& reader) {
    reader.BeginBlock("brain");
    m_equipped = reader.ReadBool();
    if (m_peacefulAI) m_peacefulAI->LoadState(reader);
    if (m_combatAI) m_combatAI->LoadState(reader);
    reader.EndBlock();
}

void CBrain::SaveState(DRAVCommon::CDataFileWriter& writer) const {
    writer.BeginBlock("brain");
    writer.WriteWord(m_equipped ? "true" : "false");
    if (m_peacefulAI) m_peacefulAI->SaveState(writer);
    if (m_combatAI) m_combatAI->SaveState(writer);
    writer.EndBlock();
}

}  // namespace DRAV

namespace DRAV {

bool CBrain::PopPendingTag(std::string& tag) {
    if (m_pendingTags.empty()) return false;
    tag = std::move(m_pendingTags.front());
    m_pendingTags.erase(m_pendingTags.begin());
    return true;
}

void CBrain::TurnHostile(CActor& actor) {
    actor.SetRelation(RELATION_HOSTILE);
    actor.CancelOrders();
    QueueFireTags();
}

bool CBrain::TriggerTestCombat(CActor& actor, const CActor* attacker) {
    if (actor.GetRelation() == RELATION_PARTY || actor.GetRelation() == RELATION_FRIENDLY || !m_hostileWhenAttacked)
        return false;
    DRAV_TRACE(DRAVCommon::TRACE_LOW, "%s is attacked by %s, goes hostile\n", actor.GetName().c_str(),
               attacker ? attacker->GetName().c_str() : "");
    TurnHostile(actor);
    return true;
}

bool CBrain::TriggerTestTag(CActor& actor, const std::string& tag) {
    if (actor.GetRelation() == RELATION_PARTY || actor.GetRelation() == RELATION_FRIENDLY) return false;
    if (std::find(m_triggerTags.begin(), m_triggerTags.end(), tag) == m_triggerTags.end()) {
        DRAV_TRACE(DRAVCommon::TRACE_LOW, "%s gets tag %s, ignores\n", actor.GetName().c_str(), tag.c_str());
        return false;
    }
    DRAV_TRACE(DRAVCommon::TRACE_LOW, "%s gets tag %s, goes hostile\n", actor.GetName().c_str(), tag.c_str());
    TurnHostile(actor);
    return true;
}

bool CBrain::TriggerTestAttacksParty(CActor& actor) {
    if (actor.GetRelation() != RELATION_NEUTRAL) return false;
    DRAV_TRACE(DRAVCommon::TRACE_LOW, "%s attacks the party, goes hostile\n", actor.GetName().c_str());
    actor.SetRelation(RELATION_HOSTILE);
    QueueFireTags();
    return true;
}

bool CBrain::TriggerTestProximity(CProximityWatchers& watchers, CActor& actor) {
    if (m_proximityRange <= 0.0) return false;
    if (!m_proximityTag.empty()) {
        const CGame* game = actor.GetGame();
        if (!game || !game->IsQuestTagSet(m_proximityTag)) return false;
    }
    if (!PartyProximityTest(watchers, actor, m_proximityRange)) return false;
    DRAV_TRACE(DRAVCommon::TRACE_LOW, "%s (%g %g) hits proximity test, goes hostile\n", actor.GetName().c_str(),
               actor.GetX(), actor.GetY());
    TurnHostile(actor);
    return true;
}

void CBrain::TriggerAmbush(CActor& actor) {
    DRAV_TRACE(DRAVCommon::TRACE_LOW, "%s is sprung on the party, goes hostile\n", actor.GetName().c_str());
    TurnHostile(actor);
}

bool CProximityWatchers::AnyWithin(const CActor& actor, double range) {
    if (!m_gathered) {
        m_watchers.clear();
        for (const auto& other : m_area.GetActors())
            if (other->IsPartyOrFriendly() && !other->IsSneaking() && other->GetActionState() != ACTION_DEAD)
                m_watchers.push_back(other.get());
        std::sort(m_watchers.begin(), m_watchers.end());
        m_gathered = true;
    }
    if (m_watchers.empty()) return false;
    // The grid names those standing near; the watchers as gathered say which of them watch.
    bool within = false;
    m_area.GetActorGrid().ForEachNear(actor.GetX(), actor.GetY(), range, [&](const CActor& other) {
        within = within || (&other != &actor && std::binary_search(m_watchers.begin(), m_watchers.end(), &other) &&
                            actor.IsWithin(other, range));
    });
    return within;
}

bool PartyProximityTest(CProximityWatchers& watchers, const CActor& actor, double range) {
    return IsOnSeenCell(watchers.Area(), actor) && watchers.AnyWithin(actor, range);
}

bool IsOnSeenCell(const CArea& area, const CActor& actor) {
    if (actor.GetX() < 0.0 || actor.GetY() < 0.0) return false;
    const auto column = static_cast<std::uint32_t>(actor.GetX() / kCellSize);
    const auto row = static_cast<std::uint32_t>(actor.GetY() / kCellSize);
    if (column >= area.GetColumns() || row >= area.GetRows()) return false;
    return area.GetSeenCells().Get(column, row);
}

}  // namespace DRAV
