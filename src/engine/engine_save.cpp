// Saved games: the whole running game as one "save" tree, written and read in the
// same order by SaveGame and LoadGame.

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
#include <limits>
#include <set>
#include <sstream>
#include <system_error>

#include "common/exception.h"
#include "common/random.h"
#include "common/refusal_text.h"
#include "common/trace.h"
#include "engine/engine.h"
#include "platform/win32/file_path.h"
#include "rules/items/item_count.h"
#include "rules/monsters/actor_names.h"
#include "rules/monsters/actor_template.h"
#include "rules/vocabulary/actor_class.h"
#include "script/script_limits.h"
#include "world/area.h"
#include "world/effect.h"
#include "world/save_head.h"
#include "world/saved_flight.h"
#include "world/saved_word.h"

namespace DRAV {
namespace {

constexpr const char* kOwnModule = "Orvex";
// Tags a save holds: as many as scripts may add, and as many again for those the
// module's quests, items and encounters set, of which a chapter has a few dozen.
constexpr std::size_t kSavedTagLimit = 2 * kScriptTagLimit;
// The rules' random source as text: its 624 words and where it stands in them.
constexpr std::size_t kRandomStateLimit = 16 * 1024;

// The saved version fits the expected module: its own version, or one of the
// older versions the game's own module still reads.
bool IsVersionAccepted(const CModuleVersionRange& expected, const std::string& identifier, std::int32_t version,
                       std::int32_t extra, std::int32_t chapter) {
    if (identifier != expected.identifier) return false;
    if (version == expected.maxVersion) return true;
    if (expected.identifier != kOwnModule) return false;
    if (version == 3) return true;
    if (version == 2) return chapter != 1;
    if (version == 1) return chapter != 1 && extra >= 4;
    return false;
}

// A missile, or a harmful spell, still to land: its launch began a battle.
bool IsStrikeInFlight(const CEffect& effect) {
    if (effect.IsDone()) return false;
    const auto* launched = dynamic_cast<const CEffectSpell*>(&effect);
    return !launched || launched->GetSpell()->IsHostile();
}

bool IsAnyStrikeInFlight(const CGame& game) {
    const EffectList& effects = game.GetCurrentArea()->GetEffects();
    return std::any_of(effects.begin(), effects.end(), [](const auto& effect) { return IsStrikeInFlight(*effect); });
}

// A strike in flight across the line between the party and its foes, judged as
// its launch judged it.
bool IsBlowInFlight(const CArea& area, const CEffect& effect) {
    const CActor* target = IsStrikeInFlight(effect) ? area.FindActor(effect.GetTarget()) : nullptr;
    return target && target->IsAlive() &&
           (effect.IsFromParty() ? !target->IsPartyOrFriendly() : target->IsPartyMember());
}

// Whether, in the party's area, someone stands swinging across the line between
// the party and its foes, or such a blow is still in flight.
bool IsFightGoingOn(const CGame& game) {
    const CArea* area = game.GetCurrentArea();
    if (!area) return false;
    const ActorList& actors = area->GetActors();
    const EffectList& effects = area->GetEffects();
    return std::any_of(actors.begin(), actors.end(),
                       [](const auto& actor) {
                           const CActor* target = actor->GetAttackTarget();
                           return actor->IsAlive() && target && target->IsAlive() &&
                                  CEngine::IsBlowOfTheFight(*actor, *target);
                       }) ||
           std::any_of(effects.begin(), effects.end(),
                       [area](const auto& effect) { return IsBlowInFlight(*area, *effect); });
}

std::shared_ptr<CActor> FindMainActor(const CGame& game) {
    for (const auto& member : game.GetParty())
        if (member->IsMainCharacter()) return member;
    return nullptr;
}

std::string SaveTitle(const CGame& game, std::int32_t chapter) {
    std::ostringstream title;
    const std::shared_ptr<CActor> main = FindMainActor(game);
    const bool won = game.GetStateCode() == GAME_WON;
    title << (main ? main->GetName() : std::string()) << (won ? " (End of Chapter " : " (Chapter ") << chapter;
    if (main) title << ", " << GetClassName(main->GetClass()) << ' ' << main->GetLevel();
    title << ')';
    std::string text = title.str();
    // A module's area name too long for a title is left out of it: the load page
    // would not list a save whose title passed its bound.
    if (!won && game.GetCurrentArea()) {
        const std::string& area = game.GetCurrentArea()->GetDisplayName();
        if (text.size() + 3 + area.size() <= kSaveTitleLimit) text += " - " + area;
    }
    return text;
}

void WritePoint(DRAVCommon::CDataFileWriter& writer, const AreaEntryPoint& point) {
    writer.WriteWordOrZero(point.first);
    writer.WriteWordOrZero(point.second);
}

// An empty point is written "0" and must come back empty, not as a place named "0".
AreaEntryPoint ReadPoint(DRAVCommon::CDataFileReader& reader) {
    AreaEntryPoint point;
    point.first = reader.ReadWordOrEmpty();
    point.second = reader.ReadWordOrEmpty();
    return point;
}

// The entry a save without its arrival most likely came by: the pending destination
// or the return point when either lies in the area, else the area's first entry.
AreaEntryPoint GuessArrival(const CGame& game, const CArea& area) {
    for (const AreaEntryPoint& point : {game.GetEntry(), game.GetReturnPoint()})
        if (point.first == area.GetName() && FindAreaEntry(area.GetEntries(), point.second)) return point;
    if (area.GetEntries().empty()) return {};
    return {area.GetName(), area.GetEntries().front()->name};
}

// Every party actor at its position; a later one at the same position replaces
// the earlier, so the current area's actors win over those travelling with the game.
void RebuildParty(CGame& game) {
    ActorList slots;
    auto collect = [&slots](const ActorList& actors) {
        for (const auto& actor : actors) {
            if (actor->GetRelation() != RELATION_PARTY) continue;
            const std::size_t position = actor->GetPartyIndex();
            // A position no party can reach is bad data, not a reason to allocate.
            if (position >= kMaxPartyMembers) continue;
            if (slots.size() <= position) slots.resize(position + 1);
            slots[position] = actor;
        }
    };
    collect(game.GetNonLocatedActors());
    if (game.GetCurrentArea()) collect(game.GetCurrentArea()->GetActors());
    for (auto& actor : slots)
        if (actor) game.AddPartyMember(actor);
}

// A place a save names: none, or an area of the module and one of its entries or
// none, or with `map` a travel map and no entry, as a journey goes through one. A
// wipe-out takes the party to the resurrection point: a place the module lacks, or
// its travel map, would end the game then, so the save is refused now.
void RequireSavedPlace(const DRAVCommon::CDataFileReader& reader, const CModule& module, const AreaEntryPoint& point,
                       const std::string& what, bool map = false) {
    const auto& [areaName, entryName] = point;
    if (areaName.empty()) return;
    const std::string area = what + " area " + NamedWord(areaName);
    const CPlaceFile* place = nullptr;
    try {
        place = &module.GetPlaceFile(areaName);
    } catch (const CDRAVException&) {
        reader.Fail(DRAV_ERR_BAD_DATA, area + " is no area of the module");
    }
    if (place->travelMap) {
        if (!map || !entryName.empty()) reader.Fail(DRAV_ERR_BAD_DATA, area + " is a travel map");
        return;
    }
    const auto& entries = place->entryNames;
    if (!entryName.empty() && std::find(entries.begin(), entries.end(), entryName) == entries.end())
        reader.Fail(DRAV_ERR_BAD_DATA, area + " has no entry " + NamedWord(entryName));
}

// Who stands with the party is in it: the game moves, saves and brings back its
// members alone. A member the save holds twice, travelling with the game and in
// the current area, is one person.
void RequireWholeParty(const CGame& game) {
    const ActorList party = game.GetParty();
    const auto inParty = [&party](const CActor& actor) {
        return std::any_of(party.begin(), party.end(),
                           [&](const auto& member) { return member->GetId() == actor.GetId(); });
    };
    const auto check = [&](const ActorList& actors) {
        for (const auto& actor : actors)
            if (actor->GetRelation() == RELATION_PARTY && !inParty(*actor))
                throw CDRAVException(DRAV_ERR_BAD_DATA,
                                     "\"" + actor->GetName() + "\" stands with the party but is not in it");
    };
    check(game.GetNonLocatedActors());
    for (const auto& [name, area] : game.GetAreas())
        if (area) check(area->GetActors());
}

// A party without its leader has nobody to command and cannot be saved again.
void RequireMainInParty(const CGame& game) {
    if (FindMainActor(game)) return;
    for (const ActorList& actors : {game.GetNonLocatedActors(), game.GetCurrentArea()->GetActors()})
        for (const auto& actor : actors)
            if (actor->IsMainCharacter())
                throw CDRAVException(DRAV_ERR_BAD_DATA,
                                     "the main character \"" + actor->GetName() + "\" is not in the saved party");
    throw CDRAVException(DRAV_ERR_BAD_DATA, "the saved game has no main character");
}

// The actors travelling with the party, the stores and the areas of a save, up to
// the name of the current area, which it gives back.
std::string ReadSavedThings(DRAVCommon::CDataFileReader& reader, CGame& game, const CModule& module) {
    reader.BeginBlock("nonlocated");
    while (reader.IsBlock("actor")) {
        // Members of the party who fell, and no more than it holds.
        if (game.GetNonLocatedActors().size() == kMaxPartyMembers)
            reader.Fail(DRAV_ERR_BAD_DATA, "more actors outside areas than a party holds");
        auto actor = std::make_shared<CActor>(reader, game, module);
        actor->SetArea(nullptr);
        game.AddNonLocatedActor(std::move(actor));
    }
    reader.EndBlock();
    std::string currentArea = reader.ReadQuoted();
    const std::string mapName = reader.ReadWordOrEmpty();
    if (!mapName.empty()) game.SetCurrentMap(game.FindAndLoadTempMap(mapName, module));
    // A save holds each store and each area once, as the game's maps hold them.
    std::set<std::string> owners;
    while (reader.IsBlock("actorstore")) {
        reader.BeginBlock("actorstore");
        std::string owner = reader.ReadWordOrEmpty();
        // A store is its keeper's, one a monster definition that keeps one.
        const CActorTemplate* keeper = module.FindMonsterTemplate(owner);
        if (!keeper || !keeper->GetStore())
            reader.Fail(DRAV_ERR_BAD_DATA, "no monster " + DRAVCommon::QuotedPiece(owner) + " keeps a store");
        if (!owners.insert(owner).second)
            reader.Fail(DRAV_ERR_BAD_DATA, "a second store of " + DRAVCommon::QuotedPiece(owner));
        game.GetStores().insert_or_assign(std::move(owner), ReadStores(reader, module, &game));
        reader.EndBlock();
    }
    while (reader.IsBlock("area")) {
        auto area = std::make_shared<CArea>(&game);
        area->LoadState(reader, game, module, currentArea);
        if (game.GetAreas().count(area->GetName()))
            reader.Fail(DRAV_ERR_BAD_DATA, "a second area \"" + area->GetName() + "\"");
        game.AddArea(std::move(area));
    }
    return currentArea;
}

// Every actor of the game: those travelling with it and those of every area
// (loading an area makes no actor of its own).
void ForEachActor(const CGame& game, const std::function<void(CActor&)>& visit) {
    for (const auto& actor : game.GetNonLocatedActors()) visit(*actor);
    for (const auto& [name, area] : game.GetAreas())
        if (area)
            for (const auto& actor : area->GetActors()) visit(*actor);
}

std::uint32_t HighestActorSerial(const CGame& game) {
    std::uint32_t highest = 0;
    ForEachActor(game,
                 [&highest](const CActor& actor) { highest = std::max(highest, actor.GetId() & kMaxThingSerial); });
    return highest;
}

// What a load numbers anew: every actor and item, and the current area's objects,
// those its file makes (the removed ones too) and the piles. Counted generously,
// never short. Code 2 for more tags or a longer list of items than a load takes back.
std::uint64_t ThingsALoadMakes(const CGame& game) {
    if (game.GetQuestTags().size() > kSavedTagLimit)
        throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "the game holds more than the " + std::to_string(kSavedTagLimit) +
                                                        " tags a save keeps: it cannot be saved");
    std::uint64_t things = 0;
    const auto list = [&things](const ItemPtrList& items) {
        if (items.size() > kSavedItemListLimit)
            throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "a list of more than the " +
                                                            std::to_string(kSavedItemListLimit) +
                                                            " items a save keeps together: the game cannot be saved");
        things += items.size();
    };
    const auto count = [&](const ActorList& actors) {
        for (const auto& actor : actors) {
            ++things;
            for (const auto& item : actor->GetEquipment()) things += item ? 1 : 0;
            list(actor->GetBackpackItems());
            list(actor->GetDropItemList());
        }
    };
    count(game.GetNonLocatedActors());
    for (const auto& [owner, store] : game.GetStores())
        if (store) list(store->GetStock());
    for (const auto& [name, area] : game.GetAreas()) {
        if (!area) continue;
        count(area->GetActors());
        for (const auto& stack : area->GetItemStacks()) list(stack->items), ++things;
        things += area->GetLocksAndTraps().size();
        for (const auto& object : area->GetObjects()) list(object->GetItems()), ++things;
    }
    return things;
}

