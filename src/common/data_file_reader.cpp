#include "common/data_file_reader.h"

#include <algorithm>
#include <charconv>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <type_traits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "common/data_file_words.h"
#include "common/exception.h"
#include "common/refusal_text.h"
#include "common/shown_text.h"
#include "platform/win32/file_path.h"

namespace DRAVCommon {
namespace {

constexpr std::size_t kChunkSize = 32 * 1024;
// Tokens of up to this many letters live inside the string object itself.
constexpr std::size_t kShortToken = 15;

inline bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

#if defined(__SSE2__)
// Bit i is set when byte i of the 16 at `p` is white space: a blank, or "\t" to "\r".
inline unsigned SpaceMask(const char* p) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i blank = _mm_cmpeq_epi8(bytes, _mm_set1_epi8(' '));
    const __m128i fromTab = _mm_sub_epi8(bytes, _mm_set1_epi8('\t'));
    const __m128i control = _mm_cmpeq_epi8(_mm_min_epu8(fromTab, _mm_set1_epi8('\r' - '\t')), fromTab);
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(blank, control)));
}
#endif

// The first byte in [next, end) that is (`space`) or is not (!`space`) white space,
// or `end`. Sixteen bytes at a time where the compiler offers it: scanning is most
// of the reader's work.
template <bool space>
inline const char* Find(const char* next, const char* end) {
#if defined(__SSE2__)
    while (end - next >= 16) {
        const unsigned mask = space ? SpaceMask(next) : ~SpaceMask(next) & 0xFFFFu;
        if (mask) return next + __builtin_ctz(mask);
        next += 16;
    }
#endif
    while (next != end && IsSpace(*next) != space) ++next;
    return next;
}

// Appends [begin, end) to `text` with each run of white space made one blank, as
// the words of a quoted text are joined. Texts mostly hold single blanks already:
// those are passed over sixteen bytes at a time.
void AppendCollapsed(std::string& text, const char* begin, const char* end) {
    const std::size_t start = text.size();
    text.append(begin, static_cast<std::size_t>(end - begin));
    char* const data = text.data();
    char* const stop = data + text.size();
    char* in = data + start;
    for (;;) {
        in = const_cast<char*>(Find<true>(in, stop));
        if (in == stop) return;
        if (*in != ' ' || (in + 1 != stop && IsSpace(in[1]))) break;
        ++in;
    }
    char* out = in;
    while (in != stop) {
        if (IsSpace(*in)) {
            *out++ = ' ';
            while (in != stop && IsSpace(*in)) ++in;
        } else {
            *out++ = *in++;
        }
    }
    text.resize(static_cast<std::size_t>(out - data));
}

// "<name>" or "</name>": never a word or a line of script, so a file that left an
// element open is caught at the next tag instead of swallowing what follows.
inline bool IsElementTag(const std::string& token) {
    return token.size() >= 3 && token.front() == '<' && token.back() == '>';
}

// A file that will not open says why, in the system's words.
std::shared_ptr<std::istream> OpenFile(const std::string& path) {
    errno = 0;
    auto file = std::make_shared<std::ifstream>(Win32::NativePath(path));
    if (*file) return file;
    const std::string reason = errno ? std::strerror(errno) : "";
    throw CDRAVException(DRAV_ERR_BAD_DATA, "cannot read " + path + (reason.empty() ? "" : ": " + reason), reason);
}

}  // namespace

CDataFileReader::CDataFileReader(CDataFileFactory& source, DataFileKind kind, DataFileSubkind subkind,
                                 const std::string& name)
    : CDataFileReader(source.Open(kind, subkind, name), DescribeDataFile(kind, subkind, name)) {}

CDataFileReader::CDataFileReader(const std::string& path) : CDataFileReader(OpenFile(path), path, kWrittenRunLimit) {
    m_written = true;
}

CDataFileReader::CDataFileReader(std::shared_ptr<std::istream> stream, std::string sourceName)
    : CDataFileReader(std::move(stream), std::move(sourceName), SIZE_MAX) {}

CDataFileReader::CDataFileReader(std::shared_ptr<std::istream> stream, std::string sourceName, std::size_t runLimit)
    : m_stream(std::move(stream)), m_runLimit(runLimit), m_sourceName(std::move(sourceName)) {
    if (!m_stream || !*m_stream) throw CDRAVException(DRAV_ERR_BAD_DATA, "cannot read " + m_sourceName);
    m_buffer = m_stream->rdbuf();
    m_chunk.resize(kChunkSize);
    Advance();
}

