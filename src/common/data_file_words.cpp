#include "common/data_file_words.h"

namespace DRAVCommon {

std::string UnwritableWordReason(const std::string& word) {
    if (word.size() > kWrittenRunLimit - 2)
        return "a word of " + std::to_string(word.size()) + " bytes is longer than the " +
               std::to_string(kWrittenRunLimit - 2) + " a word of a saved file holds";
    switch (word.empty() ? ' ' : word[0]) {
        case '#': return "a word starting with \"#\" would read back as a comment";
        case '<': return "a word starting with \"<\" would read back as an element";
        case '(': return "a word starting with \"(\" would read back as a group";
        default: return "a word with white space";
    }
}

}  // namespace DRAVCommon
