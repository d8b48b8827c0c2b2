#include "ui_images/frames.h"

#include "ui_images/ui_image_palette.h"

namespace QuillmereTools {
namespace {

namespace P = UiPalette;

struct FaceColours {
    std::uint32_t frame, light, dark, fill, fillBottom;
};

FaceColours ColoursOf(ButtonFace face) {
    switch (face) {
    case ButtonFace::Hover: return {P::kBark, 0xFFF6EDCB, 0xFFB59F63, P::kButtonHoverFill, P::kButtonHoverFill};
    case ButtonFace::Idle: return {P::kInk, P::kReed, P::kReedDark, 0xFF46643A, 0xFF33492B};
    case ButtonFace::SelectedIdle: return {0xFF9CCB4A, 0xFF7E9A4E, 0xFF1E2F1C, 0xFF35552F, 0xFF24391F};
    case ButtonFace::SelectedHover: return {0xFF3F6E26, 0xFFE6F0C8, 0xFF8FAE63, 0xFFC9DDA0, 0xFFB9D08C};
    }
    return {};
}

}  // namespace

void DrawButtonFace(Canvas& c, ButtonFace face) {
    FaceColours colours = ColoursOf(face);
    int w = c.Width(), h = c.Height();
    const int b = P::kButtonFaceBorder;
    c.SetRect(0, 0, w, h, FromArgb(colours.frame));
    c.SetRect(b - 1, b - 1, w - b + 1, b, FromArgb(colours.light));
    c.SetRect(b - 1, b, b, h - b + 1, FromArgb(colours.light));
    c.SetRect(b, h - b, w - b + 1, h - b + 1, FromArgb(colours.dark));
    c.SetRect(w - b, b, w - b + 1, h - b, FromArgb(colours.dark));
    // The hover face is one flat colour inside, which the screen tests look for.
    for (int y = b; y < h - b; ++y) {
        float t = h - 2 * b > 1 ? static_cast<float>(y - b) / static_cast<float>(h - 2 * b - 1) : 0;
        c.SetRect(b, y, w - b, y + 1, Mix(FromArgb(colours.fill), FromArgb(colours.fillBottom), t));
    }
    // Clipped corners soften the frame.
    Colour clear{0, 0, 0, 0};
    for (int x : {0, w - 1})
        for (int y : {0, h - 1}) c.SetRect(x, y, x + 1, y + 1, clear);
}

void DrawScrollThumb(Canvas& c) {
    c.SetViewBox(0, 0, static_cast<float>(c.Width()), 32);
    c.DrawOutlined(Shape::Box(3, 2, 29, 30, 4), FromArgb(P::kParchmentDark), FromArgb(P::kInk), 1.5f);
    c.Draw(Shape::Box(5, 4, 27, 9, 2), WithAlpha(FromArgb(P::kParchment), 0.8f));
    for (float y : {12.0f, 16.0f, 20.0f})
        c.Draw(Shape::Segment({10, y}, {22, y}, 1.6f), FromArgb(P::kBark));
    c.ResetView();
}

}  // namespace QuillmereTools