void CDataFileReader::Fail(std::int32_t code, const std::string& what) const {
    // Whatever the element reading it expected, a run too long to read is why.
    if (m_longRun) FailLongRun();
    std::string where = m_token.empty() ? "at the end of the data" : "at " + QuotedPiece(m_token);
    if (!m_blocks.empty() && (m_token.empty() || IsElementTag(m_token))) where += " while <" + OpenBlockName() + "> is open";
    throw CDRAVException(code, m_sourceName + ": " + what + " " + where);
}

// ---- tokens ---------------------------------------------------------------

bool CDataFileReader::FillChunk() {
    std::streamsize count = 0;
    try {
        count = m_buffer->sgetn(m_chunk.data(), static_cast<std::streamsize>(m_chunk.size()));
    } catch (const std::ios_base::failure&) {
        // A file buffer throws when the system refuses the read (a folder, an I/O error).
        Fail(DRAV_ERR_BAD_DATA, "cannot read the data");
    }
    m_next = m_chunk.data();
    m_end = m_next + std::max<std::streamsize>(count, 0);
    return m_next != m_end;
}

// Inlined into its callers: one call less for every token.
// A run past m_runLimit is refused once it passes it: the bound is checked as a
// chunk ends, so no run is read more than a chunk beyond it.
[[gnu::always_inline]] inline void CDataFileReader::ReadRawToken(std::string& token) {
    token.clear();
    std::size_t passed = 0;
    for (;;) {
        const char* from = m_next;
        m_next = Find<false>(m_next, m_end);
        if (m_next != m_end) break;
        if (PassesBound(passed, from, m_end)) return MarkLongRun(token);
        if (!FillChunk()) return;
    }
    for (;;) {
        const char* start = m_next;
        m_next = Find<true>(m_next, m_end);
        const std::size_t length = static_cast<std::size_t>(m_next - start);
        // Most tokens are a few letters: copied one by one, they stay clear of a library call.
        if (token.size() + length <= kShortToken) {
            for (const char* c = start; c != m_next; ++c) token.push_back(*c);
        } else {
            token.append(start, length);
            if (token.size() > m_runLimit) return MarkLongRun(token);
        }
        if (m_next != m_end || !FillChunk()) return;
    }
}

void CDataFileReader::SkipToLineEnd() {
    std::size_t passed = 0;
    for (;;) {
        if (m_next != m_end) {
            const void* lineEnd = std::memchr(m_next, '\n', static_cast<std::size_t>(m_end - m_next));
            if (lineEnd) {
                m_next = static_cast<const char*>(lineEnd) + 1;
                return;
            }
            if (PassesBound(passed, m_next, m_end)) return MarkLongRun(m_token);
        }
        if (!FillChunk()) return;
    }
}

void CDataFileReader::FailLongRun() const {
    throw CDRAVException(DRAV_ERR_BAD_DATA, m_sourceName + ": a run of more than " + std::to_string(m_runLimit) +
                                                " bytes between blanks, or of blanks, longer than any the game writes");
}

void CDataFileReader::Advance() {
    if (m_ended) Fail(DRAV_ERR_BAD_DATA, "read past the end of the data");
    if (m_longRun) FailLongRun();

    ReadRawToken(m_token);
    while (!m_token.empty() && m_token[0] == '#') {
        m_token.clear();
        SkipToLineEnd();
        if (!m_longRun) ReadRawToken(m_token);
    }
    if (m_longRun) return;
    if (m_token.empty()) m_ended = true;

    if (m_groupCountdown >= 2) {
        --m_groupCountdown;
    } else if (m_groupCountdown == 1) {
        m_groupCountdown = 0;
        if (!m_token.empty() && m_token.back() == ')') {
            m_token.pop_back();
        } else {
            std::string closing;
            ReadRawToken(closing);
            if (closing.size() != 1 || closing[0] != ')')
                Fail(DRAV_ERR_BAD_DATA, "a group's last value is not followed by \")\"");
        }
    }
}

void CDataFileReader::FailMissing(const char* wanted) const {
    Fail(DRAV_ERR_BAD_DATA, std::string("expected ") + wanted);
}

// ---- peeks ------------------------------------------------------------------

bool CDataFileReader::IsBlock(const std::string& name) const {
    return m_token.size() == name.size() + 2 && m_token.front() == '<' && m_token.back() == '>' &&
           m_token.compare(1, name.size(), name) == 0;
}

void CDataFileReader::FailAtBlockEnd() const {
    RequireToken("a value or the end of an element");
    Fail(DRAV_ERR_BAD_DATA, "no element is open");
}

std::string CDataFileReader::OpenBlockName() const {
    const std::string& closing = m_blocks.back();
    return closing.substr(2, closing.size() - 3);
}

bool CDataFileReader::IsClosing(const std::string& name) const {
    return m_token.size() == name.size() + 3 && m_token.compare(0, 2, "</") == 0 && m_token.back() == '>' &&
           m_token.compare(2, name.size(), name) == 0;
}

