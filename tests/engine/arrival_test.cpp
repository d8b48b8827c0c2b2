// A party of three, a new hero and two ferrymen, arrives by every entry of each
// chapter's areas at every stage and stands a game minute, over a few seeds so that
// the companions stand on every side of the entry. Areas, entries and the tags that
// move people are read from the module, so that one added later has its rows too.
// Each stage comes five times: fresh; after a visit that roused the area's foes,
// who chased the party out by the entry it comes back by, soon after or once a
// long absence has calmed them; after one that left a friend of the party
// standing at the post of a foe that waits for whoever comes near; and after one
// that left a wisp it called fighting a foe, standing then until the player can act;
// and once more by each entry with the foe waiting to turn nearest it posted a step
// from it, as a module may post one, so that the party comes within its reach.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <deque>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "common/random.h"
#include "engine/brain/brain.h"
#include "engine/spell_words.h"
#include "rules/definitions/travel_map.h"
#include "rules/magic/spell_effects_conjure.h"
#include "support/sample_game.h"
#include "support/sample_save.h"
#include "world/area/area_records.h"
#include "world/area/patch.h"
#include "world/cell.h"
#include "world/order.h"

using namespace DRAV;
using QuillmereTest::SampleGame;

namespace {

constexpr int kGameMinute = 60 * 30;
// A fight the party left going on goes its way once the player can act.
constexpr int kBeforeThePlayerActs = 3 * 30;
constexpr std::uint32_t kSeeds[] = {1, 2, 3, 4, 5};

struct Arrival {
    int chapter;
    std::string area;
    std::string entry;
    std::vector<std::string> tags;  // set before the party comes
    std::string advanced;           // an encounter found at its last stage, or none
    int roused = 0;                 // its foes turned on an earlier visit; 2: and calmed since;
                                    // 3: its friends left at a waiting foe's post; 4: a friend
                                    // the party called left fighting a foe; 5: a foe waiting
                                    // to turn posted a step from the entry
};

std::string Describe(const Arrival& arrival) {
    std::string text = "chapter " + std::to_string(arrival.chapter) + ", " + arrival.area + " by " + arrival.entry;
    for (const auto& tag : arrival.tags) text += " +" + tag;
    if (!arrival.advanced.empty()) text += ", " + arrival.advanced + " at its last stage";
    static const char* const kVisits[] = {"", ", its foes roused before", ", its foes roused and calmed",
                                          ", its friends left at a waiting foe's post",
                                          ", a wisp it called left fighting a foe",
                                          ", a foe waiting to turn posted a step from it"};
    text += kVisits[arrival.roused];
    return text;
}

SampleGame NewGame(int chapter) {
    if (chapter == 1) return SampleGame();
    return SampleGame(chapter, [](CActor& hero) { hero.SetName("Wren"); });
}

// Every encounter the area places, from the start or by a patch, with the tag of
// the patch that brings it (empty for none).
std::vector<std::pair<const CPatchActionEncounter*, std::string>> Encounters(CArea& area) {
    std::vector<std::pair<const CPatchActionEncounter*, std::string>> found;
    for (const auto& encounter : area.GetEncounters()) found.emplace_back(&encounter, "");
    for (const auto& patch : area.GetPatches())
        for (const auto& action : patch->GetActions())
            if (action->GetType() == PATCH_ENCOUNTER)
                found.emplace_back(static_cast<const CPatchActionEncounter*>(action.get()), patch->GetTriggerTag());
    return found;
}

// The rows of one chapter: its areas are those its start area leads to, by its
// ways out and the travel maps they open; at each entry of each, the party comes
// with no tag set, with each tag that patches an area or ends an encounter of it,
// with all of them, and with each encounter of several stages at its last.
std::vector<Arrival> Arrivals(int chapter) {
    const SampleGame game = NewGame(chapter);
    std::vector<Arrival> rows;
    std::set<std::string> known{game.Area().GetName()};
    std::deque<std::string> pending{game.Area().GetName()};
    const auto reach = [&](const std::string& name) {
        if (known.insert(name).second) pending.push_back(name);
    };
    while (!pending.empty()) {
        const std::string name = pending.front();
        pending.pop_front();
        CArea area(&game.Game());
        area.LoadAreaFile("", name, game.Module(), AREA_LOAD_FRESH, false);
        for (const auto& exit : area.GetExits()) {
            if (!exit->destinationEntry.empty()) {
                reach(exit->destinationArea);
                continue;
            }
            for (const auto& place : game.Game().FindAndLoadTempMap(exit->destinationArea, game.Module())->GetAreas())
                reach(place->GetEntryArea());
        }
        std::set<std::string> tags;
        for (const auto& patch : area.GetPatches()) tags.insert(patch->GetTriggerTag());
        for (const auto& [encounter, tag] : Encounters(area))
            if (!encounter->quest.empty()) tags.insert(encounter->quest);
        for (const auto& entry : area.GetEntries()) {
            rows.push_back({chapter, name, entry->name, {}, ""});
            for (const auto& tag : tags) rows.push_back({chapter, name, entry->name, {tag}, ""});
            if (tags.size() > 1) rows.push_back({chapter, name, entry->name, {tags.begin(), tags.end()}, ""});
            for (const auto& [encounter, tag] : Encounters(area)) {
                if (encounter->stages.size() < 2) continue;
                std::vector<std::string> needed;
                if (!tag.empty()) needed.push_back(tag);
                rows.push_back({chapter, name, entry->name, needed, encounter->name});
            }
        }
    }
    const std::size_t fresh = rows.size();
    // Only a chapter with a wisp to call leaves one behind.
    const int stages = game.Module().GetSpells().count("call_wisp") ? 4 : 3;
    for (int roused = 1; roused <= stages; ++roused)
        for (std::size_t row = 0; row < fresh; ++row) {
            rows.push_back(rows[row]);
            rows.back().roused = roused;
        }
    // A post by the entry does not hang on tags: once for each entry.
    for (std::size_t row = 0; row < fresh; ++row)
        if (rows[row].tags.empty() && rows[row].advanced.empty()) {
            rows.push_back(rows[row]);
            rows.back().roused = 5;
        }
    return rows;
}

// Whether `id` is a living member of the party.
bool Present(const SampleGame& game, ThingId id) {
    for (const auto& member : game.Game().GetParty())
        if (member->GetId() == id && member->IsAlive()) return true;
    return false;
}

// Whom the actor's current order strikes at or casts on; 0 when nobody.
ThingId TargetOf(const CActor& actor) {
    const std::shared_ptr<COrder> order = actor.GetCurrentOrder();
    if (const auto* attack = dynamic_cast<const CAttackOrder*>(order.get())) return attack->target;
    if (const auto* cast = dynamic_cast<const CCastOrder*>(order.get())) return cast->target;
    if (const auto* use = dynamic_cast<const CUseOrder*>(order.get())) return use->target;
    return 0;
}

// A friend of the party who followed it, as Marra's wisp, stays where the party
// last walked: here by the post of a foe that waits for whoever comes near, the
// whole area seen. False when one had no room there.
bool LeaveFriendsAtAFoesPost(CArea& area) {
    const CPatchActionEncounter* post = nullptr;
    for (const auto& actor : area.GetActors())
        if (const std::shared_ptr<CBrain> brain = actor->GetBrain();
            !post && brain && brain->GetProximityRange() > 0.0 && actor->GetRelation() == RELATION_NEUTRAL)
            post = area.FindEncounterIfAny(actor->GetEncounterName());
    if (!post) return true;
    for (std::uint32_t row = 0; row < area.GetRows(); ++row)
        for (std::uint32_t column = 0; column < area.GetColumns(); ++column) area.GetSeenCells().Set(column, row, true);
    for (const auto& actor : ActorList(area.GetActors())) {
        if (actor->GetRelation() != RELATION_FRIENDLY || actor->GetEncounterName().empty()) continue;
        std::shared_ptr<CActor> friendly = area.RemoveActor(*actor);
        if (!area.PlaceActor(post->column, post->row, false, friendly)) return false;
    }
    return true;
}

// The party called a wisp by the foe nearest its entry and went, the two fighting,
// until the wisp's hour ran out. The ticks away; none when the wisp had no room.
std::optional<std::uint32_t> LeaveACalledWispFighting(const SampleGame& game, const CAreaEntry& entry) {
    const double entryX = (entry.column + 0.5) * kCellSize, entryY = (entry.row + 0.5) * kCellSize;
    CActor* foe = nullptr;
    for (const auto& actor : game.Area().GetActors())
        if (actor->IsAlive() && actor->IsFoe() &&
            (!foe || actor->DistanceToPoint(entryX, entryY) < foe->DistanceToPoint(entryX, entryY)))
            foe = actor.get();
    if (!foe) return 0;
    const CSpell& spell = *game.Module().GetSpells().at("call_wisp");
    game.Engine().ResolveSummon(CSpellWords({game.Main()->GetName(), game.Main()->GetId(), false}, spell),
                                static_cast<std::int32_t>(foe->GetX() / kCellSize),
                                static_cast<std::int32_t>(foe->GetY() / kCellSize), true,
                                static_cast<const CSpellEffectSummon&>(*spell.GetEffects().front()), 1);
    CActor* wisp = nullptr;
    for (const auto& actor : game.Area().GetActors())
        if (actor->IsSummoned() && actor->GetTemplateName() == "marsh_wisp") wisp = actor.get();
    if (!wisp) return std::nullopt;
    foe->SetRelation(RELATION_HOSTILE);
    foe->PushOrder(std::make_shared<CAttackOrder>(wisp->GetId()), false);
    wisp->PushOrder(std::make_shared<CAttackOrder>(foe->GetId()), false);
    return wisp->GetSummonEndTick() - game.Game().GetTick();
}

// The foe waiting to turn nearest the entry, as a module may post one, stands a
// cell beside it, the party's coming within its reach. False when it had no room.
bool PostAWaitingFoeByTheEntry(CArea& area, const CAreaEntry& entry) {
    const double entryX = (entry.column + 0.5) * kCellSize, entryY = (entry.row + 0.5) * kCellSize;
    CActor* foe = nullptr;
    for (const auto& actor : area.GetActors())
        if (actor->IsAlive() && actor->WaitsToTurn() && actor->GetBrain()->GetProximityRange() > kCellSize &&
            (!foe || actor->DistanceToPoint(entryX, entryY) < foe->DistanceToPoint(entryX, entryY)))
            foe = actor.get();
    if (!foe) return true;
    std::shared_ptr<CActor> posted = area.RemoveActor(*foe);
    for (const auto& [column, row] : {std::pair{entry.column + 1, entry.row}, {entry.column - 1, entry.row},
                                      {entry.column, entry.row + 1}, {entry.column, entry.row - 1}})
        if (column < area.GetColumns() && row < area.GetRows() && area.PlaceActor(column, row, false, posted)) {
            posted->SetPost(posted->GetX(), posted->GetY());
            return true;
        }
    return false;
}

// Arrives as the row says and stands; who went for the party, empty when nobody.
std::string StandAfterArriving(const Arrival& arrival, std::uint32_t seed) {
    SampleGame game = NewGame(arrival.chapter);
    QuillmereTest::JoinParty(game, {"ferryman", "ferryman"}, 8, false);
    for (const auto& tag : arrival.tags) game.Engine().SetTag(tag, true);
    game.Arrive(arrival.area, arrival.entry);
    if (!arrival.advanced.empty()) {
        const CPatchActionEncounter* encounter = game.Area().FindEncounterIfAny(arrival.advanced);
        if (!encounter) return "no encounter " + arrival.advanced;
        game.Area().ClearEncounter(arrival.advanced);
        game.Area().AdvanceEncounterStage(arrival.advanced, game.Module(), encounter->stages.size() - 1);
    }
    // A roused area was left by the entry with its foes turned on the party's heels,
    // and is come back to that way.
    if (arrival.roused) {
        const CAreaEntry* entry = FindAreaEntry(game.Area().GetEntries(), arrival.entry);
        if (arrival.roused == 3 && !LeaveFriendsAtAFoesPost(game.Area())) return "no room at the foe's post";
        if (arrival.roused == 5 && !PostAWaitingFoeByTheEntry(game.Area(), *entry)) return "no room by the entry";
        std::uint32_t away = arrival.roused == 2 ? kAreaRespawnTicks : 0;
        if (arrival.roused == 4) {
            const std::optional<std::uint32_t> untilBack = LeaveACalledWispFighting(game, *entry);
            if (!untilBack) return "no room for the wisp";
            away = *untilBack;
        }
        for (const auto& actor : ActorList(game.Area().GetActors())) {
            const std::shared_ptr<CBrain> brain = actor->GetBrain();
            if (arrival.roused >= 3 || !brain || !brain->IsHostileWhenAttacked() ||
                actor->GetRelation() != RELATION_NEUTRAL)
                continue;
            actor->SetRelation(RELATION_HOSTILE);
            // On odd seeds it chased the party out, on even ones only past the spot its
            // encounter names, to the far side from its post.
            std::shared_ptr<CActor> chaser = game.Area().RemoveActor(*actor);
            std::uint32_t column = entry->column, row = entry->row;
            if (const CPatchActionEncounter* spot = game.Area().FindEncounterIfAny(chaser->GetEncounterName());
                spot && seed % 2 == 0) {
                const double spotX = (spot->column + 0.5) * kCellSize, spotY = (spot->row + 0.5) * kCellSize;
                const double away = std::max(std::hypot(chaser->GetX() - spotX, chaser->GetY() - spotY), 0.1);
                const auto beyond = [&](double spotAt, double at, std::uint32_t cells) {
                    const double to = spotAt - (at - spotAt) / away * 2.9 * kCellSize;
                    return static_cast<std::uint32_t>(std::clamp(to / kCellSize, 0.0, cells - 1.0));
                };
                column = beyond(spotX, chaser->GetX(), game.Area().GetColumns());
                row = beyond(spotY, chaser->GetY(), game.Area().GetRows());
            }
            if (!game.Area().PlaceActor(column, row, false, chaser)) return "no room for the chaser";
        }
        game.Arrive(arrival.area, arrival.entry, away);
    }
    game.DrainEvents();
    if (game.Game().GetParty().size() != 3) return "a party of " + std::to_string(game.Game().GetParty().size());
    // Whoever chased the party out, or fought beside it, is back at its post.
    for (const auto& actor : game.Area().GetActors())
        if (arrival.roused && actor->HasPost() &&
            actor->DistanceToPoint(actor->GetPostX(), actor->GetPostY()) > 3 * kCellSize)
            return actor->GetName() + " stayed away from its post";
    const int standing = arrival.roused == 4 ? kBeforeThePlayerActs : kGameMinute;
    for (int tick = 0; tick < standing; ++tick) {
        game.Tick();
        for (const auto& actor : game.Area().GetActors()) {
            const ThingId target = TargetOf(*actor);
            // A friend's spell on the party, a blessing, is no going for it.
            if (!actor->IsPartyOrFriendly() && target != 0 && Present(game, target))
                return actor->GetName() + " went for the party after " + std::to_string(tick + 1) + " ticks";
        }
        for (const auto& member : game.Game().GetParty())
            if (member->GetDamageTaken() != 0 || !member->IsAlive())
                return member->GetName() + " was hurt after " + std::to_string(tick + 1) + " ticks";
    }
    return {};
}

TEST(Arrival, APartyThatArrivesAndStandsStillIsNotStruckByAnyEntryAtAnyStage) {
    std::vector<Arrival> rows = Arrivals(1);
    const std::vector<Arrival> ashcombe = Arrivals(2);
    rows.insert(rows.end(), ashcombe.begin(), ashcombe.end());
    // Both chapters, and every entry of the areas the story plays in at least.
    std::set<std::string> entries;
    for (const Arrival& row : rows) entries.insert(row.area + " " + row.entry);
    for (const char* entry : {"ashcombe_weir towpath", "reed_marsh hideout", "reed_marsh landing",
                              "reedwater_landing dock", "reedwater_landing lane", "reedwater_landing trail"})
        EXPECT_EQ(entries.count(entry), 1u) << entry;
    for (const Arrival& row : rows)
        for (const std::uint32_t seed : kSeeds) {
            DRAVCommon::GetRandomEngine().seed(seed);
            const std::string struck = StandAfterArriving(row, seed);
            EXPECT_EQ(struck, "") << Describe(row) << ", seed " << seed;
        }
}

}  // namespace
