#pragma once
// The records handed to everything that loads graphics or effects and to every
// graphic draw of a scene.

#include "common/data_file.h"
#include "graphics/xp_device.h"
#include "platform/d3d9/d3d9_types.h"

namespace DRAVGraph {

class CBillboardRenderer;

struct GraphicLoadContext {
    DRAVCommon::CXPDevice* device = nullptr;
    DRAVCommon::CDataFileFactory* source = nullptr;
    // Null for sky graphics: nothing they load names a particle.
    CBillboardRenderer* billboards = nullptr;
};

struct SceneRenderContext {
    DRAVCommon::CXPDevice* device = nullptr;
    // Null where no particles are drawn (the title scene's emblem).
    CBillboardRenderer* billboards = nullptr;
    // The world matrix of the thing being drawn; each pass sets its own.
    const D3DMATRIX* world = nullptr;
    // Unit vector from the eye toward the camera target.
    const D3DVECTOR* viewDirection = nullptr;
};

}  // namespace DRAVGraph
