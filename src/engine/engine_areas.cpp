// The cycle between areas: leaving, resting, choosing a destination and entering
// it at a named entry. The application stops the tick loop while it runs.

#include <algorithm>
#include <exception>
#include <random>
#include <vector>

#include "common/exception.h"
#include "common/random.h"
#include "common/trace.h"
#include "engine/engine.h"
#include "rules/definitions/travel_hours.h"
#include "rules/module.h"
#include "script/script.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/area/build_need.h"
#include "world/cell.h"
#include "world/movement/pathfind.h"

namespace DRAV {
namespace {

constexpr std::uint32_t kRestHours = 8;
constexpr std::uint32_t kRestTicks = kRestHours * kTicksPerTravelHour;
// Arrivals in a row, each sent on by its entry's script before a tick could run,
// after which the next journey asked is not made. Real chains are a hop or two;
// an entry that always sends the party on would go round for ever, and every
// journey saves, rests pass eight hours and travel its own.
constexpr std::uint32_t kMostArrivalsWithoutTick = 16;

bool IsAlive(const CActor& actor) { return actor.GetActionState() != ACTION_DEAD; }

std::pair<std::uint32_t, std::uint32_t> CellOf(const CActor& actor) {
    return {static_cast<std::uint32_t>(std::max(0.0, actor.GetX()) / kCellSize),
            static_cast<std::uint32_t>(std::max(0.0, actor.GetY()) / kCellSize)};
}

// Whether a living member of the party's own would leave the area, which it then goes back to.
bool HasOwnSurvivor(const CGame& game) {
    const ActorList party = game.GetParty();
    return std::any_of(party.begin(), party.end(),
                       [](const auto& member) { return IsAlive(*member) && !member->IsSummoned(); });
}

}  // namespace

bool CEngine::GetAvailableExit(AreaEntryPoint& destination) {
    CGame& game = Game();
    destination = game.GetEntry();
    // The script of the exit on offer decides; a script's own travel (state 3)
    // and an exit without a script are always open.
    if (game.GetStateCode() != GAME_EXIT_AVAILABLE || !game.GetCurrentArea()) return true;
    const CAreaExit* exit = FindAreaExit(CurrentArea().GetExits(), game.GetAvailableExitName());
    if (!exit || !exit->script) return true;
    CScriptContext context;
    context.resultRequired = true;
    return exit->script->Eval(this, context) != 0;
}

void CEngine::CheckAreaEntry(const AreaEntryPoint& place) const {
    const auto& [areaName, entryName] = place;
    std::vector<std::string> names;
    const CArea* current = Game().GetCurrentArea();
    if (current && current->GetName() == areaName) {
        for (const auto& entry : current->GetEntries()) names.push_back(entry->name);
    } else {
        names = Module().GetAreaEntryNames(areaName);
    }
    const bool found = entryName.empty() ? !names.empty()
                                         : std::find(names.begin(), names.end(), entryName) != names.end();
    if (!found)
        throw CDRAVException(DRAV_ERR_BAD_DATA, "area \"" + areaName + "\" has no entry \"" + entryName + "\"");
}

CMap2* CEngine::CheckJourney(const AreaEntryPoint& destination) {
    if (destination.second.empty()) return Game().FindAndLoadTempMap(destination.first, Module());
    CheckAreaEntry(destination);
    return nullptr;
}

CMap2* CEngine::CheckDestination(const AreaEntryPoint& chosen) {
    CGame& game = Game();
    const std::int32_t state = game.GetStateCode();
    CMap2* map = nullptr;
    if (state == GAME_EXIT_AVAILABLE || state == GAME_TRAVEL) map = CheckJourney(game.GetEntry());
    else if (state == GAME_WIPED_OUT) CheckAreaEntry(game.GetEntry());
    else return nullptr;
    // Through a map the destination is the place chosen on it, or is chosen later:
    // EnterArea asks for it then.
    std::string destination = game.GetEntry().first;
    if (map) {
        destination = chosen.first;
        if (!destination.empty()) CheckAreaEntry(chosen);
    }
    const CArea* here = game.GetCurrentArea();
    const std::string wayBack = here && HasOwnSurvivor(game) ? here->GetName() : std::string();
    // The calendar first: a party wiped out that the game cannot number a place for
    // still rests before it wakes where it fell.
    RequireTimeForJourney(destination, wayBack, state == GAME_WIPED_OUT);
    RequireSerialsForJourney(destination, wayBack);
    return map;
}

void CEngine::RequireTimeForJourney(const std::string& destination, const std::string& fromArea, bool resting) const {
    // The hours the area's file names for the way from `fromArea`, as its load passes them.
    const std::uint32_t travel = destination.empty() || fromArea.empty() || fromArea == destination
                                     ? 0
                                     : Module().GetTravelHours(destination).From(fromArea);
    const std::string what = !resting ? "The journey" : travel ? "The rest and the journey" : "The rest";
    Game().RequireTimeToPass((std::uint64_t{resting ? kRestHours : 0} + travel) * kTicksPerTravelHour, what);
}

void CEngine::RequireSerialsForJourney(const std::string& destination, const std::string& wayBack) {
    const CGame& game = Game();
    std::uint64_t need = 0;
    for (const std::string& name : {destination, wayBack}) {
        if (name.empty()) continue;
        auto found = m_buildNeeds.find(name);
        if (found == m_buildNeeds.end())
            found = m_buildNeeds.emplace(name, MostSerialsABuildTakes(Module(), name)).first;
        need += found->second;
        // An area built before brings back the piles it keeps, and its objects at most.
        const auto cached = game.GetAreas().find(name);
        if (cached != game.GetAreas().end() && cached->second)
            need += cached->second->GetObjects().size() + cached->second->GetItemStacks().size();
    }
    if (need > game.GetThingSerialsLeft())
        throw CThingSerialsSpent("the game has too few numbers left for the things it may make there: save the game "
                                 "and load it to number its things anew");
}

void CEngine::CancelTravel() { Game().SetStateCode(GAME_PLAYING); }

void CEngine::LeaveArea() {
    CGame& game = Game();
    CArea& area = CurrentArea();
    // A destination that cannot be reached is found while the party still stands
    // in the area it can stay in.
    CMap2* map = CheckDestination();
    const bool travelling = game.GetStateCode() == GAME_EXIT_AVAILABLE || game.GetStateCode() == GAME_TRAVEL;

    RemoveDeadActors();
    area.MakeInactive();
    bool ownSurvivor = false;
    for (const auto& member : game.GetParty()) {
        if (IsAlive(*member)) {
            game.AddNonLocatedActor(area.RemoveActor(*member));
            if (!member->IsSummoned()) ownSurvivor = true;
        }
        member->ClearOrders();
        member->SetLeaveFlag(true);
        member->EndPower();
    }
    game.SetLastArea(ownSurvivor ? area.GetName() : std::string());
    game.SetCurrentArea("");
    // Foes hold back only where the party woke, and only while it stays.
    game.EndAllHolds();

    if (travelling) {
        if (map) {
            game.SetCurrentMap(map);
            game.SetStateCode(GAME_ON_MAP);
        } else {
            game.SetStateCode(GAME_ENTERING);
        }
    } else {
        game.SetStateCode(GAME_RESTING);
    }
}

void CEngine::RestParty() {
    RequireState(GAME_RESTING);
    CGame& game = Game();
    // First, so that a rest the calendar has no room for changes nothing.
    game.PassTime(kRestTicks, "The rest");
    bool standing = false;
    for (const auto& member : game.GetParty())
        if (IsAlive(*member) && !member->IsSummoned()) standing = true;
    game.SetWakingFromWipeOut(!standing);
    for (const auto& member : game.GetParty()) {
        if (!IsAlive(*member)) game.PushMessage(MESSAGE_NOTICE, member->GetName() + " is resurrected.");
        else if (member->GetDamageTaken() > 0) game.PushMessage(MESSAGE_NOTICE, member->GetName() + " is healed.");
        member->RestoreFully();
    }
    game.PushMessage(MESSAGE_NOTICE,
                     "The party has rested and healed for " + std::to_string(kRestHours) + " hours.");
    game.SetStateCode(GAME_ENTERING);
}

void CEngine::SetEntry(const AreaEntryPoint& entry) {
    RequireState(GAME_ON_MAP);
    DRAV_TRACE(DRAVCommon::TRACE_LOW, "Entry (%s %s) selected.\n", entry.first.c_str(), entry.second.c_str());
    Game().SetEntry(entry, AREA_LOAD_FRESH, "");
    Game().SetStateCode(GAME_ENTERING);
}

void CEngine::EnterArea() {
    RequireState(GAME_ENTERING);
    CGame& game = Game();
    const CModule& module = Module();
    const AreaEntryPoint destination = game.GetEntry();
    DRAV_TRACE(DRAVCommon::TRACE_LOW, "Enter area %s %s.\n", destination.first.c_str(), destination.second.c_str());

    // Nothing of the game changes until the area, its entry and a place for every
    // living member are known: a failure leaves the party waiting to enter.
    RequireSerialsForJourney(destination.first, game.GetLastArea());
    const std::uint32_t tickBefore = game.GetTick();  // travel adds hours while loading
    const auto cached = game.GetAreas().find(destination.first);
    try {
        if (cached != game.GetAreas().end() && cached->second) {
            CArea& area = *cached->second;
            area.Reactivate(game.GetLastArea(), module);
            try {
                // Foes that chased the party out go back before it comes in by the same way.
                StandDownFoes(area, game.IsWakingFromWipeOut(), destination.second);
                PlaceParty(area, destination.second);
                HoldFoesUponTheParty(area, game.IsWakingFromWipeOut());
            } catch (...) {
                area.MakeInactive();
                throw;
            }
            game.SetCurrentArea(area.GetName());
        } else {
            auto area = std::make_shared<CArea>(&game);
            area->LoadAreaFile(game.GetLastArea(), destination.first, module, AREA_LOAD_FRESH, false);
            StandDownFoes(*area, game.IsWakingFromWipeOut(), destination.second);
            PlaceParty(*area, destination.second);
            HoldFoesUponTheParty(*area, game.IsWakingFromWipeOut());
            game.AddArea(area);
            game.SetCurrentArea(area->GetName());
        }
    } catch (...) {
        game.SetTick(tickBefore);
        game.EndAllHolds();
        throw;
    }

    // The journey is told once the party has come: one that failed on the way gave
    // its hours back, and says nothing.
    const std::string journey = CurrentArea().GetJourneyText();
    if (!journey.empty()) game.PushMessage(MESSAGE_NOTICE, journey);
    // The default entry is known by its own name from here on.
    const AreaEntryPoint entered{destination.first, FindAreaEntry(CurrentArea().GetEntries(), destination.second)->name};
    game.SetCurrentEntry(entered);
    game.SetStateCode(GAME_PLAYING);
    game.SetInBattle(false);
    game.SetWakingFromWipeOut(false);
    game.FlagCurrentAreaEntered();
    ResetHeartbeatTimer();
    if (entered.first != game.GetReturnPoint().first) game.SetReturnPoint(entered);
    game.CountArrival();
    // The party has arrived whatever its entry script does: a broken one is
    // reported once the area is entered, not instead of entering it.
    std::exception_ptr scriptFailure = HoldScriptError([&] { RunEntryScript(entered.second); });
    const std::int32_t asked = game.GetStateCode();
    if ((asked == GAME_TRAVEL || asked == GAME_WIPED_OUT) &&
        game.GetArrivalsWithoutTick() >= kMostArrivalsWithoutTick) {
        CancelTravel();
        const CAreaEntry* entry = FindAreaEntry(CurrentArea().GetEntries(), entered.second);
        const std::string origin = entry && entry->script && !entry->script->GetOrigin().empty()
                                       ? entry->script->GetOrigin()
                                       : "area \"" + entered.first + "\", entry \"" + entered.second + "\"";
        scriptFailure = std::make_exception_ptr(CDRAVException(
            DRAV_ERR_SCRIPT, origin + ": the party has been sent on " + std::to_string(kMostArrivalsWithoutTick) +
                                 " times in a row as it arrived, without a moment between: it stays here"));
    }
    // A journey, a rest or the end the script asked for waits for the shell: the
    // tick after the entry would start from state 0 and drop it.
    if (game.GetStateCode() == GAME_PLAYING) {
        CheckForExits();
        RunTick();
    }
    if (scriptFailure) std::rethrow_exception(scriptFailure);
}

void CEngine::ReturnToLastArea() {
    RequireState(GAME_ENTERING);
    CGame& game = Game();
    const std::string name = game.GetLastArea();
    const auto cached = game.GetAreas().find(name);
    if (name.empty() || cached == game.GetAreas().end() || !cached->second)
        throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "the party left no area to go back to");
    CArea& area = *cached->second;
    // Coming back from itself: no travel hours, and no time has passed to respawn it.
    area.Reactivate(name, Module());
    try {
        PlaceParty(area, CellOf, "the place it left");
    } catch (...) {
        area.MakeInactive();
        throw;
    }
    game.SetCurrentArea(name);
    game.SetStateCode(GAME_PLAYING);
    game.FlagCurrentAreaEntered();
}

