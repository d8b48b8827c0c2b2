#pragma once
// Reading one vocabulary word inside a definition: a missing word (the end of the
// data or an element tag) is code 1, and a word the vocabulary refuses keeps the
// vocabulary's code while the message names the file and the word.

#include <string>
#include <utility>

#include "common/data_file_reader.h"
#include "common/exception.h"
#include "rules/vocabulary/kept_word.h"

namespace DRAV {

// True when the current token can stand for a word: not the end of the data and no tag.
inline bool AtWord(const DRAVCommon::CDataFileReader& reader) {
    return !reader.AtEnd() && reader.GetToken().front() != '<';
}

// Parses the current token with `parse` and consumes it.
template <typename Parse>
auto ReadParsedWord(DRAVCommon::CDataFileReader& reader, const char* what, Parse&& parse) {
    if (!AtWord(reader)) reader.Fail(DRAV_ERR_BAD_DATA, std::string("expected ") + what);
    try {
        auto value = std::forward<Parse>(parse)(reader.GetToken());
        reader.Advance();
        return value;
    } catch (const CDRAVException& error) {
        reader.Fail(error.GetCode(), error.GetMessage());
    }
}

// A definition key where "0" stands for none; a missing word is code 1.
inline std::string ReadKeyOrEmpty(DRAVCommon::CDataFileReader& reader, const char* what) {
    if (!AtWord(reader)) reader.Fail(DRAV_ERR_BAD_DATA, std::string("expected ") + what);
    return reader.ReadWordOrEmpty();
}

}  // namespace DRAV
