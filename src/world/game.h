#pragma once
// The state of one running game: the pending destination, the party and the actors
// that travel with it, gold, tags, journals, revealed map locations, stores, the
// caches of visited areas and loaded maps, the thing-id counter, the tick counter
// and calendar, and the queue of events for the interface. The engine owns one.
// Split by topic in world/game/: game.cpp (state, tags, journals, events), game_party.cpp (party
// and experience), game_places.cpp (area and map caches), game_text.cpp (text
// expansion and the calendar) and game_way_out.cpp (the walk to a way out in a save).

#include <algorithm>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "rules/definitions/travel_hours.h"
#include "rules/definitions/travel_map.h"
#include "rules/kinds/thing_id.h"
#include "rules/vocabulary/difficulty.h"
#include "rules/vocabulary/special_stat.h"
#include "world/actor.h"
#include "world/calendar_spent.h"
#include "world/events/event.h"
#include "world/journal_entry.h"
#include "world/people_journal.h"
#include "world/store.h"
#include "world/tag_map.h"
#include "world/thing_id_counter.h"

namespace DRAV {

class CArea;
class CModule;

// What the game is doing, as the engine and the application's tick loop read it.
enum GameStateCode : std::int32_t {
    GAME_PLAYING = 0,
    GAME_EXIT_AVAILABLE = 1,
    GAME_WIPED_OUT = 2,  // leave, rest and enter the pending destination
    GAME_TRAVEL = 3,     // a script sends the party to the pending destination
    GAME_ON_MAP = 4,     // the party chooses a destination on the map
    GAME_ENTERING = 5,  // a destination is pending and the party is to enter it
    GAME_RESTING = 6,
    GAME_WON = 7,
    GAME_NOT_STARTED = 8,
};

// An area name and an entry name in it.
using AreaEntryPoint = std::pair<std::string, std::string>;
using AreaCache = std::map<std::string, std::shared_ptr<CArea>>;
using MapCache = std::map<std::string, std::shared_ptr<CMap2>>;

// At most this many party members, and at most kMaxOwnPartyMembers not summoned.
inline constexpr std::size_t kMaxPartyMembers = 6;
inline constexpr std::size_t kMaxOwnPartyMembers = 4;
// The clock's last tick that time passed at once reaches: three quarters of the
// counter's range, about three and a half years of game time; above it play runs
// for another year before the counter would come round.
inline constexpr std::uint32_t kLastPassedTick = 0xC0000000u;
static_assert(std::uint64_t{kMostTravelHours} * kTicksPerTravelHour <= kLastPassedTick,
              "a journey an area's file may name fits the calendar");
// The last tick a save holds: a game loaded at it plays for another fifty days of
// the clock before the counter would come round, and every timer a tick sets (an
// effect's end, a trap ready again, the next heartbeat) lies far below that. A game
// past it is not saved.
inline constexpr std::uint32_t kLastSavedTick = 0xF0000000u;

class CGame {
public:
    // Not started: nothing pending, no party, serial counter 1.
    CGame();
    ~CGame();
    CGame(const CGame&) = delete;
    CGame& operator=(const CGame&) = delete;

    // A new game: the party is to enter the module's start entry, which is also the
    // resurrection point; tick, gold and difficulty 0.
    void InitNewGame(const CModule& module);

    std::int32_t GetStateCode() const { return m_stateCode; }
    // What the end of the chapter shows once a script has won it (state 7). The end
    // pages take it; the game keeps it as the chapter's ending for its save, so that
    // a finished chapter's save shows the same pages again.
    const std::string& GetClosingText() const { return m_closingText; }
    void SetClosingText(std::string text);
    std::string TakeClosingText() { return std::exchange(m_closingText, std::string()); }
    const std::string& GetEnding() const { return m_ending; }
    void SetEnding(std::string text) { m_ending = std::move(text); }
    void SetStateCode(std::int32_t code) { m_stateCode = code; }

