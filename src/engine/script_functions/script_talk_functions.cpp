// Conversation script functions: speaking, replies, the next state, special
// statistic checks, who an actor is, the partner's store and its leaving.

#include "engine/script_functions/script_function_lists.h"

#include "common/exception.h"
#include "engine/engine.h"
#include "engine/script_functions/script_game_args.h"
#include "rules/definitions/talk_state.h"
#include "rules/kinds/number_texts.h"
#include "rules/vocabulary/skills.h"
#include "rules/vocabulary/special_stat.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/events/event.h"
#include "world/game.h"

namespace DRAV {
namespace {

// For an actor with a people-journal entry in the current area, the line goes
// into the people journal.
void NoteSaid(CGame& game, CActor* speaker, const std::string& line) {
    if (speaker && game.GetCurrentArea()) game.UpdatePeopleJournal(*game.GetCurrentArea(), *speaker, line);
}

// The line goes to the log, and to the people journal.
void Say(CGame& game, CActor* speaker, const std::string& line) {
    game.PushMessage(MESSAGE_NOTICE, line);
    NoteSaid(game, speaker, line);
}

// The selected speaker (argument 2) and its text (argument 3). "party" is
// everyone and no one: it cannot speak.
CActor& ReadSpeaker(const CScriptContext& context, lua_State* state, std::string& text) {
    CActor* actor = GetLuaActor(context, state);
    text = GetLuaText(state, 3);
    if (!actor) throw CLuaScriptError("Bad actor param\n");
    return *actor;
}

bool SpecialStatCheck(CScriptContext& context, const std::string& keyword, std::int32_t target) {
    const SpecialStat stat = ParseSpecialStat(keyword);
    CGame& game = ScriptGame(context);
    const std::int32_t best = game.GetBestPartySpecialStat(stat);
    const bool success = best + 50 > target;
    if (!success && stat == SPECIAL_OBSERVATION) return false;
    // A report of the party's try, not a line the partner says: the speech form
    // would put "Fail" in the partner's mouth.
    std::string line = (success ? "Success " : "Fail ") +
                       FormatNamedRollText(GetSkillName(GetSpecialStatSkill(stat)), 50, best, target);
    if (context.partner) line += " with " + GetScriptTalkTarget(context).GetName();
    game.PushMessage(MESSAGE_NOTICE, line);
    return success;
}

int lua_talk(lua_State* state) {
    CScriptContext& context = GetLuaContext(state, true);
    const std::string text = GetLuaText(state, 2);
    CGame& game = ScriptGame(context);
    std::string line = GetScriptTalkTarget(context).GetName() + " : " + text;
    ExpandScriptText(state, context, line);
    Say(game, dynamic_cast<CActor*>(context.partner), line);
    return 0;
}

int lua_chatter(lua_State* state) {
    CScriptContext& context = GetLuaContext(state);
    std::string text;
    CActor& speaker = ReadSpeaker(context, state, text);
    std::string line = speaker.GetName() + " : " + text;
    ExpandScriptText(state, context, line);
    Say(ScriptGame(context), &speaker, line);
    return 0;
}

int lua_shout(lua_State* state) {
    CScriptContext& context = GetLuaContext(state);
    std::string text;
    CActor& speaker = ReadSpeaker(context, state, text);
    CGame& game = ScriptGame(context);
    std::string line = speaker.GetName() + " : " + text;
    ExpandScriptText(state, context, line);
    // The interface logs a box's text as it opens the box, so the line is not
    // logged here as well: a shout is read once.
    game.PushEvent(std::make_shared<CDialogBoxEvent>(EVENT_DIALOG_BOX, speaker.GetName(), line));
    NoteSaid(game, &speaker, line);
    return 0;
}

int lua_add_talk_path(lua_State* state) {
    CScriptContext& context = GetLuaContext(state, true);
    std::string text = GetLuaText(state, 2);
    const std::string stateName = GetLuaString(state, 3);
    CTalkTarget& partner = GetScriptTalkTarget(context);
    if (!stateName.empty() && !FindTalkState(partner.GetTalkStates(), stateName))
        throw CLuaScriptError("DRAV::CLuaScript::lua_add_talk_path Bad State: " + stateName + "\n");
    ExpandScriptText(state, context, text);
    partner.AddTalkChoice(std::make_shared<CTalkChoice>(text, stateName));
    return 0;
}

int lua_is_in_party(lua_State* state) {
    CScriptContext& context = GetLuaContext(state);
    const CActor* actor = FindScriptActor(context, GetLuaString(state, 2));
    lua_pushboolean(state, actor && actor->IsPartyMember());
    return 1;
}

int lua_is_main_actor(lua_State* state) {
    CScriptContext& context = GetLuaContext(state);
    const CActor* actor = FindScriptActor(context, GetLuaString(state, 2));
    lua_pushboolean(state, actor && actor->GetTemplateName() == "main");
    return 1;
}

int lua_is_actor(lua_State* state) {
    CScriptContext& context = GetLuaContext(state);
    const CActor* actor = FindScriptActor(context, GetLuaString(state, 2));
    const std::string tag = GetLuaString(state, 3);
    lua_pushboolean(state, actor && actor->GetTemplateName() == tag);
    return 1;
}

int lua_goto_state(lua_State* state) {
    CScriptContext& context = GetLuaContext(state, true);
    const std::string name = GetLuaString(state, 2);
    if (!FindTalkState(GetScriptTalkTarget(context).GetTalkStates(), name))
        throw CLuaScriptError("DRAV::CLuaScript::lua_goto_state no state : " + name + "\n");
    context.nextState = name;
    return 0;
}

int lua_diplomacy_check(lua_State* state) {
    CScriptContext& context = GetLuaContext(state, true);
    const std::int32_t target = GetLuaInteger(state, 2);
    const std::string success = GetLuaString(state, 3);
    const std::string failure = GetLuaString(state, 4);
    context.nextState = SpecialStatCheck(context, "diplomacy", target) ? success : failure;
    return 0;
}

int lua_special_stat_check(lua_State* state) {
    CScriptContext& context = GetLuaContext(state);
    const std::string keyword = GetLuaString(state, 2);
    const std::int32_t target = GetLuaInteger(state, 3);
    lua_pushboolean(state, SpecialStatCheck(context, keyword, target));
    return 1;
}

int lua_get_special_stat(lua_State* state) {
    CScriptContext& context = GetLuaContext(state);
    CActor* actor = GetLuaActor(context, state);
    const std::string keyword = GetLuaString(state, 3);
    const SpecialStat stat = ParseSpecialStat(keyword);
    lua_pushinteger(state, actor ? actor->GetSpecialStat(stat) : ScriptGame(context).GetBestPartySpecialStat(stat));
    return 1;
}

int lua_store(lua_State* state) {
    CScriptContext& context = GetLuaContext(state, true);
    GetScriptTalkActor(context).SetStoreFlag(true);
    return 0;
}

int lua_remove_actor(lua_State* state) {
    CScriptContext& context = GetLuaContext(state, true);
    CActor& partner = GetScriptTalkActor(context);
    partner.SetActionState(ACTION_DEAD);
    partner.SetAttackTarget(ScriptGame(context).GetTick(), nullptr);
    return 0;
}

}  // namespace

const CNativeFunctionList kTalkFunctions = {
    {"drav_talk", lua_talk},
    {"drav_chatter", lua_chatter},
    {"drav_shout", lua_shout},
    {"drav_add_talk_path", lua_add_talk_path},
    {"drav_is_in_party", lua_is_in_party},
    {"drav_is_main_actor", lua_is_main_actor},
    {"drav_is_actor", lua_is_actor},
    {"drav_goto_state", lua_goto_state},
    {"drav_diplomacy_check", lua_diplomacy_check},
    {"drav_special_stat_check", lua_special_stat_check},
    {"drav_get_special_stat", lua_get_special_stat},
    {"drav_store", lua_store},
    {"drav_remove_actor", lua_remove_actor},
};

}  // namespace DRAV
