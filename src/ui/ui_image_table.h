#pragma once
// The interface's fixed images: id n names the file "<base>.<extension>" of kind
// "ui". Ids from 1000 are registered at run time and are not in this table.

#include <string>

namespace DRAVUI {

// Rows 0 (no image) to 107.
constexpr int kUiImageCount = 108;

// The row's base name and extension; both empty for id 0. Code 2 outside the table.
void GetUiImageName(int id, std::string& base, std::string& extension);

}  // namespace DRAVUI
