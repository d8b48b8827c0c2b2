#pragma once
// The icons of the interface image table drawn as pictograms on a 32 x 32 unit
// grid; the caller maps the grid onto the pixels with Canvas::SetViewBox, so the
// help pictures reuse them at any size.

#include "ui_images/canvas.h"

namespace QuillmereTools {

// True when `id` is one of the table's pictogram icons (12 to 82 and 84, but
// not the clock faces 68 and 69, which are DrawClockFace's).
bool IsPictogram(int id);
void DrawPictogram(Canvas& canvas, int id);

// A standing person on the 32 x 32 grid: the paper-doll icon and backdrop;
// `line` 0 leaves out the outline.
void DrawFigure(Canvas& canvas, Colour fill, float line);

// The 64-unit clock of images 68 (running) and 69 (paused) on a 64 x 64 grid.
void DrawClockFace(Canvas& canvas, bool paused);

// The cross of image 11 on a 32 x 32 grid: the mark of a ticked check box, and the
// icon that closes a page or cancels the character being made.
void DrawCrossMark(Canvas& canvas);

}  // namespace QuillmereTools
