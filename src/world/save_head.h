#pragma once
// The opening of a saved game: what the load page lists without loading the game,
// and what a load reads first. CEngine::WriteSavedGame writes it; both readers take
// it from ReadSaveHead, so that the page lists no save the load would refuse for it.

#include <climits>
#include <cstddef>
#include <cstdint>
#include <string>

#include "script/script_limits.h"

namespace DRAVCommon {
class CDataFileReader;
}

namespace DRAV {

struct CSaveHead {
    std::int32_t chapter = 0;
    bool won = false;
    std::string path;    // where it was written, not where it lies now
    std::string name;    // the main character's
    std::string title;   // the load page's row
    std::string ending;  // a won chapter's closing text, empty when it has none
};

// The longest path the system opens: no save was written under a longer one.
constexpr std::size_t kSavedPathLimit = PATH_MAX;
// The title names the hero, the chapter, her class and level and the area she
// stands in; an area whose name would pass this is left out of it.
constexpr std::size_t kSaveTitleLimit = kExpandedTextLimit;
// The line the application keeps beside the game (the party's quick actions): six
// members' ten slots, each naming an item or a spell, with room for the records of
// members who have left.
constexpr std::size_t kSavedAppLineLimit = kExpandedTextLimit;

// Reads the head once its "( chapter won" group has been opened: the chapter, whether
// it was won, the path it was written to, the main character's name, the title and
// the ending. Code 1 naming the file for a line longer than play writes or a name
// the name page does not give.
CSaveHead ReadSaveHead(DRAVCommon::CDataFileReader& reader);

}  // namespace DRAV