void CEngine::WakeWhereFallen() {
    RequireState(GAME_WIPED_OUT);
    CGame& game = Game();
    game.RequireTimeToPass(kRestTicks, "The rest");
    CArea& area = CurrentArea();
    // The fallen wait outside the area; those still standing join them, and all
    // rest and come back where they were, as after a journey given up.
    for (const auto& member : game.GetParty()) {
        if (area.FindActor(member->GetId()) != member.get()) continue;
        member->ClearOrders();
        game.AddNonLocatedActor(area.RemoveActor(*member));
    }
    game.SetStateCode(GAME_RESTING);
    RestParty();
    PlaceParty(area, CellOf, "where it fell");
    StandDownFoes(area, true, "");
    HoldFoesUponTheParty(area, true);
    game.SetStateCode(GAME_PLAYING);
    game.SetWakingFromWipeOut(false);
    game.FlagCurrentAreaEntered();
}

void CEngine::RunEntryScript(const std::string& entryName) {
    const CAreaEntry* entry = FindAreaEntry(CurrentArea().GetEntries(), entryName);
    if (!entry || !entry->script) return;
    CScriptContext context;
    for (const auto& member : Game().GetParty()) {
        if (!IsAlive(*member)) continue;
        context.actor = member.get();
        break;
    }
    entry->script->Eval(this, context);
}

