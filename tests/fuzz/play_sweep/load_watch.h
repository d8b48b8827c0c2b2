#pragma once
// The watch on a game the player saved and loaded, judged on what the player saw
// as it was saved and at the first look at the game loaded (sight.h).

#include <optional>

#include "play_sweep/finding.h"
#include "play_sweep/sight.h"

namespace QuillmerePlaySweep {

// A game saved and loaded goes on as it was: each one of it alive at the save
// follows the same kind of order at the same thing, and strikes at the same foe,
// each found under the id the load gave it, or named alike where the load keeps
// no record of the numbering (a thing of the area); what aimed at one fallen is
// let go. A difference is a `save` finding. Saves the player did not make, as a start's, are not judged.
class CLoadWatch {
public:
    // What the player saw as the game was saved: the clock stands under the game menu.
    void Saving(const Sight& sight) { m_saved = sight; }
    // At each look: the first of another game is that of the load.
    void Check(CFindings& findings, int turn, const Sight& sight);
    // A game saved, its load not yet seen.
    bool Waiting() const { return m_saved.has_value(); }

private:
    std::optional<Sight> m_saved;
};

}  // namespace QuillmerePlaySweep
