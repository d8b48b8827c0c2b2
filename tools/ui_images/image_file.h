#pragma once
// Writing a painted canvas as the image file the data files hold.

#include <string>

#include "ui_images/canvas.h"

namespace QuillmereTools {

// PNG, or JPEG when `jpeg` is set; std::runtime_error when the file cannot be written.
void SaveCanvas(const Canvas& canvas, const std::string& path, bool jpeg);

}  // namespace QuillmereTools
