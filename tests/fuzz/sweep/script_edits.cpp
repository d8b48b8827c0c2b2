#include "sweep/script_edits.h"

#include <algorithm>
#include <functional>
#include <string_view>

#include "sweep/data_tokens.h"

namespace QuillmereSweep {
namespace {

// An open element: its name, its first words (the first is a definition's key) and where it opened.
struct OpenElement {
    std::string_view name;
    std::vector<std::string_view> words;  // before its first inner element or script
    std::size_t offset = 0;
    std::uint32_t line = 1;
    bool inner = false;  // an inner element or a script has begun

    std::string Word(std::size_t index) const { return index < words.size() ? std::string(words[index]) : ""; }
};

// As many as a quest's words (its name, its reward, its assignment tag, "0" for
// none) and a door tile's, up to its kind.
constexpr std::size_t kWordsKept = 10;

// Walks the elements of a text. `closed` is called as each closes (with it still
// open), `script` for each <lua> script, both with the elements open, innermost last.
void WalkElements(const std::string& text,
                  const std::function<void(const std::vector<OpenElement>&, const DataToken&)>& closed,
                  const std::function<void(const std::vector<OpenElement>&, const DataToken&)>& script) {
    std::vector<OpenElement> open;
    auto visit = [&](const DataToken& token) {
        if (IsOpeningTag(token.text)) {
            if (!open.empty()) open.back().inner = true;
            open.push_back({TagName(token.text), {}, token.offset, token.line, false});
            return;
        }
        if (IsClosingTag(token.text)) {
            if (open.empty()) return;  // unbalanced: the reader refuses it anyway
            if (closed) closed(open, token);
            open.pop_back();
            return;
        }
        if (!open.empty() && !open.back().inner && open.back().words.size() < kWordsKept)
            open.back().words.push_back(token.text);
    };
    ForEachDataToken(text, visit, [&](const DataToken& token) {
        if (!open.empty()) open.back().inner = true;
        if (script) script(open, token);
    });
}

// The name of the element `up` levels outside the innermost, or "".
std::string_view Outer(const std::vector<OpenElement>& open, std::size_t up) {
    return open.size() > up ? open[open.size() - 1 - up].name : std::string_view();
}
std::string KeyOf(const std::vector<OpenElement>& open, std::size_t up) {
    return open[open.size() - 1 - up].Word(0);
}

// The kind of a script standing directly in the innermost open element, with its owner and name.
bool Classify(const std::vector<OpenElement>& open, ScriptSpot& spot) {
    const std::string_view inner = Outer(open, 0);
    if (inner == "state" && Outer(open, 1) == "talk" && (Outer(open, 2) == "monster2" || Outer(open, 2) == "object")) {
        spot.kind = ScriptKind::TalkState;
        spot.owner = KeyOf(open, 2);
        spot.name = KeyOf(open, 0);
    } else if (inner == "heartbeat" && Outer(open, 1) == "monster2") {
        spot.kind = ScriptKind::Heartbeat;
        spot.owner = KeyOf(open, 1);
    } else if (inner == "quest" && Outer(open, 1) == "quests") {
        spot.kind = ScriptKind::QuestCheck;
        spot.name = KeyOf(open, 0);
        spot.assignment = open.back().Word(2);
        if (spot.assignment == "0") spot.assignment.clear();
    } else if (inner == "entry" && Outer(open, 1) == "entries") {
        spot.kind = ScriptKind::AreaEntry;
        spot.name = KeyOf(open, 0);
    } else if (inner == "trap" && Outer(open, 1) == "object") {
        spot.kind = ScriptKind::Trap;
        spot.owner = KeyOf(open, 1);
    } else if (inner == "tile" && Outer(open, 1) == "tiles") {
        spot.kind = ScriptKind::Door;
        spot.owner = KeyOf(open, 0);
    } else {
        return false;
    }
    return true;
}

}  // namespace

const char* ScriptKindName(ScriptKind kind) {
    switch (kind) {
    case ScriptKind::TalkState: return "talk state";
    case ScriptKind::QuestCheck: return "quest check";
    case ScriptKind::AreaEntry: return "area entry";
    case ScriptKind::Heartbeat: return "heartbeat";
    case ScriptKind::Trap: return "trap";
    case ScriptKind::Door: return "door";
    }
    return "";
}

std::vector<ScriptSpot> FindScripts(const std::string& text) {
    std::vector<ScriptSpot> spots;
    auto add = [&](const std::vector<OpenElement>& open, std::size_t begin, std::size_t end, std::uint32_t line) {
        ScriptSpot spot;
        if (!Classify(open, spot)) return;
        spot.begin = begin;
        spot.end = end;
        spot.line = line;
        spots.push_back(std::move(spot));
    };
    WalkElements(
        text,
        [&](const std::vector<OpenElement>& open, const DataToken& closing) {
            // A <settag> is the script of the element around it.
            if (open.back().name != "settag" || TagName(closing.text) != "settag") return;
            const std::vector<OpenElement> around(open.begin(), open.end() - 1);
            add(around, open.back().offset, closing.offset + closing.text.size(), open.back().line);
        },
        [&](const std::vector<OpenElement>& open, const DataToken& script) {
            add(open, script.offset, script.offset + script.text.size(), script.line);
        });
    return spots;
}

std::vector<std::string> FindDefinitionKeys(const std::string& text, const std::string& list,
                                            const std::string& element, const std::string& holding) {
    std::vector<std::string> keys;
    WalkElements(
        text,
        [&](const std::vector<OpenElement>& open, const DataToken&) {
            const bool definition = open.size() == 2 && open[0].name == list && open[1].name == element;
            const bool held = open.size() == 3 && open[0].name == list && open[1].name == element &&
                              open[2].name == holding;
            if (holding.empty() ? definition : held) {
                const std::string key = open[1].Word(0);
                if (!key.empty() && std::find(keys.begin(), keys.end(), key) == keys.end()) keys.push_back(key);
            }
        },
        nullptr);
    return keys;
}

std::vector<FoundElement> FindElements(const std::string& text, const std::string& element) {
    std::vector<FoundElement> found;
    WalkElements(
        text,
        [&](const std::vector<OpenElement>& open, const DataToken&) {
            if (open.back().name != element) return;
            FoundElement one{std::string(Outer(open, 1)), {}};
            for (const std::string_view word : open.back().words) one.words.emplace_back(word);
            found.push_back(std::move(one));
        },
        nullptr);
    return found;
}

std::string ReplaceScripts(const std::string& text, std::vector<ScriptReplacement> replacements) {
    // From the last, so that the earlier spots stay where they were.
    std::sort(replacements.begin(), replacements.end(),
              [](const ScriptReplacement& a, const ScriptReplacement& b) { return a.spot->begin > b.spot->begin; });
    std::string edited = text;
    for (const ScriptReplacement& replacement : replacements) {
        std::size_t end = replacement.spot->end;
        std::string made = "<lua> " + replacement.body + " </lua>";
        if (!replacement.after.empty()) {
            const std::size_t word = text.find_first_not_of(" \t\r\n", end);
            const std::size_t past = text.find_first_of(" \t\r\n", word);
            // A closing tag there is the element's end: the word goes in before it.
            if (word != std::string::npos && text[word] != '<') end = past == std::string::npos ? text.size() : past;
            made += " " + replacement.after;
        }
        edited.replace(replacement.spot->begin, end - replacement.spot->begin, made);
    }
    return edited;
}

}  // namespace QuillmereSweep
