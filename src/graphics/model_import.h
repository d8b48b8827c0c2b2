#pragma once
// DirectX model files through the model importer. The importer is an outside library
// that crashes on some malformed files, so it runs in a child process of its own: a
// file it cannot survive fails to load instead of ending the game.

#include <string>

#include "common/data_file.h"
#include "graphics/mesh_scene.h"

namespace DRAVGraph {

// The geometry of a model file's bytes; `fileName` names the file in errors. Only
// DirectX files are taken. A file that is not one, that the importer cannot read, dies
// on or takes more than `timeoutMs` over, or that holds more vertices than 16-bit
// indices reach, is code 1; a scene without what a mesh needs is code 5. Both name the
// file.
SceneGeometry ImportDirectXModel(const DRAVCommon::ByteVector& bytes, const std::string& fileName,
                                 int timeoutMs = 10000);

}  // namespace DRAVGraph
