#include "world/saved_word.h"

#include "common/data_file_words.h"
#include "common/exception.h"

namespace DRAV {

bool IsSavableWord(const std::string& word) { return DRAVCommon::IsWritableWord(word); }

void RequireSavableWord(const std::string& word, const std::string& what) {
    if (!IsSavableWord(word))
        throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, what + " \"" + word + "\" is not a single word that a save can hold");
}

std::string SavableLine(std::string text) {
    for (char& c : text) {
        if (c == '"') c = '\'';
        else if (c == '\n' || c == '\r') c = ' ';
    }
    return text;
}

}  // namespace DRAV