void CEngine::PlacePartyAtEntry(const std::string& entryName) { PlaceParty(CurrentArea(), entryName); }

std::string CEngine::MovePartyToEntry(CArea& area, const std::string& entryName) {
    CGame& game = Game();
    const ActorList before = area.GetActors();
    struct Stood {
        std::shared_ptr<CActor> member;
        double x, y, facing;
    };
    std::vector<Stood> stood;
    for (const auto& member : game.GetParty()) {
        if (!IsAlive(*member) || area.FindActor(member->GetId()) != member.get()) continue;
        stood.push_back({member, member->GetX(), member->GetY(), member->GetFacing()});
        game.AddNonLocatedActor(area.RemoveActor(*member));
    }
    // The placing draws on the rules' rolls; a refused move leaves those as they were too.
    const std::mt19937 rolls = DRAVCommon::GetRandomEngine();
    try {
        PlaceParty(area, entryName);
        return "";
    } catch (const CDRAVException& failure) {
        for (const Stood& back : stood) {
            game.RemoveNonLocatedActor(*back.member);
            back.member->SetPosition(back.x, back.y);
            back.member->SetFacing(back.facing);
        }
        area.RestoreActors(before);
        DRAVCommon::GetRandomEngine() = rolls;
        return failure.GetMessage();
    }
}

