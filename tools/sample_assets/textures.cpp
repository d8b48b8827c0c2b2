#include "sample_assets/textures.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

#include "ui_images/text_mask.h"

namespace QuillmereTools {
namespace {

// A repeatable value in [0, 1) for an integer lattice point.
float Hash(int x, int y, std::uint32_t seed) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u +
                      seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return static_cast<float>((h ^ (h >> 16)) & 0xFFFF) / 65536.0f;
}

// Smooth value noise repeating every `period` lattice cells, so textures tile.
float Noise(float x, float y, int period, std::uint32_t seed) {
    const int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
    const float fx = x - static_cast<float>(x0), fy = y - static_cast<float>(y0);
    const auto at = [&](int i, int j) { return Hash(((i % period) + period) % period, ((j % period) + period) % period, seed); };
    const float sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
    const float top = at(x0, y0) + (at(x0 + 1, y0) - at(x0, y0)) * sx;
    const float bottom = at(x0, y0 + 1) + (at(x0 + 1, y0 + 1) - at(x0, y0 + 1)) * sx;
    return top + (bottom - top) * sy;
}

Colour Shade(Colour c, float factor) {
    return {std::clamp(c.r * factor, 0.0f, 1.0f), std::clamp(c.g * factor, 0.0f, 1.0f),
            std::clamp(c.b * factor, 0.0f, 1.0f), c.a};
}

// Boards of `boards` across a square of side 1 (u along the grain), dark seams between.
Colour Boards(Vec p, int boards, Colour wood, std::uint32_t seed, bool vertical) {
    const float across = (vertical ? p.x : p.y) * static_cast<float>(boards);
    const float along = vertical ? p.y : p.x;
    const int board = static_cast<int>(std::floor(across));
    const float inBoard = across - static_cast<float>(board);
    if (inBoard < 0.06f) return Shade(wood, 0.45f);
    const float grain = Noise(along * 3.0f + static_cast<float>(board) * 7.0f, inBoard * 12.0f, 64, seed);
    return Shade(wood, 0.8f + 0.3f * grain + 0.1f * Hash(board, 0, seed));
}

// A 2 x 2 atlas of one pattern, each cell a shade apart so that neighbours differ.
template <typename Cell>
void Atlas(Canvas& canvas, Cell cell) {
    canvas.SetViewBox(0, 0, static_cast<float>(canvas.Width()), 2.0f);
    canvas.Paint([&](Vec p) {
        const int cx = std::min(static_cast<int>(p.x), 1), cy = std::min(static_cast<int>(p.y), 1);
        return cell(Vec{p.x - static_cast<float>(cx), p.y - static_cast<float>(cy)}, cx + 2 * cy);
    });
    canvas.ResetView();
}

// Paints with both coordinates running 0 to 1 over the whole image, whatever its shape.
template <typename Shader>
void PaintUnit(Canvas& canvas, Shader shader) {
    const float w = static_cast<float>(canvas.Width()), h = static_cast<float>(canvas.Height());
    canvas.ResetView();
    canvas.Paint([&](Vec p) { return shader(Vec{p.x / w, p.y / h}); });
}

const Colour kOak = FromArgb(0xFF8A6238);
const Colour kPine = FromArgb(0xFFB08850);
const Colour kIron = FromArgb(0xFF4A4C50);
const Colour kStone = FromArgb(0xFF8C8A84);

void Planks(Canvas& canvas) {
    Atlas(canvas, [](Vec p, int cell) { return Shade(Boards(p, 4, kOak, 11u + cell, false), 1.0f - 0.06f * cell); });
}

void Mud(Canvas& canvas) {
    Atlas(canvas, [](Vec p, int cell) {
        const float n = Noise(p.x * 6, p.y * 6, 6, 21u + cell);
        const Colour mud = Shade(FromArgb(0xFF5C4630), 0.8f + 0.4f * n);
        return n > 0.78f ? Mix(mud, FromArgb(0xFF4E5A5E), 0.7f) : mud;  // puddles
    });
}

void Water(Canvas& canvas) {
    PaintUnit(canvas, [](Vec p) {
        const float ripple = std::sin((p.y * 8 + Noise(p.x * 4, p.y * 4, 4, 31u) * 2) * 6.2831853f);
        return WithAlpha(Shade(FromArgb(0xFF2E5E78), 0.9f + 0.15f * ripple), 0.85f);
    });
}

void Reeds(Canvas& canvas) {
    // Four columns of reed wall, 12 stalks each; v = 0 at the tips.
    PaintUnit(canvas, [](Vec p) {
        const int column = static_cast<int>(p.x * 4);
        const float across = p.x * 48;
        const int stalk = static_cast<int>(across);
        const float tip = 0.05f + 0.25f * Hash(stalk, column, 41u);
        if (p.y < tip) return Colour{0, 0, 0, 0};  // sky between the tips
        const float light = 0.7f + 0.4f * Hash(stalk, 1, 43u) + 0.08f * static_cast<float>(column);
        const float edge = across - static_cast<float>(stalk) < 0.25f ? 0.6f : 1.0f;
        return Shade(FromArgb(0xFF6E7A3A), light * edge);
    });
}

void Rushes(Canvas& canvas) {
    // Rushes laid over the top of a reed fence: bundles crossing each other at a slant.
    PaintUnit(canvas, [](Vec p) {
        const float a = std::fmod(p.x * 6 + p.y * 3 + 2.0f, 1.0f), b = std::fmod(p.x * 3 - p.y * 6 + 4.0f, 1.0f);
        const bool over = static_cast<int>(p.x * 6) % 2 == static_cast<int>(p.y * 6) % 2;
        const float along = over ? a : b;
        const float light = 0.65f + 0.35f * std::sin(along * 3.14159265f) + 0.1f * Noise(p.x * 8, p.y * 8, 8, 47u);
        return Shade(FromArgb(over ? 0xFF7E8A44 : 0xFF8E8A4E), light);
    });
}

void Deck(Canvas& canvas) {
    // The ferry's 2 x 2 deck: boards run fore and aft, a dark gunwale round the outside.
    Atlas(canvas, [](Vec p, int cell) {
        const bool left = cell % 2 == 0, top = cell < 2;
        const float edge = 0.08f;
        if ((left && p.x < edge) || (!left && p.x > 1 - edge) || (top && p.y < edge) || (!top && p.y > 1 - edge))
            return Shade(kOak, 0.55f);
        return Boards(p, 5, kPine, 51u, true);
    });
}

void Post(Canvas& canvas) {
    PaintUnit(canvas, [](Vec p) {
        if (std::fabs(p.y - 0.2f) < 0.015f) return FromArgb(0xFFB8A070);  // a band of rope
        return Shade(kOak, 0.6f + 0.3f * Noise(p.x * 4, p.y * 16, 16, 61u));
    });
}

void Door(Canvas& canvas) {
    PaintUnit(canvas, [](Vec p) {
        if (std::fabs(p.y - 0.15f) < 0.02f || std::fabs(p.y - 0.75f) < 0.02f) return Shade(kOak, 0.7f);  // ledges
        return Boards(p, 4, kOak, 71u, true);
    });
}

void Net(Canvas& canvas) {
    PaintUnit(canvas, [](Vec p) {
        const float gx = std::fmod(p.x + p.y, 0.125f), gy = std::fmod(p.x - p.y + 2.0f, 0.125f);
        const bool cord = gx < 0.015f || gy < 0.015f;
        return cord ? FromArgb(0xFFC8B890) : Colour{0, 0, 0, 0};
    });
}

void Wood(Canvas& canvas) {
    PaintUnit(canvas, [](Vec p) { return Boards(p, 3, kPine, 81u, false); });
}

void Crate(Canvas& canvas) {
    PaintUnit(canvas, [](Vec p) {
        const float frame = std::min({p.x, p.y, 1 - p.x, 1 - p.y});
        const bool brace = std::fabs(p.x - p.y) < 0.06f;
        if (frame < 0.1f || brace) return Shade(kOak, 0.75f);
        return Boards(p, 4, kPine, 91u, false);
    });
}

void Iron(Canvas& canvas) {
    PaintUnit(canvas, [](Vec p) {
        const float rx = std::fmod(p.x, 0.25f) - 0.125f, ry = std::fmod(p.y, 0.25f) - 0.125f;
        if (rx * rx + ry * ry < 0.0009f) return Shade(kIron, 1.5f);  // rivets
        return Shade(kIron, 0.85f + 0.25f * Noise(p.x * 8, p.y * 8, 8, 101u));
    });
}

void Sign(Canvas& canvas) {
    PaintUnit(canvas, [](Vec p) {
        // Painted lines stand for the lettering: the sign's text is the game's to show.
        const bool line = (std::fabs(p.y - 0.18f) < 0.03f || std::fabs(p.y - 0.32f) < 0.03f) && p.x > 0.1f &&
                          p.x < 0.9f && Hash(static_cast<int>(p.x * 24), static_cast<int>(p.y * 10), 111u) > 0.25f;
        return line ? FromArgb(0xFF2A2018) : Boards(p, 2, kPine, 113u, false);
    });
}

void Wicker(Canvas& canvas) {
    PaintUnit(canvas, [](Vec p) {
        const int row = static_cast<int>(p.y * 8), column = static_cast<int>(p.x * 8);
        const float over = (row + column) % 2 == 0 ? 1.0f : 0.7f;
        return Shade(FromArgb(0xFFA88A50), over * (0.85f + 0.3f * Noise(p.x * 16, p.y * 16, 16, 121u)));
    });
}

void Stone(Canvas& canvas) {
    PaintUnit(canvas, [](Vec p) {
        const int course = static_cast<int>(p.y * 4);
        const float x = p.x * 2 + (course % 2 ? 0.5f : 0.0f);
        const bool joint = std::fmod(p.y * 4, 1.0f) < 0.06f || std::fmod(x, 1.0f) < 0.04f;
        if (joint) return Shade(kStone, 0.6f);
        return Shade(kStone, 0.85f + 0.3f * Noise(p.x * 10, p.y * 10, 10, 131u));
    });
}

// Flagstones in a 2 x 2 atlas for a floor: slabs laid in courses, each a shade apart.
void StoneFlags(Canvas& canvas) {
    Atlas(canvas, [](Vec p, int cell) {
        const int course = static_cast<int>(p.y * 3);
        const float x = p.x * 2 + 0.37f * static_cast<float>(course);
        const int slab = static_cast<int>(x);
        const bool joint = std::fmod(p.y * 3, 1.0f) < 0.05f || x - static_cast<float>(slab) < 0.03f;
        if (joint) return Shade(kStone, 0.55f);
        return Shade(kStone, 0.78f + 0.14f * Hash(slab, course, 221u + cell) +
                                 0.14f * Noise(p.x * 8, p.y * 8, 8, 223u + cell));
    });
}

void ExitArrow(Canvas& canvas) {
    canvas.SetViewBox(0, 0, static_cast<float>(canvas.Width()), 32);
    canvas.Paint([](Vec) { return Colour{0, 0, 0, 0}; });
    const Sdf arrow = Shape::Polygon({{16, 4}, {28, 16}, {21, 16}, {21, 28}, {11, 28}, {11, 16}, {4, 16}});
    canvas.DrawOutlined(arrow, WithAlpha(FromArgb(0xFFE8D8A0), 0.8f), WithAlpha(FromArgb(0xFF403020), 0.8f), 1.0f);
    canvas.ResetView();
}

void Sack(Canvas& canvas) {
    PaintUnit(canvas, [](Vec p) {
        const float weave = (static_cast<int>(p.x * 32) + static_cast<int>(p.y * 32)) % 2 ? 0.9f : 1.0f;
        return Shade(FromArgb(0xFFA08A60), weave * (0.85f + 0.25f * Noise(p.x * 6, p.y * 6, 6, 141u)));
    });
}

// Actor textures are colour masks: red takes the hair colour, green the skin, blue the
// trim, so that one image dresses every figure in its own colours.
const Colour kHair = {1, 0, 0, 1};
const Colour kSkin = {0, 1, 0, 1};
const Colour kTrim = {0, 0, 1, 1};

void Head(Canvas& canvas) {
    PaintUnit(canvas, [](Vec p) {
        if (p.y < 0.3f) return kHair;
        const bool eye = std::fabs(p.y - 0.45f) < 0.04f && std::fabs(std::fabs(p.x - 0.5f) - 0.15f) < 0.05f;
        return eye ? Colour{0.1f, 0.1f, 0.1f, 1} : kSkin;
    });
}

void Tunic(Canvas& canvas) {
    PaintUnit(canvas, [](Vec p) {
        if (std::fabs(p.y - 0.8f) < 0.05f) return FromArgb(0xFF503820);  // belt
        return Shade(kTrim, 0.8f + 0.2f * Noise(p.x * 4, p.y * 8, 8, 151u));
    });
}

void Arm(Canvas& canvas) {
    PaintUnit(canvas, [](Vec p) { return p.y < 0.75f ? Shade(kTrim, 0.9f) : kSkin; });
}

void Trousers(Canvas& canvas) {
    PaintUnit(canvas, [](Vec p) { return p.y > 0.85f ? FromArgb(0xFF3A2A1C) : Shade(kTrim, 0.55f); });  // boots
}

void Spirit(Canvas& canvas) {
    PaintUnit(canvas, [](Vec p) {
        const float mist = Noise(p.x * 6, p.y * 6, 6, 161u);
        return WithAlpha(FromArgb(0xFFB8E0F0), 0.35f + 0.5f * mist * (1 - p.y * 0.6f));
    });
}

// Polished metal: brighter towards the edge that catches the light.
Colour Metal(Vec p, Colour colour, std::uint32_t seed) {
    return Shade(colour, 0.8f + 0.3f * p.x + 0.1f * Noise(p.x * 2, p.y * 32, 32, seed));
}

void Steel(Canvas& canvas) {
    PaintUnit(canvas, [](Vec p) { return Metal(p, FromArgb(0xFFB8BCC4), 171u); });
}

void BlueSteel(Canvas& canvas) {
    PaintUnit(canvas, [](Vec p) { return Metal(p, FromArgb(0xFF7890C8), 173u); });
}

void Haft(Canvas& canvas) {
    PaintUnit(canvas, [](Vec p) { return Shade(kOak, 0.7f + 0.3f * Noise(p.x * 4, p.y * 24, 24, 181u)); });
}

void Leather(Canvas& canvas) {
    PaintUnit(canvas, [](Vec p) {
        const bool wrap = std::fmod(p.y * 12 + p.x, 1.0f) < 0.15f;
        return Shade(FromArgb(0xFF6A4428), wrap ? 0.6f : 0.9f + 0.2f * Noise(p.x * 8, p.y * 8, 8, 191u));
    });
}

// The title screen's background: a river at dusk under a band of cloud, reeds black
// against the water.
void IconBackground(Canvas& canvas) {
    PaintUnit(canvas, [](Vec p) {
        const Colour sky = Mix(FromArgb(0xFF2A3050), FromArgb(0xFFC08060), std::clamp(p.y * 1.8f, 0.0f, 1.0f));
        if (p.y < 0.55f) return Shade(sky, 0.9f + 0.2f * Noise(p.x * 6, p.y * 12, 6, 201u));
        const float ripple = std::sin((p.y * 40 + Noise(p.x * 8, p.y * 8, 8, 203u) * 3) * 6.2831853f);
        const Colour water = Shade(FromArgb(0xFF30445C), 0.85f + 0.15f * ripple);
        const float stalk = Noise(p.x * 90, 0, 90, 207u);
        const bool reed = p.y > 0.92f - 0.25f * stalk * stalk && std::fmod(p.x * 90, 1.0f) < 0.35f;
        return reed ? FromArgb(0xFF10140C) : water;
    });
}

// The emblem's face: a heron's quill across a river-blue disc with a pale rim.
void Emblem(Canvas& canvas) {
    canvas.SetViewBox(0, 0, static_cast<float>(canvas.Width()), 1.0f);
    // Clear outside the disc: the face is a square, the emblem round.
    canvas.Paint([](Vec) { return WithAlpha(FromArgb(0xFF1C2838), 0.0f); });
    canvas.Draw(Shape::Circle({0.5f, 0.5f}, 0.48f), FromArgb(0xFFD8C89C));
    canvas.Draw(Shape::Circle({0.5f, 0.5f}, 0.44f), [](Vec p) {
        return Shade(FromArgb(0xFF2E5E78), 0.8f + 0.4f * (1 - p.y));
    });
    canvas.Draw(Shape::Polygon({{0.22f, 0.8f}, {0.74f, 0.2f}, {0.8f, 0.26f}, {0.3f, 0.84f}}), FromArgb(0xFFF0ECE0));
    canvas.Draw(Shape::Segment({0.2f, 0.86f}, {0.76f, 0.22f}, 0.015f), FromArgb(0xFF605040));
    canvas.ResetView();
}

// Under each actor: dark in the middle, fading to nothing at the edge.
void Shadow(Canvas& canvas) {
    PaintUnit(canvas, [](Vec p) {
        const float d = std::hypot(p.x - 0.5f, p.y - 0.5f) * 2;
        return WithAlpha(FromArgb(0xFF000000), std::clamp(0.6f * (1 - d * d), 0.0f, 0.6f));
    });
}

// Flat evening cloud for the sky layer; it tiles.
void Clouds(Canvas& canvas) {
    PaintUnit(canvas, [](Vec p) {
        const float n = 0.6f * Noise(p.x * 4, p.y * 4, 4, 211u) + 0.4f * Noise(p.x * 8, p.y * 8, 8, 213u);
        return Mix(FromArgb(0xFF403A58), FromArgb(0xFFB08878), std::clamp(n * 1.4f - 0.3f, 0.0f, 1.0f));
    });
}

}  // namespace

