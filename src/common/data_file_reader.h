#pragma once
// The pull reader of the ".drav" element text: whitespace-separated tokens, "#"
// comments to the end of the line, <name> ... </name> elements, quoted texts,
// groups in parentheses. Loaders ask for exactly the values their grammar expects,
// in order, and the reader checks each step.

#include <cstddef>
#include <cstdint>
#include <istream>
#include <memory>
#include <string>
#include <vector>

#include "common/data_file.h"

namespace DRAVCommon {

class CDataFileReader {
public:
    // Reads the data file `name` from `source`.
    CDataFileReader(CDataFileFactory& source, DataFileKind kind, DataFileSubkind subkind, const std::string& name);

    // Reads the file at `path` (saved games and their headers); code 1 when it cannot be opened.
    // The game wrote it: a word or a quoted text the writer could not have written
    // is refused as it is read (code 1), since it could never be saved again, and
    // so is a run of more than kWrittenRunLimit bytes without a blank, or of blanks
    // and comments: read no further than that, and refused by what reads or passes it.
    explicit CDataFileReader(const std::string& path);

    // Reads `stream`; `sourceName` names it in error messages.
    CDataFileReader(std::shared_ptr<std::istream> stream, std::string sourceName);

    CDataFileReader(const CDataFileReader&) = delete;
    CDataFileReader& operator=(const CDataFileReader&) = delete;

    // Peeks: they never advance.
    bool IsBlock(const std::string& name) const;
    bool IsAnyBlockStart() const { return m_token.size() > 1 && m_token[0] == '<' && m_token[1] != '/'; }
    // Code 1 at the end of the data or with no element open.
    bool AtBlockEnd() const {
        if (m_token.empty() || m_blocks.empty()) FailAtBlockEnd();
        const std::string& closing = m_blocks.back();
        return m_token.size() == closing.size() && m_token[1] == '/' && m_token == closing;
    }
    bool IsWord(const std::string& word) const { return m_token == word; }
    // The name of the element the current token opens, or "" when it opens none.
    std::string PeekBlockName() const;
    // The current token; empty at the end of the data.
    const std::string& GetToken() const { return m_token; }
    bool AtEnd() const { return m_token.empty(); }

    // Elements.
    void BeginBlock(const std::string& name);
    void EndBlock();
    void SkipBlock(const std::string& name);  // up to the first closing tag of that name
    // A file holds one element: code 1 when anything follows it.
    void RequireEnd() const;

    // Groups: true when a group of `count` values follows; with `allowZero` the
    // token "0" is an absent group and is consumed.
    bool BeginGroup(std::uint32_t count, bool allowZero) {
        // Most values are no group: answer those without a call.
        if (count >= 2 && !m_token.empty() && m_token[0] != '(' && !(allowZero && IsWord('0'))) return false;
        return OpenGroup(count, allowZero);
    }
    bool BeginPairGroup() { return BeginGroup(2, true); }

    // Values: each consumes the current token (code 1 at the end of the data).
    std::string ReadWord();
    std::string ReadWordOrEmpty();  // "0" reads as ""
    std::string ReadQuoted() { return ReadQuoted(SIZE_MAX, "a quoted text"); }
    // The same, refused (code 1, naming it `what`) as soon as it passes `most` bytes:
    // a text past its bound is never read whole.
    // In a file the game wrote, a text that holds a NUL byte or is not UTF-8 is
    // refused the same way.
    std::string ReadQuoted(std::size_t most, const char* what);
    // The same, taking any bytes: a file's path, which the system names.
    std::string ReadQuotedBytes(std::size_t most, const char* what);
    std::uint32_t ReadUInt();
    std::int32_t ReadInt();
    double ReadDouble();
    // The same within [least, most]; a number outside is code 1 naming `what`, the
    // range and the token, which stays current. Doubles must also be finite.
    std::int32_t ReadInt(std::int32_t least, std::int32_t most, const char* what);
    std::uint32_t ReadUInt(std::uint32_t least, std::uint32_t most, const char* what);
    double ReadDouble(double least, double most, const char* what);
    bool ReadBool();
    // A group of red, green, blue or one grey number, stored as 0x00RRGGBB; the top byte is kept.
    void ReadColour(std::uint32_t& colour);

    // Consumes the current token and reads the next one.
    void Advance();

    // Throws `code` with a message naming the file and the current token.
    [[noreturn]] void Fail(std::int32_t code, const std::string& what) const;

    const std::string& GetSourceName() const { return m_sourceName; }

private:
    CDataFileReader(std::shared_ptr<std::istream> stream, std::string sourceName, std::size_t runLimit);
    // Bytes come from the stream a chunk at a time and are scanned in place.
    bool FillChunk();  // false at the end of the data
    void ReadRawToken(std::string& token);
    void SkipToLineEnd();
    // The current token; code 1 at the end of the data.
    const std::string& RequireToken(const char* wanted) const {
        if (m_token.empty()) FailMissing(wanted);
        return m_token;
    }
    [[noreturn]] void FailMissing(const char* wanted) const;
    [[noreturn]] void FailLongRun() const;
    // True when [from, to) takes the run of white space and comments being passed
    // over past the bound; `passed` counts it.
    bool PassesBound(std::size_t& passed, const char* from, const char* to) const {
        passed += static_cast<std::size_t>(to - from);
        return passed > m_runLimit;
    }
    // The current token stands for a run past the bound, of blanks and comments
    // when it is a blank, which no token is.
    void MarkLongRun(std::string& token) {
        m_longRun = true;
        if (token.empty()) token = " ";
    }
    bool IsWord(char word) const { return m_token.size() == 1 && m_token[0] == word; }
    bool IsClosing(const std::string& name) const;  // the token is </name>
    [[noreturn]] void FailAtBlockEnd() const;
    bool OpenGroup(std::uint32_t count, bool allowZero);  // BeginGroup past its quick answer
    std::string OpenBlockName() const;  // of the innermost open element
    // The current token as a number, not consumed.
    template <typename T>
    T PeekNumber(const char* wanted) const;
    template <typename T>
    T ParseNumber(const char* wanted);
    template <typename T>
    T ParseNumberWithin(const char* wanted, T least, T most, const char* what);

    std::shared_ptr<std::istream> m_stream;
    std::streambuf* m_buffer = nullptr;
    std::vector<char> m_chunk;
    const char* m_next = nullptr;
    const char* m_end = nullptr;
    std::string m_token;
    // The closing tags of the open elements, innermost last, ready to compare.
    std::vector<std::string> m_blocks;
    std::uint32_t m_groupCountdown = 0;
    bool m_ended = false;  // the last read met the end of the data
    bool m_written = false;  // a file the game wrote: only what the writer writes is taken
    std::size_t m_runLimit = SIZE_MAX;  // the longest run taken between blanks, or of them
    // The current token is a run past m_runLimit, not read whole. It is refused by
    // whatever reads it or passes it, so that the refusal names the element that
    // holds it rather than the one read before it.
    bool m_longRun = false;
    std::string m_sourceName;
};

}  // namespace DRAVCommon