// The serial counter a save holds: the next above its actors' serials. A load
// numbers every thing anew from the first serial, so a game that has used up its
// serials saves, and its load has them back. Code 2, before anything is written,
// when a load could not number the things of the game.
std::uint32_t SavedSerialCounter(const CGame& game) {
    if (ThingsALoadMakes(game) > kMaxThingSerial)
        throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "the game has made so many things that a load could not number "
                                                    "them all again: it cannot be saved");
    return HighestActorSerial(game) + 1;
}

// The game holds back only foes of the area the party stands in, and lets them go
// when the party leaves it. A held foe may have given up since; one that died, or
// anyone who never stood against the party, is not held.
bool IsHeldFoe(const CGame& game, ThingId id) {
    const CActor* actor = game.GetCurrentArea() ? game.GetCurrentArea()->FindActor(id) : nullptr;
    return actor && actor->IsAlive() &&
           (CEngine::IsFoeToHoldBack(*actor) || actor->GetRelation() == RELATION_SURRENDER);
}

// A save as the player knows it: the main character's name its file bears, not
// the folder the file lies in.
std::string SaveName(const std::string& path) {
    std::string name = path.substr(path.find_last_of("/\\") + 1);
    if (name.size() > 5 && name.ends_with(".drav")) name.resize(name.size() - 5);
    return name;
}