    // ---- destination and points ----
    // The pending destination, its load type and the exit's text (the exit name is
    // the engine's, set with SetAvailableExitName).
    void SetEntry(const AreaEntryPoint& entry, std::int32_t loadType, const std::string& exitText);
    AreaEntryPoint GetEntry() const { return m_entry; }
    std::int32_t GetEntryLoadType() const { return m_entryLoadType; }
    const std::string& GetEntryExitText() const { return m_entryExitText; }
    std::string GetAvailableExitName() const { return m_availableExitName; }
    void SetAvailableExitName(std::string name) { m_availableExitName = std::move(name); }
    void SetResurrectionPoint(const AreaEntryPoint& point) { m_resurrectionPoint = point; }
    AreaEntryPoint GetResurrectionPoint() const { return m_resurrectionPoint; }
    // The entry the party arrived by in the current area, kept apart from the pending
    // destination so that an exit coming within reach does not move it: the return
    // to the entrance and a returning teleport lead there.
    void SetCurrentEntry(const AreaEntryPoint& entry) { m_currentEntry = entry; }
    AreaEntryPoint GetCurrentEntry() const { return m_currentEntry; }
    void SetReturnPoint(const AreaEntryPoint& point) { m_returnPoint = point; }
    AreaEntryPoint GetReturnPoint() const { return m_returnPoint; }
    // The area the party last left; empty when no living member of its own left it.
    const std::string& GetLastArea() const { return m_lastArea; }
    void SetLastArea(std::string area) { m_lastArea = std::move(area); }

    Difficulty GetDifficulty() const { return m_difficulty; }
    void SetDifficulty(Difficulty difficulty) { m_difficulty = difficulty; }

    // ---- party (game_party.cpp) ----
    ActorList GetParty() const { return m_party; }
    // The party itself, without GetParty's copy: for a look that changes nothing of
    // who is in it, made every tick. A loop that may add or remove a member, or run
    // a script, takes GetParty's copy.
    const ActorList& PartyMembers() const { return m_party; }
    // Whether `test` holds for a member: a look at the party that changes nothing,
    // made every tick, without GetParty's copy.
    template <typename Test>
    bool AnyPartyMember(Test test) const {
        return std::any_of(m_party.begin(), m_party.end(), [&](const auto& member) { return test(*member); });
    }
    // The first member whose template is "main"; code 2 when there is none.
    std::shared_ptr<CActor> GetMainActor() const;
    // Six members, or four not summoned.
    bool IsPartyFull() const;
    // What the party sees of the current area; true only when the pass ran in full.
    bool UpdatePartyVisibility();
    // The party becomes this one actor, who also travels with the game.
    void SetFirstPartyMember(std::shared_ptr<CActor> actor);
    // The actor joins where it stands, which is no step; the gold it carries goes
    // to the party. Code 2 for a member.
    void AddPartyMember(std::shared_ptr<CActor> actor);
    // Takes each member's step (CActor::TakeStep), once a tick.
    void TakePartySteps();
    // Code 2 when the actor is not in the party. A dead actor of its own leaves the game.
    void RemovePartyMember(const CActor& actor);
    // Code 3 for an index outside the party or two equal ones.
    void MovePartyMember(std::uint32_t from, std::uint32_t to);
    ActorList GetNonLocatedActors() const { return m_nonLocatedActors; }
    void AddNonLocatedActor(std::shared_ptr<CActor> actor) { m_nonLocatedActors.push_back(std::move(actor)); }
    // Code 2 when the actor is not there.
    std::shared_ptr<CActor> RemoveNonLocatedActor(const CActor& actor);
    // The best value of `stat` among the living members; -100000 for none.
    std::int32_t GetBestPartySpecialStat(SpecialStat stat) const;
    // Each member of its own gains `experience`, and every level it reaches.
    void AwardExperience(std::uint32_t experience);

    std::int32_t GetGold() const { return m_gold; }
    void SetGold(std::int32_t gold) { m_gold = gold; }
    // The tick at which the engine next tries a heartbeat script; saved with the game
    // so that a loaded game keeps the rhythm it had.
    std::uint32_t GetNextHeartbeatTick() const { return m_nextHeartbeatTick; }
    void SetNextHeartbeatTick(std::uint32_t tick) { m_nextHeartbeatTick = tick; }

