#pragma once
// The texture images of the sample module's models, painted from a few patterns so
// that every run gives the same pixels.

#include <string>
#include <vector>

#include "ui_images/canvas.h"

namespace QuillmereTools {

struct SampleTexture {
    std::string kind;  // data-file kind folder: "tile", "object", "actor", "item", "sky", "icon"
    std::string name;  // file name in the kind's "tex" folder
    int width, height;
    void (*paint)(Canvas& canvas);
};

// Every texture the sample's graphics name, in a fixed order.
const std::vector<SampleTexture>& SampleTextures();

// The title screen's "title.png" (kind "icon", 512 x 128): the game's name in the
// interface font at `fontPath`.
void PaintTitle(Canvas& canvas, const std::string& fontPath);

}  // namespace QuillmereTools