void PaintTitle(Canvas& canvas, const std::string& fontPath) {
    canvas.Paint([](Vec) { return WithAlpha(FromArgb(0xFF000000), 0.0f); });
    canvas.Draw(Shape::Box(4, 8, static_cast<float>(canvas.Width()) - 4, static_cast<float>(canvas.Height()) - 8, 12),
                WithAlpha(FromArgb(0xFF1C2838), 0.75f));
    const TextMask title = RenderTextMask(fontPath, 76, "Quillmere");
    const int x = (canvas.Width() - title.width) / 2, y = (canvas.Height() - title.height) / 2;
    canvas.DrawMask(title.coverage, title.width, x + 3, y + 3, FromArgb(0xFF000000));
    canvas.DrawMask(title.coverage, title.width, x, y, FromArgb(0xFFE8D8A8));
}

const std::vector<SampleTexture>& SampleTextures() {
    static const std::vector<SampleTexture> textures = {
        {"tile", "planks.png", 128, 128, Planks},
        {"tile", "mud.png", 128, 128, Mud},
        {"tile", "water.png", 64, 64, Water},
        {"tile", "reeds.png", 128, 128, Reeds},
        {"tile", "rushes.png", 64, 64, Rushes},
        {"tile", "deck.png", 128, 128, Deck},
        {"tile", "post.png", 32, 128, Post},
        {"tile", "door.png", 64, 128, Door},
        {"tile", "net.png", 64, 64, Net},
        {"tile", "stone_blocks.png", 64, 64, Stone},
        {"tile", "stone_flags.png", 128, 128, StoneFlags},
        {"object", "wood.png", 64, 64, Wood},
        {"object", "crate.png", 64, 64, Crate},
        {"object", "iron.png", 64, 64, Iron},
        {"object", "sign.png", 128, 64, Sign},
        {"object", "wicker.png", 64, 64, Wicker},
        {"object", "stone.png", 64, 64, Stone},
        {"object", "water.png", 64, 64, Water},
        {"object", "exit_arrow.png", 64, 64, ExitArrow},
        {"object", "sack.png", 64, 64, Sack},
        {"actor", "head.png", 32, 32, Head},
        {"actor", "tunic.png", 64, 64, Tunic},
        {"actor", "arm.png", 16, 64, Arm},
        {"actor", "trousers.png", 32, 64, Trousers},
        {"actor", "spirit.png", 64, 64, Spirit},
        {"item", "steel.png", 16, 64, Steel},
        {"item", "blue_steel.png", 16, 64, BlueSteel},
        {"item", "haft.png", 16, 64, Haft},
        {"item", "leather.png", 16, 64, Leather},
        {"actor", "x_shadow.png", 32, 32, Shadow},
        {"sky", "clouds.png", 64, 64, Clouds},
        {"icon", "emblem.png", 128, 128, Emblem},
        {"icon", "x_icon-back1.jpg", 512, 384, IconBackground},
    };
    return textures;
}

}  // namespace QuillmereTools
