#pragma once
// The starts of the play sweep: a new game of each sample chapter, and games saved
// at the stages of the story, each reached by a headless player of the engine
// taking the story's own steps, and saved where the real program loads them from.

#include <string>
#include <vector>

namespace QuillmerePlaySweep {

struct Stage {
    int chapter = 1;
    std::string name;      // "new" for a new game
    std::string savePath;  // empty for a new game
};

// The starts of `chapter` (0: both), or only the one named `only` when it is not
// empty; their saves are written under `folder`.
std::vector<Stage> MakeStages(const std::string& folder, int chapter, const std::string& only);

}  // namespace QuillmerePlaySweep
