#include "world/saved_word.h"

#include <utility>

#include "common/data_file_reader.h"
#include "common/data_file_words.h"
#include "common/exception.h"
#include "common/shown_text.h"
#include "rules/vocabulary/kept_word.h"
#include "script/script_limits.h"

namespace DRAV {
namespace {

// Why `word`, known to fail IsSavableWord, is no word a save keeps. Only a failing
// word is worded: a load checks thousands of sound ones.
std::string UnsavableReason(const std::string& word, std::string_view what) {
    if (std::string reason = OverlongWordReason(word, "a " + std::string(what)); !reason.empty()) return reason;
    return std::string(what) + " \"" + word + "\" is not a single word that a save can hold";
}

}  // namespace

bool IsSavableWord(const std::string& word) {
    return word.size() <= kScriptWordLimit && DRAVCommon::IsWritableWord(word);
}

void RequireSavableWord(const std::string& word, std::string_view what) {
    if (!IsSavableWord(word)) throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, UnsavableReason(word, what));
}

void RequireSavedWord(const DRAVCommon::CDataFileReader& reader, const std::string& word, std::string_view what) {
    if (!IsSavableWord(word)) reader.Fail(DRAV_ERR_BAD_DATA, UnsavableReason(word, what));
}

std::string NamedWord(const std::string& word) {
    if (word.size() > kScriptWordLimit) return "of " + std::to_string(word.size()) + " bytes";
    return "\"" + word + "\"";
}

std::string SavableLine(std::string text) {
    text = DRAVCommon::ShownText(std::move(text));
    for (char& c : text) {
        if (c == '"') c = '\'';
        else if (c == '\n' || c == '\r') c = ' ';
    }
    return text;
}

}  // namespace DRAV
