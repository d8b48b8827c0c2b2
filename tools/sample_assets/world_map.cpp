#include "sample_assets/world_map.h"

#include <array>
#include <cmath>

namespace QuillmereTools {
namespace {

const Colour kLand = FromArgb(0xFF8C8458);
const Colour kReeds = FromArgb(0xFF6E7A3C);
const Colour kRiver = FromArgb(0xFF3C6488);
const Colour kInk = FromArgb(0xFF302418);
const Colour kParchment = FromArgb(0xFFC8B888);

// The river's centre line: it comes down from the north-east past the hide and
// the marsh and reaches the landing in the south-west.
float RiverX(float y) { return 212.0f - 0.6f * y + 6.0f * std::sin(y * 0.05f); }

Colour Country(Vec p) {
    const float toRiver = std::fabs(p.x - RiverX(p.y));
    if (toRiver < 9.0f) return Mix(kRiver, FromArgb(0xFF5A82A0), std::fabs(std::sin(p.y * 0.3f)) * 0.3f);
    if (toRiver < 11.0f) return FromArgb(0xFF6A5A3C);  // the muddy bank
    // The reed beds lie west and north of the river.
    const float marsh = std::sin(p.x * 0.09f) * std::cos(p.y * 0.07f);
    return Mix(kLand, kReeds, p.x < RiverX(p.y) && marsh > -0.3f ? 0.75f : 0.2f);
}

void PaintMap(Canvas& canvas) {
    canvas.Paint(Country);
    // A compass rose in the south-east corner and a frame of ink.
    canvas.Draw(Shape::Ring({216, 176}, 12, 1.5f), WithAlpha(kInk, 0.8f));
    canvas.Draw(Shape::Polygon({{216, 162}, {220, 176}, {216, 190}, {212, 176}}), kInk);
    canvas.Draw(Shape::Subtract(Shape::Box(0, 0, 240, 200), Shape::Box(3, 3, 237, 197)), kInk);
    canvas.Grain(0.05f, 11);
}

// Each known area's look: the country under it, brightened, with the area's mark.
void PaintAreas(Canvas& canvas) {
    canvas.Paint([](Vec p) { return WithAlpha(Mix(Country(p), kParchment, 0.35f), 1.0f); });
    // Reedwater Landing (0, 120, 96 x 64): the jetty and the boathouse.
    canvas.Draw(Shape::Box(30, 150, 70, 156), FromArgb(0xFF7A5430));
    canvas.Draw(Shape::Box(40, 132, 58, 148, 2), FromArgb(0xFF5A3A22));
    // The Reed Marsh (24, 40, 120 x 72): tufts of reeds.
    for (int i = 0; i < 12; ++i) {
        const float x = 34.0f + static_cast<float>(i % 6) * 18.0f, y = 56.0f + static_cast<float>(i / 6) * 28.0f;
        canvas.Draw(Shape::Segment({x, y + 8}, {x - 3, y - 6}, 1.5f), FromArgb(0xFF3C4A1C));
        canvas.Draw(Shape::Segment({x, y + 8}, {x + 4, y - 5}, 1.5f), FromArgb(0xFF3C4A1C));
    }
    // The Smugglers' Hide (150, 18, 40 x 32): a lantern-lit hut.
    canvas.Draw(Shape::Box(160, 28, 180, 44, 1), FromArgb(0xFF4A3020));
    canvas.Draw(Shape::Circle({170, 24}, 3), FromArgb(0xFFF0C040));
    // A frame of ink around each area.
    for (const auto& [l, t, r, b] : {std::array<float, 4>{0, 120, 96, 184}, std::array<float, 4>{24, 40, 144, 112},
                                     std::array<float, 4>{150, 18, 190, 50}})
        canvas.Draw(Shape::Subtract(Shape::Box(l, t, r, b), Shape::Box(l + 2, t + 2, r - 2, b - 2)), kInk);
}

}  // namespace

const std::vector<SampleMapPicture>& SampleMapPictures() {
    static const std::vector<SampleMapPicture> pictures = {
        {"reedwater_map.jpg", true, PaintMap},
        {"reedwater_map_areas.png", false, PaintAreas},
    };
    return pictures;
}

}  // namespace QuillmereTools
