#pragma once
// Button faces, the scroll bar's thumb and the check box tick: the images the
// toolkit stretches over its widgets.

#include "ui_images/canvas.h"

namespace QuillmereTools {

enum class ButtonFace {
    Hover,           // images 1 to 4: under the mouse, black label on a light face
    Idle,            // image 5: the plain face
    SelectedIdle,    // image 6: selected (and the blink phase), white label on a dark face
    SelectedHover,   // images 7 and 8: selected and under the mouse
};

// Fills the whole canvas with the face.
void DrawButtonFace(Canvas& canvas, ButtonFace face);

// Image 10, a grip stretched over the scroll bar's thumb.
void DrawScrollThumb(Canvas& canvas);

}  // namespace QuillmereTools
