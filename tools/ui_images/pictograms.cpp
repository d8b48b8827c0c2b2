#include "ui_images/pictograms.h"

#include <cmath>
#include <numbers>

#include "ui_images/ui_image_palette.h"

namespace QuillmereTools {
namespace {

using namespace Shape;
namespace P = UiPalette;

constexpr float kPi = std::numbers::pi_v<float>;
// Outline width on the 32-unit grid; the 16-pixel badges get a bolder one to stay legible.
constexpr float kLine = 1.3f;
constexpr float kBadgeLine = 2.0f;

Colour C(std::uint32_t argb) { return FromArgb(argb); }

void Inked(Canvas& c, const Sdf& shape, Colour fill, float line = kLine) {
    c.DrawOutlined(shape, fill, C(P::kInk), line);
}

Vec Polar(Vec centre, float radius, float angle) {
    return {centre.x + radius * std::cos(angle), centre.y + radius * std::sin(angle)};
}

// A star of `points` tips between two radii, first tip straight up.
Sdf Star(Vec centre, int points, float outer, float inner) {
    std::vector<Vec> corners;
    for (int i = 0; i < points * 2; ++i)
        corners.push_back(Polar(centre, i % 2 ? inner : outer, -kPi / 2 + kPi * static_cast<float>(i) / points));
    return Polygon(corners);
}

Vec Mirror(Vec v) { return {32 - v.x, v.y}; }

// Both sides of a face feature drawn from the left one.
void Pair(Canvas& c, std::vector<Vec> left, Colour fill, float line = kLine) {
    std::vector<Vec> right;
    for (Vec v : left) right.push_back(Mirror(v));
    Inked(c, Polygon(left), fill, line);
    Inked(c, Polygon(right), fill, line);
}

// ---- items --------------------------------------------------------------

void Armor(Canvas& c) {
    Sdf body = Union(Box(9, 8, 23, 27, 3), Union(Segment({9, 10}, {5, 14}, 5), Segment({23, 10}, {27, 14}, 5)));
    Inked(c, Subtract(body, Circle({16, 7}, 4)), C(P::kSteel));
    c.Draw(Segment({16, 12}, {16, 19}, 1), WithAlpha(C(P::kInk), 0.6f));
    c.Draw(Box(9, 20, 23, 22.5f), C(P::kBark));
    c.Draw(Box(14.5f, 20, 17.5f, 22.5f), C(P::kStraw));
}

void Shield(Canvas& c) {
    Sdf shield = Polygon({{7, 5}, {25, 5}, {25, 15}, {16, 28}, {7, 15}});
    Inked(c, shield, C(P::kMoss));
    c.Draw(Intersect(shield, Box(14, 5, 18, 28)), C(P::kStraw));
    c.Draw(Intersect(shield, Box(7, 11, 25, 14)), C(P::kStraw));
    Inked(c, Circle({16, 12.5f}, 2.5f), C(P::kSteel), 1);
}

void Helmet(Canvas& c) {
    Sdf dome = Intersect(Circle({16, 18}, 10), Box(0, 0, 32, 18));
    Inked(c, Union(dome, Box(5, 17, 27, 21, 1.5f)), C(P::kSteel));
    Inked(c, Box(15, 18, 17, 27, 0.8f), C(P::kSteel), 1);
    c.Draw(Segment({16, 8.5f}, {16, 14}, 2), C(P::kRust));
}

void Amulet(Canvas& c) {
    Colour chain = C(P::kStraw);
    c.Draw(Arc({16, 13}, 8, 1.8f, kPi, 2 * kPi), chain);
    c.Draw(Segment({8, 13}, {13, 20}, 1.8f), chain);
    c.Draw(Segment({24, 13}, {19, 20}, 1.8f), chain);
    Inked(c, Union(Circle({16, 23}, 5), Polygon({{11.6f, 21.5f}, {20.4f, 21.5f}, {16, 15.5f}})), chain);
    Inked(c, Circle({16, 23.5f}, 2.2f), C(P::kWater), 0.8f);
}

void Ring(Canvas& c) {
    Inked(c, Shape::Ring({16, 20}, 7, 3.2f), C(P::kStraw));
    Inked(c, Polygon({{16, 5}, {21, 9.5f}, {16, 14}, {11, 9.5f}}), C(P::kReedLight));
    c.Draw(Polygon({{16, 6.5f}, {18.5f, 9.5f}, {16, 9.5f}}), WithAlpha(C(P::kBone), 0.8f));
}

void Potion(Canvas& c) {
    Sdf flask = Union(Circle({16, 20}, 8), Box(13, 7, 19, 15));
    Inked(c, flask, Mix(C(P::kWater), C(P::kBone), 0.6f));
    c.Draw(Intersect(Circle({16, 20}, 7), Box(0, 18, 32, 32)), C(P::kReed));
    Inked(c, Box(13.5f, 4, 18.5f, 8, 1), C(P::kWood), 1);
    c.Draw(Circle({12.5f, 17}, 1.6f), WithAlpha(C(P::kBone), 0.7f));
}

void Scroll(Canvas& c) {
    Inked(c, Box(9, 7, 23, 25), C(P::kParchment));
    for (float y : {12.0f, 16.0f}) c.Draw(Segment({12, y}, {20, y}, 1), WithAlpha(C(P::kInk), 0.6f));
    c.Draw(Segment({12, 20}, {17.5f, 20}, 1), WithAlpha(C(P::kInk), 0.6f));
    Inked(c, Segment({7, 7}, {25, 7}, 4), C(P::kParchmentDark));
    Inked(c, Segment({7, 25}, {25, 25}, 4), C(P::kParchmentDark));
    c.Draw(Circle({25, 25}, 1), C(P::kRust));
}

void Wand(Canvas& c) {
    c.Draw(Circle({24, 9}, 6), WithAlpha(C(P::kStraw), 0.3f));
    Inked(c, Segment({7, 26}, {21.5f, 11.5f}, 2.6f), C(P::kBark));
    Inked(c, Star({24, 9}, 4, 6, 1.8f), C(P::kStraw), 1);
}

void Bag(Canvas& c) {
    Inked(c, Polygon({{12, 12}, {16, 4.5f}, {20, 12}}), C(P::kParchmentDark));
    Inked(c, Union(Circle({16, 21}, 8), Polygon({{11, 13}, {21, 13}, {23.5f, 19}, {8.5f, 19}})), C(P::kWood));
    Inked(c, Box(11.5f, 10.5f, 20.5f, 13.5f, 1.2f), C(P::kRust), 1);
    c.Draw(Arc({16, 21}, 5, 1.2f, 0.2f * kPi, 0.8f * kPi), WithAlpha(C(P::kInk), 0.45f));
}

void Money(Canvas& c) {
    for (int i = 0; i < 3; ++i) Inked(c, Ellipse({12, 25 - 4.0f * i}, 8, 3), C(P::kStraw), 1.1f);
    Inked(c, Circle({23, 13}, 6.5f), C(P::kStraw));
    c.Draw(Shape::Ring({23, 13}, 4, 1), WithAlpha(C(P::kBark), 0.7f));
}

// A blade along the diagonal from the guard `g` to the tip, `width` wide.
void Blade(Canvas& c, Vec g, Vec tip, float width, float guard, float hilt) {
    const float s = 0.70711f;
    Vec n{s, s};
    float h = width / 2;
    Inked(c, Polygon({{g.x + n.x * h, g.y + n.y * h}, {g.x - n.x * h, g.y - n.y * h},
                      {tip.x - n.x * h * 0.6f, tip.y - n.y * h * 0.6f}, tip,
                      {tip.x + n.x * h * 0.6f, tip.y + n.y * h * 0.6f}}),
          C(P::kSteel));
    c.Draw(Segment(g, {(g.x + tip.x) / 2, (g.y + tip.y) / 2}, 0.8f), WithAlpha(C(P::kBone), 0.8f));
    Vec end{g.x - hilt * s, g.y + hilt * s};
    Inked(c, Segment(g, end, width * 0.55f), C(P::kWood));
    Inked(c, Segment({g.x - n.x * guard, g.y - n.y * guard}, {g.x + n.x * guard, g.y + n.y * guard}, 2.6f),
          C(P::kBark));
    Inked(c, Circle(end, width * 0.4f), C(P::kStraw), 1);
}

void LightBlade(Canvas& c) { Blade(c, {12.5f, 19.5f}, {26, 6}, 4, 3.5f, 6); }
void HeavyBlade(Canvas& c) { Blade(c, {10.5f, 21.5f}, {28, 4}, 6, 5.5f, 6); }

void Staff(Canvas& c) {
    Inked(c, Segment({7, 29}, {21, 7}, 2.8f), C(P::kWood));
    for (float t : {0.55f, 0.62f}) c.Draw(Segment(Polar({7, 29}, 26 * t, -1.0036f), Polar({7, 29}, 26 * t + 1, -1.0036f), 3.2f), C(P::kRust));
    Inked(c, Circle({22, 5.5f}, 3.5f), C(P::kReedLight));
}

void Bludgeon(Canvas& c) {
    Inked(c, Segment({7, 28}, {18, 13}, 3), C(P::kWood));
    Vec head{21, 10};
    for (int k = 0; k < 6; ++k) Inked(c, Segment(head, Polar(head, 8.5f, kPi * k / 3 + 0.3f), 2.2f), C(P::kSteel), 1);
    Inked(c, Circle(head, 6), C(P::kSteel));
}

void Axe(Canvas& c) {
    Inked(c, Segment({8, 29}, {19, 5}, 2.6f), C(P::kWood));
    Sdf head = Intersect(Circle({13, 12}, 15), Polygon({{15.5f, 8}, {29, 0}, {31, 12}, {29, 25}, {15.5f, 15}}));
    Inked(c, head, C(P::kSteel));
    c.Draw(Intersect(head, Shape::Ring({13, 12}, 13.8f, 2)), WithAlpha(C(P::kBone), 0.85f));
}

void Bow(Canvas& c) {
    Inked(c, Segment({4, 16}, {26, 16}, 1.3f), C(P::kBark), 1);
    Inked(c, Polygon({{30, 16}, {25, 13}, {25, 19}}), C(P::kSteel), 1);
    c.Draw(Polygon({{3, 13}, {7, 13}, {9, 16}, {7, 19}, {3, 19}, {5, 16}}), C(P::kRust));
    Inked(c, Arc({7, 16}, 14, 2.4f, -1.1f, 1.1f), C(P::kWood));
    c.Draw(Segment(Polar({7, 16}, 14, -1.1f), Polar({7, 16}, 14, 1.1f), 0.8f), C(P::kBone));
}

void Grave(Canvas& c) {
    Inked(c, Box(5, 25, 27, 29, 1.5f), C(P::kMoss));
    Inked(c, Union(Box(9, 12, 23, 27), Circle({16, 12}, 7)), C(P::kSteel));
    Colour carve = WithAlpha(C(P::kInk), 0.6f);
    c.Draw(Segment({16, 9}, {16, 20}, 2), carve);
    c.Draw(Segment({12.5f, 12.5f}, {19.5f, 12.5f}, 2), carve);
}

// ---- races (drawn pale: the game tints them with the actor's colour) -----

const Colour kPale = FromArgb(P::kBone);
const Colour kPaleShade = FromArgb(P::kBoneShade);

void Shoulders(Canvas& c, float left, float right) { Inked(c, Box(left, 23, right, 36, 6), kPaleShade); }

void Eyes(Canvas& c, float y, float apart) {
    c.Draw(Circle({16 - apart, y}, 1), C(P::kInk));
    c.Draw(Circle({16 + apart, y}, 1), C(P::kInk));
}

void Human(Canvas& c) {
    Shoulders(c, 6, 26);
    Inked(c, Circle({16, 13}, 6.5f), kPale);
    Eyes(c, 13, 2.4f);
}

void Elf(Canvas& c) {
    Shoulders(c, 8, 24);
    Pair(c, {{11, 14}, {4, 6}, {11.5f, 10}}, kPale);
    Inked(c, Ellipse({16, 13}, 5.6f, 7), kPale);
    Eyes(c, 13, 2.2f);
}

void Dwarf(Canvas& c) {
    Shoulders(c, 3, 29);
    Inked(c, Circle({16, 12}, 6), kPale);
    Eyes(c, 12.5f, 2.3f);
    Inked(c, Polygon({{9.5f, 14.5f}, {22.5f, 14.5f}, {19.5f, 25}, {16, 29}, {12.5f, 25}}), kPale);
    c.Draw(Segment({16, 17}, {16, 25}, 0.8f), WithAlpha(C(P::kInk), 0.4f));
    Inked(c, Intersect(Circle({16, 12}, 6.8f), Box(0, 0, 32, 10.5f)), C(P::kSteel));
}

void Skull(Canvas& c, Vec at, float size) {
    Canvas::View saved = c.GetView();
    c.SetView(saved.originX + at.x * saved.scale, saved.originY + at.y * saved.scale, saved.scale * size);
    Inked(c, Union(Circle({0, 0}, 8), Box(-4, 3, 4, 11, 2)), kPale, kLine / size);
    Colour hole = C(P::kInk);
    c.Draw(Circle({-3, 0}, 2.3f), hole);
    c.Draw(Circle({3, 0}, 2.3f), hole);
    c.Draw(Polygon({{0, 3}, {-1.2f, 5.5f}, {1.2f, 5.5f}}), hole);
    for (float x : {-2.0f, 0.0f, 2.0f}) c.Draw(Segment({x, 8.5f}, {x, 10.5f}, 0.8f), hole);
    c.SetView(saved);
}

void Skeleton(Canvas& c) {
    for (float y : {25.0f, 28.0f}) c.Draw(Segment({9, y}, {23, y}, 1.6f), kPaleShade);
    c.Draw(Segment({16, 22}, {16, 31}, 1.8f), kPaleShade);
    Skull(c, {16, 12}, 1);
}

void Orc(Canvas& c) {
    Shoulders(c, 3, 29);
    Inked(c, Box(9, 5, 23, 22, 5), kPale);
    c.Draw(Segment({10.5f, 11}, {21.5f, 11}, 2.4f), kPaleShade);
    c.Draw(Circle({13, 13.5f}, 1.1f), C(P::kInk));
    c.Draw(Circle({19, 13.5f}, 1.1f), C(P::kInk));
    Pair(c, {{12, 19.5f}, {14, 19.5f}, {12.8f, 14.5f}}, kPale, 0.9f);
}

void Goblin(Canvas& c) {
    Shoulders(c, 9, 23);
    Pair(c, {{12, 14}, {2, 8}, {11, 19}}, kPaleShade);
    Inked(c, Circle({16, 15}, 5.5f), kPale);
    Eyes(c, 14, 2.2f);
    c.Draw(Ellipse({16, 17.5f}, 1.4f, 1), kPaleShade);
}

void Snakeman(Canvas& c) {
    Inked(c, Ellipse({15, 26}, 11, 4.5f), kPaleShade);
    Inked(c, Segment({15, 25}, {18, 13}, 5), kPale);
    c.Draw(Segment({24.5f, 11}, {28.5f, 12.5f}, 0.9f), C(P::kRust));
    Inked(c, Ellipse({19, 10.5f}, 6.5f, 4), kPale);
    c.Draw(Ellipse({21, 9.5f}, 1, 1.4f), C(P::kInk));
}

void Demon(Canvas& c) {
    Shoulders(c, 5, 27);
    Pair(c, {{10.5f, 11}, {5, 1.5f}, {13.5f, 7.5f}}, kPaleShade);
    Inked(c, Circle({16, 13}, 6.5f), kPale);
    c.Draw(Segment({12.5f, 11.5f}, {14.5f, 13}, 1.3f), C(P::kInk));
    c.Draw(Segment({19.5f, 11.5f}, {17.5f, 13}, 1.3f), C(P::kInk));
}

void Jotun(Canvas& c) {
    Shoulders(c, 1, 31);
    Inked(c, Circle({16, 14}, 8), kPale);
    Inked(c, Polygon({{8.5f, 9}, {10, 1}, {13, 6.5f}, {16, 0}, {19, 6.5f}, {22, 1}, {23.5f, 9}}), kPaleShade, 1);
    c.Draw(Segment({12, 13}, {14, 13}, 1.4f), C(P::kInk));
    c.Draw(Segment({18, 13}, {20, 13}, 1.4f), C(P::kInk));
}

void Surtr(Canvas& c) {
    Inked(c, Polygon({{16, 1}, {21, 9}, {25, 6}, {26, 18}, {21, 28}, {11, 28}, {6, 18}, {7, 8}, {11, 12}}), kPaleShade);
    Inked(c, Circle({16, 18}, 5.5f), kPale);
    c.Draw(Circle({14, 17.5f}, 1.1f), C(P::kInk));
    c.Draw(Circle({18, 17.5f}, 1.1f), C(P::kInk));
}

void Norn(Canvas& c) {
    c.Draw(Segment({3, 19}, {29, 23}, 0.8f), kPaleShade);
    Inked(c, Union(Polygon({{16, 4}, {27, 31}, {5, 31}}), Circle({16, 11}, 6.5f)), kPale);
    c.Draw(Ellipse({16, 12.5f}, 3.5f, 4.5f), C(P::kInk));
}

void Shadow(Canvas& c) {
    Sdf ghost = Union(Circle({16, 12}, 8), Polygon({{8, 12}, {24, 12}, {24, 28}, {20, 24}, {16, 29}, {12, 24}, {8, 28}}));
    Inked(c, ghost, WithAlpha(kPale, 0.75f));
    c.Draw(Ellipse({13, 12}, 1.5f, 2.2f), C(P::kInk));
    c.Draw(Ellipse({19, 12}, 1.5f, 2.2f), C(P::kInk));
}

void Aesir(Canvas& c) {
    Shoulders(c, 6, 26);
    Pair(c, {{10, 11}, {2, 4}, {3.5f, 9}, {2, 14}, {10, 14}}, kPale);
    Inked(c, Circle({16, 14}, 6.5f), kPale);
    Eyes(c, 15, 2.4f);
    Inked(c, Intersect(Circle({16, 14}, 7.2f), Box(0, 0, 32, 12.5f)), kPaleShade, 1);
}

void Outsider(Canvas& c) {
    Inked(c, Star({16, 16}, 8, 15, 8.5f), kPaleShade);
    Inked(c, Ellipse({16, 16}, 7.5f, 4.2f), kPale, 1);
    c.Draw(Circle({16, 16}, 2.6f), C(P::kInk));
}

void Construct(Canvas& c) {
    Inked(c, Box(6, 23, 26, 36, 2), kPaleShade);
    Inked(c, Box(8, 5, 24, 21, 2), kPale);
    for (float x : {7.0f, 25.0f}) Inked(c, Circle({x, 13}, 1.6f), kPaleShade, 1);
    c.Draw(Box(11, 10, 14, 13), C(P::kInk));
    c.Draw(Box(18, 10, 21, 13), C(P::kInk));
    c.Draw(Segment({12, 17}, {20, 17}, 1.2f), C(P::kInk));
}

// ---- badges (16 pixels, drawn on the same grid with bolder lines) --------

void Male(Canvas& c) {
    Inked(c, Union(Segment({18, 14}, {25, 7}, 3.2f), Polygon({{28, 4}, {18.5f, 4.5f}, {27.5f, 13.5f}})), C(P::kWater), kBadgeLine);
    Inked(c, Shape::Ring({13, 19}, 7, 3.4f), C(P::kWater), kBadgeLine);
}

void Female(Canvas& c) {
    Colour rose = Mix(C(P::kRust), C(P::kBone), 0.35f);
    Inked(c, Union(Segment({16, 19}, {16, 29}, 3.4f), Segment({11, 24.5f}, {21, 24.5f}, 3.4f)), rose, kBadgeLine);
    Inked(c, Shape::Ring({16, 11}, 7, 3.4f), rose, kBadgeLine);
}

void NoGender(Canvas& c) { Inked(c, Shape::Ring({16, 16}, 9, 3.6f), C(P::kSteel), kBadgeLine); }

void Status(Canvas& c) {
    Inked(c, Circle({16, 16}, 13), C(P::kStraw), kBadgeLine);
    c.Draw(Box(14, 7, 18, 19.5f, 1.5f), C(P::kInk));
    c.Draw(Circle({16, 24.5f}, 2.4f), C(P::kInk));
}

void PlusBar(Canvas& c, bool vertical) {
    c.Draw(Box(7, 14, 25, 18, 1), C(P::kBone));
    if (vertical) c.Draw(Box(14, 7, 18, 25, 1), C(P::kBone));
}

void EffectBoth(Canvas& c) {
    Sdf disc = Circle({16, 16}, 13);
    c.Draw(Grow(disc, kBadgeLine), C(P::kInk));
    c.Draw(Intersect(disc, Box(0, 0, 16, 32)), C(P::kReed));
    c.Draw(Intersect(disc, Box(16, 0, 32, 32)), C(P::kRust));
    c.Draw(Box(5.5f, 14.5f, 13.5f, 17.5f), C(P::kBone));
    c.Draw(Box(8, 12, 11, 20), C(P::kBone));
    c.Draw(Box(18.5f, 14.5f, 26.5f, 17.5f), C(P::kBone));
}

void EffectPlus(Canvas& c) {
    Inked(c, Circle({16, 16}, 13), C(P::kReed), kBadgeLine);
    PlusBar(c, true);
}

void EffectMinus(Canvas& c) {
    Inked(c, Circle({16, 16}, 13), C(P::kRust), kBadgeLine);
    PlusBar(c, false);
}

void Fighter(Canvas& c) {
    Inked(c, Segment({6, 6}, {26, 26}, 3.6f), C(P::kSteel), kBadgeLine);
    Inked(c, Segment({26, 6}, {6, 26}, 3.6f), C(P::kSteel), kBadgeLine);
    Inked(c, Segment({4, 22}, {10, 28}, 3), C(P::kWood), 1.5f);
    Inked(c, Segment({28, 22}, {22, 28}, 3), C(P::kWood), 1.5f);
}

void Rogue(Canvas& c) {
    Sdf mask = Union(Ellipse({9.5f, 16}, 8.5f, 7), Ellipse({22.5f, 16}, 8.5f, 7));
    Inked(c, Subtract(mask, Union(Ellipse({9.5f, 16}, 3.4f, 2.4f), Ellipse({22.5f, 16}, 3.4f, 2.4f))),
          C(P::kParchmentDark), kBadgeLine);
}

void Spellcaster(Canvas& c) { Inked(c, Star({16, 17}, 5, 15, 7), C(P::kReedLight), kBadgeLine); }

void Monster(Canvas& c) {
    for (int i = 0; i < 3; ++i) {
        float x = 7 + 8.0f * i;
        Inked(c, Segment({x + 4, 4}, {x - 3, 28}, 3.6f), C(P::kRust), kBadgeLine);
    }
}

// ---- abilities ----------------------------------------------------------

void Sneak(Canvas& c) {
    auto foot = [&](Vec heel) {
        Inked(c, Ellipse({heel.x, heel.y}, 3.8f, 6), C(P::kReedLight), 1);
        for (int t = 0; t < 3; ++t)
            Inked(c, Circle({heel.x - 2.5f + 2.5f * t, heel.y - 8}, 1.3f), C(P::kReedLight), 0.9f);
    };
    foot({10, 22});
    foot({22, 13});
}

void Singing(Canvas& c) {
    Inked(c, Union(Box(14.5f, 6, 17.2f, 24), Polygon({{17, 6}, {26, 11}, {26, 15.5f}, {17, 11}})), C(P::kStraw));
    Inked(c, Ellipse({11.5f, 24.5f}, 5, 3.8f), C(P::kStraw));
    c.Draw(Segment({23, 21}, {28, 19}, 1), WithAlpha(C(P::kBone), 0.8f));
    c.Draw(Segment({23, 25}, {28, 25}, 1), WithAlpha(C(P::kBone), 0.8f));
}

void Power(Canvas& c) {
    Inked(c, Star({16, 16}, 8, 15, 7), C(P::kRust));
    Inked(c, Circle({16, 16}, 5), C(P::kStraw), 1);
}

void Void(Canvas& c) {
    c.Draw(Circle({16, 16}, 14), WithAlpha(C(P::kReedLight), 0.25f));
    Inked(c, Circle({16, 16}, 10), C(P::kMarshNight));
    c.Draw(Arc({16, 16}, 12, 1.6f, -0.4f * kPi, 0.6f * kPi), C(P::kReedLight));
    c.Draw(Arc({16, 16}, 6, 1.2f, 0.6f * kPi, 1.6f * kPi), C(P::kReed));
}

void Matter(Canvas& c) {
    std::vector<Vec> hex;
    for (int i = 0; i < 6; ++i) hex.push_back(Polar({16, 16}, 13, kPi / 6 + kPi * i / 3));
    Inked(c, Polygon(hex), C(P::kWood));
    c.Draw(Polygon({hex[3], hex[4], hex[5], {16, 16}}), C(P::kParchmentDark));
    c.Draw(Polygon({hex[0], hex[1], {16, 16}, hex[5]}), C(P::kBark));
}

void Energy(Canvas& c) {
    Inked(c, Polygon({{19, 2}, {7, 18}, {15, 18}, {11, 30}, {26, 12}, {18, 12}, {23, 2}}), C(P::kStraw));
}

void Spirit(Canvas& c) {
    Colour wisp = Mix(C(P::kWater), C(P::kBone), 0.55f);
    Inked(c, Union(Circle({16, 20}, 7.5f), Polygon({{8.8f, 18}, {23.2f, 18}, {20, 2}, {17, 9}})), wisp);
    c.Draw(Circle({16, 20}, 3.5f), WithAlpha(C(P::kBone), 0.8f));
}

void Elemental(Canvas& c) {
    Inked(c, Circle({16, 8}, 5), C(P::kRust));
    Inked(c, Circle({24, 16}, 5), C(P::kWater));
    Inked(c, Circle({16, 24}, 5), C(P::kWood));
    Inked(c, Circle({8, 16}, 5), C(P::kBone));
}

void Cosmic(Canvas& c) {
    Inked(c, Subtract(Circle({14, 17}, 11), Circle({20, 13}, 9.5f)), C(P::kStraw));
    Inked(c, Star({24, 22}, 4, 5, 1.5f), C(P::kBone), 1);
    Inked(c, Star({26, 7}, 4, 3.5f, 1), C(P::kBone), 0.8f);
}

void Life(Canvas& c) {
    Inked(c, Segment({5, 27}, {10, 22}, 1.8f), C(P::kWood), 1);
    Inked(c, Intersect(Circle({8, 8}, 17), Circle({24, 24}, 17)), C(P::kReed));
    c.Draw(Segment({10, 22}, {23, 9}, 1), C(P::kReedDark));
}

void High(Canvas& c) {
    Inked(c, Polygon({{6, 24}, {5, 9}, {11, 15}, {16, 5}, {21, 15}, {27, 9}, {26, 24}}), C(P::kStraw));
    Inked(c, Box(6, 23, 26, 27, 1), C(P::kStraw));
    c.Draw(Circle({16, 19}, 2), C(P::kRust));
}

// ---- actions and screen controls ----------------------------------------

void Talk(Canvas& c) {
    Inked(c, Union(Box(3, 5, 29, 21, 5), Polygon({{9, 19}, {7, 28}, {16, 20}})), C(P::kParchment));
    for (float x : {10.0f, 16.0f, 22.0f}) c.Draw(Circle({x, 13}, 1.7f), C(P::kInk));
}

void Attack(Canvas& c) {
    Inked(c, Star({24, 8}, 6, 8, 3.5f), C(P::kRust), 1);
    Blade(c, {10.5f, 21.5f}, {25, 7}, 5, 5, 6);
}

void Chevrons(Canvas& c, Colour fill) {
    for (float x : {5.0f, 15.0f}) Inked(c, Union(Segment({x, 8}, {x + 8, 16}, 4.2f), Segment({x + 8, 16}, {x, 24}, 4.2f)), fill);
}

void FastOn(Canvas& c) { Chevrons(c, C(P::kReedLight)); }

void FastOff(Canvas& c) {
    Chevrons(c, WithAlpha(C(P::kSteel), 0.6f));
    Inked(c, Segment({5, 27}, {27, 5}, 2.6f), C(P::kRust), 1);
}

void Level(Canvas& c) {
    Inked(c, Polygon({{16, 3}, {27, 15}, {20.5f, 15}, {20.5f, 28}, {11.5f, 28}, {11.5f, 15}, {5, 15}}), C(P::kStraw));
    c.Draw(Box(13.5f, 18, 18.5f, 26), WithAlpha(C(P::kBone), 0.5f));
}

void Bust(Canvas& c, Vec head, float size, Colour fill) {
    Inked(c, Box(head.x - 1.6f * size, head.y + 1.2f * size, head.x + 1.6f * size, head.y + 3.5f * size, size * 0.8f), fill);
    Inked(c, Circle(head, size), fill);
}

void Party(Canvas& c) {
    Bust(c, {8, 12}, 4, C(P::kParchmentDark));
    Bust(c, {24, 12}, 4, C(P::kParchmentDark));
    Bust(c, {16, 15}, 5, C(P::kParchment));
}

void Return(Canvas& c) {
    Colour fill = C(P::kReedLight);
    Inked(c, Union(Arc({16, 17}, 8, 3.6f, 0.5f * kPi, 1.5f * kPi), Segment({16, 25}, {25, 25}, 3.6f)), fill);
    Inked(c, Polygon({{15, 3}, {24, 9}, {15, 15}}), fill);
}

void Run(Canvas& c) { Inked(c, Polygon({{9, 5}, {26, 16}, {9, 27}}), C(P::kReedLight)); }

void Pause(Canvas& c) {
    Inked(c, Box(8, 6, 14, 26, 1.5f), C(P::kStraw));
    Inked(c, Box(18, 6, 24, 26, 1.5f), C(P::kStraw));
}

void Help(Canvas& c) {
    Inked(c, Circle({16, 16}, 14.5f), C(P::kWater));
    Colour glyph = C(P::kParchment);
    Vec end = Polar({16, 11.5f}, 5.5f, 0.4f * kPi);
    c.Draw(Union(Arc({16, 11.5f}, 5.5f, 3.8f, kPi, 0.4f * kPi), Segment(end, {16, 20}, 3.8f)), glyph);
    c.Draw(Circle({16, 25.5f}, 2.4f), glyph);
}

void Exit(Canvas& c) {
    Inked(c, Box(6, 3, 21, 29, 1), C(P::kWood));
    c.Draw(Box(8.5f, 5.5f, 18.5f, 29), C(P::kMarshNight));
    Inked(c, Union(Segment({12, 17}, {25, 17}, 3.4f), Polygon({{30, 17}, {23.5f, 11}, {23.5f, 23}})), C(P::kStraw));
}

void Reverse(Canvas& c) {
    Colour fill = C(P::kStraw);
    Inked(c, Arc({16, 16}, 10, 3, 1.05f * kPi, 1.8f * kPi), fill);
    Inked(c, Polygon({{23, 4.5f}, {29, 12}, {20, 13}}), fill, 1);
    Inked(c, Arc({16, 16}, 10, 3, 0.05f * kPi, 0.8f * kPi), fill);
    Inked(c, Polygon({{9, 27.5f}, {3, 20}, {12, 19}}), fill, 1);
}

void Inspect(Canvas& c) {
    Inked(c, Segment({19, 19}, {27, 27}, 4.5f), C(P::kWood));
    c.Draw(Circle({13, 13}, 7), WithAlpha(C(P::kWater), 0.55f));
    Inked(c, Shape::Ring({13, 13}, 8, 3), C(P::kSteel));
    c.Draw(Arc({13, 13}, 4.5f, 1.2f, 1.1f * kPi, 1.5f * kPi), WithAlpha(C(P::kBone), 0.8f));
}

void Action(Canvas& c) {
    std::vector<Vec> gear;
    for (int i = 0; i < 32; ++i) gear.push_back(Polar({16, 16}, (i / 2) % 2 ? 10.5f : 14, kPi * i / 16));
    Inked(c, Subtract(Polygon(gear), Circle({16, 16}, 4)), C(P::kSteel));
}

}  // namespace

void DrawFigure(Canvas& c, Colour fill, float line) {
    Sdf body = Union(Union(Circle({16, 6}, 3.8f), Box(11, 10.5f, 21, 21, 2.5f)),
                     Union(Union(Segment({11.5f, 12}, {7, 21}, 3), Segment({20.5f, 12}, {25, 21}, 3)),
                           Union(Segment({13.5f, 20}, {12.5f, 29}, 3.4f), Segment({18.5f, 20}, {19.5f, 29}, 3.4f))));
    if (line > 0) c.DrawOutlined(body, fill, C(P::kInk), line);
    else c.Draw(body, fill);
}

namespace {

void PaperdollIcon(Canvas& c) { DrawFigure(c, C(P::kParchment), kLine); }

void Purchase(Canvas& c) {
    Inked(c, Box(6, 4, 26, 28, 2), C(P::kBark));
    c.Draw(Box(23, 6, 25.5f, 26), C(P::kParchment));
    Inked(c, Box(6, 4, 23, 28, 2), C(P::kReedDark));
    c.Draw(Arc({16, 16}, 3.6f, 2, kPi, 2 * kPi), C(P::kSteel));
    c.Draw(Segment({12.4f, 16}, {12.4f, 18}, 2), C(P::kSteel));
    c.Draw(Segment({19.6f, 16}, {19.6f, 18}, 2), C(P::kSteel));
    Inked(c, Box(11, 17, 21, 25, 1.5f), C(P::kStraw), 1);
    c.Draw(Circle({16, 20.5f}, 1.2f), C(P::kInk));
}

using Painter = void (*)(Canvas&);

Painter PainterOf(int id) {
    switch (id) {
    case 12: return Armor;
    case 13: return Shield;
    case 14: return Helmet;
    case 15: return Amulet;
    case 16: return Ring;
    case 17: return Potion;
    case 18: return Scroll;
    case 19: return Wand;
    case 20: return Bag;
    case 21: return Money;
    case 22: return LightBlade;
    case 23: return HeavyBlade;
    case 24: return Staff;
    case 25: return Bludgeon;
    case 26: return Axe;
    case 27: return Bow;
    case 28: return Grave;
    case 29: return Human;
    case 30: return Elf;
    case 31: return Dwarf;
    case 32: return Skeleton;
    case 33: return Orc;
    case 34: return Goblin;
    case 35: return Snakeman;
    case 36: return Demon;
    case 37: return Jotun;
    case 38: return Surtr;
    case 39: return Norn;
    case 40: return Shadow;
    case 41: return Aesir;
    case 42: return Outsider;
    case 43: return Construct;
    case 44: return Male;
    case 45: return Female;
    case 46: return NoGender;
    case 47: return Status;
    case 48: return EffectBoth;
    case 49: return EffectPlus;
    case 50: return EffectMinus;
    case 51: return Fighter;
    case 52: return Rogue;
    case 53: return Spellcaster;
    case 54: return Monster;
    case 55: return Sneak;
    case 56: return Singing;
    case 57: return Power;
    case 58: return Void;
    case 59: return Matter;
    case 60: return Energy;
    case 61: return Spirit;
    case 62: return Elemental;
    case 63: return Cosmic;
    case 64: return Life;
    case 65: return High;
    case 66: return Talk;
    case 67: return Attack;
    case 70: return FastOn;
    case 71: return FastOff;
    case 72: return Level;
    case 73: return Party;
    case 74: return Return;
    case 75: return Run;
    case 76: return Pause;
    case 77: return Help;
    case 78: return Exit;
    case 79: return Reverse;
    case 80: return Inspect;
    case 81: return Action;
    case 82: return PaperdollIcon;
    case 84: return Purchase;
    default: return nullptr;
    }
}

}  // namespace

bool IsPictogram(int id) { return PainterOf(id) != nullptr; }

void DrawPictogram(Canvas& canvas, int id) {
    if (Painter painter = PainterOf(id)) painter(canvas);
}

void DrawClockFace(Canvas& c, bool paused) {
    Vec centre{32, 32};
    Inked(c, Circle(centre, 29), C(P::kWood), 2);
    c.Draw(Shape::Ring(centre, 27, 1.2f), WithAlpha(C(P::kStraw), 0.7f));
    Colour face = paused ? Mix(C(P::kParchment), C(P::kSteel), 0.6f) : C(P::kParchment);
    Inked(c, Circle(centre, 24.5f), face, 1.2f);
    for (int h = 0; h < 12; ++h) {
        float angle = kPi * h / 6;
        float inner = h % 3 ? 20.5f : 18;
        c.Draw(Segment(Polar(centre, inner, angle), Polar(centre, 22.5f, angle), h % 3 ? 1.4f : 2.4f), C(P::kInk));
    }
    // Ten past ten, the hands' resting place on every clock face.
    c.Draw(Segment(centre, Polar(centre, 13, -kPi / 2 - kPi / 3), 3.6f), C(P::kInk));
    c.Draw(Segment(centre, Polar(centre, 19, -kPi / 2 + kPi / 3), 2.4f), C(P::kInk));
    c.Draw(Circle(centre, 2.6f), C(P::kRust));
    if (paused) {
        Inked(c, Box(21, 20, 29, 44, 2), WithAlpha(C(P::kRust), 0.9f), 1.5f);
        Inked(c, Box(35, 20, 43, 44, 2), WithAlpha(C(P::kRust), 0.9f), 1.5f);
    }
}

void DrawCrossMark(Canvas& c) {
    // Pale, not green, and the same turned over either way: nobody takes it for "Done".
    Sdf cross = Union(Segment({8, 8}, {24, 24}, 7.5f), Segment({24, 8}, {8, 24}, 7.5f));
    c.DrawOutlined(cross, C(P::kCrossMark), C(P::kInk), 1);
}

}  // namespace QuillmereTools
