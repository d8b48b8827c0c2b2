#include "world/area/area_records.h"

#include "common/data_file_reader.h"
#include "common/exception.h"
#include "rules/vocabulary/read_word.h"
#include "script/script_loader.h"
#include "world/cell.h"

namespace DRAV {

void ReadCellGroup(DRAVCommon::CDataFileReader& reader, const char* what, std::uint32_t& column,
                   std::uint32_t& row) {
    if (!reader.BeginGroup(2, false)) reader.Fail(DRAV_ERR_BAD_DATA, std::string("expected ( column row ) of ") + what);
    column = reader.ReadUInt();
    row = reader.ReadUInt();
}

Direction ReadFacing(DRAVCommon::CDataFileReader& reader) {
    return ReadParsedWord(reader, "a facing", ParseDirection);
}

CAreaEntry::CAreaEntry(DRAVCommon::CDataFileReader& reader) {
    reader.BeginBlock("entry");
    name = reader.ReadWord();
    text = reader.ReadQuoted();
    ReadCellGroup(reader, "an entry", column, row);
    script = LoadScript(reader, "entry " + name);
    reader.EndBlock();
}

CAreaExit::CAreaExit(DRAVCommon::CDataFileReader& reader) {
    reader.BeginBlock("exit");
    name = reader.ReadWord();
    text = reader.ReadQuoted();
    ReadCellGroup(reader, "an exit", column, row);
    x = (column + 0.5) * kCellSize;
    y = (row + 0.5) * kCellSize;
    requiredTag = reader.ReadWordOrEmpty();
    if (reader.BeginGroup(2, false)) {
        destinationArea = reader.ReadWord();
        destinationEntry = reader.ReadWordOrEmpty();
    } else {
        destinationArea = reader.ReadWord();
    }
    script = LoadScript(reader, "exit " + name);
    if (reader.IsBlock("object")) {
        reader.BeginBlock("object");
        objectTemplate = ReadKeyOrEmpty(reader, "an exit object template");
        facing = ReadFacing(reader);
        reader.EndBlock();
    }
    reader.EndBlock();
}

CAreaSkyInfo::CAreaSkyInfo(DRAVCommon::CDataFileReader& reader) {
    reader.BeginBlock("sky");
    name = reader.ReadWord();
    for (double& value : values) value = reader.ReadDouble();
    reader.EndBlock();
}

CAreaSoundInfo::CAreaSoundInfo(DRAVCommon::CDataFileReader& reader) {
    reader.BeginBlock("sound");
    name = reader.ReadQuoted();
    if (!reader.AtBlockEnd()) {
        hasRectangle = true;
        // Corners sit on cell edges: no half-cell offset.
        reader.BeginGroup(2, false);
        x1 = reader.ReadInt() * kCellSize;
        y1 = reader.ReadInt() * kCellSize;
        reader.BeginGroup(2, false);
        x2 = reader.ReadInt() * kCellSize;
        y2 = reader.ReadInt() * kCellSize;
    }
    reader.EndBlock();
}

void LoadAreaSounds(DRAVCommon::CDataFileReader& reader, AreaSoundList& sounds) {
    reader.BeginBlock("sounds");
    while (!reader.AtBlockEnd()) sounds.push_back(std::make_shared<CAreaSoundInfo>(reader));
    reader.EndBlock();
}

namespace {

template <typename List>
auto FindByName(const List& list, const std::string& name) -> decltype(list.front().get()) {
    for (const auto& record : list)
        if (record && record->name == name) return record.get();
    return nullptr;
}

}  // namespace

CAreaEntry* FindAreaEntry(const AreaEntryList& entries, const std::string& name) {
    if (name.empty()) return entries.empty() ? nullptr : entries.front().get();
    return FindByName(entries, name);
}
CAreaExit* FindAreaExit(const AreaExitList& exits, const std::string& name) { return FindByName(exits, name); }

}  // namespace DRAV
