#include "play_sweep/stage_saves.h"

namespace QuillmerePlaySweep {

std::vector<Stage> MakeStages(const std::string&, int chapter, const std::string& only) {
    std::vector<Stage> stages;
    for (int c : {1, 2}) {
        if (chapter && chapter != c) continue;
        if (only.empty() || only == "new") stages.push_back({c, "new", ""});
    }
    return stages;
}

}  // namespace QuillmerePlaySweep
