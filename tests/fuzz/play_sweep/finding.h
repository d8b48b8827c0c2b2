#pragma once
// What the play sweep found: one thing a player would notice, of a kind, at a turn
// of a run that can be played again from its start, seed and number of turns.

#include <string>
#include <vector>

namespace QuillmerePlaySweep {

// walk   a walk or an order ended standing still in silence, or never ended
// talk   a talk the player left opened again before the player acted
// struck a member standing still was struck just after an arrival or a box, or any member
//        in the half minute after a wake, in no fight or ambush
// line   a line shown with a word meant to be filled in, or the same line twice in a row
// error  a Game Error or any other error box, a crash, a hang
// slow   a turn that took the playing thread more than a second of processor time
// save   a save that failed or would not load back, or a game loaded whose people do
//        other than they did at the save
// post   one of an area standing away from its post as the party comes back
extern const std::vector<std::string> kKinds;

struct Finding {
    std::string kind;
    int turn = 0;
    std::string what;
};

// Kinds that are faults of the program's own soundness rather than of play: the
// suite's share fails on these alone.
bool IsFatal(const std::string& kind);

// One line each way, for a finding handed from the played program to the sweep.
std::string Encode(const Finding& finding);
bool Decode(const std::string& text, Finding& finding);

// The finding with its numbers taken out, so that the same fault met at another
// place or turn counts as the same.
std::string Signature(const Finding& finding);

// Findings of one run, each kind and signature once.
class CFindings {
public:
    void Report(const std::string& kind, int turn, const std::string& what);
    // What was reported since the last call.
    std::vector<Finding> TakeNew();

private:
    std::vector<std::string> m_signatures;
    std::vector<Finding> m_new;
};

}  // namespace QuillmerePlaySweep
