// Quest, message, gold and item script functions, and the boxes a script opens.

#include "engine/script_functions/script_function_lists.h"

#include "common/exception.h"
#include "engine/engine.h"
#include "engine/script_functions/script_game_args.h"
#include "rules/definitions/quest_info.h"
#include "rules/items/item_template.h"
#include "rules/module.h"
#include "script/script_limits.h"
#include "world/actor.h"
#include "world/events/event.h"
#include "world/game.h"
#include "world/item.h"

namespace DRAV {
namespace {

const CQuestInfo& FindQuest(const CScriptContext& context, const std::string& name) {
    const QuestMap& quests = ScriptModule(context).GetQuests();
    auto found = quests.find(name);
    if (found == quests.end()) throw CDRAVException(DRAV_ERR_BAD_DATA, "no quest " + name);
    return *found->second;
}

// The first item of template `key` the party has: each member's equipment in slot
// order, then its backpack. False when there is none.
bool FindPartyItem(CGame& game, const std::string& key, std::shared_ptr<CActor>& owner, int& slot,
                   std::shared_ptr<CItem>& item) {
    for (const auto& member : game.GetParty()) {
        const EquipmentSlots& equipment = member->GetEquipment();
        for (int i = 0; i < kEquipSlotCount; ++i) {
            if (equipment[i] && equipment[i]->GetTemplate().GetKey() == key) {
                owner = member, slot = i, item = equipment[i];
                return true;
            }
        }
        for (const auto& carried : member->GetBackpackItems()) {
            if (carried->GetTemplate().GetKey() == key) {
                owner = member, slot = -1, item = carried;
                return true;
            }
        }
    }
    return false;
}

int lua_check_assigned(lua_State* state) {
    CScriptContext& context = GetLuaContext(state);
    const std::string name = GetLuaString(state, 2);
    const std::string& tag = FindQuest(context, name).GetCompletionTag();
    lua_pushboolean(state, !tag.empty() && ScriptGame(context).IsQuestTagSet(tag));
    return 1;
}

int lua_assign_quest(lua_State* state) {
    CScriptContext& context = GetLuaContext(state);
    const std::string name = GetLuaString(state, 2);
    const CQuestInfo& quest = FindQuest(context, name);
    CGame& game = ScriptGame(context);
    // Written directly: assignment alone completes nothing and fires no patch.
    if (!quest.GetCompletionTag().empty()) game.SetQuestTag(quest.GetCompletionTag(), 1);
    game.PushMessage(MESSAGE_NOTICE, "You have been assigned a quest (" + quest.GetName() + ").");
    return 0;
}

int lua_message(lua_State* state) {
    CScriptContext& context = GetLuaContext(state);
    std::string text = GetLuaText(state, 2);
    ExpandScriptText(state, context, text);
    ScriptGame(context).PushMessage(MESSAGE_NOTICE, text);
    return 0;
}

int lua_give_gold(lua_State* state) {
    CScriptContext& context = GetLuaContext(state);
    const std::int64_t amount = GetLuaInteger(state, 2);
    CGame& game = ScriptGame(context);
    // The line first: a call past the limit of things ends there, the gold unchanged.
    game.PushMessage(MESSAGE_GOLD, amount > 0 ? "The party has gained " + std::to_string(amount) + " gold."
                                              : "The party has lost " + std::to_string(-amount) + " gold.");
    const std::int64_t gold = std::max<std::int64_t>(0, std::int64_t{game.GetGold()} + amount);
    game.SetGold(static_cast<std::int32_t>(std::min<std::int64_t>(gold, INT32_MAX)));
    return 0;
}

int lua_give_item(lua_State* state) {
    CScriptContext& context = GetLuaContext(state);
    const std::string key = GetLuaString(state, 2);
    const std::int32_t count = GetLuaOptionalInteger(state, 3, 1);
    // Merged into a stack, a count below 1 would shrink it.
    if (count < 1) throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "item count " + std::to_string(count));
    CGame& game = ScriptGame(context);
    // An exit or quest script has no actor: the main character takes the item.
    std::shared_ptr<CActor> main = context.actor ? nullptr : game.GetMainActor();
    CActor* receiver = context.actor ? context.actor : main.get();
    if (!receiver) throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "nobody to take the item");
    // Every save carries the pack from then on.
    if (receiver->GetBackpackItems().size() >= kScriptPackLimit)
        throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, receiver->GetName() + "'s pack holds " +
                                                        std::to_string(kScriptPackLimit) +
                                                        " stacks, as many as scripts may fill");
    const ThingId id = game.NewThingId(THING_ITEM);
    std::shared_ptr<CItem> item = ScriptModule(context).CreateItem(key, count, id, 0);
    ScriptEngine(context).SetItemTag(*item);
    receiver->AddToBackpack(item, true);
    // Named, so that the player knows what to look for in the pack.
    const std::string& name = item->GetTemplate().GetName();
    game.PushMessage(MESSAGE_NOTICE, "The party has gained " +
                                         (count > 1 ? name + " (" + std::to_string(count) + ")" : name) + ".");
    return 0;
}

