#pragma once
// Writes the ".drav" element text: one value per line, one blank of indentation
// per open element, groups on consecutive lines between "(" and ")".

#include <cstdint>
#include <deque>
#include <fstream>
#include <string>
#include <type_traits>

namespace DRAVCommon {

class CDataFileWriter : public std::ofstream {
public:
    // Creates or truncates `path`; code 1 when it cannot be created.
    explicit CDataFileWriter(const std::string& path);

    // Plain values are written between these with the stream's own operators.
    void BeginValue();
    void EndValue();

    void BeginBlock(const std::string& name);
    void EndBlock();

    // The next `count` values form one group.
    void BeginGroup(std::int32_t count);

    // "" is written as "0". Code 2 for a word holding white space or starting with
    // "#", "<" or "(", or past kWrittenRunLimit: it would not read back as one word.
    void WriteWord(const std::string& word);
    void WriteWordOrZero(const std::string& word) { WriteWord(word); }
    // A lone "(" or ")" as a value of its own, for layouts that open and close a
    // group by hand; code 2 for any other character.
    void WriteParenthesis(char parenthesis);
    // Code 2 for a text holding a double quote or a line break, or past
    // kWrittenRunLimit: it would not read back.
    // Leading blanks are dropped, as the reader could not keep them.
    void WriteQuoted(const std::string& text);
    // In the fewest digits that read back as `value` exactly; code 2 for infinity
    // or NaN: they would not read back.
    void WriteDouble(double value);

    template <typename T>
    void WriteValue(const T& value) {
        if constexpr (std::is_floating_point_v<T>) {
            WriteDouble(static_cast<double>(value));
        } else {
            BeginValue();
            *this << value;
            EndValue();
        }
    }

    // Flushes and closes the file; code 1 when anything written was lost.
    void Finish();

    std::size_t GetDepth() const { return m_blocks.size(); }
    const std::string& GetPath() const { return m_path; }

private:
    std::deque<std::string> m_blocks;
    std::int32_t m_groupState = 0;
    std::int32_t m_groupCount = 0;
    std::string m_path;
};

}  // namespace DRAVCommon