std::string CDataFileReader::PeekBlockName() const {
    if (!IsAnyBlockStart() || m_token.back() != '>') return {};
    return m_token.substr(1, m_token.size() - 2);
}

// ---- elements ---------------------------------------------------------------

void CDataFileReader::BeginBlock(const std::string& name) {
    if (m_groupCountdown != 0) Fail(DRAV_ERR_OUT_OF_RANGE, "element <" + name + "> opened inside a group");
    if (!IsBlock(name)) Fail(DRAV_ERR_BAD_DATA, "expected <" + name + ">");
    // The closing tag is the opening one with a slash.
    std::string& closing = m_blocks.emplace_back(m_token);
    closing.insert(closing.begin() + 1, '/');
    Advance();
}

void CDataFileReader::EndBlock() {
    if (m_groupCountdown != 0) Fail(DRAV_ERR_OUT_OF_RANGE, "element closed inside a group");
    if (m_blocks.empty()) Fail(DRAV_ERR_BAD_DATA, "no element is open to close");
    if (m_token != m_blocks.back()) Fail(DRAV_ERR_BAD_DATA, "expected " + m_blocks.back());
    m_blocks.pop_back();
    Advance();
}

void CDataFileReader::RequireEnd() const {
    if (!m_token.empty()) Fail(DRAV_ERR_BAD_DATA, "data after the file's element");
}

void CDataFileReader::SkipBlock(const std::string& name) {
    BeginBlock(name);
    while (!IsClosing(name)) {
        if (m_token.empty()) Fail(DRAV_ERR_BAD_DATA, "expected </" + name + ">");
        Advance();
    }
    EndBlock();
}

// ---- groups -----------------------------------------------------------------

bool CDataFileReader::OpenGroup(std::uint32_t count, bool allowZero) {
    // The closing bookkeeping needs a first and a last value.
    if (count < 2) Fail(DRAV_ERR_OUT_OF_RANGE, "a group of " + std::to_string(count) + " values is not supported");
    RequireToken("a group");
    if (allowZero && IsWord('0')) {
        Advance();
        return false;
    }
    if (IsWord('(')) {
        Advance();
        m_groupCountdown = count - 1;
        return true;
    }
    if (m_token[0] == '(') {
        m_token.erase(0, 1);
        m_groupCountdown = count - 1;
        return true;
    }
    return false;
}

// ---- values -----------------------------------------------------------------

std::string CDataFileReader::ReadWord() {
    if (IsElementTag(RequireToken("a word"))) Fail(DRAV_ERR_BAD_DATA, "expected a word");
    if (m_written && !IsWritableWord(m_token)) Fail(DRAV_ERR_BAD_DATA, UnwritableWordReason(m_token));
    // The word leaves the reader's buffer instead of being copied out of it.
    std::string word = std::move(m_token);
    m_token.clear();
    Advance();
    return word;
}

std::string CDataFileReader::ReadWordOrEmpty() {
    std::string word = ReadWord();
    if (word == "0") word.clear();
    return word;
}

std::string CDataFileReader::ReadQuoted(std::size_t most, const char* what) {
    std::string text = ReadQuotedBytes(most, what);
    // Every other text a saved game holds is one the game shows, or a name it
    // compares with one it shows.
    if (m_written)
        if (const std::string fault = ShownTextFault(text); !fault.empty())
            throw CDRAVException(DRAV_ERR_BAD_DATA, m_sourceName + ": " + what + " " + fault);
    return text;
}

std::string CDataFileReader::ReadQuotedBytes(std::size_t most, const char* what) {
    if (RequireToken("a quoted text")[0] != '"') Fail(DRAV_ERR_BAD_DATA, "expected a quoted text");
    // What the writer would refuse is refused before it has been read whole.
    if (m_written) most = std::min(most, kWrittenRunLimit - 4);
    // Until the text is closed, what has been read of it may end with its closing quote.
    const std::size_t room = most == SIZE_MAX ? most : most + 1;
    const auto failLong = [&] {
        throw CDRAVException(DRAV_ERR_BAD_DATA,
                             m_sourceName + ": " + what + " of more than " + std::to_string(most) + " bytes");
    };
    // A lone double quote is a complete, empty text: its last character closes it.
    bool closed = m_token.size() == 1 || m_token.back() == '"';
    std::string text = std::move(m_token);
    m_token.clear();
    text.erase(0, 1);
    if (text.size() > room) failLong();
    while (!closed) {
        // Usually the closing quote (a quote that ends a word) lies in the chunk: the
        // rest of the text is taken in one piece, each run of white space a blank.
        const char* quote = m_next;
        while ((quote = static_cast<const char*>(std::memchr(quote, '"', static_cast<std::size_t>(m_end - quote)))) &&
               quote + 1 != m_end && !IsSpace(quote[1]))
            ++quote;
        if (quote && quote + 1 != m_end) {
            AppendCollapsed(text, m_next, quote + 1);
            m_next = quote + 1;
            if (text.size() > room) failLong();
            break;
        }
        // Otherwise word by word, across chunks.
        text += ' ';
        const std::size_t wordStart = text.size();
        ReadRawToken(m_token);
        if (m_longRun) FailLongRun();
        if (m_token.empty()) Fail(DRAV_ERR_BAD_DATA, "quoted text not closed before the end of the data");
        text += m_token;
        if (text.size() > room) failLong();
        closed = text.size() > wordStart && text.back() == '"';
    }
    if (!text.empty() && text.back() == '"') text.pop_back();
    if (text.size() > most) failLong();
    if (m_written && !IsWritableText(text))
        Fail(DRAV_ERR_BAD_DATA, "a text with a double quote in it cannot be saved again");
    Advance();
    return text;
}

