#include "graphics/model_node.h"

#include <cmath>
#include <sstream>
#include <string>

#include "common/exception.h"
#include "graphics/autotile/auto_tile_mesh.h"
#include "graphics/matrix.h"
#include "graphics/model_import.h"

namespace DRAVGraph {

namespace {

// "auto-floor 1 4 2 4 3", naming an auto entry in errors.
std::string DescribeAutoEntry(const CSubModelInfo& info) {
    std::ostringstream text;
    text << '"' << info.name;
    for (std::int32_t number : info.autoParams) text << ' ' << number;
    text << '"';
    return text.str();
}

}  // namespace

std::uint32_t ReadSubModelFlags(DRAVCommon::CDataFileReader& reader, double& moveTexturePeriod) {
    std::uint32_t flags = 0;
    while (!reader.AtBlockEnd()) {
        const std::string word = reader.ReadWord();
        if (word == "flat") flags |= SUBMODEL_FLAT;
        else if (word == "transparent") flags |= SUBMODEL_TRANSPARENT;
        else if (word == "nomultitexture") flags |= SUBMODEL_NOMULTITEXTURE;
        else if (word == "movetexture") {
            flags |= SUBMODEL_MOVETEXTURE;
            moveTexturePeriod = reader.ReadDouble();
        }
    }
    return flags;
}

CModelNode::CModelNode(std::uint32_t flags, std::shared_ptr<CMesh> mesh, double startTime, double moveTexturePeriod)
    : m_startTime(startTime), m_moveTexturePeriod(moveTexturePeriod), m_flags(flags), m_mesh(std::move(mesh)) {}

void CModelNode::Draw(DRAVCommon::CXPDevice* device, bool transparentPass, double time) const {
    if (((m_flags & SUBMODEL_TRANSPARENT) != 0) != transparentPass) return;
    IDirect3DDevice9* d3d = device->GetDevice();
    const bool flat = (m_flags & SUBMODEL_FLAT) != 0;
    // A period of zero or below (or a time that is not a number) has no scroll to give;
    // the texture then stands still rather than taking a NaN matrix.
    bool scroll = false;
    float shift = 0.0f;
    if ((m_flags & SUBMODEL_MOVETEXTURE) && m_moveTexturePeriod > 0.0) {
        shift = static_cast<float>(std::fmod(time / m_moveTexturePeriod, 1.0));
        scroll = std::isfinite(shift);
    }

    if (flat) d3d->SetRenderState(D3DRS_LIGHTING, 0);
    if (scroll) {
        DRAVCommon::CheckDeviceCall(d3d->SetTextureStageState(0, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_COUNT2));
        // With two texture coordinates the third row carries the translation.
        D3DMATRIX matrix = Mat4Identity();
        matrix(2, 1) = shift;
        DRAVCommon::CheckDeviceCall(d3d->SetTransform(D3DTS_TEXTURE0, &matrix));
    }
    m_mesh->Draw(device);
    if (scroll)
        DRAVCommon::CheckDeviceCall(d3d->SetTextureStageState(0, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_DISABLE));
    if (flat) d3d->SetRenderState(D3DRS_LIGHTING, 1);
}

std::shared_ptr<CModelNode> CModelNode::MakeMerged(DRAVCommon::CXPDevice* device, const D3DMATRIX& model,
                                                   const std::vector<D3DMATRIX>& placements) const {
    return std::make_shared<CModelNode>(m_flags, m_mesh->Replicate(device, model, placements), m_startTime,
                                        m_moveTexturePeriod);
}

std::shared_ptr<CModelNode> LoadModel(DRAVCommon::CXPDevice* device, DRAVCommon::CDataFileFactory& source,
                                      const CSubModelInfo& info, const std::vector<TextureEntry>& textures,
                                      const CGraphicColors* colours, std::uint32_t flags, SharedTextureList* shared,
                                      bool keepCopy, double startTime, double moveTexturePeriod) {
    std::shared_ptr<CMesh> mesh;
    std::string modelName;
    if (info.isAuto) {
        modelName = "auto entry " + DescribeAutoEntry(info);
        try {
            mesh = BuildAutoTile(info, device, keepCopy);
        } catch (const CDRAVException& error) {
            // The geometry's own refusals carry no text: a keyword or count it does not take.
            const std::string why = error.GetMessage().empty()
                                        ? "its keyword or count of numbers is not one a tile takes"
                                        : error.GetMessage();
            throw CDRAVException(error.GetCode(), "Model " + modelName + ": " + why);
        }
    } else {
        modelName = DRAVCommon::DescribeDataFile(info.kind, DRAVCommon::DFS_MOD, info.name);
        const auto bytes = source.ReadAll(info.kind, DRAVCommon::DFS_MOD, info.name);
        const SceneGeometry geometry = ImportDirectXModel(*bytes, modelName);
        try {
            mesh = std::make_shared<CMesh>(device, geometry.vertices, geometry.indices, geometry.parts, keepCopy);
        } catch (const CDRAVException& error) {
            throw CDRAVException(error.GetCode(), "Model " + modelName + ": " + error.GetMessage());
        }
    }
    try {
        mesh->LoadTextures(device, source, info.kind, textures, colours, flags, shared);
    } catch (const CDRAVException& error) {
        throw CDRAVException(error.GetCode(), "Model " + modelName + ": " + error.GetMessage());
    }
    return std::make_shared<CModelNode>(flags, std::move(mesh), startTime, moveTexturePeriod);
}

}  // namespace DRAVGraph
