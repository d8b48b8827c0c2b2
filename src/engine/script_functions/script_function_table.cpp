#include <array>
#include <cstring>
#include <initializer_list>
#include <string>

#include "common/exception.h"
#include "engine/script_functions/script_function_lists.h"
#include "script/script_args.h"

namespace DRAV {
namespace {

// Registration order, which the script interface fixes.
constexpr std::array<const char*, 58> kNames = {
    "drav_talk",           "drav_chatter",          "drav_shout",          "drav_add_talk_path",
    "drav_is_in_party",    "drav_is_main_actor",    "drav_is_actor",       "drav_goto_state",
    "drav_diplomacy_check", "drav_special_stat_check", "drav_set_tag",      "drav_set_tag_value",
    "drav_journal",        "drav_join_party",       "drav_goto_area",      "drav_leave_party",
    "drav_get_special_stat", "drav_rest",           "drav_set_resurrection", "drav_set_return",
    "drav_remove_actor",   "drav_check_assigned",   "drav_assign_quest",   "drav_store",
    "drav_check_tag",      "drav_check_and_set_tag", "drav_get_tag_value", "drav_reveal_area",
    "drav_message",        "drav_give_gold",        "drav_give_item",      "drav_remove_item",
    "drav_has_item",       "drav_attack",           "drav_get_level",      "drav_get_gold",
    "drav_win",            "drav_dialog_box",       "drav_has_faction",    "drav_get_faction_rank",
    "drav_set_faction_rank", "drav_get_name",       "drav_get_pronoun",    "drav_get_possessive",
    "drav_empty_party",    "drav_is_dead",          "drav_is_in_area",     "drav_get_time",
    "drav_is_male",        "drav_remove_encounter", "drav_is_surrender",   "drav_open_door",
    "drav_close_door",     "drav_random_check",     "drav_has_skill",      "drav_teleport_actor",
    "drav_launch_spell",   "drav_help",
};

// Every registered name has its handlers; a missing one is a build mistake, found
// the first time the table is made rather than when some script calls it.
lua_CFunction FindHandler(std::initializer_list<const CNativeFunctionList*> lists, const char* name) {
    for (const CNativeFunctionList* list : lists)
        for (const CNativeFunction& function : *list)
            if (std::strcmp(function.name, name) == 0) return function.handler;
    throw CDRAVException(DRAV_ERR_UNEXPECTED, std::string("no handler for the script function ") + name);
}

}  // namespace

std::span<const CScriptFunction> GetNativeScriptFunctions() {
    static const std::array<CScriptFunction, kNames.size()> table = [] {
        std::array<CScriptFunction, kNames.size()> built{};
        for (std::size_t i = 0; i < kNames.size(); ++i) {
            built[i] = {kNames[i], FindHandler({&kTalkFunctions, &kTagFunctions, &kQuestFunctions, &kWorldFunctions}, kNames[i]),
                        FindHandler({&kTestFunctions}, kNames[i])};
        }
        return built;
    }();
    return table;
}

void InstallNativeScriptFunctions() { SetScriptFunctions(GetNativeScriptFunctions()); }

}  // namespace DRAV
