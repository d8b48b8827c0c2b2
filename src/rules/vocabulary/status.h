#pragma once
// The status effects an applied spell can put on an actor.

#include <cstdint>
#include <string>

#include "common/data_file_reader.h"
#include "common/data_file_writer.h"

namespace DRAV {

enum StatusKind : std::int32_t {
    STATUS_FEAR = 0,
    STATUS_HELD = 1,
    STATUS_CONFUSED = 2,
    STATUS_IMMOBILE = 3,
    STATUS_CHARMED = 4,
    STATUS_DOMINATED = 5,
};
constexpr int kStatusCount = 6;

// Code 2 outside 0-5.
std::string GetStatusKey(StatusKind status);
std::string GetStatusName(StatusKind status);
// Code 1 for a word that is not a status key.
StatusKind ParseStatus(const std::string& key);
StatusKind ReadStatus(DRAVCommon::CDataFileReader& reader);
void WriteStatus(DRAVCommon::CDataFileWriter& writer, StatusKind status);

}  // namespace DRAV
