#pragma once
// The DirectX models of the sample module: the tiles, objects, figure pieces and items
// of its chapters that the auto-tiles do not build.

#include <string>
#include <vector>

#include "sample_assets/x_model.h"

namespace QuillmereTools {

struct SampleModel {
    std::string kind;  // data-file kind folder: "tile", "object", "actor", "item", "sky", "icon"
    std::string name;  // file name in the kind's "mod" folder
    XModel (*build)();
};

// Every model, in a fixed order. Each part's texture name (in its material) is the image
// of the same kind its graphic gives it.
const std::vector<SampleModel>& SampleModels();

}  // namespace QuillmereTools