// Flushes a file's or a folder's contents to the disk; code 1 naming the save when
// the system cannot.
void SyncToDisk(const std::filesystem::path& target, const std::string& save) {
    const int descriptor = ::open(target.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0 || ::fsync(descriptor) != 0) {
        const std::string reason = std::strerror(errno);
        if (descriptor >= 0) ::close(descriptor);
        throw CDRAVException(DRAV_ERR_BAD_DATA, "cannot write " + save + ": " + reason, reason);
    }
    ::close(descriptor);
}

}  // namespace

void CEngine::SaveGame(const std::string& path, const CModuleVersionRange& expected,
                       const std::string* quickActions, std::optional<std::uint32_t> chosen,
                       const CGame::EventList& held) {
    WriteSavedGame(path, expected, quickActions, chosen, held);
    ReportSaved(path);
}

void CEngine::ReportSaved(const std::string& path) { Game().PushMessage(MESSAGE_NOTICE, "Saved game: " + SaveName(path)); }

void CEngine::WriteSavedGame(const std::string& path, const CModuleVersionRange& expected,
                             const std::string* quickActions, std::optional<std::uint32_t> chosen,
                             const CGame::EventList& held) {
    DRAV_TRACE(DRAVCommon::TRACE_LOW, "Saving game %s.\n", path.c_str());
    CGame& game = Game();
    const CModule& module = Module();
    // A load goes on from the area the party stands in; between two areas there is
    // none, and such a save could never be played again.
    if (!game.GetCurrentArea()) throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "the party is between areas");
    if (game.GetTick() > kLastSavedTick)
        throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "the game's clock is past tick " + std::to_string(kLastSavedTick) +
                                                        ", the last a save holds");
    const std::uint32_t serialCounter = SavedSerialCounter(game);
    // The hero's name is the load page's and the save file's: one no load would take
    // back is not written.
    const std::shared_ptr<CActor> main = FindMainActor(game);
    if (!main) throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "the party has no main character");
    if (const std::string fault = HeroNameFault(main->GetName()); !fault.empty())
        throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "the main character's name " + fault);
    if (quickActions && quickActions->size() > kSavedAppLineLimit)
        throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "the quick actions of " + std::to_string(quickActions->size()) +
                                                        " bytes are longer than the " +
                                                        std::to_string(kSavedAppLineLimit) + " a save keeps");
    if (chosen && *chosen >= kMaxPartyMembers)
        throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "the chosen member's place " + std::to_string(*chosen) +
                                                        " is past a party's last");
    const std::string temporary = path + ".part";
    try {
        DRAVCommon::CDataFileWriter writer(temporary);
        writer.BeginBlock("save");
        writer.BeginBlock("version");
        writer.WriteWordOrZero(expected.identifier);
        writer.WriteValue(expected.maxVersion);
        writer.WriteValue(expected.further);
        writer.EndBlock();
        writer.BeginGroup(2);
        writer.WriteValue(module.GetChapter());
        writer.WriteWord(game.GetStateCode() == GAME_WON ? "true" : "false");
        writer.WriteQuoted(path);
        writer.WriteQuoted(main->GetName());
        writer.WriteQuoted(SaveTitle(game, module.GetChapter()));
        // Read with the title by the load dialog, which shows a finished last
        // chapter's end pages again without loading the game.
        if (game.GetStateCode() == GAME_WON && !game.GetEnding().empty()) {
            writer.BeginBlock("ending");
            writer.WriteQuoted(game.GetEnding());
            writer.EndBlock();
        }
        writer.BeginBlock("difficulty");
        writer.WriteWord(GetDifficultyKey(game.GetDifficulty()));
        writer.EndBlock();
        writer.WriteValue(game.GetTick());
        writer.WriteValue(serialCounter);
        writer.WriteValue(game.GetStateCode());
        writer.WriteValue(game.GetGold());
        writer.WriteValue(game.GetNextHeartbeatTick());
        WritePoint(writer, game.GetResurrectionPoint());
        WritePoint(writer, game.GetReturnPoint());
        writer.BeginBlock("entry");
        WritePoint(writer, game.GetEntry());
        WritePoint(writer, game.GetCurrentEntry());
        writer.EndBlock();
        writer.WriteWordOrZero(game.GetLastArea());
        writer.BeginBlock("questtags");
        SaveTagMap(game.GetQuestTags(), writer);
        writer.EndBlock();
        SaveJournalState(game.GetJournal(), writer);
        SavePeopleJournal(game.GetPeopleJournal(), writer);
        writer.BeginBlock("revealed");
        SaveTagMap(game.GetRevealedLocations(), writer);
        writer.EndBlock();
        writer.BeginBlock("nonlocated");
        for (const auto& actor : game.GetNonLocatedActors()) actor->Save(writer, module);
        writer.EndBlock();
        writer.WriteQuoted(game.GetCurrentArea() ? game.GetCurrentArea()->GetName() : std::string("0"));
        std::string mapName;
        for (const auto& [name, map] : game.GetMaps())
            if (map.get() == game.GetCurrentMap() && map) mapName = name;
        writer.WriteWordOrZero(mapName);
        for (const auto& [owner, store] : game.GetStores()) {
            if (!store) continue;
            writer.BeginBlock("actorstore");
            writer.WriteWordOrZero(owner);
            WriteStores(writer, *store);
            writer.EndBlock();
        }
        for (const auto& [name, area] : game.GetAreas())
            if (area) SaveAreaState(writer, *area);
        WriteEffectsInFlight(writer, game);
        if (!game.GetHeldFoes().empty()) {
            writer.BeginBlock("holding");
            for (const ThingId foe : game.GetHeldFoes()) writer.WriteValue(foe & kMaxThingSerial);
            writer.EndBlock();
        }
        game.WriteWayOutWalks(writer);
        if (game.IsCalm()) {
            writer.BeginBlock("calm");
            writer.WriteValue(game.GetCalmEnd());
            writer.EndBlock();
        }
        if (game.GetTutorialsShown() != 0) {
            writer.BeginBlock("tutorials");
            writer.WriteValue(game.GetTutorialsShown());
            writer.EndBlock();
        }
        if (quickActions) {
            writer.BeginBlock("bonus");
            writer.WriteQuoted(*quickActions);
            writer.EndBlock();
        }
        if (chosen) {
            writer.BeginBlock("chosen");
            writer.WriteValue(*chosen);
            writer.EndBlock();
        }
        game.WriteWaitingEvents(writer, held);
        // A loaded game rolls what the game it was saved from would have rolled next.
        writer.BeginBlock("random");
        writer.WriteQuoted(DRAVCommon::WriteRandomState(DRAVCommon::GetRandomEngine()));
        writer.EndBlock();
        WriteToldHolds(writer);
        writer.EndBlock();
        writer.Finish();
        // On disk before it takes the save's name, and the name on disk after: a power
        // loss then leaves either the old save or the new one, never an empty file.
        const std::filesystem::path native = Win32::NativePath(path);
        SyncToDisk(Win32::NativePath(temporary), path);
        std::error_code error;
        std::filesystem::rename(Win32::NativePath(temporary), native, error);
        if (error)
            throw CDRAVException(DRAV_ERR_BAD_DATA, "cannot write " + path + ": " + error.message(), error.message());
        SyncToDisk(native.has_parent_path() ? native.parent_path() : std::filesystem::path("."), path);
    } catch (...) {
        std::error_code ignored;
        std::filesystem::remove(Win32::NativePath(temporary), ignored);
        throw;
    }
}

