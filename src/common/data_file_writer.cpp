#include "common/data_file_writer.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <locale>
#include <string_view>

#include "common/data_file_words.h"
#include "common/exception.h"
#include "common/refusal_text.h"
#include "platform/win32/file_path.h"

namespace DRAVCommon {

namespace {

// The system's words for the last failure, or none when it gave none.
std::string SystemReason() { return errno ? std::strerror(errno) : ""; }

std::string WithReason(const std::string& what, const std::string& reason) {
    return reason.empty() ? what : what + ": " + reason;
}

}  // namespace

CDataFileWriter::CDataFileWriter(const std::string& path)
    : std::ofstream((errno = 0, Win32::NativePath(path)), std::ios::out | std::ios::trunc), m_path(path) {
    if (fail() || bad()) {
        const std::string reason = SystemReason();
        throw CDRAVException(DRAV_ERR_BAD_DATA, WithReason("cannot create " + path, reason), reason);
    }
    // Saved numbers must read back whatever locale the program runs under.
    imbue(std::locale::classic());
}

void CDataFileWriter::BeginValue() {
    for (std::size_t i = 0; i < m_blocks.size(); ++i) put(' ');
    if (m_groupState == 1) {
        put('(');
        m_groupState = 2;
    }
}

void CDataFileWriter::EndValue() {
    if (m_groupState != 0 && m_groupState == m_groupCount + 1) {
        write(")\n", 2);
        m_groupState = 0;
    } else {
        if (m_groupState != 0) ++m_groupState;
        put('\n');
    }
}

void CDataFileWriter::BeginBlock(const std::string& name) {
    BeginValue();
    *this << '<' << name << '>';
    m_blocks.push_back(name);
    EndValue();
}

void CDataFileWriter::EndBlock() {
    if (m_blocks.empty()) throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, m_path + ": no element is open to close");
    std::string tag = "</" + m_blocks.back() + ">";
    m_blocks.pop_back();
    BeginValue();
    *this << tag;
    EndValue();
}

void CDataFileWriter::BeginGroup(std::int32_t count) {
    m_groupState = 1;
    m_groupCount = count;
}

void CDataFileWriter::WriteWord(const std::string& word) {
    // A word must read back as the one token it was: white space would split it, and
    // the reader takes a leading "#", "<" or "(" for a comment, an element or a group.
    if (!IsWritableWord(word))
        throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, m_path + ": " + UnwritableWordReason(word) + ": " + QuotedPiece(word));
    BeginValue();
    if (word.empty()) put('0');
    else *this << word;
    EndValue();
}

void CDataFileWriter::WriteParenthesis(char parenthesis) {
    if (parenthesis != '(' && parenthesis != ')')
        throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, m_path + ": \"" + std::string(1, parenthesis) + "\" is no parenthesis");
    BeginValue();
    put(parenthesis);
    EndValue();
}

void CDataFileWriter::WriteQuoted(const std::string& text) {
    if (!IsWritableText(text))
        throw CDRAVException(DRAV_ERR_OUT_OF_RANGE,
                             m_path + ": text with a double quote or a line break, or past " +
                                 std::to_string(kWrittenRunLimit - 4) + " bytes, cannot be saved: " + QuotedPiece(text));
    // A blank right after the opening quote would make that quote a text of its own
    // and leave the rest as stray words; the reader drops such blanks anyway.
    std::size_t start = text.find_first_not_of(" \t\v\f");
    BeginValue();
    *this << '"' << (start == std::string::npos ? std::string_view() : std::string_view(text).substr(start)) << '"';
    EndValue();
}

void CDataFileWriter::WriteDouble(double value) {
    // "inf" and "nan" are no numbers to the reader: a file holding one would not load.
    if (!std::isfinite(value))
        throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, m_path + ": a number that is not finite cannot be saved");
    // The shortest digits that read back as this very number: a place or a target
    // rounded on the way out would make a loaded game drift from the saved one.
    BeginValue();
    *this << ExactNumber(value);
    EndValue();
}

void CDataFileWriter::Finish() {
    errno = 0;
    flush();
    bool lost = fail() || bad();
    close();
    if (lost || fail()) {
        const std::string reason = SystemReason();
        throw CDRAVException(DRAV_ERR_BAD_DATA, WithReason("writing " + m_path + " failed", reason), reason);
    }
}

}  // namespace DRAVCommon
