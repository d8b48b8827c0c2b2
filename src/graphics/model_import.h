#pragma once
// DirectX model files through the model importer. The importer is an outside library
// that crashes on some malformed files, so it runs in a process of its own: a file it
// cannot survive fails to load instead of ending the game. One long-lived process
// serves every import and is replaced after a crash or a hang.

#include <string>

#include "common/data_file.h"
#include "graphics/mesh_scene.h"

namespace DRAVGraph {

// The geometry of a model file's bytes; `fileName` names the file in errors. Only
// DirectX files are taken. A file that is not one, that the importer cannot read, dies
// on or takes more than `timeoutMs` over, or that holds more vertices than 16-bit
// indices reach, is code 1; a scene without what a mesh needs is code 5. Both name the
// file.
// Starts the importing process now, while the game is small and a fork is cheap; the
// first import starts it otherwise.
void StartModelImporter();
// The importing process's id, or -1 while there is none.
int GetModelImporterProcess();

SceneGeometry ImportDirectXModel(const DRAVCommon::ByteVector& bytes, const std::string& fileName,
                                 int timeoutMs = 10000);

}  // namespace DRAVGraph
