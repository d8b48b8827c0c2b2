#pragma once
// What the random player keeps an eye on between its turns: each watch judges what
// the player sees at each look (sight.h) and reports what a player would notice
// as findings. The watches on walks, blows, loads and posts have files of their own.

#include <cstdint>
#include <deque>
#include <string>

#include "play_sweep/finding.h"
#include "play_sweep/load_watch.h"
#include "play_sweep/post_watch.h"
#include "play_sweep/sight.h"
#include "play_sweep/strike_watch.h"
#include "play_sweep/walk_watch.h"

namespace QuillmerePlaySweep {

// How long the player sits idle after leaving a talk, in the window's milliseconds.
constexpr std::uint32_t kIdleAfterTalkMs = 1500;

// A talk the player left: it does not open again at once, nor while the player
// sits idle a while after. Another partner may well speak up meanwhile.
class CTalkWatch {
public:
    // A reply chosen on the talk page titled `title`; `leaves` when the reply ends the talk.
    void Replied(const std::string& title, const std::string& reply, bool leaves);
    // True while the player should sit idle after leaving a talk.
    bool Waiting() const { return m_left; }
    void Check(CFindings& findings, int turn, const Sight& sight);

private:
    std::string m_title;
    std::string m_reply;
    bool m_replied = false;
    bool m_left = false;
    std::uint32_t m_leftMs = 0;
};

// The lines the player reads: the log, the talk page and boxes.
class CLineWatch {
public:
    // The lines the log gained since the last call.
    std::deque<std::string> NewLogLines(const Sight& sight);
    void Check(CFindings& findings, int turn, const Sight& sight, const std::deque<std::string>& newLines);

private:
    std::deque<std::string> m_log;
    std::string m_lastPage;
};

// A word of the texts meant to be filled in, found in `line`; empty when none.
std::string UnfilledWord(const std::string& line);

}  // namespace QuillmerePlaySweep
