#pragma once
// What a graphic definition says about the models of its pieces, before any of them is
// loaded. The loader fills these records and drops them once the models are built.

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "common/data_file.h"

namespace DRAVGraph {

// The texture of one mesh part: an image of the model's kind, or a solid colour when
// the name is empty.
struct TextureEntry {
    std::string name;
    std::uint32_t colour = 0;  // bytes blue, green, red, as the element reader stores colours
    double alpha = 1.0;        // the solid colour's alpha, 0 to 1
};

// Bits of CSubModelInfo::flags.
enum SubModelFlag : std::uint32_t {
    SUBMODEL_FLAT = 1,
    SUBMODEL_MOVETEXTURE = 2,
    SUBMODEL_TRANSPARENT = 4,
    SUBMODEL_NOMULTITEXTURE = 8,
};

// One model to load: a model file, or a procedural tile mesh built from a keyword and
// its numbers.
struct CSubModelInfo {
    bool isAuto = false;
    DRAVCommon::DataFileKind kind{};
    std::string name;  // the model file name, or the auto keyword such as "auto-floor"
    // The auto numbers, with the cell placeholders of a tile set already replaced.
    std::deque<std::int32_t> autoParams;
    std::vector<TextureEntry> textures;  // entry i belongs to mesh part i
    double frameTime = 0.0;              // start of this model within the piece's period
    bool hasColours = false;
    // Hair, skin and trim when hasColours is set (bytes blue, green, red).
    std::array<std::uint32_t, 3> colours{};
    double moveTexturePeriod = 0.0;
    std::uint32_t flags = 0;  // SubModelFlag bits
    // The file that names this model (the graphic's own or an item's override),
    // which a failure to build it names.
    std::string definedIn;
};

// The models of one piece of a graphic.
struct CModelInfo {
    std::string name;
    double period = 1.0;  // cycle length of the piece's flip-book
    bool hasScale = false;
    std::array<float, 3> scale{1.0f, 1.0f, 1.0f};  // x, y, z; valid when hasScale is set
    std::vector<std::shared_ptr<CSubModelInfo>> subModels;
};

}  // namespace DRAVGraph
