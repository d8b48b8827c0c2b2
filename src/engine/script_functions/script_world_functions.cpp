// Actor, faction and world script functions: fights with the talk partner, what a
// script may read of an actor, the context actor's faction, the party's size,
// doors, encounters, time and chance.

#include "engine/script_functions/script_function_lists.h"

#include "common/exception.h"
#include "common/random.h"
#include "engine/brain/brain.h"
#include "engine/engine.h"
#include "engine/script_functions/script_game_args.h"
#include "rules/definitions/faction.h"
#include "rules/magic/spell.h"
#include "rules/module.h"
#include "rules/vocabulary/gender_race.h"
#include "rules/vocabulary/skills.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/area/area_records.h"
#include "world/area/patch.h"
#include "world/events/event.h"
#include "world/game.h"

namespace DRAV {
namespace {

// Area-exit scripts run without an actor; the functions that need one refuse there.
CActor& ContextActor(const CScriptContext& context) {
    if (!context.actor) throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "the script runs without an actor");
    return *context.actor;
}

CArea& CurrentArea(const CScriptContext& context) {
    CArea* area = ScriptGame(context).GetCurrentArea();
    if (!area) throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "the game has no current area");
    return *area;
}

// The actor of argument 2; "party" is refused (code 6).
CActor& RequiredLuaActor(const CScriptContext& context, lua_State* state) {
    CActor* actor = GetLuaActor(context, state);
    if (!actor) throw CDRAVException(DRAV_ERR_SCRIPT, "\"party\" is no single actor");
    return *actor;
}

int lua_attack(lua_State* state) {
    CScriptContext& context = GetLuaContext(state);
    CActor* attacker = nullptr;
    CActor* subject = nullptr;
    if (context.partner) {
        subject = &GetScriptTalkActor(context);
        attacker = context.actor;
    } else {
        subject = &ContextActor(context);
    }
    ScriptEngine(context).RunCombatTrigger(*subject, attacker);
    ScriptGame(context).SetInBattle(true);
    return 0;
}

int lua_get_level(lua_State* state) {
    CScriptContext& context = GetLuaContext(state);
    const CActor* actor = GetLuaActor(context, state);
    lua_pushinteger(state, actor ? static_cast<std::int32_t>(actor->GetLevel()) : 0);
    return 1;
}

int lua_has_faction(lua_State* state) {
    CScriptContext& context = GetLuaContext(state);
    lua_pushboolean(state, context.actor && context.actor->GetFaction());
    return 1;
}

int lua_get_faction_rank(lua_State* state) {
    CScriptContext& context = GetLuaContext(state);
    const std::string name = GetLuaString(state, 2);
    const CFaction* faction = context.actor ? context.actor->GetFaction() : nullptr;
    const bool member = faction && faction->GetKey() == name;
    lua_pushinteger(state, member ? static_cast<std::int32_t>(context.actor->GetFactionRank()) + 1 : 0);
    return 1;
}

void ExpelFromFaction(CGame& game, CActor& actor) {
    if (const CFaction* faction = actor.GetFaction())
        game.PushMessage(MESSAGE_NOTICE, actor.GetName() + " has been expelled from the faction " +
                                             faction->GetDescriptionHeading() + ".");
    actor.SetFaction(nullptr, 0);
}

void PromoteInFaction(const CModule& module, CGame& game, CActor& actor, const std::string& name,
                      std::int32_t rank) {
    auto found = module.GetFactions().find(name);
    if (found == module.GetFactions().end())
        throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "no faction " + name);
    const CFaction& faction = *found->second;
    const auto& titles = faction.GetRankTitles();
    if (rank < 1 || static_cast<std::size_t>(rank) > titles.size())
        throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "faction " + name + " has no rank " + std::to_string(rank));
    actor.SetFaction(&faction, static_cast<std::uint32_t>(rank - 1));
    const FactionRankTitle& entry = titles[static_cast<std::size_t>(rank - 1)];
    const bool female = actor.GetGender() == GENDER_FEMALE && !entry.femaleTitle.empty();
    game.PushMessage(MESSAGE_NOTICE,
                     actor.GetName() + " has been promoted to the rank of " + (female ? entry.femaleTitle : entry.title) + ".");
    actor.InscribeScroll(module, &game);
}

int lua_set_faction_rank(lua_State* state) {
    CScriptContext& context = GetLuaContext(state);
    const std::string name = GetLuaString(state, 2);
    const std::int32_t rank = GetLuaInteger(state, 3);
    CActor& actor = ContextActor(context);
    if (rank == 0)
        ExpelFromFaction(ScriptGame(context), actor);
    else
        PromoteInFaction(ScriptModule(context), ScriptGame(context), actor, name, rank);
    return 0;
}

// Name, pronoun and possessive: "" for the party.
int PushActorWord(lua_State* state, std::string (*word)(const CActor&)) {
    CScriptContext& context = GetLuaContext(state);
    const CActor* actor = GetLuaActor(context, state);
    std::string text;
    if (actor) text = word(*actor);
    PushLuaString(state, text);
    return 1;
}

int lua_get_name(lua_State* state) {
    return PushActorWord(state, [](const CActor& actor) { return actor.GetName(); });
}
int lua_get_pronoun(lua_State* state) {
    return PushActorWord(state, [](const CActor& actor) { return GetPronoun(actor.GetGender()); });
}
int lua_get_possessive(lua_State* state) {
    return PushActorWord(state, [](const CActor& actor) { return GetPossessive(actor.GetGender()); });
}

