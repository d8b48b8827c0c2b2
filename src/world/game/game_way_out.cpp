// The party's walks to ways out in a saved game, so that a load asks the question
// of leaving, or names who stayed behind, as the game it was saved from would have.

#include "common/data_file_reader.h"
#include "common/data_file_writer.h"
#include "world/area.h"
#include "world/game.h"
#include "world/object.h"
#include "world/saved_thing.h"

namespace DRAV {

void CGame::WriteWayOutWalks(DRAVCommon::CDataFileWriter& writer) const {
    for (const auto& [id, walk] : m_wayOutWalks) {
        CSavedThing marker;
        if (!CSavedThing::Describe(id, {m_currentArea}, SAVED_OBJECT, marker)) continue;
        writer.BeginBlock("wayout");
        marker.Write(writer);
        writer.WriteValue(m_talksBegun - walk.talksBegun);
        for (const ThingId walker : walk.walkers) writer.WriteValue(walker & kMaxThingSerial);
        writer.EndBlock();
    }
}

void CGame::ReadWayOutWalk(DRAVCommon::CDataFileReader& reader) {
    // Each walker walks to one way out at a time.
    if (m_wayOutWalks.size() == kMaxPartyMembers)
        reader.Fail(DRAV_ERR_BAD_DATA, "more walks to ways out than a party holds");
    reader.BeginBlock("wayout");
    const CSavedThing marker = CSavedThing::Read(reader, SAVED_OBJECT, "a way out");
    const std::uint32_t since = reader.ReadUInt();
    std::set<ThingId> walkers;
    for (std::size_t read = 0; !reader.AtBlockEnd(); ++read) {
        if (read == kMaxPartyMembers) reader.Fail(DRAV_ERR_BAD_DATA, "more walkers to a way out than a party holds");
        ThingId saved = 0;
        MakeThingId(saved, THING_ACTOR, reader.ReadUInt(0, kMaxThingSerial, "a walker's serial"));
        if (const ThingId walker = FindLoadedActor(saved)) walkers.insert(walker);
    }
    reader.EndBlock();
    ThingId found = 0;
    // No walkers is a walk whose walkers came and wait there for the rest.
    if (!marker.Find(*this, {m_currentArea}, found)) return;
    const CObject* wayOut = m_currentArea ? m_currentArea->FindObject(found) : nullptr;
    if (!wayOut || !wayOut->IsExit()) return;
    if (!m_wayOutWalks.try_emplace(found, WayOutWalk{found, std::move(walkers), m_talksBegun - since}).second)
        reader.Fail(DRAV_ERR_BAD_DATA, "two walks to one way out");
}

}  // namespace DRAV
