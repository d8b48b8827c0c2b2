#include "sweep/hostile_scripts.h"

#include <algorithm>

namespace QuillmereSweep {
namespace {

// Far more rounds than any limit of one run allows.
constexpr int kEndless = 1000000;
// Below the 1,000 things one run may make.
constexpr int kTalkativeLines = 900;
constexpr int kInnerBoxes = 999;
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

}  // namespace

std::vector<HostileEdit> MakeHostileEdits(const ScriptSpot& spot, const std::vector<ScriptSpot>& others,
                                          const HostileSetting& setting) {
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
    }

    // The main character speaks, as a quest check runs for nobody; only a script run
    // for someone can launch a spell.
    add("loop of drav_message", Loop("drav_message( context, line )"));
    add("loop of drav_chatter", Loop("drav_chatter( context, \"main\", line )"));
    add("loop of drav_give_gold", Loop("drav_give_gold( context, 1 )"));
    if (setting.quest)
        add("loop of drav_assign_quest", Loop("drav_assign_quest( context, " + Quoted(setting.quest->name) + " )"));
    const std::string setTags = Loop("drav_set_tag( context, \"sweep_tag_\" .. i )");
    add("loop of drav_set_tag with new names", setTags);
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
    add("loop of drav_dialog_box", Loop("drav_dialog_box( context, \"Sweep\", line )"));
    add("loop of drav_shout", Loop("drav_shout( context, \"main\", line )"));
    if (spot.kind != ScriptKind::QuestCheck)
        add("loop of drav_launch_spell", Loop("drav_launch_spell( context, " + Quoted(setting.spell) + " )"));
    const std::string megabyte = "string.rep( \"x\", 1048576 )";
    const std::string party = "string.rep( \"PARTY \", 170000 )";
    add("1 MB messages", LargeLoop(megabyte, "drav_message( context, text )"));
    add("100 KB chatter", LargeLoop("string.rep( \"x\", 102400 )", "drav_chatter( context, \"main\", text )"));
    add("PARTY expanded in a box", LargeLoop(party, "drav_dialog_box( context, \"Sweep\", text )"));
    add("PARTY expanded in a shout", LargeLoop(party, "drav_shout( context, \"main\", text )"));

    // Tags a quest check sets do not check the quests again, but the tag of an item
    // it gives does, from inside the check.
    if (spot.kind == ScriptKind::QuestCheck && !setting.questItem.empty())
        add("quest check setting off the quest checks",
            "drav_set_tag( context, \"sweep_nested\" ) drav_give_item( context, " + Quoted(setting.questItem) +
                " ) return false");
    return edits;
}

}  // namespace QuillmereSweep
