// Reading graphic, multigraphic, figure and override files into a CGraphic.

#include <string>

#include "common/data_file_reader.h"
#include "common/exception.h"
#include "common/graphic_colors.h"
#include "common/trace.h"
#include "graphics/graphic.h"
#include "graphics/model_node.h"
#include "graphics/particles/fixed_effect.h"

namespace DRAVGraph {

using DRAVCommon::CDataFileReader;
using DRAVCommon::DataFileKind;

// The steps of one load, sharing the reader's place, the models map and the request.
class CGraphicLoader {
public:
    CGraphicLoader(CGraphic& graphic, const GraphicLoadContext& context, const CGraphic::LoadRequest& request)
        : m_graphic(graphic), m_context(context), m_request(request) {}

    void Run();

private:
    void LoadFigure(const std::string& figure);
    void LoadAnimationLengths(CDataFileReader& reader);
    void LoadModelEntries(CDataFileReader& reader, bool offhand, std::uint32_t one, std::uint32_t two);
    void LoadModelEntry(CDataFileReader& reader, bool offhand, std::uint32_t one, std::uint32_t two);
    void LoadModelAnimation(CDataFileReader& reader, bool offhand, std::uint32_t one, std::uint32_t two);
    void LoadModelAnimColor(CDataFileReader& reader, bool offhand, std::uint32_t one, std::uint32_t two);
    CModelInfo& GetModelInfo(const std::string& piece, bool offhand);
    // Opens the entry's block and reads its piece, and its period when it has one.
    CModelInfo& BeginEntry(CDataFileReader& reader, const char* block, bool offhand, bool periodic);
    // False when the entry gives no scale.
    static bool ReadScale(CDataFileReader& reader, CModelInfo& info);
    std::shared_ptr<CSubModelInfo> LoadSubModel(CDataFileReader& reader, double frameTime, std::uint32_t one,
                                                std::uint32_t two);
    // False for an empty model-file reference.
    bool ReadModelSource(CDataFileReader& reader, CSubModelInfo& info, std::uint32_t one, std::uint32_t two) const;
    std::uint32_t ReadColourRef(CDataFileReader& reader) const;
    void LoadOverride(const GraphicOverride& override);

