#pragma once
// The chapters' travel maps: for each, the picture of the country and its area
// overlay, the same size, in which each area's rectangle holds how that area looks
// once the party knows it.

#include <string>
#include <vector>

#include "ui_images/canvas.h"

namespace QuillmereTools {

struct SampleMapPicture {
    std::string name;  // file name in the module's "map" folder
    bool jpeg;
    void (*paint)(Canvas& canvas);
};

// Both pictures are kWorldMapWidth x kWorldMapHeight.
inline constexpr int kWorldMapWidth = 240;
inline constexpr int kWorldMapHeight = 200;

const std::vector<SampleMapPicture>& SampleMapPictures();

}  // namespace QuillmereTools
