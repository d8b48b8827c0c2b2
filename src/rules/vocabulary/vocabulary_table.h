#pragma once
// Lookups shared by every fixed vocabulary table of the rules: a table is a constant
// array whose row number is the enumeration value, and a key column names each row
// in the data files. Keys compare exactly (case-sensitive, whole word).

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/data_file_reader.h"
#include "common/exception.h"

namespace DRAV {

// The first row, from 0 upward, whose `field` equals `word`; -1 when none does.
template <typename Row, std::size_t N>
int FindTableKey(const Row (&table)[N], const char* const Row::*field, std::string_view word) {
    for (std::size_t i = 0; i < N; ++i)
        if (word == table[i].*field) return static_cast<int>(i);
    return -1;
}

// As FindTableKey, but a word outside the table throws `code` naming the word.
template <typename Row, std::size_t N>
int ParseTableKey(const Row (&table)[N], const char* const Row::*field, const std::string& word,
                  std::int32_t code, const char* what) {
    int value = FindTableKey(table, field, word);
    if (value < 0) throw CDRAVException(code, std::string("unknown ") + what + ": \"" + word + "\"");
    return value;
}

// The row of `value`; a value outside the table throws code 2 naming the value.
template <typename Row, std::size_t N>
const Row& GetTableRow(const Row (&table)[N], long long value, const char* what) {
    if (value < 0 || value >= static_cast<long long>(N))
        throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, std::string(what) + " out of range: " + std::to_string(value));
    return table[value];
}

// Reads the current token as a key of the table and consumes it. End of data is
// code 1; a word outside the table is `code`, with the file and the word named.
template <typename Row, std::size_t N>
int ReadTableKey(DRAVCommon::CDataFileReader& reader, const Row (&table)[N], const char* const Row::*field,
                 std::int32_t code, const char* what) {
    if (reader.AtEnd()) reader.Fail(DRAV_ERR_BAD_DATA, std::string("expected ") + what);
    int value = FindTableKey(table, field, reader.GetToken());
    if (value < 0) reader.Fail(code, std::string("unknown ") + what);
    reader.Advance();
    return value;
}

}  // namespace DRAV