    // ---- ids and ticks ----
    // A new id of `type` (2 objects, 3 actors, 5 items) from the game's one serial
    // counter; serials never repeat within a game. CThingSerialsSpent past the last.
    ThingId NewThingId(int type);
    // How many more things the counter can number before the game is saved and loaded.
    std::uint32_t GetThingSerialsLeft() const { return m_thingSerialCounter.GetLeft(); }
    // A new id of an effect in flight. Effects live a few ticks, so they count apart
    // and their serials come round again: fights never use up those of what a save
    // numbers anew. A save keeps the effects in flight with their ids and the counter.
    ThingId NewEffectId();
    std::uint32_t GetEffectSerialCounter() const { return m_effectSerialCounter.GetNext(); }
    void SetEffectSerialCounter(std::uint32_t next) { m_effectSerialCounter = CThingIdCounter(next); }
    // The serial the next id takes, as a saved game keeps it.
    std::uint32_t GetThingSerialCounter() const { return m_thingSerialCounter.GetNext(); }
    void SetThingSerialCounter(std::uint32_t next) { m_thingSerialCounter = CThingIdCounter(next); }
    // A load numbers every thing anew, actors too, so that a long game never runs
    // out of serials: the actor saved with `serial` takes the next new id, kept
    // against that serial for what the save refers to by it. Code 1 for a serial
    // an actor read before holds: play never gives two things one serial.
    ThingId NumberSavedActor(std::uint32_t serial);
    // The id now of the actor saved as `savedId`; 0 for an id no saved actor held.
    ThingId FindLoadedActor(ThingId savedId) const;
    // The highest serial of the saved actors; 0 for a game not loaded.
    std::uint32_t GetHighestSavedSerial() const;

