#pragma once
// Colours and sizes of the generated interface images ("uiwin32.drav"), for the
// generator and for tests that look for an image on the screen. Colours are ARGB
// (0xAARRGGBB), the form the 2D layer draws with.

#include <cstdint>

namespace QuillmereTools::UiPalette {

// Hover faces of the buttons (images 1 to 4, "ui_button_*"): a two-pixel dark
// frame, a one-pixel bevel, then this one flat colour over the whole inside, so a
// hovered button shows exactly this colour wherever its black label leaves it
// (an unlabelled button, or a point beside the label).
constexpr std::uint32_t kButtonHoverFill = 0xFFE3D29C;
// Pixels from each edge of a hover face before the flat fill begins.
constexpr int kButtonFaceBorder = 3;

// The cross of image 11 ("icon_check32"), opaque, on a transparent ground: the mark
// of a ticked check box and the close and cancel icon. Its two strokes, 7.5 of the
// image's 32 units wide, cross at the image centre, so a disc of radius 4 units about
// the centre is this colour and nothing else: stretched over a check box's 12 x 12
// inside, its middle pixels show this colour whether the texture is sampled nearest
// or linear.
constexpr std::uint32_t kCrossMark = 0xFFE6DCC4;
constexpr float kCrossSolidRadius = 4.0f;

// Images whose names give no size.
constexpr int kPaperdollWidth = 208, kPaperdollHeight = 352;  // "ui_paperdoll", the inventory page's backdrop
constexpr int kHelpWidth = 512, kHelpHeight = 384;            // "help_*", the help dialog's screenshot

// The Reedwater look: marsh greens, bark browns, parchment.
constexpr std::uint32_t kInk = 0xFF2A2118;
constexpr std::uint32_t kBark = 0xFF5A4330;
constexpr std::uint32_t kWood = 0xFF8A6A45;
constexpr std::uint32_t kReedDark = 0xFF2F4A2C;
constexpr std::uint32_t kMoss = 0xFF5B7A3A;
constexpr std::uint32_t kReed = 0xFF7E9A4E;
constexpr std::uint32_t kReedLight = 0xFFB5C27F;
constexpr std::uint32_t kParchment = 0xFFE9DDB8;
constexpr std::uint32_t kParchmentDark = 0xFFC9B78A;
constexpr std::uint32_t kWater = 0xFF4F7D78;
constexpr std::uint32_t kWaterDark = 0xFF22393A;
constexpr std::uint32_t kStraw = 0xFFD9B45A;
constexpr std::uint32_t kRust = 0xFFA24B32;
constexpr std::uint32_t kSteel = 0xFFA9B0A0;
constexpr std::uint32_t kBone = 0xFFEDE8DA;
constexpr std::uint32_t kBoneShade = 0xFFB9B3A4;
constexpr std::uint32_t kMarshNight = 0xFF141C18;

}  // namespace QuillmereTools::UiPalette
