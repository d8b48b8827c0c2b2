#include "world/saved_word.h"

#include "common/data_file_reader.h"
#include "common/data_file_words.h"
#include "common/exception.h"
#include "rules/vocabulary/kept_word.h"
#include "script/script_limits.h"

namespace DRAV {
namespace {

// Why `word` is no word a save keeps, or "" when it is one.
std::string UnsavableReason(const std::string& word, const std::string& what) {
    if (std::string reason = OverlongWordReason(word, "a " + what); !reason.empty()) return reason;
    if (!DRAVCommon::IsWritableWord(word)) return what + " \"" + word + "\" is not a single word that a save can hold";
    return "";
}

}  // namespace

bool IsSavableWord(const std::string& word) { return UnsavableReason(word, "").empty(); }

void RequireSavableWord(const std::string& word, const std::string& what) {
    if (const std::string reason = UnsavableReason(word, what); !reason.empty())
        throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, reason);
}

void RequireSavedWord(const DRAVCommon::CDataFileReader& reader, const std::string& word, const std::string& what) {
    if (const std::string reason = UnsavableReason(word, what); !reason.empty()) reader.Fail(DRAV_ERR_BAD_DATA, reason);
}

std::string NamedWord(const std::string& word) {
    if (word.size() > kScriptWordLimit) return "of " + std::to_string(word.size()) + " bytes";
    return "\"" + word + "\"";
}

std::string SavableLine(std::string text) {
    for (char& c : text) {
        if (c == '"') c = '\'';
        else if (c == '\n' || c == '\r') c = ' ';
    }
    return text;
}

void RequireSavedText(const DRAVCommon::CDataFileReader& reader, const std::string& text, std::size_t most,
                      const std::string& what) {
    if (text.size() > most)
        reader.Fail(DRAV_ERR_BAD_DATA, what + " of " + std::to_string(text.size()) + " bytes is longer than the " +
                                           std::to_string(most) + " play writes");
}

}  // namespace DRAV
