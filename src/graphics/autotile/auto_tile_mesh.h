#pragma once
// The mesh of an "auto" sub-model: its procedural geometry in device buffers.

#include <memory>

#include "graphics/mesh.h"
#include "graphics/model_info.h"
#include "graphics/xp_device.h"

namespace DRAVGraph {

// The geometry BuildAutoTileGeometry makes for info's keyword and numbers, as a lit mesh
// that keeps a CPU copy when keepCopy is set. Its errors are those of the geometry
// (code 1 for a keyword or count of numbers it does not take) and of the mesh.
std::shared_ptr<CMesh> BuildAutoTile(const CSubModelInfo& info, DRAVCommon::CXPDevice* device, bool keepCopy);

}  // namespace DRAVGraph
