#include "rules/module.h"

#include <map>
#include <set>
#include <utility>

#include "common/data_file_reader.h"
#include "common/exception.h"
#include "rules/definitions/tile_template.h"
#include "rules/vocabulary/read_word.h"
#include "rules/items/item_file.h"
#include "rules/magic/magic_file.h"
#include "rules/monsters/actor_template.h"

namespace DRAV {

namespace {

using DRAVCommon::CDataFileReader;

[[noreturn]] void FailDuplicate(const CDataFileReader& reader, const std::string& what, const std::string& key) {
    throw CDRAVException(DRAV_ERR_BAD_DATA, reader.GetSourceName() + ": " + what + " \"" + key + "\" is defined twice");
}

template <typename Map>
auto FindDefinition(const Map& definitions, const std::string& key) -> decltype(definitions.begin()->second.get()) {
    auto found = definitions.find(key);
    return found == definitions.end() ? nullptr : found->second.get();
}

// A pair of unsigned numbers that must be written as a group.
std::pair<std::uint32_t, std::uint32_t> ReadRequiredPair(CDataFileReader& reader, const std::string& what) {
    if (!reader.BeginGroup(2, false)) reader.Fail(DRAV_ERR_BAD_DATA, "expected a group ( " + what + " )");
    const std::uint32_t first = reader.ReadUInt();
    const std::uint32_t second = reader.ReadUInt();
    return {first, second};
}

}  // namespace

void CModule::Load(std::int32_t chapter, const CModuleVersionRange* expected,
                   std::shared_ptr<DRAVCommon::CDataFileFactory> package) {
    if (!package) throw CDRAVException(DRAV_ERR_BAD_DATA, "no data-file source for chapter " + std::to_string(chapter));
    m_chapter = chapter;
    m_version = 0;
    m_secondVersion = 0;
    m_package = std::move(package);
    // Items refer to spells, factions and monsters to both, monsters to factions.
    LoadWorld(expected);
    LoadMagic();
    LoadItems();
    LoadFactions();
    LoadMonsters();
    LoadQuests();
    LoadJournal();
}

void CModule::LoadWorld(const CModuleVersionRange* expected) {
    {
        CDataFileReader reader(*m_package, DRAVCommon::DFK_CHAPTER, DRAVCommon::DFS_NONE, "world.drav");
        ParseWorld(reader, expected);
        reader.RequireEnd();
    }
    CDataFileReader reader(*m_package, DRAVCommon::DFK_GLOBAL, DRAVCommon::DFS_NONE, "global_world.drav");
    ParseWorld(reader, expected);
    reader.RequireEnd();
    // Every item dropped in play lands in a "pile": missing, it would be found only
    // at the first drop.
    if (!m_objectTemplates.count("pile"))
        throw CDRAVException(DRAV_ERR_BAD_DATA, reader.GetSourceName() +
                                                    ": no object \"pile\" is defined for dropped items, here or in " +
                                                    DRAVCommon::DescribeDataFile(DRAVCommon::DFK_CHAPTER,
                                                                                 DRAVCommon::DFS_NONE, "world.drav"));
}

void CModule::LoadMagic() { DRAV::LoadMagic(m_spells, *m_package); }

void CModule::LoadItems() { DRAV::LoadItems(m_itemTemplates, *m_package, m_spells); }

void CModule::LoadFactions() {
    CDataFileReader reader(*m_package, DRAVCommon::DFK_GLOBAL, DRAVCommon::DFS_NONE, "global_factions.drav");
    ParseFactions(m_factions, reader);
    reader.RequireEnd();
}

void CModule::LoadMonsters() {
    // The file each definition was last read from, and the keys others build on.
    std::map<std::string, std::string> files;
    std::set<std::string> bases;
    // The chapter's definitions come second, so they override the global ones.
    for (const auto& [kind, name] : {std::pair{DRAVCommon::DFK_GLOBAL, "global_monsters.drav"},
                                     std::pair{DRAVCommon::DFK_CHAPTER, "monsters.drav"}}) {
        CDataFileReader reader(*m_package, kind, DRAVCommon::DFS_NONE, name);
        for (const auto& definition : ParseMonsters(reader)) {
            files[definition->GetKey()] = reader.GetSourceName();
            bases.insert(definition->GetBases().begin(), definition->GetBases().end());
        }
        reader.RequireEnd();
    }
    // A definition that is not only a base for others is made into actors: one that
    // cannot be fails here, naming its file, rather than at some later spawn.
    for (const auto& [key, definition] : m_monsterTemplates) {
        if (bases.count(key)) continue;
        try {
            definition->Validate();
        } catch (const CDRAVException& error) {
            throw CDRAVException(error.GetCode(), files[key] + ": " + error.GetMessage());
        }
    }
}

std::vector<std::shared_ptr<const CActorTemplate>> CModule::ParseMonsters(CDataFileReader& reader) {
    std::vector<std::shared_ptr<const CActorTemplate>> read;
    reader.BeginBlock("monsters");
    while (!reader.AtBlockEnd()) {
        if (!reader.IsBlock("monster2")) reader.Fail(DRAV_ERR_BAD_DATA, "expected <monster2>");
        auto definition = std::make_shared<CActorTemplate>(reader, *this);
        read.push_back(definition);
        const std::string key = definition->GetKey();
        m_monsterTemplates.insert_or_assign(key, std::move(definition));
    }
    reader.EndBlock();
    return read;
}

void CModule::LoadQuests() {
    CDataFileReader reader(*m_package, DRAVCommon::DFK_CHAPTER, DRAVCommon::DFS_NONE, "quests.drav");
    ParseQuests(m_quests, reader);
    reader.RequireEnd();
}

void CModule::LoadJournal() {
    CDataFileReader reader(*m_package, DRAVCommon::DFK_CHAPTER, DRAVCommon::DFS_NONE, "journal.drav");
    ParseJournal(m_journalTexts, reader);
    reader.RequireEnd();
}

void CModule::ParseWorld(CDataFileReader& reader, const CModuleVersionRange* expected) {
    reader.BeginBlock("world");
    if (reader.IsBlock("version")) ReadVersion(reader, expected);
    if (reader.IsBlock("startup")) ReadStartup(reader);
    ReadTiles(reader);
    ReadObjectDefinitions(reader);
    reader.EndBlock();
}

void CModule::ReadVersion(CDataFileReader& reader, const CModuleVersionRange* expected) {
    reader.BeginBlock("version");
    const std::string identifier = reader.ReadWordOrEmpty();
    m_version = reader.ReadInt();
    m_secondVersion = reader.ReadInt();
    reader.EndBlock();
    if (!expected) return;
    const std::string& file = reader.GetSourceName();
    if (identifier != expected->identifier)
        throw CDRAVException(DRAV_ERR_BAD_DATA, file + ": module \"" + identifier + "\" is not \"" +
                                                    expected->identifier + "\"");
    if (m_version > expected->maxVersion)
        throw CDRAVException(DRAV_ERR_MODULE_TOO_NEW, file + ": module version " + std::to_string(m_version) +
                                                          " is above " + std::to_string(expected->maxVersion));
    if (m_version < expected->minVersion)
        throw CDRAVException(DRAV_ERR_MODULE_TOO_OLD, file + ": module version " + std::to_string(m_version) +
                                                          " is below " + std::to_string(expected->minVersion));
}

void CModule::ReadStartup(CDataFileReader& reader) {
    if (m_startupRead || !m_maleHeads.empty())
        reader.Fail(DRAV_ERR_BAD_DATA, "the start-up is already given by another world file");
    m_startupRead = true;
    reader.BeginBlock("startup");
    m_startArea = reader.ReadWord();
    m_startEntry = reader.ReadWord();
    // The date may stand bare or in a group.
    reader.BeginGroup(3, false);
    m_startYear = reader.ReadUInt();
    m_startDay = reader.ReadUInt();
    m_startHour = reader.ReadUInt();
    ReadHeads(reader, "male", m_maleHeads);
    ReadHeads(reader, "female", m_femaleHeads);
    if (reader.IsBlock("import")) ReadImports(reader);
    reader.EndBlock();
}

void CModule::ReadHeads(CDataFileReader& reader, const std::string& element, HeadList& heads) {
    reader.BeginBlock(element);
    while (!reader.AtBlockEnd()) {
        reader.BeginBlock("head");
        auto head = std::make_shared<CHeadInfo>();
        head->text = reader.ReadQuoted();
        head->word = reader.ReadWord();
        reader.EndBlock();
        heads.push_back(std::move(head));
    }
    reader.EndBlock();
}

void CModule::ReadImports(CDataFileReader& reader) {
    reader.BeginBlock("import");
    while (!reader.AtBlockEnd()) m_imports.insert_or_assign(KeptWord(reader, reader.ReadWordOrEmpty(), "an imported tag"), 1);
    reader.EndBlock();
}

void CModule::ReadTiles(CDataFileReader& reader) {
    reader.BeginBlock("tiles");
    while (!reader.AtBlockEnd()) {
        if (reader.IsBlock("tile")) {
            auto tile = std::make_shared<CTileTemplate>();
            tile->Load(reader);
            AddTile(reader, std::move(tile));
        } else if (reader.IsBlock("multitile")) {
            ReadMultitile(reader);
        } else {
            reader.Fail(DRAV_ERR_BAD_DATA, "expected <tile> or <multitile>");
        }
    }
    reader.EndBlock();
}

void CModule::ReadMultitile(CDataFileReader& reader) {
    reader.BeginBlock("multitile");
    const std::string baseKey = reader.ReadWordOrEmpty();
    const auto [across, down] = ReadRequiredPair(reader, "pieces across and down");
    if (across < 1 || down < 1 || across > kMostTileCells || down > kMostTileCells)
        throw CDRAVException(DRAV_ERR_BAD_DATA, reader.GetSourceName() + ": multitile \"" + baseKey + "\" has " +
                                                    std::to_string(across) + " x " + std::to_string(down) +
                                                    " pieces; a multitile has 1 to " +
                                                    std::to_string(kMostTileCells) + " each way");
    const std::string name = reader.ReadQuoted();
    const std::string graphicBase = reader.ReadWordOrEmpty();
    const auto [width, depth] = ReadRequiredPair(reader, "piece width and depth");
    // Neither many pieces nor large ones: each piece is a tile of its own.
    if (width < 1 || depth < 1 || width > kMostTileCells || depth > kMostTileCells)
        throw CDRAVException(DRAV_ERR_BAD_DATA, reader.GetSourceName() + ": multitile \"" + baseKey + "\" has pieces of " +
                                                    std::to_string(width) + " x " + std::to_string(depth) +
                                                    " cells; a piece covers 1 to " + std::to_string(kMostTileCells) +
                                                    " each way");
    if (reader.AtEnd()) reader.Fail(DRAV_ERR_BAD_DATA, "expected floor, empty, solid, door or block");
    const TileKind kind = ParseTileKind(reader.GetToken());
    if (kind == TILE_INVALID) reader.Fail(DRAV_ERR_BAD_DATA, "expected floor, empty, solid, door or block");
    reader.Advance();
    reader.EndBlock();

    for (std::uint32_t x = 0; x < across; ++x) {
        for (std::uint32_t y = 0; y < down; ++y) {
            const std::string suffix = "#" + std::to_string(x) + "#" + std::to_string(y);
            AddTile(reader, std::make_shared<CTileTemplate>(baseKey + suffix, name, kind, graphicBase + suffix,
                                                            width, depth));
        }
    }
}

void CModule::AddTile(const CDataFileReader& reader, std::shared_ptr<CTileTemplate> tile) {
    const std::string key = tile->GetKey();
    if (!m_tileTemplates.emplace(key, std::move(tile)).second) FailDuplicate(reader, "tile", key);
}

void CModule::ReadObjectDefinitions(CDataFileReader& reader) {
    reader.BeginBlock("objectdefs");
    while (!reader.AtBlockEnd()) {
        if (!reader.IsBlock("object")) reader.Fail(DRAV_ERR_BAD_DATA, "expected <object>");
        auto definition = std::make_shared<CObjectTemplate>();
        definition->Load(reader);
        const std::string key = definition->GetKey();
        if (!m_objectTemplates.emplace(key, std::move(definition)).second) FailDuplicate(reader, "object", key);
    }
    reader.EndBlock();
}

const CTileTemplate* CModule::FindTileTemplate(const std::string& key) const {
    return FindDefinition(m_tileTemplates, key);
}

const CObjectTemplate* CModule::FindObjectTemplate(const std::string& key) const {
    return FindDefinition(m_objectTemplates, key);
}

const CActorTemplate* CModule::FindMonsterTemplate(const std::string& key) const {
    return FindDefinition(m_monsterTemplates, key);
}

}  // namespace DRAV
