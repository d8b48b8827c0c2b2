#include "play_sweep/player_watch.h"

#include <algorithm>
#include <cctype>

namespace QuillmerePlaySweep {
namespace {

// A word of a text that a fill-in left standing: a shouted word of four letters or
// more, alone or with what a writer punctuates it with.
constexpr std::size_t kShortestMarker = 4;

}  // namespace

void CTalkWatch::Replied(const std::string& title, const std::string& reply, bool leaves) {
    m_title = title;
    m_reply = reply;
    m_replied = leaves;
    m_left = false;
}

void CTalkWatch::Check(CFindings& findings, int turn, const Sight& sight) {
    if (m_replied) {
        // The first look after a leaving reply: the talk is over, and stays over.
        m_replied = false;
        m_left = true;
        m_leftMs = sight.ms;
    }
    if (!m_left) return;
    if (sight.page.kind == PageSight::Kind::Talk && sight.page.title == m_title) {
        m_left = false;
        findings.Report("talk", turn,
                        "the talk " + m_title + " opened again after \"" + m_reply + "\" before the player acted");
    } else if (sight.ms - m_leftMs >= kIdleAfterTalkMs) {
        m_left = false;
    }
}

std::deque<std::string> CLineWatch::NewLogLines(const Sight& sight) {
    std::deque<std::string> lines = LinesAfter(m_log, sight.log);
    m_log = sight.log;
    return lines;
}

void CLineWatch::Check(CFindings& findings, int turn, const Sight& sight, const std::deque<std::string>& newLines) {
    for (std::size_t i = 0; i < newLines.size(); ++i) {
        const std::string marker = UnfilledWord(newLines[i]);
        if (!marker.empty()) findings.Report("line", turn, "the log shows " + marker + ": \"" + newLines[i] + "\"");
    }
    // One thing said twice over; the same line again for the same click later is no fault.
    // A blow struck twice is two blows.
    for (std::size_t i = 1; i < newLines.size(); ++i)
        if (newLines[i] == newLines[i - 1] && newLines[i].find(" damage") == std::string::npos &&
            newLines[i].find(" misses") == std::string::npos)
            findings.Report("line", turn, "the log shows twice in a row: \"" + newLines[i] + "\"");

    const std::vector<std::string>& shown = sight.page.lines;
    std::string page;
    for (const auto& line : shown) page += line + "\n";
    if (page == m_lastPage) return;
    m_lastPage = page;
    for (std::size_t i = 0; i < shown.size(); ++i) {
        const std::string marker = UnfilledWord(shown[i]);
        if (!marker.empty())
            findings.Report("line", turn, "the page " + sight.page.title + " shows " + marker + ": \"" + shown[i] + "\"");
        if (i > 1 && !shown[i].empty() && shown[i] == shown[i - 1])
            findings.Report("line", turn,
                            "the page " + sight.page.title + " shows twice in a row: \"" + shown[i] + "\"");
    }
}

std::string UnfilledWord(const std::string& line) {
    // Words run on through digits, underscores and the joins of a file's path, so
    // that a name of the system's own, a folder's, is no marker.
    const auto inWord = [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '/' || c == '-' || c == '.';
    };
    std::size_t start = 0;
    for (std::size_t i = 0; i <= line.size(); ++i) {
        if (i < line.size() && inWord(line[i])) continue;
        std::string word = line.substr(start, i - start);
        while (!word.empty() && (word.back() == '.' || word.back() == '-')) word.pop_back();
        const bool shouted = word.size() >= kShortestMarker && std::all_of(word.begin(), word.end(), [](char l) {
                                 return std::isupper(static_cast<unsigned char>(l));
                             });
        if (shouted) return word;
        start = i + 1;
    }
    return "";
}

}  // namespace QuillmerePlaySweep
