#pragma once
// The interface's large pictures: the logo, the 22 help screenshots, the death
// picture and the paper doll behind the inventory page.

#include <string>

#include "ui_images/canvas.h"

namespace QuillmereTools {

// 728 x 180: Quillmere over the marsh at dusk, the title in the interface font.
void DrawLogo(Canvas& canvas, const std::string& fontPath);

// A mock screenshot for help page `page` (0 to 21): the game screen or the
// dialog the page explains, with the page's subject called out.
void DrawHelpPicture(Canvas& canvas, int page);

// The party lost: a grave among the reeds under the moon.
void DrawDeathPicture(Canvas& canvas);

// A pale standing figure on a clear ground, shown faintly behind the equipment slots.
void DrawPaperdoll(Canvas& canvas);

}  // namespace QuillmereTools