template <typename T>
T CDataFileReader::PeekNumber(const char* wanted) const {
    const std::string& token = RequireToken(wanted);
    const char* begin = token.data();
    const char* end = begin + token.size();
    if constexpr (std::is_unsigned_v<T>) {
        if (*begin == '+' || *begin == '-') Fail(DRAV_ERR_BAD_DATA, std::string("a sign is not allowed on ") + wanted);
    } else if (*begin == '+') {
        ++begin;
        if (begin < end && *begin == '-') Fail(DRAV_ERR_BAD_DATA, std::string("malformed ") + wanted);
    }
    // Only plain decimal forms: no "inf", "nan" or hexadecimal, as the format never had them.
    const char* digits = begin + (begin < end && *begin == '-');
    if (digits == end || !((*digits >= '0' && *digits <= '9') || *digits == '.'))
        Fail(DRAV_ERR_BAD_DATA, std::string("expected ") + wanted);
    T value{};
    auto [stop, error] = std::from_chars(begin, end, value);
    if (error != std::errc() || stop != end) Fail(DRAV_ERR_BAD_DATA, std::string("malformed ") + wanted);
    return value;
}

template <typename T>
T CDataFileReader::ParseNumber(const char* wanted) {
    const T value = PeekNumber<T>(wanted);
    Advance();
    return value;
}

template <typename T>
T CDataFileReader::ParseNumberWithin(const char* wanted, T least, T most, const char* what) {
    const T value = PeekNumber<T>(wanted);
    if (!(value >= least && value <= most)) {
        std::ostringstream range;
        // A bound of a fraction is named to its last digit: the value refused lies past it.
        if constexpr (std::is_floating_point_v<T>)
            range << "expected " << what << " from " << ExactNumber(least) << " to " << ExactNumber(most);
        else
            range << "expected " << what << " from " << least << " to " << most;
        Fail(DRAV_ERR_BAD_DATA, range.str());
    }
    Advance();
    return value;
}

std::uint32_t CDataFileReader::ReadUInt() { return ParseNumber<std::uint32_t>("an unsigned number"); }
std::int32_t CDataFileReader::ReadInt() { return ParseNumber<std::int32_t>("a whole number"); }
double CDataFileReader::ReadDouble() { return ParseNumber<double>("a number"); }

std::int32_t CDataFileReader::ReadInt(std::int32_t least, std::int32_t most, const char* what) {
    return ParseNumberWithin<std::int32_t>("a whole number", least, most, what);
}

std::uint32_t CDataFileReader::ReadUInt(std::uint32_t least, std::uint32_t most, const char* what) {
    return ParseNumberWithin<std::uint32_t>("an unsigned number", least, most, what);
}

double CDataFileReader::ReadDouble(double least, double most, const char* what) {
    return ParseNumberWithin<double>("a number", least, most, what);
}

bool CDataFileReader::ReadBool() {
    const std::string& token = RequireToken("true or false");
    bool value;
    if (token == "true") value = true;
    else if (token == "false") value = false;
    else Fail(DRAV_ERR_BAD_DATA, "expected true or false");
    Advance();
    return value;
}

void CDataFileReader::ReadColour(std::uint32_t& colour) {
    std::uint32_t red, green, blue;
    if (BeginGroup(3, false)) {
        red = ReadUInt();
        green = ReadUInt();
        blue = ReadUInt();
    } else {
        red = green = blue = ReadUInt();
    }
    colour = (colour & 0xFF000000u) | (red & 0xFFu) << 16 | (green & 0xFFu) << 8 | (blue & 0xFFu);
}

}  // namespace DRAVCommon