    CGraphic& m_graphic;
    const GraphicLoadContext& m_context;
    const CGraphic::LoadRequest& m_request;
    ModelInfoMap m_models;
    // Positions read from a figure file, for the cache once the whole load has succeeded.
    std::shared_ptr<CPositionMap> m_figurePositionsToCache;
};

namespace {

std::string FileName(const std::string& name) { return name + ".drav"; }

// Every error of a load names the graphic file it came from.
[[noreturn]] void RethrowNamingFile(const CDRAVException& error, DataFileKind kind, const std::string& name) {
    const std::string file = DRAVCommon::DescribeDataFile(kind, DRAVCommon::DFS_NONE, FileName(name));
    if (error.GetMessage().rfind(file, 0) == 0) throw error;
    throw CDRAVException(error.GetCode(), file + ": " + error.GetMessage());
}

}  // namespace

CGraphic::CGraphic(const GraphicLoadContext& context, DataFileKind kind, const std::string& name,
                   DataFileKind overrideKind, const GraphicOverrideList* overrides, CFigureCache* figureCache,
                   const CGraphicColors* colours) {
    LoadHelper(context, {kind, name, overrideKind, overrides, figureCache, colours, false, false, 0, 0, nullptr});
}

CGraphic::CGraphic(const GraphicLoadContext& context, const std::string& fileName, bool multigraphic,
                   std::uint32_t cellOne, std::uint32_t cellTwo, CellTextureCache* cellTextures) {
    LoadHelper(context, {DRAVCommon::DFK_TILE, fileName, DRAVCommon::DFK_TILE, nullptr, nullptr, nullptr, multigraphic,
                         true, cellOne, cellTwo, cellTextures});
}

void CGraphic::LoadHelper(const GraphicLoadContext& context, const LoadRequest& request) {
    try {
        CGraphicLoader(*this, context, request).Run();
    } catch (const CDRAVException& error) {
        RethrowNamingFile(error, request.kind, request.name);
    }
}

void CGraphicLoader::Run() {
    const CGraphic::LoadRequest& r = m_request;
    CDataFileReader reader(*m_context.source, r.kind, DRAVCommon::DFS_NONE, FileName(r.name));
    DRAV_TRACE(DRAVCommon::TRACE_LOW, "szName = %s\n", r.name.c_str());
    const char* block = r.multigraphic ? "multigraphic" : "graphic";
    reader.BeginBlock(block);
    m_graphic.m_name = reader.ReadWord();
    if (r.multigraphic) {
        m_graphic.m_name += "#" + std::to_string(r.cellOne) + "#" + std::to_string(r.cellTwo);
        if (!reader.BeginGroup(2, false)) reader.Fail(DRAV_ERR_BAD_DATA, "a multigraphic needs its two cell counts");
        reader.ReadUInt();
        reader.ReadUInt();
    }
    m_graphic.m_figureName = reader.ReadWord();
    LoadFigure(m_graphic.m_figureName);
    if (reader.IsBlock("animationlengths")) LoadAnimationLengths(reader);

    // Flag words run up to the first block or the end of the graphic.
    while (!reader.AtBlockEnd() && !reader.IsAnyBlockStart()) {
        const std::string word = reader.ReadWord();
        if (word == "transparent") m_graphic.m_flags |= GRAPHIC_TRANSPARENT;
        else if (word == "movevaried") m_graphic.m_flags |= GRAPHIC_MOVEVARIED;
        else reader.Fail(DRAV_ERR_BAD_DATA, "\"" + word + "\" is not a graphic flag");
    }
    LoadModelEntries(reader, false, r.cellOne, r.cellTwo);
    if (reader.IsBlock("effect")) m_graphic.m_fixedEffect = std::make_shared<CFixedEffect>(m_context, reader);
    if (reader.IsBlock("light")) m_graphic.m_light = std::make_shared<CLight>(reader);
    reader.EndBlock();

    if (r.overrides)
        for (const GraphicOverride& override : *r.overrides) LoadOverride(override);

    m_graphic.LoadModels(m_context, m_models, r.cellTextures, r.tile);
    std::shared_ptr<CGraphicTree>& tree = m_graphic.m_tree;
    if (tree) {
        m_graphic.m_anyTransparent = tree->HasTransparentModel();
        tree->Prune();
        if (tree->GetChildren().empty() && tree->GetModels().empty()) tree.reset();
    }
    if (m_graphic.m_fixedEffect) m_graphic.m_flags |= GRAPHIC_TRANSPARENT;
    if (m_figurePositionsToCache) (*r.figureCache)[m_graphic.m_figureName] = m_figurePositionsToCache;
}

void CGraphicLoader::LoadFigure(const std::string& figure) {
    std::shared_ptr<CAnimationFinder>& poses = m_graphic.m_poses;
    if (figure == "0") {
        m_graphic.m_tree = std::make_shared<CGraphicTree>("anchor", "");
        poses = std::make_shared<CAnimationFinder>();
        (*poses->GetPositions())["default"] = std::make_shared<CPosition>("default");
        poses->GroupAnimations();
        return;
    }
    CDataFileReader reader(*m_context.source, m_request.kind, DRAVCommon::DFS_FIG, FileName(figure));
    reader.BeginBlock("figure");
    if (reader.ReadWord() != figure) reader.Fail(DRAV_ERR_BAD_DATA, "the figure's name is not \"" + figure + "\"");

    std::shared_ptr<CGraphicTree>& root = m_graphic.m_tree;
    while (reader.IsBlock("piece")) {
        reader.BeginBlock("piece");
        const std::string piece = reader.ReadWord();
        if (piece == "anchor") {
            root = std::make_shared<CGraphicTree>(piece, "");
        } else {
            const std::string parent = reader.ReadWord();
            CGraphicTree* node = root ? root->FindNode(parent) : nullptr;
            if (!node)
                reader.Fail(DRAV_ERR_BAD_DATA, "piece \"" + piece + "\" names the parent \"" + parent +
                                                   "\", which is not a piece before it");
            node->AddChild(std::make_shared<CGraphicTree>(piece, parent));
        }
        reader.EndBlock();
    }

    CFigureCache* cache = m_request.figureCache;
    auto cached = cache ? cache->find(figure) : CFigureCache::iterator{};
    if (cache && cached != cache->end()) {
        poses = std::make_shared<CAnimationFinder>(cached->second);
        while (reader.IsBlock("position")) reader.SkipBlock("position");
    } else {
        poses = std::make_shared<CAnimationFinder>();
        while (reader.IsBlock("position")) {
            auto position = std::make_shared<CPosition>(reader);
            (*poses->GetPositions())[position->GetId()] = position;
        }
        if (cache) m_figurePositionsToCache = poses->GetPositions();
    }
    while (reader.IsBlock("animation")) {
        reader.BeginBlock("animation");
        auto animation = std::make_shared<CAnimation>(reader, *poses->GetPositions());
        (*poses->GetAnimations())[animation->GetName()] = animation;
        reader.EndBlock();
    }
    reader.EndBlock();
    poses->GroupAnimations();
}

void CGraphicLoader::LoadAnimationLengths(CDataFileReader& reader) {
    reader.BeginBlock("animationlengths");
    while (!reader.AtBlockEnd()) {
        reader.BeginGroup(2, false);
        const std::string name = reader.ReadWord();
        const double length = reader.ReadDouble();
        const CAnimationMap& animations = *m_graphic.m_poses->GetAnimations();
        auto found = animations.find(name);
        if (found == animations.end())
            reader.Fail(DRAV_ERR_BAD_DATA, "a length for the animation \"" + name + "\", which figure \"" +
                                               m_graphic.m_figureName + "\" lacks");
        found->second->SetLength(length);
    }
    reader.EndBlock();
}

void CGraphicLoader::LoadModelEntries(CDataFileReader& reader, bool offhand, std::uint32_t one, std::uint32_t two) {
    while (!reader.AtBlockEnd()) {
        if (reader.IsBlock("model")) LoadModelEntry(reader, offhand, one, two);
        else if (reader.IsBlock("modelanimation")) LoadModelAnimation(reader, offhand, one, two);
        else if (reader.IsBlock("modelanimcolor")) LoadModelAnimColor(reader, offhand, one, two);
        else if (reader.IsBlock("light") || reader.IsBlock("effect")) return;
        else reader.Fail(DRAV_ERR_BAD_DATA, "expected a model entry");
    }
}

CModelInfo& CGraphicLoader::GetModelInfo(const std::string& piece, bool offhand) {
    std::string name = piece;
    if (offhand && name == "weapon") name = "offhand";
    else if (offhand && name == "weaponaegis") name = "offhandaegis";
    std::shared_ptr<CModelInfo>& info = m_models[name];
    if (info) {
        info->subModels.clear();
    } else {
        info = std::make_shared<CModelInfo>();
        info->name = name;
    }
    return *info;
}

CModelInfo& CGraphicLoader::BeginEntry(CDataFileReader& reader, const char* block, bool offhand, bool periodic) {
    reader.BeginBlock(block);
    CModelInfo& info = GetModelInfo(reader.ReadWord(), offhand);
    // Checked as the entry is read, so that the error names the file that holds it:
    // an item's override file rather than the wearer's graphic.
    if (!m_graphic.m_tree || !m_graphic.m_tree->FindNode(info.name))
        reader.Fail(DRAV_ERR_BAD_DATA, "models for the piece \"" + info.name + "\", which figure \"" +
                                           m_graphic.m_figureName + "\" lacks,");
    if (periodic) info.period = reader.ReadDouble();
    return info;
}

bool CGraphicLoader::ReadScale(CDataFileReader& reader, CModelInfo& info) {
    if (!reader.BeginGroup(3, true)) return false;
    info.hasScale = true;
    for (float& value : info.scale) value = static_cast<float>(reader.ReadDouble());
    return true;
}

void CGraphicLoader::LoadModelEntry(CDataFileReader& reader, bool offhand, std::uint32_t one, std::uint32_t two) {
    CModelInfo& info = BeginEntry(reader, "model", offhand, false);
    ReadScale(reader, info);
    if (auto sub = LoadSubModel(reader, 0.0, one, two)) info.subModels.push_back(sub);
    reader.EndBlock();
}

void CGraphicLoader::LoadModelAnimation(CDataFileReader& reader, bool offhand, std::uint32_t one,
                                        std::uint32_t two) {
    CModelInfo& info = BeginEntry(reader, "modelanimation", offhand, true);
    // Without a scale, a first frame time written "0" reads like the "0" of no scale.
    const bool zeroWord = reader.IsWord("0");
    bool firstTimeTaken = !ReadScale(reader, info) && zeroWord && reader.IsBlock("model");
    do {
        const double time = firstTimeTaken ? 0.0 : reader.ReadDouble();
        firstTimeTaken = false;
        reader.BeginBlock("model");
        if (auto sub = LoadSubModel(reader, time, one, two)) info.subModels.push_back(sub);
        reader.EndBlock();
    } while (!reader.AtBlockEnd());
    reader.EndBlock();
}

void CGraphicLoader::LoadModelAnimColor(CDataFileReader& reader, bool offhand, std::uint32_t one,
                                        std::uint32_t two) {
    CModelInfo& info = BeginEntry(reader, "modelanimcolor", offhand, true);
    ReadScale(reader, info);
    reader.BeginBlock("model");
    CSubModelInfo source;
    const bool hasModel = ReadModelSource(reader, source, one, two);
    source.flags = ReadSubModelFlags(reader, source.moveTexturePeriod);
    reader.EndBlock();
    do {
        const double time = reader.ReadDouble();
        reader.BeginBlock("texcolor");
        TextureEntry entry;
        reader.ReadColour(entry.colour);
        entry.alpha = reader.ReadDouble();
        reader.EndBlock();
        if (!hasModel) continue;
        auto sub = std::make_shared<CSubModelInfo>(source);
        sub->frameTime = time;
        sub->textures = {entry};
        info.subModels.push_back(sub);
    } while (!reader.AtBlockEnd());
    reader.EndBlock();
}

bool CGraphicLoader::ReadModelSource(CDataFileReader& reader, CSubModelInfo& info, std::uint32_t one,
                                     std::uint32_t two) const {
    info.kind = m_request.kind;
    info.definedIn = reader.GetSourceName();
    if (!reader.IsBlock("auto")) {
        info.isAuto = false;
        info.name = reader.ReadQuoted();
        if (info.name.empty()) return false;
        info.kind = DRAVCommon::SplitDataFileReference(info.name, info.kind);
        return true;
    }
    reader.BeginBlock("auto");
    info.isAuto = true;
    info.name = reader.ReadWordOrEmpty();
    while (!reader.AtBlockEnd()) {
        if (reader.IsWord("ONE")) {
            info.autoParams.push_back(static_cast<std::int32_t>(one));
            reader.Advance();
        } else if (reader.IsWord("TWO")) {
            info.autoParams.push_back(static_cast<std::int32_t>(two));
            reader.Advance();
        } else {
            info.autoParams.push_back(reader.ReadInt());
        }
    }
    reader.EndBlock();
    return true;
}

std::shared_ptr<CSubModelInfo> CGraphicLoader::LoadSubModel(CDataFileReader& reader, double frameTime,
                                                            std::uint32_t one, std::uint32_t two) {
    auto sub = std::make_shared<CSubModelInfo>();
    if (!ReadModelSource(reader, *sub, one, two)) return nullptr;
    sub->frameTime = frameTime;
    while (reader.IsBlock("tex")) {
        reader.BeginBlock("tex");
        while (!reader.AtBlockEnd()) sub->textures.push_back({reader.ReadQuoted(), 0, 1.0});
        reader.EndBlock();
    }
    while (reader.IsBlock("texcolor")) {
        reader.BeginBlock("texcolor");
        while (!reader.AtBlockEnd()) {
            TextureEntry entry;
            reader.ReadColour(entry.colour);
            entry.alpha = reader.ReadDouble();
            sub->textures.push_back(entry);
        }
        reader.EndBlock();
    }
    if (reader.IsBlock("color")) {
        reader.BeginBlock("color");
        for (std::uint32_t& colour : sub->colours) colour = ReadColourRef(reader);
        reader.EndBlock();
        sub->hasColours = true;
    }
    sub->flags = ReadSubModelFlags(reader, sub->moveTexturePeriod);
    return sub;
}

std::uint32_t CGraphicLoader::ReadColourRef(CDataFileReader& reader) const {
    if (reader.BeginGroup(3, false)) {
        const std::uint32_t red = reader.ReadUInt(), green = reader.ReadUInt(), blue = reader.ReadUInt();
        return (red & 0xFFu) << 16 | (green & 0xFFu) << 8 | (blue & 0xFFu);
    }
    const std::string word = reader.ReadWord();
    if (word == "0") return 0;
    if (!m_request.colours)
        reader.Fail(DRAV_ERR_BAD_DATA, "the colour \"" + word + "\" needs a colour set, and this graphic has none");
    CGraphicColors::Index index{};
    try {
        index = CGraphicColors::IndexFromName(word);
    } catch (const CDRAVException& error) {
        reader.Fail(error.GetCode(), error.GetMessage());  // naming the file that holds the word
    }
    return m_request.colours->GetColor(index);
}

void CGraphicLoader::LoadOverride(const GraphicOverride& override) {
    CDataFileReader reader(*m_context.source, m_request.overrideKind, DRAVCommon::DFS_NONE, FileName(override.name));
    reader.BeginBlock("override");
    reader.ReadWord();
    LoadModelEntries(reader, override.offHand, 0, 0);
    reader.EndBlock();
}

namespace {

constexpr std::uint32_t kMostCellsEachWay = 64;
constexpr std::uint32_t kMostCells = 256;

}  // namespace

void LoadTileGraphics(const GraphicLoadContext& context, const std::string& reference,
                      std::vector<std::shared_ptr<CGraphic>>& graphics) {
    const std::string file = reference.substr(0, reference.find('#'));
    bool multigraphic = false;
    std::uint32_t countOne = 1, countTwo = 1;
    {
        CDataFileReader reader(*context.source, DRAVCommon::DFK_TILE, DRAVCommon::DFS_NONE, FileName(file));
        if (reader.IsBlock("multigraphic")) {
            multigraphic = true;
            reader.BeginBlock("multigraphic");
            if (reader.ReadWord() != file)
                reader.Fail(DRAV_ERR_BAD_DATA, "the multigraphic is not named \"" + file + "\" like its file");
            if (!reader.BeginGroup(2, false)) reader.Fail(DRAV_ERR_BAD_DATA, "a multigraphic needs its two cell counts");
            countOne = reader.ReadUInt();
            countTwo = reader.ReadUInt();
            // Every cell is a whole load of the file: a count past these would take
            // minutes and the machine's memory.
            if (countOne < 1 || countTwo < 1 || countOne > kMostCellsEachWay || countTwo > kMostCellsEachWay ||
                countOne * countTwo > kMostCells)
                reader.Fail(DRAV_ERR_BAD_DATA, "a multigraphic holds 1 to " + std::to_string(kMostCellsEachWay) +
                                                   " cells each way and at most " + std::to_string(kMostCells) +
                                                   " in all, not " + std::to_string(countOne) + " by " +
                                                   std::to_string(countTwo));
        } else if (!reader.IsBlock("graphic")) {
            reader.Fail(DRAV_ERR_BAD_DATA, "expected <graphic> or <multigraphic>");
        }
    }
    CellTextureCache cellTextures;
    std::vector<std::shared_ptr<CGraphic>> cells;
    for (std::uint32_t two = 0; two < countTwo; ++two)
        for (std::uint32_t one = 0; one < countOne; ++one)
            cells.push_back(std::make_shared<CGraphic>(context, file, multigraphic, one, two,
                                                       multigraphic ? &cellTextures : nullptr));
    graphics.insert(graphics.end(), cells.begin(), cells.end());
}

}  // namespace DRAVGraph