void CEngine::PlacePartyAt(const CAreaEntry& entry) { PlaceParty(CurrentArea(), entry); }

void CEngine::PlaceParty(CArea& area, const std::string& entryName) {
    const CAreaEntry* entry = FindAreaEntry(area.GetEntries(), entryName);
    // The entry's name came from a start, an exit, a map or a script; the area's
    // own file is the one place all of them can be checked against.
    if (!entry)
        throw CDRAVException(DRAV_ERR_BAD_DATA, area.GetName() + ".drav: area \"" + area.GetName() +
                                                    "\" has no entry \"" + entryName + "\"");
    PlaceParty(area, *entry);
}

void CEngine::PlaceParty(CArea& area, const CAreaEntry& entry) {
    PlaceParty(
        area, [&entry](const CActor&) { return std::make_pair(entry.column, entry.row); },
        "entry \"" + entry.name + "\"");
}

void CEngine::PlaceParty(CArea& area,
                         const std::function<std::pair<std::uint32_t, std::uint32_t>(const CActor&)>& cellOf,
                         const std::string& where) {
    CGame& game = Game();
    ActorList living;
    for (const auto& member : game.GetParty()) {
        if (!IsAlive(*member)) continue;
        bool travelling = false;
        for (const auto& other : game.GetNonLocatedActors()) travelling = travelling || other == member;
        if (!travelling)
            throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, member->GetName() + " is not waiting to be placed");
        living.push_back(member);
    }
    // All or nobody: members placed before a failure go back to waiting.
    ActorList placed;
    for (const auto& member : living) {
        const auto [column, row] = cellOf(*member);
        if (!area.PlaceActor(column, row, false, member)) {
            for (const auto& back : placed) area.RemoveActor(*back);
            throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "no room for " + member->GetName() + " at " + where +
                                                            " of area \"" + area.GetName() + "\"");
        }
        placed.push_back(member);
    }
    for (const auto& member : placed) game.RemoveNonLocatedActor(*member);
}

}  // namespace DRAV