void CEngine::SaveAreaState(DRAVCommon::CDataFileWriter& writer, CArea& area) { area.SaveState(writer, Module()); }

void CEngine::LoadGame(const std::string& path, const CModuleVersionRange& expected, std::string& quickActions,
                       std::optional<std::uint32_t>* chosen) {
    DRAV_TRACE(DRAVCommon::TRACE_LOW, "Loading game %s.\n", path.c_str());
    const CModule& module = Module();
    // Read aside and swapped in only when complete: a failed load keeps the running game.
    auto game = std::make_shared<CGame>();
    game->SetCalendarBase(module.GetStartYear(), module.GetStartDay(), module.GetStartHour());
    std::string bonus = quickActions;
    std::optional<std::uint32_t> member;
    std::optional<std::mt19937> random;
    std::set<ThingId> toldHolds;
    try {
        {
            DRAVCommon::CDataFileReader reader(path);
            ReadSavedGame(reader, expected, *game, bonus, member, random, toldHolds);
        }
        // As older builds wrote between two areas: nowhere to go on from.
        if (!game->GetCurrentArea()) throw CDRAVException(DRAV_ERR_BAD_DATA, "the saved game has no current area");
        RebuildParty(*game);
        RequireMainInParty(*game);
        RequireWholeParty(*game);
        // What everyone was doing, once the party and every thing their orders name are there.
        ForEachActor(*game, [&game](CActor& actor) { actor.RestoreSavedOrders(*game); });
        // A fight the game was saved in goes on: whoever stood swinging at a foe of
        // the party, or a foe at a member, still does, so a page opening on its own
        // holds nobody back from it.
        if (IsFightGoingOn(*game)) {
            game->SetInBattle(true);
            game->SetFightUnderWay();
        } else if (IsAnyStrikeInFlight(*game)) {
            game->SetInBattle(true);
        }
    } catch (const CDRAVException& failure) {
        // Every refusal names the file, whichever step of the load found it.
        if (failure.GetMessage().find(path) != std::string::npos) throw;
        throw CDRAVException(failure.GetCode(), path + ": " + failure.GetMessage(), failure.GetReason());
    }
    m_game = std::move(game);
    // Saves from before the random source was kept go on from a source seeded anew,
    // the same for every load of one save.
    DRAVCommon::GetRandomEngine() = random.value_or(std::mt19937(m_game->GetTick()));
    // A member told her walk is held is not told again for the same walk.
    m_heldWalks.clear();
    for (const ThingId id : toldHolds)
        if (const CActor* member = m_game->GetCurrentArea()->FindActor(id))
            if (const std::shared_ptr<COrder> order = member->GetCurrentOrder())
                m_heldWalks[id] = {order, 0, false, true};
    // What the party saw where it stood comes back with it: the first tick judges
    // who stands in its sight as the saved game did, before any step.
    m_game->UpdatePartyVisibility();
    // Every game reports a broken quest script once for itself.
    m_failedQuests.clear();
    quickActions = std::move(bonus);
    if (chosen) *chosen = member;
    m_game->PushMessage(MESSAGE_NOTICE, "Loaded game: " + SaveName(path));
}

