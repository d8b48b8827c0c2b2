#include "sweep/hostile_scripts.h"

#include <algorithm>

namespace QuillmereSweep {
namespace {

// Far more rounds than any limit of one run allows.
constexpr int kEndless = 1000000;
// Below the 1,000 things one run may make.
constexpr int kTalkativeLines = 900;
constexpr int kInnerBoxes = 999;
// Two changes of the party a round: with the marker tag, 999 things.
constexpr int kJoinsAndLeaves = 499;
// Rounds of eight comparisons of two long strings that differ only at their end,
// a single instruction each that no counter sees: about a tenth of a second, short
// of what one run may work, so that each spring alone ends well.
constexpr int kLongComparisons = 65000;
// Seconds before a trap springs again: less than a tick, so that it is ready again
// for the next member on it.
constexpr const char* kRearmAtOnce = "0.01";
// An xpcall spun for ever, whose handler loops: the unset global ends the inner loop
// at once, so the run is spent on the calls themselves. The script fuzzer's find.
constexpr const char* kXpcallSpin =
    "while true do xpcall(function() while "
    "ttttttttttttttttttttttttttttttttttttttttutttttttttttttttttttttttttttttttttttruerrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrr"
    "rrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrrr do end end, "
    "function() while true do end end) end";

// A line as long as the longest a talkative author writes, made once at the top of a body.
constexpr const char* kLongLine = "local line = string.rep( \"The river keeps what it is given. \", 9 ) ";

std::string Quoted(const std::string& word) { return "\"" + word + "\""; }

std::string Marked(const std::string& body) {
    return "drav_set_tag_value( context, " + Quoted(kHostileMarkerTag) + ", 1 ) " + kLongLine + body;
}

std::string Loop(const std::string& call, int rounds = kEndless) {
    return "for i = 1, " + std::to_string(rounds) + " do " + call + " end";
}

// The conversation states of `spot`'s partner in the file, in their order.
std::vector<const ScriptSpot*> PartnerStates(const ScriptSpot& spot, const std::vector<ScriptSpot>& others) {
    std::vector<const ScriptSpot*> states;
    for (const ScriptSpot& other : others)
        if (other.kind == ScriptKind::TalkState && other.owner == spot.owner) states.push_back(&other);
    return states;
}

// A loop that hands the same large text, made once, to `call`.
std::string LargeLoop(const std::string& made, const std::string& call) {
    return "local text = " + made + " " + Loop(call);
}

// Every native function handed each actor word, each call caught: whatever a
// function makes of a word at the place the script runs, the script goes on.
std::string EveryWordBody(const HostileSetting& setting, const AreaPlace& here) {
    std::string names;
    for (const auto& [name, call] : NativeFloodCalls(setting, here, "")) names += Quoted(name) + ", ";
    std::string words = "\"actor\", \"target\", \"party\", \"main\", \"nobody\", ";
    if (!setting.monster.empty()) words += Quoted(setting.monster) + ", ";
    return "for _, name in ipairs( { " + names + "} ) do for _, word in ipairs( { " + words +
           "} ) do pcall( _G[ name ], context, word, word, 1 ) end end";
}

// Another entry than `here`: of another area with `elsewhere`, else of the same.
const AreaPlace* OtherEntry(const HostileSetting& setting, const AreaPlace& here, bool elsewhere) {
    for (const AreaPlace& place : setting.entries)
        if ((place.first != here.first) == elsewhere && place != here) return &place;
    return nullptr;
}

}  // namespace

std::vector<std::pair<std::string, std::string>> NativeFloodCalls(const HostileSetting& setting,
                                                                  const AreaPlace& here, const std::string& state) {
    const std::string spell = Quoted(setting.spell), quest = Quoted(setting.quest ? setting.quest->name : "");
    const std::string item = Quoted(setting.item), faction = Quoted(setting.faction), door = Quoted(setting.door);
    const std::string entry = Quoted(here.second), talkState = Quoted(state.empty() ? "start" : state);
    const std::string newTag = "\"sweep_tag_\" .. i";
    const std::pair<const char*, std::string> calls[] = {
        {"drav_launch_spell", spell},
        {"drav_teleport_actor", entry + ", " + spell},
        {"drav_give_item", item + ", 1"},
        {"drav_dialog_box", "\"Sweep\", line"},
        {"drav_help", Quoted(setting.helpPage.empty() ? "Sweep" : setting.helpPage) + ", line"},
        {"drav_shout", "\"main\", line"},
        {"drav_journal", quest + ", \"sweep_\" .. i"},
        {"drav_add_talk_path", "\"Well?\", \"\""},
        {"drav_message", "line"},
        {"drav_talk", "line"},
        {"drav_chatter", "\"main\", line"},
        {"drav_give_gold", "1"},
        {"drav_assign_quest", quest},
        {"drav_diplomacy_check", "0, " + talkState + ", " + talkState},
        {"drav_special_stat_check", "\"diplomacy\", 0"},
        {"drav_set_faction_rank", faction + ", 1"},
        {"drav_reveal_area", "\"sweep_\" .. i"},
        {"drav_set_tag", newTag},
        {"drav_set_tag_value", newTag + ", 2"},
        {"drav_check_and_set_tag", newTag},
        {"drav_check_tag", newTag},
        {"drav_get_tag_value", newTag},
        {"drav_empty_party", ""},
        {"drav_join_party", ""},
        {"drav_leave_party", ""},
        {"drav_open_door", door},
        {"drav_close_door", door},
        {"drav_is_in_party", "\"target\""},
        {"drav_is_main_actor", "\"actor\""},
        {"drav_is_actor", "\"target\", " + Quoted(setting.monster)},
        {"drav_goto_state", talkState},
        {"drav_get_special_stat", "\"party\", \"locks\""},
        {"drav_goto_area", Quoted(setting.start.first) + ", " + Quoted(setting.start.second)},
        {"drav_rest", entry},
        {"drav_set_resurrection", Quoted(here.first) + ", " + entry},
        {"drav_set_return", entry},
        {"drav_check_assigned", quest},
        {"drav_store", ""},
        {"drav_remove_item", item},
        {"drav_has_item", item},
        {"drav_get_level", "\"main\""},
        {"drav_get_gold", "\"party\""},
        {"drav_win", "line"},
        {"drav_has_faction", ""},
        {"drav_get_faction_rank", faction},
        {"drav_get_name", "\"target\""},
        {"drav_get_pronoun", "\"actor\""},
        {"drav_get_possessive", "\"main\""},
        {"drav_is_dead", "\"target\""},
        {"drav_is_in_area", Quoted(here.first)},
        {"drav_get_time", ""},
        {"drav_is_male", "\"main\""},
        {"drav_remove_encounter", Quoted(setting.encounter)},
        {"drav_is_surrender", "\"target\""},
        {"drav_random_check", "50"},
        {"drav_has_skill", "\"main\", \"locks\""},
        {"drav_attack", ""},
        {"drav_remove_actor", ""},
    };
    std::vector<std::pair<std::string, std::string>> made;
    for (const auto& [name, arguments] : calls)
        made.emplace_back(name, std::string(name) + "( context" + (arguments.empty() ? "" : ", " + arguments) + " )");
    return made;
}

std::vector<HostileEdit> MakeHostileEdits(const ScriptSpot& spot, const std::vector<ScriptSpot>& others,
                                          const HostileSetting& setting, const std::string& area) {
    std::vector<HostileEdit> edits;
    auto add = [&](std::string name, const std::string& body) {
        edits.push_back({std::move(name), {{&spot, Marked(body)}}, {}});
    };

    if (spot.kind == ScriptKind::TalkState) {
        // A state that has its say before it moves on: a conversation that never ends
        // then fills the memory within seconds rather than spinning until the time limit.
        const std::string say = Loop("drav_message( context, line )", kTalkativeLines) + " ";
        const std::string self = Quoted(spot.name);
        add("chain to its own state", say + "drav_goto_state( context, " + self + " )");
        add("diplomacy check to its own state", say + "drav_diplomacy_check( context, 0, " + self + ", " + self + " )");
        // Through the partner's next state, or its first from its last.
        const std::vector<const ScriptSpot*> states = PartnerStates(spot, others);
        const auto at = std::find(states.begin(), states.end(), &spot);
        const ScriptSpot* next = at == states.end() ? nullptr : at + 1 == states.end() ? states.front() : *(at + 1);
        if (next && next->name != spot.name)
            edits.push_back({"chain through " + next->name + " and back",
                             {{&spot, Marked(say + "drav_goto_state( context, " + Quoted(next->name) + " )")},
                              {next, Marked(say + "drav_goto_state( context, " + self + " )")}},
                             {}});
        // Every state of a partner runs as its first does: the bodies below are put in its first only.
        if (states.empty() || states.front() != &spot) return edits;
        add("join and leave " + std::to_string(kJoinsAndLeaves) + " times",
            Loop("drav_join_party( context ) drav_leave_party( context )", kJoinsAndLeaves));
    }
    if (spot.kind == ScriptKind::Trap) {
        add("long comparisons under the whole party, rearming at once",
            "local a = string.rep( \"x\", 16384 ) local b = string.rep( \"x\", 16383 ) .. \"y\" local same = 0 " +
                Loop("if a == b or a == b or a == b or a == b or a == b or a == b or a == b or a == b then same = same + 1 end", kLongComparisons));
        edits.back().replacements.back().after = kRearmAtOnce;
        edits.back().wholeParty = true;
    }

    // The main character speaks, as a quest check runs for nobody. An entry's script
    // runs where the party enters, any other where the play makes it run.
    const AreaPlace here = spot.kind == ScriptKind::AreaEntry ? AreaPlace{area, spot.name} : setting.start;
    const std::string state = spot.kind == ScriptKind::TalkState ? spot.name : "";
    for (const auto& [name, call] : NativeFloodCalls(setting, here, state)) add("loop of " + name, Loop(call));
    add("every function with every actor word", EveryWordBody(setting, here));
    add("the party's last member sent away", "drav_leave_party( context )");
    add("xpcall spinning with a looping handler", kXpcallSpin);
    const std::string setTags = Loop("drav_set_tag( context, \"sweep_tag_\" .. i )");
    // Each tag set runs a quest check inside the loop's run that makes nearly all
    // one run may make (boxes whose long title is quick to make: only a box's text is
    // expanded), once its quest is assigned; a quest check's own tags check no quests.
    if (spot.kind != ScriptKind::QuestCheck && setting.quest) {
        add("loop of drav_set_tag over a quest check of " + std::to_string(kInnerBoxes) + " boxes",
            "drav_assign_quest( context, " + Quoted(setting.quest->name) + " ) " + setTags);
        edits.back().questReplacements.push_back(
            {setting.quest,
             kLongLine + Loop("drav_dialog_box( context, line, \"x\" )", kInnerBoxes) + " return false"});
    }
    const std::string megabyte = "string.rep( \"x\", 1048576 )";
    const std::string party = "string.rep( \"PARTY \", 170000 )";
    add("1 MB messages", LargeLoop(megabyte, "drav_message( context, text )"));
    add("100 KB chatter", LargeLoop("string.rep( \"x\", 102400 )", "drav_chatter( context, \"main\", text )"));
    // Every round a new entry under the same long quest key, which every save would carry.
    add("900 KB journal keys", LargeLoop("string.rep( \"j\", 921600 )", "drav_journal( context, text, \"sweep_\" .. i )"));
    add("PARTY expanded in a box", LargeLoop(party, "drav_dialog_box( context, \"Sweep\", text )"));
    add("PARTY expanded in a shout", LargeLoop(party, "drav_shout( context, \"main\", text )"));

    // The party sent on from where it enters: the journey must be made. One that
    // always comes back, to the same entry or between two, must come to rest.
    if (spot.kind == ScriptKind::AreaEntry) {
        auto journey = [&](std::string name, const std::string& body) {
            add(std::move(name), body);
            edits.back().journeys = true;
        };
        const auto goTo = [](const AreaPlace& place) {
            return "drav_goto_area( context, " + Quoted(place.first) + ", " + Quoted(place.second) + " )";
        };
        if (const AreaPlace* there = OtherEntry(setting, here, true))
            journey("journey to " + there->first + " at " + there->second, goTo(*there));
        if (const AreaPlace* there = OtherEntry(setting, here, false)) {
            journey("rest at " + there->second, "drav_rest( context, " + Quoted(there->second) + " )");
            const auto back = std::find_if(others.begin(), others.end(), [&](const ScriptSpot& other) {
                return other.kind == ScriptKind::AreaEntry && other.name == there->second;
            });
            if (back != others.end()) {
                journey("journeys to " + there->second + " and back", goTo(*there));
                edits.back().replacements.push_back({&*back, Marked(goTo(here))});
            }
        }
        journey("journey to its own entry", goTo(here));
        journey("rest at its own entry", "drav_rest( context, " + Quoted(here.second) + " )");
        journey("the chapter won", "drav_win( context, \"The sweep ends the chapter.\" )");
    }

    // Tags a quest check sets do not check the quests again, but the tag of an item
    // it gives does, from inside the check.
    if (spot.kind == ScriptKind::QuestCheck && !setting.questItem.empty())
        add("quest check setting off the quest checks",
            "drav_set_tag( context, \"sweep_nested\" ) drav_give_item( context, " + Quoted(setting.questItem) +
                " ) return false");
    return edits;
}

}  // namespace QuillmereSweep
