#pragma once
// "particles.drav": named particle images, each recoloured by three colours and
// scaled into its 64 x 64 cell of one 1024 x 1024 atlas texture, so that every
// particle of a frame is drawn with the same texture.

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "common/data_file.h"
#include "graphics/xp_device.h"
#include "graphics/xp_texture.h"

namespace DRAVGraph {

inline constexpr int kParticleAtlasSize = 1024;
inline constexpr int kParticleCellSize = 64;
inline constexpr int kParticleCellsPerRow = kParticleAtlasSize / kParticleCellSize;
inline constexpr int kMaxParticleCells = kParticleCellsPerRow * kParticleCellsPerRow;
// One cell's side in texture coordinates.
inline constexpr float kParticleCellUv = 1.0f / kParticleCellsPerRow;

struct ParticleSet {
    std::shared_ptr<DRAVCommon::CXPTexture> atlas;
    std::map<std::string, std::int32_t> names;
};

// A file of more than 256 particles is code 1 naming it; a missing image is code 1
// from the source; failures of SDL are DRAVSDL::CSDLException.
ParticleSet LoadParticleSet(DRAVCommon::CXPDevice* device, DRAVCommon::CDataFileFactory& source);

}  // namespace DRAVGraph