    // The engine tick counter: 30 ticks make a game second. Timed effects, powers and
    // action timers are tick numbers of this counter.
    std::uint32_t GetTick() const { return m_tick; }
    void SetTick(std::uint32_t tick) { m_tick = tick; }
    bool IsInBattle() const { return m_inBattle != 0; }
    // Out of battle no fight is under way.
    void SetInBattle(bool inBattle) {
        m_inBattle = inBattle ? 1 : 0;
        m_fightUnderWay = m_fightUnderWay && inBattle;
    }
    // Whether blows have passed between the party and its foes in this battle; not
    // saved: a load finds it again in who stands striking whom.
    bool IsFightUnderWay() const { return m_fightUnderWay; }
    void SetFightUnderWay() { m_fightUnderWay = true; }
    // A party resting after it was wiped out wakes in the next area it enters; not
    // saved: the area change runs from the autosave to the first tick in one go.
    bool IsWakingFromWipeOut() const { return m_wakingFromWipeOut; }
    void SetWakingFromWipeOut(bool waking) { m_wakingFromWipeOut = waking; }
    // Time passed at once (a rest, a journey's hours, the walk back to the entrance)
    // moves the clock by all of it or not at all: never past kLastPassedTick, which
    // leaves the ticks above it for play and the timers counted from it. Time with no
    // room is CCalendarSpent, whose sentence says that `what` ("The rest") would take
    // too long, and the clock stays where it was: nothing that waits on those hours
    // is promised and then skipped.
    void PassTime(std::uint64_t ticks, const std::string& what);
    // PassTime's refusal, asked before anything of a rest or a journey is done.
    void RequireTimeToPass(std::uint64_t ticks, const std::string& what) const;
    // Areas entered one after another with no tick between, each entry's script
    // sending the party on; the tick after an entry ends the run. Not saved.
    std::uint32_t GetArrivalsWithoutTick() const { return m_arrivalsWithoutTick; }
    void CountArrival() { ++m_arrivalsWithoutTick; }
    void EndArrivals() { m_arrivalsWithoutTick = 0; }
    // The foes of the area where the party woke that hold back, by id, until the
    // party comes to them or fights; saved with the game.
    const std::set<ThingId>& GetHeldFoes() const { return m_heldFoes; }
    bool IsHoldingBack(ThingId foe) const { return m_heldFoes.count(foe) != 0; }
    void HoldBack(ThingId foe) { m_heldFoes.insert(foe); }
    // True the first time that a blow or a harm finds `actor` surrendered. Not
    // saved: a loaded game tells it once more.
    bool NoteSurrenderTold(ThingId actor) { return m_surrendersTold.insert(actor).second; }
    // The foe drops its fight where it stands and holds back.
    void HoldFoeBack(CActor& foe);
    void EndHold(ThingId foe) {
        m_heldFoes.erase(foe);
        m_reachedInMoment.erase(foe);
    }
    // A held foe a member walked into the reach of during a page's moment: it comes
    // on once the moment is over, though the member stopped there meanwhile.
    void NoteReachedInMoment(ThingId foe) { m_reachedInMoment.insert(foe); }
    bool WasReachedInMoment(ThingId foe) const { return m_reachedInMoment.count(foe) != 0; }
    // The holds end, and the calm and a page's moment with them.
    void EndAllHolds() {
        m_heldFoes.clear();
        m_reachedInMoment.clear();
        m_calmEnd = 0;
        m_pageMomentEnd = 0;
    }
    // A party that wakes is left a calm: until the tick `end`, every foe of its area
    // holds back however near the party comes, until the party strikes; 0 is none.
    // Saved with the game.
    std::uint32_t GetCalmEnd() const { return m_calmEnd; }
    void SetCalmEnd(std::uint32_t end) { m_calmEnd = end; }
    bool IsCalm() const { return m_tick < m_calmEnd; }
    // A page put before a party at rest leaves it a moment once it is closed: until
    // the tick `end` no foe held back comes on however near the party walks, and
    // none not yet turned turns. Not saved: the holds it guards are, and a game
    // loaded within it goes on as one whose moment is over.
    void SetPageMomentEnd(std::uint32_t end) { m_pageMomentEnd = std::max(m_pageMomentEnd, end); }
    bool IsPageMoment() const { return m_tick < m_pageMomentEnd; }
    // A conversation begins between a party member and an actor or object: the
    // interface opens it, and the members' orders are noted.
    void BeginTalk(ThingId talker, ThingId partner);
    // Whether a member was given an order since the last conversation began (true
    // before any): until then nobody walks up to the party to begin another.
    bool HasPartyActedSinceTalk() const;
    // Once a member has an order given since the last conversation began, the
    // party has acted, whatever becomes of the order: the engine notes it every tick.
    void NotePartyOrders();
    // How many conversations have begun since the game was made or loaded.
    std::uint32_t GetTalksBegun() const { return m_talksBegun; }
    // The ways out the party is seen walking to, each by its marker, with who walked
    // there and the conversations begun by then; the engine notes them every tick.
    struct WayOutWalk {
        ThingId marker = 0;
        std::set<ThingId> walkers;
        std::uint32_t talksBegun = 0;
    };
    std::map<ThingId, WayOutWalk>& GetWayOutWalks() { return m_wayOutWalks; }
    const std::map<ThingId, WayOutWalk>& GetWayOutWalks() const { return m_wayOutWalks; }
    // The walks go on in a loaded game, as their walkers' orders do (game_way_out.cpp):
    // a "wayout" element each, of its marker as a load finds it again, the
    // conversations begun since it was seen, and the walkers' serials.
    void WriteWayOutWalks(DRAVCommon::CDataFileWriter& writer) const;
    // Once the current area and every actor are read and numbered. Code 1 for more
    // walks or walkers than a party holds; a marker that is gone is no walk, and a
    // walk with no walkers left is one whose walkers wait there for the rest.
    void ReadWayOutWalk(DRAVCommon::CDataFileReader& reader);
    // The tutorial pages the interface has shown, by page number below 32, one bit
    // each: a page opens once a game. Saved with the game.
    bool WasTutorialShown(std::int32_t page) const {
        return page >= 0 && page < 32 && (m_tutorialsShown >> page & 1u) != 0;
    }
    void MarkTutorialShown(std::int32_t page) {
        if (page >= 0 && page < 32) m_tutorialsShown |= 1u << page;
    }
    std::uint32_t GetTutorialsShown() const { return m_tutorialsShown; }
    void SetTutorialsShown(std::uint32_t pages) { m_tutorialsShown = pages; }

