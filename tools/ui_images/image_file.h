#pragma once
// Writes a canvas as an image file: PNG, or JPEG when asked.

#include <string>

#include "ui_images/canvas.h"

namespace QuillmereTools {

// Throws std::runtime_error when the file cannot be written. SDL_image must be initialised
// for the format.
void SaveImage(const Canvas& canvas, const std::string& path, bool jpeg);

}  // namespace QuillmereTools
