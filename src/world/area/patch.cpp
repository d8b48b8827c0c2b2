#include "world/area/patch.h"

#include "common/data_file_reader.h"
#include "rules/module.h"
#include "rules/vocabulary/read_word.h"
#include "world/area/area_records.h"

namespace DRAV {

CPatchActionObject::CPatchActionObject(DRAVCommon::CDataFileReader& reader, const CModule& module) {
    reader.BeginBlock("object");
    if (reader.BeginGroup(2, false)) {
        templateName = ReadKeyOrEmpty(reader, "an object template");
        objectName = ReadKeyOrEmpty(reader, "an object name");
    } else {
        templateName = ReadKeyOrEmpty(reader, "an object template");
    }
    // The position may stand in parentheses or bare.
    reader.BeginGroup(2, false);
    x = reader.ReadDouble();
    y = reader.ReadDouble();
    facing = ReadFacing(reader);
    lockValue = reader.ReadUInt();
    ReadItemList(reader, module.GetItemTemplates(), items);
    reader.EndBlock();
}

}  // namespace DRAV
