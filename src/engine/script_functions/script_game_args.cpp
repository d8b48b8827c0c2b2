#include "engine/script_functions/script_game_args.h"

#include "common/exception.h"
#include "engine/engine.h"
#include "script/script_limits.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/game.h"

namespace DRAV {

CEngine& ScriptEngine(const CScriptContext& context) {
    if (!context.engine) throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "script run without an engine");
    return *context.engine;
}

CGame& ScriptGame(const CScriptContext& context) {
    const auto& game = ScriptEngine(context).GetGame();
    if (!game) throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "script run without a game");
    return *game;
}

const CModule& ScriptModule(const CScriptContext& context) {
    const auto& module = ScriptEngine(context).GetModule();
    if (!module) throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "script run without a module");
    return *module;
}

CActor* FindScriptActor(const CScriptContext& context, const std::string& selector) {
    if (selector == "actor") return context.actor;
    if (selector == "target") return context.partner ? &GetScriptTalkActor(context) : nullptr;
    CGame& game = ScriptGame(context);
    for (const auto& member : game.GetParty())
        if (member->GetTemplateName() == selector) return member.get();
    if (CArea* area = game.GetCurrentArea())
        for (const auto& actor : area->GetActors())
            if (actor->GetActionState() != ACTION_DEAD && actor->GetTemplateName() == selector) return actor.get();
    return nullptr;
}

CActor* GetLuaActor(const CScriptContext& context, lua_State* state) {
    const std::string selector = GetLuaString(state, 2);
    if (selector == "party") return nullptr;
    CActor* actor = FindScriptActor(context, selector);
    if (!actor) throw CLuaScriptError("Bad actor param\n");
    return actor;
}

CTalkTarget& GetScriptTalkTarget(const CScriptContext& context) {
    CTalkTarget* target = context.testMode ? context.testPartner : dynamic_cast<CTalkTarget*>(context.partner);
    if (!target) throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "the conversation partner cannot talk");
    return *target;
}

CActor& GetScriptTalkActor(const CScriptContext& context) {
    auto* actor = dynamic_cast<CActor*>(context.partner);
    if (!actor) throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "the conversation partner is not a person");
    return *actor;
}

void ExpandScriptText(lua_State* state, const CScriptContext& context, std::string& text) {
    ChargeNativeWork(state, WorkOfScan(text.size()));
    ScriptGame(context).ExpandText(text, kExpandedTextLimit);
    ChargeNativeWork(state, WorkOfBytes(text.size()));
}

void PushLuaString(lua_State* state, const std::string& text) { lua_pushlstring(state, text.data(), text.size()); }

}  // namespace DRAV
