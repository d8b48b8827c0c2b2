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
const Colour kStone = FromArgb(0xFF8C8A84);
const Colour kTimber = FromArgb(0xFF5A3A22);

using Rect = std::array<float, 4>;  // left, top, right, bottom

// River country under a river whose centre line is `riverX`: water, a muddy bank,
// and reed beds on the west side.
template <typename RiverX>
Colour Country(Vec p, RiverX riverX) {
    const float toRiver = std::fabs(p.x - riverX(p.y));
    if (toRiver < 9.0f) return Mix(kRiver, FromArgb(0xFF5A82A0), std::fabs(std::sin(p.y * 0.3f)) * 0.3f);
    if (toRiver < 11.0f) return FromArgb(0xFF6A5A3C);  // the muddy bank
    const float marsh = std::sin(p.x * 0.09f) * std::cos(p.y * 0.07f);
    return Mix(kLand, kReeds, p.x < riverX(p.y) && marsh > -0.3f ? 0.75f : 0.2f);
}

// A compass rose in the south-east corner and a frame of ink round the picture.
void Finish(Canvas& canvas, std::uint32_t seed) {
    canvas.Draw(Shape::Ring({216, 176}, 12, 1.5f), WithAlpha(kInk, 0.8f));
    canvas.Draw(Shape::Polygon({{216, 162}, {220, 176}, {216, 190}, {212, 176}}), kInk);
    canvas.Draw(Shape::Subtract(Shape::Box(0, 0, 240, 200), Shape::Box(3, 3, 237, 197)), kInk);
    canvas.Grain(0.05f, seed);
}

// An area's picture: the country under it brightened, within a frame of ink.
template <typename Paint>
void PaintKnown(Canvas& canvas, Paint country) {
    canvas.Paint([&](Vec p) { return WithAlpha(Mix(country(p), kParchment, 0.35f), 1.0f); });
}

void Frame(Canvas& canvas, const Rect& area) {
    const auto& [l, t, r, b] = area;
    canvas.Draw(Shape::Subtract(Shape::Box(l, t, r, b), Shape::Box(l + 2, t + 2, r - 2, b - 2)), kInk);
}

// Reedwater: the river comes down from the north-east past the hide and the marsh
// and reaches the landing in the south-west.
float ReedwaterRiver(float y) { return 212.0f - 0.6f * y + 6.0f * std::sin(y * 0.05f); }
Colour ReedwaterCountry(Vec p) { return Country(p, ReedwaterRiver); }

void PaintReedwaterMap(Canvas& canvas) {
    canvas.Paint(ReedwaterCountry);
    Finish(canvas, 11);
}

void PaintReedwaterAreas(Canvas& canvas) {
    PaintKnown(canvas, ReedwaterCountry);
    // Reedwater Landing (0, 120, 96 x 64): the jetty and the boathouse.
    canvas.Draw(Shape::Box(30, 150, 70, 156), FromArgb(0xFF7A5430));
    canvas.Draw(Shape::Box(40, 132, 58, 148, 2), kTimber);
    // The Reed Marsh (24, 40, 120 x 72): tufts of reeds.
    for (int i = 0; i < 12; ++i) {
        const float x = 34.0f + static_cast<float>(i % 6) * 18.0f, y = 56.0f + static_cast<float>(i / 6) * 28.0f;
        canvas.Draw(Shape::Segment({x, y + 8}, {x - 3, y - 6}, 1.5f), FromArgb(0xFF3C4A1C));
        canvas.Draw(Shape::Segment({x, y + 8}, {x + 4, y - 5}, 1.5f), FromArgb(0xFF3C4A1C));
    }
    // The Smugglers' Hide (150, 18, 40 x 32): a lantern-lit hut.
    canvas.Draw(Shape::Box(160, 28, 180, 44, 1), FromArgb(0xFF4A3020));
    canvas.Draw(Shape::Circle({170, 24}, 3), FromArgb(0xFFF0C040));
    for (const Rect& area : {Rect{0, 120, 96, 184}, Rect{24, 40, 144, 112}, Rect{150, 18, 190, 50}})
        Frame(canvas, area);
}

// Ashcombe: the river runs south, almost straight, through the weir at y = 88; the
// towpath from Reedwater follows its west bank, and below the weir stands the mill.
float AshcombeRiver(float y) { return 124.0f + 5.0f * std::sin(y * 0.04f); }
constexpr float kWeirY = 88.0f;
Colour AshcombeCountry(Vec p) { return Country(p, AshcombeRiver); }

void PaintWeir(Canvas& canvas) {
    const float x = AshcombeRiver(kWeirY);
    canvas.Draw(Shape::Box(x - 12, kWeirY - 2, x + 12, kWeirY + 2), kStone);
    for (float dx = -10; dx <= 10; dx += 4)
        canvas.Draw(Shape::Segment({x + dx, kWeirY + 3}, {x + dx + 1, kWeirY + 9}, 1.2f), FromArgb(0xFFE8F0F8));
}

void PaintAshcombeMap(Canvas& canvas) {
    canvas.Paint(AshcombeCountry);
    // The towpath along the west bank, in dashes of ink.
    for (float y = 196; y > 20; y -= 8) {
        const float x = AshcombeRiver(y) - 17.0f;
        canvas.Draw(Shape::Segment({x, y}, {AshcombeRiver(y - 4) - 17.0f, y - 4}, 1.0f), WithAlpha(kInk, 0.7f));
    }
    PaintWeir(canvas);
    // The old mill below the weir, its wheel in the millrace: nobody goes there yet.
    canvas.Draw(Shape::Box(146, 150, 166, 166, 1), Mix(kStone, kInk, 0.5f));
    canvas.Draw(Shape::Ring({142, 162}, 6, 1.5f), kTimber);
    Finish(canvas, 13);
}

void PaintAshcombeAreas(Canvas& canvas) {
    PaintKnown(canvas, AshcombeCountry);
    // Ashcombe Weir (72, 56, 96 x 64): the weir, the held boats above it and the sluice house.
    PaintWeir(canvas);
    for (float y : {66.0f, 74.0f}) canvas.Draw(Shape::Box(116, y, 124, y + 5, 1), kTimber);
    canvas.Draw(Shape::Box(140, 72, 154, 84, 1), Mix(kStone, kInk, 0.3f));
    Frame(canvas, Rect{72, 56, 168, 120});
}

}  // namespace

const std::vector<SampleMapPicture>& SampleMapPictures() {
    static const std::vector<SampleMapPicture> pictures = {
        {"reedwater_map.jpg", true, PaintReedwaterMap},
        {"reedwater_map_areas.png", false, PaintReedwaterAreas},
        {"ashcombe_map.jpg", true, PaintAshcombeMap},
        {"ashcombe_map_areas.png", false, PaintAshcombeAreas},
    };
    return pictures;
}

}  // namespace QuillmereTools
