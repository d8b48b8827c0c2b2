#include "rules/definitions/tile_template.h"

#include <utility>

#include "common/data_file_reader.h"
#include "common/exception.h"
#include "rules/vocabulary/vocabulary_table.h"
#include "script/script_loader.h"

namespace DRAV {

namespace {

struct DoorFlagWord {
    const char* word;
    TileFlag flag;
};

constexpr DoorFlagWord kDoorFlagWords[] = {
    {"reset", TILE_FLAG_RESET},
    {"noclose", TILE_FLAG_NOCLOSE},
    {"open", TILE_FLAG_OPEN},
};

}  // namespace

CTileTemplate::CTileTemplate(std::string key, std::string name, TileKind kind, std::string graphicName,
                             std::uint32_t width, std::uint32_t depth)
    : m_key(std::move(key)),
      m_name(std::move(name)),
      m_kind(kind),
      m_graphicName(std::move(graphicName)),
      m_width(width),
      m_depth(depth) {}

void CTileTemplate::Load(DRAVCommon::CDataFileReader& reader) {
    reader.BeginBlock("tile");
    m_key = reader.ReadWord();
    m_name = reader.ReadQuoted();
    m_graphicName = reader.ReadWord();
    if (!reader.BeginGroup(2, false)) reader.Fail(DRAV_ERR_BAD_DATA, "expected a group of width and depth");
    m_width = reader.ReadUInt(1, kMostTileCells, "a width in cells");
    m_depth = reader.ReadUInt(1, kMostTileCells, "a depth in cells");
    const TileKind kind = ParseTileKind(reader.GetToken());
    if (kind == TILE_INVALID) reader.Fail(DRAV_ERR_BAD_DATA, "expected floor, empty, solid, door or block");
    reader.Advance();
    m_kind = kind;
    if (m_kind == TILE_DOOR) LoadDoor(reader);
    reader.EndBlock();
}

void CTileTemplate::LoadDoor(DRAVCommon::CDataFileReader& reader) {
    m_doorDrawValue = reader.ReadUInt();
    if (reader.IsBlock("lua")) m_script = LoadScript(reader, "tile " + m_key);
    else m_lockValue = reader.ReadUInt();
    while (!reader.AtBlockEnd()) {
        const int row = FindTableKey(kDoorFlagWords, &DoorFlagWord::word, reader.GetToken());
        if (row < 0) reader.Fail(DRAV_ERR_BAD_DATA, "expected reset, noclose or open");
        m_flags |= kDoorFlagWords[row].flag;
        reader.Advance();
    }
}

}  // namespace DRAV
