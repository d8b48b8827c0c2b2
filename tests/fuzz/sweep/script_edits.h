#pragma once
// The scripts of a ".drav" element text that the game runs, of six kinds: a
// conversation state's (of a monster or an object definition), a quest's
// completion check, an area entry's, a monster's heartbeat, an object's trap and
// a door tile's. Each is found with what it takes to make the played game run it:
// whose it is and its name. A script is a <lua> element or, for a state, a
// <settag> one.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace QuillmereSweep {

enum class ScriptKind { TalkState, QuestCheck, AreaEntry, Heartbeat, Trap, Door };

// "talk state", "quest check", "area entry", "heartbeat", "trap", "door".
const char* ScriptKindName(ScriptKind kind);

struct ScriptSpot {
    ScriptKind kind = ScriptKind::TalkState;
    std::string owner;  // the monster, object or tile of a talk state, a heartbeat, a trap or a door, else ""
    std::string name;   // the talk state, the quest or the entry; "" for a heartbeat
    std::string assignment;  // the tag a quest check waits for, "" when it waits for none
    std::size_t begin = 0;  // of the script element's opening tag
    std::size_t end = 0;    // past its closing tag
    std::uint32_t line = 1;  // of its opening tag, counted from 1
};

std::vector<ScriptSpot> FindScripts(const std::string& text);

// The keys of the definitions `element` in the list `list` at the top of the text
// ("spells" and "spell"); with `holding`, only those with such an element inside.
std::vector<std::string> FindDefinitionKeys(const std::string& text, const std::string& list,
                                            const std::string& element, const std::string& holding = "");

// Every element `element` of the text, wherever it stands: the element it stands
// in and its first words (the first is its key), quoted texts left out.
struct FoundElement {
    std::string parent;
    std::vector<std::string> words;
};
std::vector<FoundElement> FindElements(const std::string& text, const std::string& element);

struct ScriptReplacement {
    const ScriptSpot* spot;
    std::string body;  // Lua, put in as the body of a <lua> element
    // When not empty, the word that follows the script in its element (a trap's
    // re-arm delay) becomes this.
    std::string after = {};
};

// `text` with each replacement's script made a <lua> element of its body; the
// replacements' spots must not overlap.
std::string ReplaceScripts(const std::string& text, std::vector<ScriptReplacement> replacements);

}  // namespace QuillmereSweep
