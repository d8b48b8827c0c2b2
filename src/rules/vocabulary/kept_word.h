#pragma once
// The bound of every word the game keeps for its saves: tags, map locations,
// journal and person keys, places, completion tags and the module's name words.
// Module files, scripts and saved games all take it from here, so that a word one
// of them lets in is never one another refuses.

#include <string>

#include "common/data_file_reader.h"
#include "common/exception.h"
#include "script/script_limits.h"

namespace DRAV {

// Why `word` is too long to keep, naming it as `what` ("a quest tag"), or "" when
// it is within kScriptWordLimit bytes.
inline std::string OverlongWordReason(const std::string& word, const std::string& what) {
    if (word.size() <= kScriptWordLimit) return {};
    return what + " of " + std::to_string(word.size()) + " bytes is longer than the " +
           std::to_string(kScriptWordLimit) + " a save keeps";
}

// A name the module hands the game to keep for every save (a tag it sets, a
// person's key): code 1 naming the file past the bound.
inline std::string KeptWord(const DRAVCommon::CDataFileReader& reader, std::string word, const char* what) {
    if (const std::string reason = OverlongWordReason(word, what); !reason.empty())
        reader.Fail(DRAV_ERR_BAD_DATA, reason);
    return word;
}

}  // namespace DRAV
