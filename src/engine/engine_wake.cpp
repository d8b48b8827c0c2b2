// A party that arrives, or is back from a wipe-out, comes in peace: the foes of the
// area go back to their posts and hold back until the party comes to them or fights,
// so that a party which only stands up, or only stepped in, is never struck before
// it can act. Whatever way it came (a way out, the map, a script's journey, the
// wake), it enters through EnterArea and so through this; only a journey that
// fails puts it back where it stood, in the moment it left. A page put before a
// party at rest holds the foes back where they stand in the same way. Foes that
// come on where the party already stands, an ambush sprung, are foes from the first.
// Every friend an encounter placed goes back to its post too, whatever took it away.
// A party back from a wipe-out, promised it wakes ready to adventure again, is left
// a calm besides: for half a minute no foe comes for it, however near it walks and
// whatever turns on it meanwhile, unless it strikes first.

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "engine/brain/brain.h"
#include "engine/engine.h"
#include "engine/holding_reach.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/area/area_records.h"
#include "world/area/patch.h"
#include "world/cell.h"
#include "world/game.h"

namespace DRAV {
namespace {

// One farther than this from its post has left it.
constexpr double kAtPostDistance = 3 * kCellSize;
// The party comes in spread round its entry's cell: a foe this near the entry
// would stand in the reach of a member's first step.
constexpr double kEntryClearance = kHoldingReach + 2 * kCellSize;

}  // namespace

// The hours of rest before the wake calm a roused foe back to its brain's waiting,
// wherever the fight left it: one waiting so is held back as a foe is.
bool CEngine::IsFoeToHoldBack(const CActor& actor) { return actor.IsFoe(); }

// One waiting to turn on a party that comes near is upon it already when the party,
// or a friend of it, stands in its reach: it would turn the moment the game runs,
// seen by then or not, for the party's first look shows whoever stands that near.
bool CEngine::IsUponTheParty(CProximityWatchers& watchers, const CActor& foe) {
    return foe.IsHostile() || watchers.AnyWithin(foe, foe.GetBrain()->GetProximityRange());
}

void CEngine::StandDownFoes(CArea& area, bool waking, const std::string& entryName) {
    CGame& game = Game();
    const CAreaEntry* entry = FindAreaEntry(area.GetEntries(), entryName);
    const double entryX = entry ? (entry->column + 0.5) * kCellSize : 0.0;
    const double entryY = entry ? (entry->row + 0.5) * kCellSize : 0.0;
    if (waking)
        game.SetCalmEnd(static_cast<std::uint32_t>(
            std::min<std::uint64_t>(std::uint64_t{game.GetTick()} + kWakeCalmTicks, UINT32_MAX)));
    for (const auto& guard : ActorList(area.GetActors())) {
        if (!guard->IsAlive()) continue;
        const bool foe = IsFoeToHoldBack(*guard);
        const std::shared_ptr<CBrain> brain = guard->GetBrain();
        // One that turns only when struck may have been struck and have chased the
        // party out, and the hours away calm it before the party is back: it goes
        // back to its post all the same, on guard as before.
        // A friend away from its post, for whatever reason, goes back to it: one left
        // where the party last stood may be at the post of a foe waiting for whoever
        // comes near, which would turn on it the moment the party came in, and on the
        // party next.
        const bool friendly = guard->GetRelation() == RELATION_FRIENDLY;
        if (!foe && !friendly && !(guard->GetRelation() == RELATION_NEUTRAL && brain && brain->IsHostileWhenAttacked()))
            continue;
        // Who left its post goes back to where its encounter placed it, and so does one
        // left standing where the party's first step would rouse it. A fellow of a
        // group has a post of its own round the encounter's place: measured from that
        // place, one could stand the group's width off where the party first saw it.
        if (guard->GetEncounterName().empty()) continue;
        const CPatchActionEncounter* encounter = area.FindEncounterIfAny(guard->GetEncounterName());
        if (!encounter) continue;
        const double width = area.GetColumns() * kCellSize, height = area.GetRows() * kCellSize;
        const bool ownPost = guard->HasPost() && guard->GetPostX() >= 0.0 && guard->GetPostX() < width &&
                             guard->GetPostY() >= 0.0 && guard->GetPostY() < height;
        const double postX = ownPost ? guard->GetPostX() : (encounter->column + 0.5) * kCellSize;
        const double postY = ownPost ? guard->GetPostY() : (encounter->row + 0.5) * kCellSize;
        const auto column = static_cast<std::uint32_t>(postX / kCellSize);
        const auto row = static_cast<std::uint32_t>(postY / kCellSize);
        const bool byTheEntry = entry && guard->DistanceToPoint(entryX, entryY) <= kEntryClearance &&
                                guard->DistanceToPoint(entryX, entryY) < std::hypot(postX - entryX, postY - entryY);
        if (guard->DistanceToPoint(postX, postY) <= kAtPostDistance && !byTheEntry) continue;
        std::shared_ptr<CActor> moved = area.RemoveActor(*guard);
        if (!area.PlaceActor(column, row, false, moved)) area.AddActor(std::move(moved));
    }
}

void CEngine::HoldFoesUponTheParty(CArea& area, bool waking) {
    // Once everyone, the party too, stands where the game will find them: what
    // holds is judged from where each stands and what each is, never from what
    // turned a foe or when. One turned on the party comes for it at once, however
    // far; one not yet turned waits at its post as its brain says, unless a member
    // or a friend stands in its reach: set down there by the entry, or one the
    // party called, which has no post to go back to, it would turn the moment the
    // game runs, and come for a party that has done nothing yet.
    CGame& game = Game();
    CProximityWatchers watchers(area);
    for (const auto& guard : area.GetActors())
        if (guard->IsAlive() && IsFoeToHoldBack(*guard) && (waking || IsUponTheParty(watchers, *guard)))
            game.HoldFoeBack(*guard);
}

std::set<ThingId> CEngine::ActorsOf(const CArea& area) {
    std::set<ThingId> ids;
    for (const auto& actor : area.GetActors()) ids.insert(actor->GetId());
    return ids;
}

void CEngine::RouseSprungFoes(CArea& area, const std::set<ThingId>& before) {
    for (const auto& actor : ActorList(area.GetActors())) {
        const std::shared_ptr<CBrain> brain = actor->GetBrain();
        // Only one that waits to turn on the party: a friend or a bystander comes on as it is.
        if (before.count(actor->GetId()) || actor->GetRelation() != RELATION_NEUTRAL || !brain ||
            !IsFoeToHoldBack(*actor))
            continue;
        brain->TriggerAmbush(*actor);
        AIFireTags(*actor, *brain);
    }
}

bool CEngine::KeepsHoldingBack(CActor& foe) {
    CGame& game = Game();
    if (!game.IsHoldingBack(foe.GetId())) {
        // In the calm a foe that turns, by a member passing, an alarm or a tag, or is
        // sprung on the party, or that someone else's blow freed, holds back as those
        // there at the wake do: loose, it would go for a party that has had no time
        // to act. So does one turned by a script in a page's moment.
        const bool holds = game.IsCalm() ? IsFoeToHoldBack(foe) : game.IsPageMoment() && foe.IsHostile();
        if (!holds) return false;
        game.HoldFoeBack(foe);
        return true;
    }
    if (game.IsCalm()) return true;
    // Only one that acts comes into its reach: a party woken beside a foe's post
    // has done nothing yet.
    const bool reached = std::any_of(game.PartyMembers().begin(), game.PartyMembers().end(), [&](const auto& member) {
        return member->IsAlive() && member->GetArea() == foe.GetArea() && member->GetCurrentOrder() &&
               member->IsWithin(foe, kHoldingReach);
    });
    if (game.IsPageMoment()) {
        // A walk that ends in its reach while the page's words are read was the
        // player's to call off: the foe comes on as the moment ends.
        if (reached) game.NoteReachedInMoment(foe.GetId());
        return true;
    }
    if (!reached && !game.WasReachedInMoment(foe.GetId())) return true;
    game.EndHold(foe.GetId());
    return false;
}

void CEngine::HoldFoesBackForPage() {
    CGame& game = Game();
    if (game.IsFightUnderWay() || !game.GetCurrentArea()) return;
    CArea& area = *game.GetCurrentArea();
    CProximityWatchers watchers(area);
    for (const auto& actor : area.GetActors())
        if (actor->IsAlive() && IsFoeToHoldBack(*actor) && IsUponTheParty(watchers, *actor)) game.HoldFoeBack(*actor);
    // The walk the page broke into goes on as it closes: a member walking on into a
    // held foe's reach, or into the reach of one not yet turned, would be struck
    // before the player has read the page's words and could call the walk off.
    game.SetPageMomentEnd(static_cast<std::uint32_t>(
        std::min<std::uint64_t>(std::uint64_t{game.GetTick()} + kPageMomentTicks, UINT32_MAX)));
}

}  // namespace DRAV
