// Tag, journal, party and travel script functions: the lasting memory of the
// module's scripts and where the party goes next.

#include "engine/script_functions/script_function_lists.h"

#include "common/exception.h"
#include "engine/engine.h"
#include "engine/script_functions/script_game_args.h"
#include "rules/module.h"
#include "script/script_limits.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/events/event.h"
#include "world/game.h"
#include "world/saved_word.h"

namespace DRAV {
namespace {

std::string CurrentAreaName(CGame& game) {
    if (!game.GetCurrentArea()) throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "the game has no current area");
    return game.GetCurrentArea()->GetName();
}

// A journey without an entry goes through the map of that name; to an area of that
// name it comes in where a map place without an entry brings the party, at the
// area's first entry, which the journey then names.
std::string JourneyEntry(const CScriptContext& context, const std::string& area, const std::string& entry) {
    const CModule& module = ScriptModule(context);
    if (!entry.empty() || !module.GetPackage() || module.IsTravelMap(area)) return entry;
    const std::vector<std::string>& names = module.GetAreaEntryNames(area);
    if (names.empty()) throw CDRAVException(DRAV_ERR_BAD_DATA, "area \"" + area + "\" has no entry");
    return names.front();
}

// A place the game remembers goes into every later save, and the party may be sent
// there long after: a name a save cannot hold, or a place the module lacks, is
// refused here rather than by each save or journey after it.
AreaEntryPoint RequirePlace(const CScriptContext& context, const std::string& area, const std::string& entry,
                            bool journey = false) {
    RequireSavableWord(area, "area name");
    RequireSavableWord(entry, "entry name");
    if (!journey) {
        ScriptEngine(context).CheckAreaEntry({area, entry});
        return {area, entry};
    }
    const AreaEntryPoint place(area, JourneyEntry(context, area, entry));
    ScriptEngine(context).CheckJourney(place);
    return place;
}

// Every save carries the game's tags from then on: a script may set those the game
// holds, and add new ones only within bounds that keep a save small.
void RequireTagRoom(const CGame& game, const std::string& tag) {
    RequireRoomFor(game.GetQuestTags(), tag, kScriptTagLimit, "tag");
}

int lua_set_tag(lua_State* state) {
    CScriptContext& context = GetLuaContext(state);
    const std::string tag = GetLuaString(state, 2);
    RequireTagRoom(ScriptGame(context), tag);
    ScriptEngine(context).SetTag(tag, context.noQuestCheck);
    return 0;
}

int lua_set_tag_value(lua_State* state) {
    CScriptContext& context = GetLuaContext(state);
    const std::string tag = GetLuaString(state, 2);
    const std::int32_t value = GetLuaInteger(state, 3);
    RequireTagRoom(ScriptGame(context), tag);
    ScriptEngine(context).SetTagValue(tag, value, context.noQuestCheck);
    return 0;
}

int lua_check_tag(lua_State* state) {
    CScriptContext& context = GetLuaContext(state);
    const std::string tag = GetLuaString(state, 2);
    lua_pushboolean(state, ScriptGame(context).IsQuestTagSet(tag));
    return 1;
}

int lua_check_and_set_tag(lua_State* state) {
    CScriptContext& context = GetLuaContext(state);
    const std::string tag = GetLuaString(state, 2);
    const bool set = ScriptGame(context).IsQuestTagSet(tag);
    if (!set) {
        RequireTagRoom(ScriptGame(context), tag);
        ScriptEngine(context).SetTag(tag, context.noQuestCheck);
    }
    lua_pushboolean(state, set);
    return 1;
}

int lua_get_tag_value(lua_State* state) {
    CScriptContext& context = GetLuaContext(state);
    const std::string tag = GetLuaString(state, 2);
    std::int32_t value = 0;
    const auto& tags = ScriptGame(context).GetQuestTags();
    if (auto found = tags.find(tag); found != tags.end()) value = found->second;
    lua_pushinteger(state, value);
    return 1;
}

int lua_journal(lua_State* state) {
    CScriptContext& context = GetLuaContext(state);
    const std::string quest = GetLuaString(state, 2);
    const std::string entry = GetLuaString(state, 3);
    ScriptGame(context).AddJournalEntry(entry, quest);
    return 0;
}

int lua_reveal_area(lua_State* state) {
    CScriptContext& context = GetLuaContext(state);
    const std::string location = GetLuaString(state, 2);
    ScriptGame(context).RevealArea(location);
    return 0;
}

int lua_join_party(lua_State* state) {
    CScriptContext& context = GetLuaContext(state, true);
    CActor& partner = GetScriptTalkActor(context);
    CGame& game = ScriptGame(context);
    if (partner.IsPartyMember()) return 0;
    if (game.IsPartyFull()) {
        game.PushMessage(MESSAGE_NOTICE, partner.GetName() + " cannot join because your party is full.");
        return 0;
    }
    CArea* area = game.GetCurrentArea();
    if (!area) throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "the game has no current area");
    // The new member stays in the area, now as its last actor.
    std::shared_ptr<CActor> actor = area->RemoveActor(partner);
    if (!actor) throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, partner.GetName() + " is not in the area");
    area->AddActor(actor);
    game.AddPartyMember(actor);
    game.PushEvent(std::make_shared<CInfoEvent>(EVENT_PARTY_CHANGED));
    return 0;
}