int lua_remove_item(lua_State* state) {
    CScriptContext& context = GetLuaContext(state);
    const std::string key = GetLuaString(state, 2);
    std::shared_ptr<CActor> owner;
    std::shared_ptr<CItem> item;
    int slot = -1;
    const bool found = FindPartyItem(ScriptGame(context), key, owner, slot, item);
    if (found && slot >= 0) owner->RemoveEquipment(static_cast<EquipSlot>(slot));
    else if (found) owner->RemoveFromBackpack(*item);
    lua_pushboolean(state, found);
    return 1;
}

int lua_has_item(lua_State* state) {
    CScriptContext& context = GetLuaContext(state);
    const std::string key = GetLuaString(state, 2);
    std::shared_ptr<CActor> owner;
    std::shared_ptr<CItem> item;
    int slot = -1;
    lua_pushboolean(state, FindPartyItem(ScriptGame(context), key, owner, slot, item));
    return 1;
}

int lua_get_gold(lua_State* state) {
    CScriptContext& context = GetLuaContext(state);
    const CActor* actor = GetLuaActor(context, state);
    lua_pushinteger(state, actor ? 0 : ScriptGame(context).GetGold());
    return 1;
}

int lua_win(lua_State* state) {
    CScriptContext& context = GetLuaContext(state);
    std::string text = GetLuaText(state, 2);
    CGame& game = ScriptGame(context);
    ExpandScriptText(state, context, text);
    game.SetStateCode(GAME_WON);
    game.SetClosingText(text);
    return 0;
}

int PushBox(lua_State* state, std::int32_t code) {
    CScriptContext& context = GetLuaContext(state);
    const std::string title = GetLuaText(state, 2);
    std::string text = GetLuaText(state, 3);
    ExpandScriptText(state, context, text);
    ScriptGame(context).PushEvent(std::make_shared<CDialogBoxEvent>(code, title, text));
    return 0;
}

int lua_dialog_box(lua_State* state) { return PushBox(state, EVENT_DIALOG_BOX); }
int lua_help(lua_State* state) { return PushBox(state, EVENT_TUTORIAL); }

}  // namespace

const CNativeFunctionList kQuestFunctions = {
    {"drav_check_assigned", lua_check_assigned},
    {"drav_assign_quest", lua_assign_quest},
    {"drav_message", lua_message},
    {"drav_give_gold", lua_give_gold},
    {"drav_give_item", lua_give_item},
    {"drav_remove_item", lua_remove_item},
    {"drav_has_item", lua_has_item},
    {"drav_get_gold", lua_get_gold},
    {"drav_win", lua_win},
    {"drav_dialog_box", lua_dialog_box},
    {"drav_help", lua_help},
};

}  // namespace DRAV
