#include "rules/definitions/place_file.h"

#include "common/data_file.h"
#include "common/data_file_reader.h"
#include "common/exception.h"

namespace DRAV {

CPlaceFile ReadPlaceFile(const std::shared_ptr<DRAVCommon::CDataFileFactory>& package, const std::string& name) {
    const std::string fileName = name + ".drav";
    std::shared_ptr<std::istream> file;
    try {
        if (package) file = package->Open(DRAVCommon::DFK_CHAPTER, DRAVCommon::DFS_NONE, fileName);
    } catch (const CDRAVException&) {
    }
    if (!file) throw CDRAVException(DRAV_ERR_BAD_DATA, "the module has no area \"" + name + "\"");
    DRAVCommon::CDataFileReader reader(
        file, DRAVCommon::DescribeDataFile(DRAVCommon::DFK_CHAPTER, DRAVCommon::DFS_NONE, fileName));
    CPlaceFile place;
    if (reader.IsBlock("map")) {
        place.travelMap = true;
        return place;
    }
    // Everything but the entries' names is passed over unread.
    reader.BeginBlock("area");
    reader.ReadQuoted();
    reader.ReadBool();
    while (!reader.IsBlock("entries")) {
        const std::string element = reader.PeekBlockName();
        if (element.empty()) reader.Fail(DRAV_ERR_BAD_DATA, "expected <entries>");
        if (element != "rows") {
            reader.SkipBlock(element);
            continue;
        }
        reader.BeginBlock("rows");
        if (!reader.BeginGroup(2, false)) reader.Fail(DRAV_ERR_BAD_DATA, "expected the grid size ( columns rows )");
        place.columns = reader.ReadUInt();
        place.rows = reader.ReadUInt();
        while (!reader.AtBlockEnd()) reader.Advance();
        reader.EndBlock();
    }
    reader.BeginBlock("entries");
    while (!reader.AtBlockEnd()) {
        reader.BeginBlock("entry");
        place.entryNames.push_back(reader.ReadWord());
        reader.ReadQuoted();
        while (!reader.AtBlockEnd()) {
            const std::string element = reader.PeekBlockName();
            if (element.empty()) reader.Advance();
            else reader.SkipBlock(element);
        }
        reader.EndBlock();
    }
    return place;
}

}  // namespace DRAV