int lua_leave_party(lua_State* state) {
    CScriptContext& context = GetLuaContext(state);
    CActor* actor = context.partner ? &GetScriptTalkActor(context) : context.actor;
    if (!actor || !actor->IsPartyMember())
        throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "only a party member can leave the party");
    CGame& game = ScriptGame(context);
    game.RemovePartyMember(*actor);
    game.PushEvent(std::make_shared<CInfoEvent>(EVENT_PARTY_CHANGED));
    return 0;
}

int lua_goto_area(lua_State* state) {
    CScriptContext& context = GetLuaContext(state);
    const std::string area = GetLuaString(state, 2);
    const std::string entry = GetLuaString(state, 3);
    const AreaEntryPoint place = RequirePlace(context, area, entry, true);
    CGame& game = ScriptGame(context);
    game.SetStateCode(GAME_TRAVEL);
    game.SetEntry(place, 0, "");
    return 0;
}

int lua_rest(lua_State* state) {
    CScriptContext& context = GetLuaContext(state);
    const std::string entry = GetLuaString(state, 2);
    CGame& game = ScriptGame(context);
    const AreaEntryPoint place = RequirePlace(context, CurrentAreaName(game), entry);
    if (game.IsInBattle()) {
        game.PushMessage(MESSAGE_NOTICE, "You cannot rest while in battle.");
        return 0;
    }
    game.SetStateCode(GAME_WIPED_OUT);
    game.SetEntry(place, 0, "");
    return 0;
}

int lua_set_resurrection(lua_State* state) {
    CScriptContext& context = GetLuaContext(state);
    const std::string area = GetLuaString(state, 2);
    const std::string entry = GetLuaString(state, 3);
    ScriptGame(context).SetResurrectionPoint(RequirePlace(context, area, entry));
    return 0;
}

int lua_set_return(lua_State* state) {
    CScriptContext& context = GetLuaContext(state);
    const std::string entry = GetLuaString(state, 2);
    CGame& game = ScriptGame(context);
    game.SetReturnPoint(RequirePlace(context, CurrentAreaName(game), entry));
    return 0;
}

}  // namespace

const CNativeFunctionList kTagFunctions = {
    {"drav_set_tag", lua_set_tag},
    {"drav_set_tag_value", lua_set_tag_value},
    {"drav_check_tag", lua_check_tag},
    {"drav_check_and_set_tag", lua_check_and_set_tag},
    {"drav_get_tag_value", lua_get_tag_value},
    {"drav_journal", lua_journal},
    {"drav_reveal_area", lua_reveal_area},
    {"drav_join_party", lua_join_party},
    {"drav_leave_party", lua_leave_party},
    {"drav_goto_area", lua_goto_area},
    {"drav_rest", lua_rest},
    {"drav_set_resurrection", lua_set_resurrection},
    {"drav_set_return", lua_set_return},
};

}  // namespace DRAV
