#pragma once
// One drawable model of a graphic's piece: a mesh loaded from a model file or built
// from an "auto" entry, with the flags that say in which pass and how it is drawn.

#include <cstdint>
#include <memory>
#include <vector>

#include "common/data_file.h"
#include "common/data_file_reader.h"
#include "graphics/mesh.h"
#include "graphics/model_info.h"
#include "graphics/xp_device.h"

namespace DRAVGraph {

class CGraphicColors;

// The flag words closing a sub-model entry, up to the end of the enclosing block:
// "flat", "movetexture" PERIOD, "transparent", "nomultitexture" (whole words, letter
// case included); any other word is skipped. The last "movetexture" gives the period.
std::uint32_t ReadSubModelFlags(DRAVCommon::CDataFileReader& reader, double& moveTexturePeriod);

class CModelNode {
public:
    CModelNode(std::uint32_t flags, std::shared_ptr<CMesh> mesh, double startTime, double moveTexturePeriod);

    // Draws in the pass the node belongs to (SUBMODEL_TRANSPARENT: the transparent one)
    // and does nothing in the other. "flat" draws unlit; "movetexture" with a positive
    // period moves v by the fraction of the period `time` has run. Lighting and the
    // texture transform are back to normal afterwards. A failed texture-stage or
    // transform call is code 5. The world transform is the caller's.
    void Draw(DRAVCommon::CXPDevice* device, bool transparentPass, double time) const;

    // This node's mesh replicated under `placements` (CMesh::Replicate), with the same
    // flags and times. The mesh must have been loaded with its copy kept, else code 5.
    std::shared_ptr<CModelNode> MakeMerged(DRAVCommon::CXPDevice* device, const D3DMATRIX& model,
                                           const std::vector<D3DMATRIX>& placements) const;

    double GetStartTime() const { return m_startTime; }
    double GetMoveTexturePeriod() const { return m_moveTexturePeriod; }
    std::uint32_t GetFlags() const { return m_flags; }
    const std::shared_ptr<CMesh>& GetMesh() const { return m_mesh; }

private:
    double m_startTime;
    double m_moveTexturePeriod;
    std::uint32_t m_flags;
    std::shared_ptr<CMesh> m_mesh;
};

// Builds the node of one sub-model: the "auto" geometry, or the model file (info's kind,
// subkind "mod", info's name) read from `source` and imported from memory; then the
// parts' textures (CMesh::LoadTextures, from the same kind). keepCopy keeps the geometry
// for MakeMerged. A missing or unreadable model file, a model or auto entry that cannot
// be built, and the texture errors are code 1 naming the model; a model the importer
// reads but whose scene lacks what a mesh needs is code 5 naming it.
std::shared_ptr<CModelNode> LoadModel(DRAVCommon::CXPDevice* device, DRAVCommon::CDataFileFactory& source,
                                      const CSubModelInfo& info, const std::vector<TextureEntry>& textures,
                                      const CGraphicColors* colours, std::uint32_t flags, SharedTextureList* shared,
                                      bool keepCopy, double startTime, double moveTexturePeriod);

}  // namespace DRAVGraph
