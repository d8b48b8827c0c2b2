#include "rules/vocabulary/status.h"

#include "rules/vocabulary/vocabulary_table.h"

namespace DRAV {

namespace {

struct StatusRow {
    const char* key;
    const char* name;
};

constexpr StatusRow kStatuses[kStatusCount] = {
    {"fear", "Fear"},         {"held", "Held"},       {"confused", "Confused"},
    {"immobile", "Immobile"}, {"charmed", "Charmed"}, {"dominated", "Dominated"},
};

}  // namespace

std::string GetStatusKey(StatusKind status) { return GetTableRow(kStatuses, status, "status").key; }
std::string GetStatusName(StatusKind status) { return GetTableRow(kStatuses, status, "status").name; }

StatusKind ParseStatus(const std::string& key) {
    return static_cast<StatusKind>(ParseTableKey(kStatuses, &StatusRow::key, key, DRAV_ERR_BAD_DATA, "status"));
}

StatusKind ReadStatus(DRAVCommon::CDataFileReader& reader) {
    return static_cast<StatusKind>(ReadTableKey(reader, kStatuses, &StatusRow::key, DRAV_ERR_BAD_DATA, "status"));
}

void WriteStatus(DRAVCommon::CDataFileWriter& writer, StatusKind status) { writer.WriteWord(GetStatusKey(status)); }

}  // namespace DRAV