void CEngine::RebuildPartyAfterLoad() { RebuildParty(Game()); }

void CEngine::ReadSavedGame(DRAVCommon::CDataFileReader& reader, const CModuleVersionRange& expected, CGame& game,
                            std::string& quickActions, std::optional<std::uint32_t>& chosen,
                            std::optional<std::mt19937>& random, std::set<ThingId>& toldHolds) const {
    const CModule& module = Module();
    reader.BeginBlock("save");
    reader.BeginBlock("version");
    const std::string identifier = reader.ReadWordOrEmpty();
    const std::int32_t version = reader.ReadInt();
    const std::int32_t extra = reader.ReadInt();
    reader.EndBlock();
    if (!IsVersionAccepted(expected, identifier, version, extra, module.GetChapter()))
        reader.Fail(DRAV_ERR_SAVE_VERSION, "saved game of \"" + identifier + "\" version " + std::to_string(version) +
                                               " does not fit this module");
    if (!reader.BeginGroup(2, false)) reader.Fail(DRAV_ERR_BAD_DATA, "expected ( chapter won )");
    CSaveHead head = ReadSaveHead(reader);
    if (head.chapter != module.GetChapter())
        reader.Fail(DRAV_ERR_BAD_DATA, "saved game of another chapter than " + std::to_string(module.GetChapter()));
    game.SetEnding(std::move(head.ending));
    game.SetDifficulty(DIFFICULTY_CORE);
    if (reader.IsBlock("difficulty")) {
        reader.BeginBlock("difficulty");
        const std::string key = reader.ReadWord();
        try {
            game.SetDifficulty(ParseDifficulty(key));
        } catch (const CDRAVException&) {
            reader.Fail(DRAV_ERR_BAD_DATA, "unknown difficulty " + DRAVCommon::QuotedPiece(key));
        }
        reader.EndBlock();
    }
    game.SetTick(reader.ReadUInt(0, kLastSavedTick, "a game tick"));
    // Not where the numbering goes on: a load numbers every thing anew.
    const std::uint32_t serialCounter = reader.ReadUInt();
    game.SetStateCode(reader.ReadInt(GAME_PLAYING, GAME_NOT_STARTED, "a game state code"));
    game.SetGold(reader.ReadInt(0, std::numeric_limits<std::int32_t>::max(), "party gold"));
    game.SetNextHeartbeatTick(reader.ReadUInt());
    game.SetResurrectionPoint(ReadPoint(reader));
    RequireSavedPlace(reader, module, game.GetResurrectionPoint(), "resurrection");
    game.SetReturnPoint(ReadPoint(reader));
    RequireSavedPlace(reader, module, game.GetReturnPoint(), "return");
    reader.BeginBlock("entry");
    game.SetEntry(ReadPoint(reader), AREA_LOAD_FRESH, "");
    RequireSavedPlace(reader, module, game.GetEntry(), "destination", true);
    // Saves of earlier versions end the element here; their arrival is found below.
    const bool arrivalSaved = !reader.AtBlockEnd();
    if (arrivalSaved) game.SetCurrentEntry(ReadPoint(reader));
    RequireSavedPlace(reader, module, game.GetCurrentEntry(), "arrival");
    reader.EndBlock();
    game.SetLastArea(reader.ReadWordOrEmpty());
    RequireSavedPlace(reader, module, {game.GetLastArea(), ""}, "last");
    reader.BeginBlock("questtags");
    LoadTagMap(game.GetQuestTags(), reader, kSavedTagLimit, "quest tag");
    reader.EndBlock();
    LoadJournalState(game.GetJournal(), reader);
    std::set<std::string> people;
    for (const auto& [key, monster] : module.GetMonsterTemplates()) people.insert(monster->GetNameWord());
    LoadPeopleJournal(game.GetPeopleJournal(), reader, people);
    reader.BeginBlock("revealed");
    LoadTagMap(game.GetRevealedLocations(), reader, kScriptLocationLimit, "map location");
    reader.EndBlock();
    const std::string currentArea = ReadSavedThings(reader, game, module);
    // What the actors remember of one another is said in the serials they were saved with.
    ForEachActor(game,
                 [&game](CActor& actor) { actor.SetTargetChangeId(game.FindLoadedActor(actor.GetTargetChangeId())); });
    if (currentArea != "0") {
        const auto found = game.GetAreas().find(currentArea);
        if (found == game.GetAreas().end() || !found->second)
            reader.Fail(DRAV_ERR_BAD_DATA, "the current area " + DRAVCommon::QuotedPiece(currentArea) + " is not among the saved areas");
        game.SetCurrentArea(currentArea);
        game.SetInBattle(false);
        game.FlagCurrentAreaEntered();
        if (!arrivalSaved) game.SetCurrentEntry(GuessArrival(game, *found->second));
    }
    // Play never writes a counter at or below a serial it has given.
    if (const std::uint32_t highest = game.GetHighestSavedSerial(); serialCounter <= highest)
        reader.Fail(DRAV_ERR_BAD_DATA, "thing serial counter " + std::to_string(serialCounter) +
                                           " not above the saved actor serial " + std::to_string(highest));
    // Saves from before effects in flight were kept lost them; they load with none.
    if (reader.IsBlock("flight")) ReadEffectsInFlight(reader, game, module);
    // Saves from before foes held back after a wake have none.
    if (reader.IsBlock("holding")) {
        reader.BeginBlock("holding");
        while (!reader.AtBlockEnd()) {
            const std::uint32_t serial = reader.ReadUInt();
            if (serial > kMaxThingSerial) reader.Fail(DRAV_ERR_OUT_OF_RANGE, "held foe's serial above 0xFFFFFF");
            ThingId saved = 0;
            MakeThingId(saved, THING_ACTOR, serial);
            const ThingId foe = game.FindLoadedActor(saved);
            if (IsHeldFoe(game, foe)) game.HoldBack(foe);
        }
        reader.EndBlock();
    }
    // Saves from before the game kept its walks have none.
    while (reader.IsBlock("wayout")) game.ReadWayOutWalk(reader);
    // Saves from before the calm after a wake was kept have none; play writes one
    // only while it lasts.
    if (reader.IsBlock("calm")) {
        reader.BeginBlock("calm");
        const std::uint32_t end = reader.ReadUInt();
        if (end <= game.GetTick() || end - game.GetTick() > kWakeCalmTicks)
            reader.Fail(DRAV_ERR_OUT_OF_RANGE, "a calm after a wake ending at tick " + std::to_string(end) +
                                                   ", not within a wake's calm of the saved tick");
        game.SetCalmEnd(end);
        reader.EndBlock();
    }
    // Saves from before the game kept its shown tutorial pages have shown none.
    if (reader.IsBlock("tutorials")) {
        reader.BeginBlock("tutorials");
        game.SetTutorialsShown(reader.ReadUInt());
        reader.EndBlock();
    }
    if (reader.IsBlock("bonus")) {
        reader.BeginBlock("bonus");
        quickActions = reader.ReadQuoted(kSavedAppLineLimit, "the quick actions");
        reader.EndBlock();
    }
    // Saves from before the chosen member had a field of her own keep her in the
    // quick actions' text, or keep none.
    if (reader.IsBlock("chosen")) {
        reader.BeginBlock("chosen");
        chosen = reader.ReadUInt(0, static_cast<std::uint32_t>(kMaxPartyMembers) - 1, "the chosen member's place in the party");
        reader.EndBlock();
    }
    // Saves from before what waited for the player was kept have nothing waiting.
    if (reader.IsBlock("waiting")) game.ReadWaitingEvents(reader);
    if (reader.IsBlock("random")) {
        reader.BeginBlock("random");
        random = DRAVCommon::ReadRandomState(reader.ReadQuoted(kRandomStateLimit, "the random source"));
        if (!random) reader.Fail(DRAV_ERR_BAD_DATA, "a random source no game wrote");
        reader.EndBlock();
    }
    // Saves from before holds were kept tell them again.
    if (reader.IsBlock("toldheld")) {
        reader.BeginBlock("toldheld");
        while (!reader.AtBlockEnd()) {
            ThingId saved = 0;
            MakeThingId(saved, THING_ACTOR, reader.ReadUInt(0, kMaxThingSerial, "a held walker's serial"));
            if (const ThingId member = game.FindLoadedActor(saved)) toldHolds.insert(member);
        }
        reader.EndBlock();
    }
    reader.EndBlock();
    reader.RequireEnd();
}

void CEngine::WriteToldHolds(DRAVCommon::CDataFileWriter& writer) const {
    std::vector<std::uint32_t> told;
    const CArea* area = m_game ? m_game->GetCurrentArea() : nullptr;
    for (const auto& [id, walk] : m_heldWalks) {
        const CActor* member = area && walk.told ? area->FindActor(id) : nullptr;
        if (member && member->IsAlive() && member->GetCurrentOrder() &&
            member->GetCurrentOrder() == walk.order.lock())
            told.push_back(id & kMaxThingSerial);
    }
    if (told.empty()) return;
    writer.BeginBlock("toldheld");
    for (const std::uint32_t serial : told) writer.WriteValue(serial);
    writer.EndBlock();
}

}  // namespace DRAV