int lua_empty_party(lua_State* state) {
    CScriptContext& context = GetLuaContext(state);
    CGame& game = ScriptGame(context);
    const auto party = game.GetParty();
    for (const auto& member : party)
        if (!member->IsMainCharacter()) game.RemovePartyMember(*member);
    game.PushEvent(std::make_shared<CInfoEvent>(EVENT_PARTY_CHANGED));
    return 0;
}

// Dead, male, surrendered: a yes-or-no question about one actor, never the party.
int AskActor(lua_State* state, bool (*test)(const CActor&)) {
    CScriptContext& context = GetLuaContext(state);
    lua_pushboolean(state, test(RequiredLuaActor(context, state)));
    return 1;
}

int lua_is_dead(lua_State* state) {
    return AskActor(state, [](const CActor& actor) { return actor.GetActionState() == ACTION_DEAD; });
}
int lua_is_male(lua_State* state) {
    return AskActor(state, [](const CActor& actor) { return actor.GetGender() == GENDER_MALE; });
}
int lua_is_surrender(lua_State* state) {
    return AskActor(state, [](const CActor& actor) { return actor.GetRelation() == RELATION_SURRENDER; });
}

int lua_is_in_area(lua_State* state) {
    CScriptContext& context = GetLuaContext(state);
    const std::string name = GetLuaString(state, 2);
    const CArea* area = ScriptGame(context).GetCurrentArea();
    lua_pushboolean(state, area && area->GetName() == name);
    return 1;
}

int lua_get_time(lua_State* state) {
    CScriptContext& context = GetLuaContext(state);
    lua_pushinteger(state, static_cast<lua_Integer>(ScriptGame(context).GetTick() / 30));
    return 1;
}

int lua_remove_encounter(lua_State* state) {
    CScriptContext& context = GetLuaContext(state);
    const std::string name = GetLuaString(state, 2);
    CurrentArea(context).RemoveEncounter(name);
    return 0;
}

int SetDoor(lua_State* state, bool open) {
    CScriptContext& context = GetLuaContext(state);
    const std::string name = GetLuaString(state, 2);
    CurrentArea(context).SetDoorState(CPatchActionDoor(open, name), false);
    return 0;
}
int lua_open_door(lua_State* state) { return SetDoor(state, true); }
int lua_close_door(lua_State* state) { return SetDoor(state, false); }

int lua_random_check(lua_State* state) {
    GetLuaContext(state);
    const std::int32_t chance = GetLuaInteger(state, 2);
    const auto roll = static_cast<std::int32_t>(static_cast<std::int64_t>(DRAVCommon::Random() * 100.0) % 100) + 1;
    lua_pushboolean(state, roll <= chance);
    return 1;
}

int lua_has_skill(lua_State* state) {
    CScriptContext& context = GetLuaContext(state);
    bool has = false;
    const CActor& actor = RequiredLuaActor(context, state);
    has = actor.HasSkill(ParseSkill(GetLuaString(state, 3)));
    lua_pushboolean(state, has);
    return 1;
}

// A spell key the module does not define ends the function before anything changes.
const CSpell& ModuleSpell(const CScriptContext& context, const std::string& key) {
    const SpellMap& spells = ScriptModule(context).GetSpells();
    auto found = spells.find(key);
    if (found == spells.end()) throw CDRAVException(DRAV_ERR_SCRIPT, "no spell \"" + key + "\" is defined");
    return *found->second;
}

int lua_teleport_actor(lua_State* state) {
    CScriptContext& context = GetLuaContext(state);
    const std::string entryName = GetLuaString(state, 2);
    const std::string spellName = GetLuaString(state, 3);
    const CSpell& spell = ModuleSpell(context, spellName);
    const CAreaEntry* entry = FindAreaEntry(CurrentArea(context).GetEntries(), entryName);
    if (!entry)
        throw CDRAVException(DRAV_ERR_SCRIPT, "the area has no entry \"" + entryName + "\"");
    ScriptEngine(context).TeleportActor(ContextActor(context), spell, *entry);
    return 0;
}

int lua_launch_spell(lua_State* state) {
    CScriptContext& context = GetLuaContext(state);
    const std::string spellName = GetLuaString(state, 2);
    const CSpell& spell = ModuleSpell(context, spellName);
    ScriptEngine(context).LaunchScriptSpell(ContextActor(context), spell);
    return 0;
}

}  // namespace

const CNativeFunctionList kWorldFunctions = {
    {"drav_attack", lua_attack},
    {"drav_get_level", lua_get_level},
    {"drav_has_faction", lua_has_faction},
    {"drav_get_faction_rank", lua_get_faction_rank},
    {"drav_set_faction_rank", lua_set_faction_rank},
    {"drav_get_name", lua_get_name},
    {"drav_get_pronoun", lua_get_pronoun},
    {"drav_get_possessive", lua_get_possessive},
    {"drav_empty_party", lua_empty_party},
    {"drav_is_dead", lua_is_dead},
    {"drav_is_in_area", lua_is_in_area},
    {"drav_get_time", lua_get_time},
    {"drav_is_male", lua_is_male},
    {"drav_remove_encounter", lua_remove_encounter},
    {"drav_is_surrender", lua_is_surrender},
    {"drav_open_door", lua_open_door},
    {"drav_close_door", lua_close_door},
    {"drav_random_check", lua_random_check},
    {"drav_has_skill", lua_has_skill},
    {"drav_teleport_actor", lua_teleport_actor},
    {"drav_launch_spell", lua_launch_spell},
};

}  // namespace DRAV
