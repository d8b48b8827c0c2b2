#pragma once
// The interface's fixed images: id n names the file "<base>.<extension>" of kind
// "ui". Ids from 1000 are registered at run time and are not in this table.

#include <string>

namespace DRAVUI {

// Rows 0 (no image) to 107.
constexpr int kUiImageCount = 108;

// The row's base name and extension; both empty for id 0. Code 2 outside the table.
void GetUiImageName(int id, std::string& base, std::string& extension);

// The icon of an item kind (DRAV::ItemKind): armor to money are images 12 to 21.
// Weapons take theirs from WeaponTypeIcon: kind 0 is code 2; any other value
// outside the table is code 4.
int ItemKindIcon(int kind);
// The icon of a weapon type (DRAV::WeaponType), images 22 to 27; code 4 outside 0-5.
int WeaponTypeIcon(int type);

}  // namespace DRAVUI
