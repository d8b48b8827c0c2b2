// The test-mode twins: they read and check arguments as the normal functions do,
// write what the call would do to standard output and read the values they
// return from standard input, without touching the game.

#include <iostream>
#include <string>

#include "common/exception.h"
#include "engine/engine.h"
#include "engine/script_functions/script_function_lists.h"
#include "engine/script_functions/script_game_args.h"
#include "rules/definitions/faction.h"
#include "rules/definitions/quest_info.h"
#include "rules/definitions/talk_state.h"
#include "rules/items/item_template.h"
#include "rules/magic/spell.h"
#include "rules/module.h"
#include "rules/monsters/actor_template.h"
#include "rules/vocabulary/skills.h"
#include "rules/vocabulary/special_stat.h"
#include "world/game.h"

namespace DRAV {
namespace {

const std::string kPrefix = "DRAV::CLuaScript::";

void Print(const char* twin, const std::string& rest = {}) {
    std::cout << kPrefix << twin << rest << '\n';
    std::cout.flush();
}

std::int32_t ReadInt(const char* prompt) {
    std::cout << prompt;
    std::cout.flush();
    std::int32_t value = 0;
    if (!(std::cin >> value)) {
        // Not a number reads as 0, as stream extraction gives it.
        std::cin.clear();
        std::string skipped;
        std::cin >> skipped;
        value = 0;
    }
    return value;
}

int AskBoolean(lua_State* state, const char* twin, const std::string& rest) {
    Print(twin, rest);
    lua_pushboolean(state, ReadInt("Value (0 or 1)> ") != 0);
    return 1;
}

int AskInteger(lua_State* state, const char* twin, const std::string& rest) {
    Print(twin, rest);
    lua_pushinteger(state, ReadInt("Value (int)> "));
    return 1;
}

// Twins whose only argument is one string, shown after " : ".
int AskAboutString(lua_State* state, const char* twin, int (*ask)(lua_State*, const char*, const std::string&)) {
    GetLuaContext(state);
    return ask(state, twin, " : " + GetLuaString(state, 2));
}

// Marker expansion needs a game; without one the text stays as written.
std::string ExpandIfGame(const CScriptContext& context, std::string text) {
    if (context.engine && context.engine->GetGame()) context.engine->GetGame()->ExpandText(text);
    return text;
}

std::string GetLuaActorTest(const CScriptContext& context, lua_State* state) {
    const std::string selector = GetLuaString(state, 2);
    if (selector == "actor") return "talker_name";
    if (selector == "target" && context.testPartner) return context.testPartner->GetName();
    if (selector == "main") return "main_name";
    if (selector == "party") return "party";
    if (context.engine && context.engine->GetModule())
        if (const CActorTemplate* monster = context.engine->GetModule()->FindMonsterTemplate(selector))
            return monster->GetName();
    throw CLuaScriptError(kPrefix + "GetLuaActorTest bad actor : " + selector + "\n");
}

const CItemTemplate& GetLuaItemTest(const CScriptContext& context, const std::string& name) {
    const auto& items = ScriptModule(context).GetItemTemplates();
    auto found = items.find(name);
    if (found == items.end()) throw CLuaScriptError(kPrefix + "GetLuaItemTest No item: " + name + "\n");
    return *found->second;
}

const CQuestInfo& QuestTest(const CScriptContext& context, const char* twin, const char* missing,
                            const std::string& name) {
    const QuestMap& quests = ScriptModule(context).GetQuests();
    auto found = quests.find(name);
    if (found == quests.end()) throw CDRAVException(DRAV_ERR_SCRIPT, kPrefix + twin + missing + name + "\n");
    return *found->second;
}

lua_CFunction NormalHandler(const char* name) {
    for (const CScriptFunction& function : GetNativeScriptFunctions())
        if (std::string(function.name) == name) return function.handler;
    return nullptr;
}

// Writes the twin's name alone, then lets the normal function act on the test partner.
int PrintAndRun(lua_State* state, const char* twin, const char* normal) {
    GetLuaContext(state, true);
    Print(twin);
    return NormalHandler(normal)(state);
}

int CheckConversation(lua_State* state, const char* twin) {
    GetLuaContext(state, true);
    Print(twin);
    return 0;
}

// ---- conversation ----
int lua_talk_test(lua_State* state) {
    CScriptContext& context = GetLuaContext(state, true);
    const std::string text = GetLuaString(state, 2);
    const std::string line = GetScriptTalkTarget(context).GetName() + " : " + text;
    Print("lua_talk_test", " : " + ExpandIfGame(context, line));
    return 0;
}
int lua_chatter_test(lua_State* state) {
    CScriptContext& context = GetLuaContext(state);
    const std::string name = GetLuaActorTest(context, state);
    Print("lua_chatter_test", " " + name + " : " + GetLuaString(state, 3));
    return 0;
}
int lua_shout_test(lua_State* state) {
    CScriptContext& context = GetLuaContext(state);
    const std::string name = GetLuaActorTest(context, state);
    const std::string text = GetLuaString(state, 3);
    Print("lua_shout_test", ExpandIfGame(context, name + " : " + text));
    return 0;
}
int lua_add_talk_path_test(lua_State* state) {
    return PrintAndRun(state, "lua_add_talk_path_test", "drav_add_talk_path");
}
int lua_is_in_party_test(lua_State* state) { return AskAboutString(state, "lua_is_in_party_test", AskBoolean); }
int lua_is_main_actor_test(lua_State* state) { return AskAboutString(state, "lua_is_main_actor_test", AskBoolean); }
int lua_is_actor_test(lua_State* state) {
    GetLuaContext(state);
    const std::string selector = GetLuaString(state, 2);
    return AskBoolean(state, "lua_is_actor_test", " : " + selector + " = " + GetLuaString(state, 3));
}
int lua_goto_state_test(lua_State* state) { return PrintAndRun(state, "lua_goto_state_test", "drav_goto_state"); }
int lua_diplomacy_check_test(lua_State* state) {
    CScriptContext& context = GetLuaContext(state, true);
    const std::int32_t target = GetLuaInteger(state, 2);
    const std::string success = GetLuaString(state, 3);
    const std::string failure = GetLuaString(state, 4);
    Print("lua_diplomacy_check_test", " dc: " + std::to_string(target));
    const std::string& name = ReadInt("Success (1 or 0)?> ") != 0 ? success : failure;
    if (!FindTalkState(context.testPartner->GetTalkStates(), name))
        throw CDRAVException(DRAV_ERR_SCRIPT, kPrefix + "lua_diplomacy_check_test Bad State: " + name + "\n");
    context.nextState = name;
    return 0;
}
int lua_special_stat_check_test(lua_State* state) {
    GetLuaContext(state);
    const std::string keyword = GetLuaString(state, 2);
    const std::int32_t target = GetLuaInteger(state, 3);
    ParseSpecialStat(keyword);
    return AskBoolean(state, "lua_special_stat_check_test", " : " + keyword + " " + std::to_string(target));
}
int lua_get_special_stat_test(lua_State* state) {
    CScriptContext& context = GetLuaContext(state);
    const std::string name = GetLuaActorTest(context, state);
    const std::string keyword = GetLuaString(state, 3);
    ParseSpecialStat(keyword);
    return AskInteger(state, "lua_get_special_stat_test", " : " + name + " " + keyword);
}
int lua_store_test(lua_State* state) {
    GetLuaContext(state, true).storeRequested = true;
    Print("lua_store_test");
    return 0;
}
int lua_remove_actor_test(lua_State* state) { return CheckConversation(state, "lua_remove_actor_test"); }

// ---- tags, journal, party, travel ----
int PrintStrings(lua_State* state, const char* twin, int count, const char* separator = ", ") {
    GetLuaContext(state);
    std::string rest = " : ";
    for (int i = 0; i < count; ++i) rest += (i ? separator : "") + GetLuaString(state, 2 + i);
    Print(twin, rest);
    return 0;
}
int lua_set_tag_test(lua_State* state) { return PrintStrings(state, "lua_set_tag_test", 1); }
int lua_set_tag_value_test(lua_State* state) {
    GetLuaContext(state);
    const std::string tag = GetLuaString(state, 2);
    Print("lua_set_tag_value_test", " : " + tag + " " + std::to_string(GetLuaInteger(state, 3)));
    return 0;
}
int lua_check_tag_test(lua_State* state) { return AskAboutString(state, "lua_check_tag_test", AskBoolean); }
int lua_check_and_set_tag_test(lua_State* state) {
    return AskAboutString(state, "lua_check_and_set_tag_test", AskBoolean);
}
int lua_get_tag_value_test(lua_State* state) { return AskAboutString(state, "lua_get_tag_value_test", AskInteger); }
int lua_journal_test(lua_State* state) {
    CScriptContext& context = GetLuaContext(state);
    const std::string quest = GetLuaString(state, 2);
    const std::string key = GetLuaString(state, 3);
    const auto& texts = ScriptModule(context).GetJournalTexts();
    auto found = texts.find(key);
    if (found == texts.end() || found->second.empty())
        throw CDRAVException(DRAV_ERR_SCRIPT, kPrefix + "lua_journal_test No journal entry : " + key + "\n");
    Print("lua_journal_test", " Quest: " + quest + " Journal: " + key + " Message: " + found->second);
    return 0;
}
int lua_reveal_area_test(lua_State* state) { return PrintStrings(state, "lua_reveal_area_test", 1); }
int lua_join_party_test(lua_State* state) { return CheckConversation(state, "lua_join_party_test"); }
int lua_leave_party_test(lua_State* state) {
    GetLuaContext(state);
    Print("lua_leave_party_test");
    return 0;
}
int lua_goto_area_test(lua_State* state) { return PrintStrings(state, "lua_goto_area_test", 2); }
int lua_rest_test(lua_State* state) { return PrintStrings(state, "lua_rest_test", 1); }
int lua_set_resurrection_test(lua_State* state) { return PrintStrings(state, "lua_set_resurrection_test", 2); }
int lua_set_return_test(lua_State* state) { return PrintStrings(state, "lua_set_return_test", 1); }

// ---- quests, messages, gold, items ----
int lua_check_assigned_test(lua_State* state) {
    CScriptContext& context = GetLuaContext(state);
    const std::string name = GetLuaString(state, 2);
    const CQuestInfo& quest = QuestTest(context, "lua_check_assigned_test", " no such quest : ", name);
    return AskBoolean(state, "lua_check_assigned_test", " : " + name + " (" + quest.GetName() + ")");
}
int lua_assign_quest_test(lua_State* state) {
    CScriptContext& context = GetLuaContext(state);
    const std::string name = GetLuaString(state, 2);
    const CQuestInfo& quest = QuestTest(context, "lua_assign_quest_test", " No such quest : ", name);
    Print("lua_assign_quest_test", " : " + name + " (" + quest.GetName() + ")");
    return 0;
}
int lua_message_test(lua_State* state) { return PrintStrings(state, "lua_message_test", 1); }
int lua_give_gold_test(lua_State* state) {
    GetLuaContext(state);
    Print("lua_give_gold_test", " : " + std::to_string(GetLuaInteger(state, 2)));
    return 0;
}
int lua_give_item_test(lua_State* state) {
    CScriptContext& context = GetLuaContext(state);
    const std::string name = GetLuaString(state, 2);
    const std::int32_t count = GetLuaOptionalInteger(state, 3, 1);
    const CItemTemplate& item = GetLuaItemTest(context, name);
    Print("lua_give_item_test", " : " + name + " (" + item.GetName() + ") " + std::to_string(count));
    return 0;
}
int AskItem(lua_State* state, const char* twin) {
    CScriptContext& context = GetLuaContext(state);
    const std::string name = GetLuaString(state, 2);
    const CItemTemplate& item = GetLuaItemTest(context, name);
    return AskBoolean(state, twin, " : " + name + " (" + item.GetName() + ")");
}
int lua_remove_item_test(lua_State* state) { return AskItem(state, "lua_remove_item_test"); }
int lua_has_item_test(lua_State* state) { return AskItem(state, "lua_has_item_test"); }
int lua_get_gold_test(lua_State* state) {
    CScriptContext& context = GetLuaContext(state);
    const std::string name = GetLuaActorTest(context, state);
    if (GetLuaString(state, 2) != "party")
        throw CLuaScriptError(kPrefix + "lua_get_gold_test Actor must be party : " + name + "\n");
    return AskInteger(state, "lua_get_gold_test", "");
}
int lua_win_test(lua_State* state) {
    CScriptContext& context = GetLuaContext(state);
    const std::string text = GetLuaString(state, 2);
    Print("lua_win_test", " : " + ExpandIfGame(context, text));
    return 0;
}
int PrintBox(lua_State* state, const char* twin) {
    CScriptContext& context = GetLuaContext(state);
    const std::string title = GetLuaString(state, 2);
    const std::string text = GetLuaString(state, 3);
    Print(twin, " : " + title + " : " + ExpandIfGame(context, text));
    return 0;
}
int lua_dialog_box_test(lua_State* state) { return PrintBox(state, "lua_dialog_box_test"); }
int lua_help_test(lua_State* state) { return PrintBox(state, "lua_help_test"); }

// ---- actors, factions, world ----
int lua_attack_test(lua_State* state) {
    GetLuaContext(state);
    Print("lua_attack_test");
    return 0;
}
int AskAboutActor(lua_State* state, const char* twin, int (*ask)(lua_State*, const char*, const std::string&)) {
    CScriptContext& context = GetLuaContext(state);
    return ask(state, twin, " : " + GetLuaActorTest(context, state));
}
int lua_get_level_test(lua_State* state) { return AskAboutActor(state, "lua_get_level_test", AskInteger); }
int lua_is_dead_test(lua_State* state) { return AskAboutActor(state, "lua_is_dead_test", AskBoolean); }
int lua_is_male_test(lua_State* state) { return AskAboutActor(state, "lua_is_male_test", AskBoolean); }
int lua_is_surrender_test(lua_State* state) { return AskAboutActor(state, "lua_is_surrender_test", AskBoolean); }
int lua_has_faction_test(lua_State* state) {
    GetLuaContext(state);
    return AskBoolean(state, "lua_has_faction_test", "");
}
const CFaction& GetLuaFactionTest(const CScriptContext& context, const char* twin, const std::string& name) {
    const FactionMap& factions = ScriptModule(context).GetFactions();
    auto found = factions.find(name);
    if (found == factions.end()) throw CLuaScriptError(kPrefix + twin + " No such faction: " + name + "\n");
    return *found->second;
}
int lua_get_faction_rank_test(lua_State* state) {
    CScriptContext& context = GetLuaContext(state);
    const std::string name = GetLuaString(state, 2);
    const CFaction& faction = GetLuaFactionTest(context, "lua_get_faction_rank_test", name);
    return AskInteger(state, "lua_get_faction_rank_test", " : " + name + " (" + faction.GetName() + ")");
}
int lua_set_faction_rank_test(lua_State* state) {
    CScriptContext& context = GetLuaContext(state);
    const std::string name = GetLuaString(state, 2);
    const std::int32_t rank = GetLuaInteger(state, 3);
    const CFaction& faction = GetLuaFactionTest(context, "lua_set_faction_rank_test", name);
    Print("lua_set_faction_rank_test", " : " + name + " (" + faction.GetName() + ") " + std::to_string(rank));
    return 0;
}
int PrintActorText(lua_State* state, const char* twin) {
    CScriptContext& context = GetLuaContext(state);
    const std::string name = GetLuaActorTest(context, state);
    Print(twin, " : " + name);
    PushLuaString(state, name);
    return 1;
}
int lua_get_name_test(lua_State* state) { return PrintActorText(state, "lua_get_name_test"); }
int lua_get_pronoun_test(lua_State* state) { return PrintActorText(state, "lua_get_pronoun_test"); }
int lua_get_possessive_test(lua_State* state) { return PrintActorText(state, "lua_get_possessive_test"); }
int lua_empty_party_test(lua_State* state) {
    GetLuaContext(state);
    Print("lua_empty_party_test");
    return 0;
}
int lua_is_in_area_test(lua_State* state) { return AskAboutString(state, "lua_is_in_area_test", AskBoolean); }
int lua_get_time_test(lua_State* state) {
    GetLuaContext(state);
    return AskInteger(state, "lua_get_time_test", "");
}
int lua_remove_encounter_test(lua_State* state) { return PrintStrings(state, "lua_remove_encounter_test", 1); }
int lua_open_door_test(lua_State* state) { return PrintStrings(state, "lua_open_door_test", 1); }
int lua_close_door_test(lua_State* state) { return PrintStrings(state, "lua_close_door_test", 1); }
int lua_random_check_test(lua_State* state) {
    GetLuaContext(state);
    return AskBoolean(state, "lua_random_check_test", " : " + std::to_string(GetLuaInteger(state, 2)));
}
int lua_has_skill_test(lua_State* state) {
    CScriptContext& context = GetLuaContext(state);
    const std::string name = GetLuaActorTest(context, state);
    const std::string key = GetLuaString(state, 3);
    try {
        ParseSkill(key);
    } catch (const CDRAVException&) {
        throw CLuaScriptError(kPrefix + "lua_has_skill_test No such skill: " + key + "\n");
    }
    return AskBoolean(state, "lua_has_skill_test", " : " + name + ", " + key);
}
// The spell's display name; an undefined spell ends the script naming the twin.
std::string GetLuaSpellTest(const CScriptContext& context, const char* twin, const std::string& key) {
    const SpellMap& spells = ScriptModule(context).GetSpells();
    auto found = spells.find(key);
    if (found == spells.end()) throw CLuaScriptError(kPrefix + twin + " No such spell: " + key + "\n");
    return found->second->GetName();
}
int lua_teleport_actor_test(lua_State* state) {
    CScriptContext& context = GetLuaContext(state);
    const std::string entry = GetLuaString(state, 2);
    const std::string spell = GetLuaSpellTest(context, "lua_teleport_actor_test", GetLuaString(state, 3));
    Print("lua_teleport_actor_test", " : " + entry + ", " + spell);
    return 0;
}
int lua_launch_spell_test(lua_State* state) {
    CScriptContext& context = GetLuaContext(state);
    Print("lua_launch_spell_test", " : " + GetLuaSpellTest(context, "lua_launch_spell_test", GetLuaString(state, 2)));
    return 0;
}

}  // namespace

const CNativeFunctionList kTestFunctions = {
    {"drav_talk", lua_talk_test},
    {"drav_chatter", lua_chatter_test},
    {"drav_shout", lua_shout_test},
    {"drav_add_talk_path", lua_add_talk_path_test},
    {"drav_is_in_party", lua_is_in_party_test},
    {"drav_is_main_actor", lua_is_main_actor_test},
    {"drav_is_actor", lua_is_actor_test},
    {"drav_goto_state", lua_goto_state_test},
    {"drav_diplomacy_check", lua_diplomacy_check_test},
    {"drav_special_stat_check", lua_special_stat_check_test},
    {"drav_get_special_stat", lua_get_special_stat_test},
    {"drav_store", lua_store_test},
    {"drav_remove_actor", lua_remove_actor_test},
    {"drav_set_tag", lua_set_tag_test},
    {"drav_set_tag_value", lua_set_tag_value_test},
    {"drav_check_tag", lua_check_tag_test},
    {"drav_check_and_set_tag", lua_check_and_set_tag_test},
    {"drav_get_tag_value", lua_get_tag_value_test},
    {"drav_journal", lua_journal_test},
    {"drav_reveal_area", lua_reveal_area_test},
    {"drav_join_party", lua_join_party_test},
    {"drav_leave_party", lua_leave_party_test},
    {"drav_goto_area", lua_goto_area_test},
    {"drav_rest", lua_rest_test},
    {"drav_set_resurrection", lua_set_resurrection_test},
    {"drav_set_return", lua_set_return_test},
    {"drav_check_assigned", lua_check_assigned_test},
    {"drav_assign_quest", lua_assign_quest_test},
    {"drav_message", lua_message_test},
    {"drav_give_gold", lua_give_gold_test},
    {"drav_give_item", lua_give_item_test},
    {"drav_remove_item", lua_remove_item_test},
    {"drav_has_item", lua_has_item_test},
    {"drav_get_gold", lua_get_gold_test},
    {"drav_win", lua_win_test},
    {"drav_dialog_box", lua_dialog_box_test},
    {"drav_help", lua_help_test},
    {"drav_attack", lua_attack_test},
    {"drav_get_level", lua_get_level_test},
    {"drav_has_faction", lua_has_faction_test},
    {"drav_get_faction_rank", lua_get_faction_rank_test},
    {"drav_set_faction_rank", lua_set_faction_rank_test},
    {"drav_get_name", lua_get_name_test},
    {"drav_get_pronoun", lua_get_pronoun_test},
    {"drav_get_possessive", lua_get_possessive_test},
    {"drav_empty_party", lua_empty_party_test},
    {"drav_is_dead", lua_is_dead_test},
    {"drav_is_in_area", lua_is_in_area_test},
    {"drav_get_time", lua_get_time_test},
    {"drav_is_male", lua_is_male_test},
    {"drav_remove_encounter", lua_remove_encounter_test},
    {"drav_is_surrender", lua_is_surrender_test},
    {"drav_open_door", lua_open_door_test},
    {"drav_close_door", lua_close_door_test},
    {"drav_random_check", lua_random_check_test},
    {"drav_has_skill", lua_has_skill_test},
    {"drav_teleport_actor", lua_teleport_actor_test},
    {"drav_launch_spell", lua_launch_spell_test},
};

}  // namespace DRAV