    // ---- tags and journals ----
    // Quest tags by name; the rules engine sets them through SetQuestTag.
    TagMap& GetQuestTags() { return m_questTags; }
    const TagMap& GetQuestTags() const { return m_questTags; }
    // Present and not 0.
    bool IsQuestTagSet(const std::string& tag) const;
    // Code 2 for a name that is not one savable word; nothing is set then.
    void SetQuestTag(const std::string& tag, std::int32_t value);
    // Locations shown on the maps.
    TagMap& GetRevealedLocations() { return m_revealed; }
    const TagMap& GetRevealedLocations() const { return m_revealed; }
    // Marks a location revealed, with a message the first time. Code 2 for a name
    // that is not one savable word.
    void RevealArea(const std::string& location);
    // Appends an entry unless the same pair is there. Code 2 for keys that are not
    // savable words.
    void AddJournalEntry(const std::string& journalKey, const std::string& questKey);
    JournalState& GetJournal() { return m_journal; }
    const JournalState& GetJournal() const { return m_journal; }
    // Records what `partner` said in `area`; nothing for a partner without name word.
    void UpdatePeopleJournal(const CArea& area, const CActor& partner, const std::string& text);
    PeopleJournal& GetPeopleJournal() { return m_peopleJournal; }
    const PeopleJournal& GetPeopleJournal() const { return m_peopleJournal; }

    // The running stores shared by name, saved with the game.
    StoreMap& GetStores() { return m_stores; }
    const StoreMap& GetStores() const { return m_stores; }

    // ---- areas and maps (game_places.cpp) ----
    // The cached area, rebuilt, or the area read for the first time and cached; it
    // becomes the current area. Nothing is cached when the load fails.
    CArea* FindAndLoadArea(const std::string& lastArea, const std::string& name, const CModule& module);
    // Caches a loaded area under its name (a saved game's areas).
    void AddArea(std::shared_ptr<CArea> area);
    CArea* GetCurrentArea() const { return m_currentArea; }
    // Code 1 when the area is not cached; null clears it.
    void SetCurrentArea(const std::string& name);
    const AreaCache& GetAreas() const { return m_areas; }
    // The party has been placed in the current area, as a journey, a wake or a load
    // places it: its view is to be recomputed, and the placings are counted.
    void FlagCurrentAreaEntered();
    // How often the party has been placed so in this run of the game; not saved.
    // What the player chose for the place it stood in before is no choice here.
    std::uint32_t GetPlacings() const { return m_placings; }
    // The cached map, or the map file read and cached; areas the game has revealed
    // are marked known either way. Code 1 naming the file for a map area whose
    // entry area the module lacks.
    CMap2* FindAndLoadTempMap(const std::string& name, const CModule& module);
    CMap2* GetCurrentMap() const { return m_currentMap; }
    void SetCurrentMap(CMap2* map) { m_currentMap = map; }
    const MapCache& GetMaps() const { return m_maps; }

    // ---- texts and the calendar (game_text.cpp) ----
    // "PARTY" becomes a line per member and "MAINNAME" the main character's name;
    // whitespace runs become single blanks. Code 2 when the text grows past `limit`
    // bytes, found before it is filled in further; `text` is then left as it was.
    void ExpandText(std::string& text, std::size_t limit = std::string::npos) const;
    void SetCalendarBase(std::uint32_t year, std::uint32_t day, std::uint32_t hour);
    std::uint32_t GetBaseYear() const { return m_baseYear; }
    std::uint32_t GetBaseDay() const { return m_baseDay; }
    std::uint32_t GetBaseHour() const { return m_baseHour; }
    // Thirty-day months, twelve-month years; month 0 is January, days count from 1.
    void GetCalendarTime(std::uint32_t ticks, std::uint32_t& year, std::uint32_t& month, std::uint32_t& day,
                         std::uint32_t& hour, std::uint32_t& minute, std::uint32_t& second) const;
    // "January 1, 612 9:00am".
    std::string FormatDateTime(std::uint32_t ticks) const;

