#include "rules/definitions/object_template.h"

#include "common/data_file_reader.h"
#include "common/exception.h"
#include "rules/monsters/actor_names.h"

namespace DRAV {

void CObjectTemplate::Load(DRAVCommon::CDataFileReader& reader) {
    reader.BeginBlock("object");
    m_key = reader.ReadWord();
    ReadName(reader);
    m_graphicName = reader.ReadWordOrEmpty();
    if (reader.AtEnd()) reader.Fail(DRAV_ERR_BAD_DATA, "expected floor, empty or solid");
    // Doors and blocks are tiles only; the object's own kinds end at solid.
    const TileKind kind = ParseTileKind(reader.GetToken());
    if (kind < 0 || kind >= kObjectTileKindCount)
        reader.Fail(DRAV_ERR_OUT_OF_RANGE, "expected floor, empty or solid");
    m_kind = kind;
    reader.Advance();
    m_width = reader.ReadDouble();
    m_depth = reader.ReadDouble();
    m_height = reader.ReadDouble();
    while (!reader.AtBlockEnd()) ReadOptionalPart(reader);
    reader.EndBlock();
}

void CObjectTemplate::ReadName(DRAVCommon::CDataFileReader& reader) {
    if (!reader.IsBlock("name")) {
        m_name = KeptName(reader, reader.ReadQuoted(), "a name");
        return;
    }
    reader.BeginBlock("name");
    m_name = KeptName(reader, reader.ReadQuoted(), "a name");
    m_signText = reader.ReadQuoted();
    reader.EndBlock();
}

void CObjectTemplate::ReadOptionalPart(DRAVCommon::CDataFileReader& reader) {
    if (reader.IsBlock("talk")) {
        ReadTalkStates(m_talkStates, reader, "object " + m_key);
    } else if (reader.IsBlock("trap")) {
        auto trap = std::make_shared<CTrap>();
        ReadTrap(reader, *trap);
        m_trap = trap;
    } else if (reader.IsBlock("trigger")) {
        auto trap = std::make_shared<CTrap>();
        ReadTrigger(reader, *trap, m_name);
        m_trap = trap;
    } else if (reader.IsBlock("sound")) {
        reader.BeginBlock("sound");
        m_soundName = reader.ReadQuoted();
        m_soundRadius = reader.ReadDouble();
        reader.EndBlock();
    } else if (reader.IsWord("container")) {
        m_container = true;
        reader.Advance();
    } else if (reader.IsWord("signpost")) {
        m_signpost = true;
        reader.Advance();
    } else if (reader.IsWord("safe")) {
        m_safe = true;
        reader.Advance();
    } else {
        reader.Fail(DRAV_ERR_BAD_DATA, "expected <talk>, <trap>, <trigger>, <sound>, container, signpost or safe");
    }
}

}  // namespace DRAV