    // ---- events ----
    // The events for the interface, oldest first; the application drains them after
    // every tick.
    void PushEvent(std::shared_ptr<CEvent> event);
    // A line for the message log of kind `kind` (MessageKind).
    void PushMessage(std::int32_t kind, const std::string& text);
    // A notice that names nothing but that something changed, such as the journal:
    // one while the same still waits to be shown, however many changes one step made.
    void PushNoticeOnce(const std::string& text);
    // Actor `actor` changed in the way `code` says (EventCode 9-22).
    void PushActorInfoEvent(std::int32_t code, ThingId actor);
    // Takes the oldest event; false when there is none.
    bool PopEvent(std::shared_ptr<CEvent>& event);
    // How many wait to be taken.
    std::size_t GetEventCount() const { return m_events.size(); }
    using EventList = std::vector<std::shared_ptr<CEvent>>;
    // Whether `event` waits for the player (a question, a talk, an opened container,
    // a page) rather than telling of what happened.
    static bool IsWaitingEvent(const CEvent& event);
    // The events waiting for the player go on in a loaded game (game_waiting.cpp):
    // `held`, those the interface took and has not handled yet, then the game's own
    // queued ones, in a "waiting" element, none when nothing waits.
    void WriteWaitingEvents(DRAVCommon::CDataFileWriter& writer, const EventList& held) const;
    // Once the current area and every actor are read and numbered: queued again as
    // play raised them. One whose people are gone is no event.
    void ReadWaitingEvents(DRAVCommon::CDataFileReader& reader);

private:
    void RenumberParty(std::size_t from);

    std::int32_t m_stateCode = GAME_NOT_STARTED;
    AreaEntryPoint m_entry;
    std::string m_availableExitName;
    std::int32_t m_entryLoadType = 0;
    std::string m_entryExitText;
    std::string m_closingText;
    std::string m_ending;
    AreaEntryPoint m_resurrectionPoint;
    AreaEntryPoint m_returnPoint;
    AreaEntryPoint m_currentEntry;
    std::string m_lastArea;
    Difficulty m_difficulty = DIFFICULTY_CORE;
    ActorList m_party;
    ActorList m_nonLocatedActors;
    std::int32_t m_gold = 0;
    TagMap m_questTags;
    JournalState m_journal;
    PeopleJournal m_peopleJournal;
    TagMap m_revealed;
    StoreMap m_stores;
    CArea* m_currentArea = nullptr;
    AreaCache m_areas;
    CMap2* m_currentMap = nullptr;
    MapCache m_maps;
    CThingIdCounter m_thingSerialCounter{1};
    CThingIdCounter m_effectSerialCounter{1};
    // Saved serial -> id now, of the actors of the game this one was loaded from.
    std::map<std::uint32_t, ThingId> m_savedActorSerials;
    std::deque<std::shared_ptr<CEvent>> m_events;
    // Those of the queued events that PushNoticeOnce queued.
    std::vector<std::shared_ptr<const CMessageEvent>> m_onceNotices;
    std::uint32_t m_tick = 0;
    std::uint32_t m_baseYear = 0;
    std::uint32_t m_baseDay = 0;
    std::uint32_t m_baseHour = 0;
    std::uint32_t m_nextHeartbeatTick = 0;
    std::uint8_t m_inBattle = 0;
    bool m_fightUnderWay = false;
    bool m_wakingFromWipeOut = false;
    std::uint32_t m_arrivalsWithoutTick = 0;
    std::uint32_t m_placings = 0;
    std::set<ThingId> m_heldFoes;
    std::set<ThingId> m_surrendersTold;
    std::uint32_t m_calmEnd = 0;
    std::uint32_t m_pageMomentEnd = 0;
    std::set<ThingId> m_reachedInMoment;
    std::uint32_t m_tutorialsShown = 0;
    // The members' orders as the last conversation began, while the player has
    // given none since; not saved: a loaded game has begun no conversation.
    bool m_talkHeld = false;
    std::uint32_t m_talksBegun = 0;
    std::vector<std::shared_ptr<COrder>> m_ordersAtTalk;
    std::map<ThingId, WayOutWalk> m_wayOutWalks;
};

}  // namespace DRAV
