#include "ui_images/pictures.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

#include "ui_images/pictograms.h"
#include "ui_images/text_mask.h"
#include "ui_images/ui_image_palette.h"

namespace QuillmereTools {
namespace {

using namespace Shape;
namespace P = UiPalette;

Colour C(std::uint32_t argb) { return FromArgb(argb); }

// A repeatable value in [0, 1) for the n-th thing of a picture.
float Hash(std::uint32_t n) {
    n = (n ^ 61u) ^ (n >> 16);
    n *= 9u;
    n ^= n >> 4;
    n *= 0x27d4eb2du;
    n ^= n >> 15;
    return static_cast<float>(n & 0xFFFFFF) / 16777216.0f;
}

// Rolling ground made of a few slow waves, so no two pictures share a pattern.
float Undulation(Vec p, float seed) {
    return 0.5f + 0.22f * std::sin(p.x * 0.021f + seed) * std::sin(p.y * 0.029f - seed * 0.7f) +
           0.15f * std::sin((p.x + p.y) * 0.013f + seed * 1.3f) + 0.08f * std::sin(p.x * 0.047f - p.y * 0.031f + seed) +
           0.05f * std::sin(p.y * 0.09f + p.x * 0.02f);
}

// A stand of reeds with cattail heads, stalks rising from `baseY`.
void Reeds(Canvas& c, float left, float right, float baseY, int count, float height, std::uint32_t seed, Colour stalk,
           Colour head) {
    for (int i = 0; i < count; ++i) {
        float x = left + (right - left) * Hash(seed + i * 3);
        float h = height * (0.55f + 0.45f * Hash(seed + i * 3 + 1));
        float lean = (Hash(seed + i * 3 + 2) - 0.5f) * height * 0.25f;
        Vec top{x + lean, baseY - h};
        c.Draw(Segment({x, baseY}, top, std::max(1.5f, height * 0.025f)), stalk);
        if (i % 3 == 0) {
            Vec mid{x + lean * 0.8f, baseY - h * 0.8f};
            c.Draw(Segment(mid, {top.x + lean * 0.1f, top.y + h * 0.08f}, std::max(3.0f, height * 0.07f)), head);
        } else {
            c.Draw(Segment({x, baseY - h * 0.3f}, {x + lean * 2.2f + (i % 2 ? 1 : -1) * h * 0.2f, baseY - h * 0.75f},
                           std::max(1.2f, height * 0.02f)),
                   stalk);
        }
    }
}

// A pictogram of the icon table at `size` pixels with its top-left at (x, y).
void Icon(Canvas& c, int id, float x, float y, float size) {
    c.SetViewBox(x, y, size, 32);
    DrawPictogram(c, id);
    c.ResetView();
}

void Figure(Canvas& c, float x, float y, float size, Colour fill) {
    c.SetViewBox(x, y, size, 32);
    DrawFigure(c, fill, 1.5f);
    c.ResetView();
}

void Bevel(Canvas& c, float l, float t, float r, float b, Colour light, Colour dark) {
    c.Draw(Box(l, t, r, t + 1), light);
    c.Draw(Box(l, t + 1, l + 1, b - 1), light);
    c.Draw(Box(l, b - 1, r, b), dark);
    c.Draw(Box(r - 1, t + 1, r, b - 1), dark);
}

void Panel(Canvas& c, float l, float t, float r, float b) {
    c.Draw(Box(l, t, r, b), Colour{0, 0, 0, 0.75f});
    Bevel(c, l, t, r, b, C(0xFFFFFFFF), C(0xFF808080));
}

// ---- the game screen ------------------------------------------------------

void MarshGround(Canvas& c, int page) {
    float seed = static_cast<float>(page) * 1.7f;
    Colour low = C(P::kReedDark), high = C(P::kMoss), water = C(P::kWater);
    c.Paint([&](Vec p) {
        float u = Undulation(p, seed);
        Colour ground = Mix(low, high, std::clamp(u, 0.0f, 1.0f));
        return u < 0.33f ? Mix(water, ground, std::clamp((u - 0.25f) / 0.08f, 0.0f, 1.0f)) : ground;
    });
    for (int x = 0; x < c.Width(); x += 32) c.Draw(Box(float(x), 0, x + 1.0f, float(c.Height())), Colour{0, 0, 0, 0.08f});
    for (int y = 0; y < c.Height(); y += 32) c.Draw(Box(0, float(y), float(c.Width()), y + 1.0f), Colour{0, 0, 0, 0.08f});
    for (int k = 0; k < 4; ++k) {
        float x = 40 + 430 * Hash(page * 17 + k), y = 60 + 240 * Hash(page * 17 + k + 5);
        Reeds(c, x - 20, x + 20, y, 9, 46, page * 101 + k * 13, C(P::kReed), C(P::kBark));
    }
    c.Grain(0.05f, static_cast<std::uint32_t>(page) + 7);
}

// The party of three, selected, and (for fights) two marsh raiders.
void Actors(Canvas& c, bool foes) {
    const float xs[] = {150, 195, 240};
    for (float x : xs) {
        c.Draw(Ring({x + 20, 232}, 17, 3), C(0xFF9CCB4A));
        Figure(c, x, 192, 40, C(P::kParchment));
    }
    if (foes) {
        for (float x : {330.0f, 372.0f}) {
            c.Draw(Ring({x + 20, 212}, 17, 3), C(P::kRust));
            Figure(c, x, 172, 40, Mix(C(P::kRust), C(P::kBone), 0.3f));
        }
    }
}

// The bottom bar of quick-action slots, the top-right buttons and the clock.
void ScreenControls(Canvas& c) {
    c.Draw(Box(0, 330, 512, 384), Colour{0, 0, 0, 0.6f});
    const int slotIcons[] = {67, 66, 17, 60, 64, 57, 18, 81};
    for (int i = 0; i < 8; ++i) {
        float x = 8 + 44.0f * i;
        Bevel(c, x, 336, x + 40, 376, C(0xFF808080), C(0xFF404040));
        Icon(c, slotIcons[i], x + 4, 340, 32);
    }
    c.Draw(Box(456, 328, 504, 376), Colour{0, 0, 0, 0.75f});
    c.SetViewBox(448, 320, 64, 64);
    DrawClockFace(c, false);
    c.ResetView();
    for (int i = 0; i < 2; ++i) {
        float x = 424 + 44.0f * i;
        c.Draw(Box(x, 8, x + 40, 48), Colour{0, 0, 0, 0.75f});
        Bevel(c, x, 8, x + 40, 48, C(0xFFFFFFFF), C(0xFF808080));
        Icon(c, i == 0 ? 74 : 77, x + 4, 12, 32);
    }
}

// A parchment disc holding the page's subject, with a line to what it explains.
void Callout(Canvas& c, int icon, Vec at, Vec target) {
    c.Draw(Segment(at, target, 3), C(P::kInk));
    c.Draw(Segment(at, target, 1.5f), C(P::kStraw));
    c.Draw(Circle(target, 5), C(P::kStraw));
    c.DrawOutlined(Circle(at, 44), C(P::kParchment), C(P::kInk), 3);
    c.Draw(Ring(at, 39, 2), C(P::kParchmentDark));
    Icon(c, icon, at.x - 32, at.y - 32, 64);
}

struct ScenePage {
    int icon;
    Vec callout, target;
    bool foes;
};

// ---- the dialog pages -------------------------------------------------------

enum class Sheet { Info, Inventory, Journal, Abilities, Action, Store };

void SheetFrame(Canvas& c, int activeTab) {
    Panel(c, 20, 16, 492, 368);
    c.Draw(Box(21, 17, 491, 44), WithAlpha(C(P::kReedDark), 0.9f));
    for (int i = 0; i < 4; ++i) {
        float x = 40 + 64.0f * i;
        if (i == activeTab) c.Draw(Box(x, 22, x + 56, 44, 3), WithAlpha(C(P::kParchmentDark), 0.9f));
        Bevel(c, x, 22, x + 56, 44, C(0xFFFFFFFF), C(0xFF808080));
    }
    Icon(c, 77, 452, 19, 24);
}

void Rows(Canvas& c, float l, float t, float r, int count, float step, std::uint32_t seed) {
    for (int i = 0; i < count; ++i) {
        float len = (r - l) * (0.45f + 0.55f * Hash(seed + i));
        c.Draw(Box(l, t + step * i, l + len, t + step * i + 4, 2), WithAlpha(C(P::kParchment), 0.7f));
    }
}

void Progress(Canvas& c, float l, float t, float w, float fraction, Colour colour) {
    Bevel(c, l, t, l + w, t + 10, C(0xFF808080), C(0xFFFFFFFF));
    c.Draw(Box(l + 1, t + 1, l + 1 + (w - 2) * fraction, t + 9), colour);
}

void IconGrid(Canvas& c, const std::vector<int>& icons, float l, float t, int columns, float cell) {
    for (std::size_t i = 0; i < icons.size(); ++i) {
        float x = l + cell * static_cast<float>(i % columns), y = t + cell * static_cast<float>(i / columns);
        Bevel(c, x, y, x + cell - 4, y + cell - 4, C(0xFF808080), C(0xFF404040));
        float pad = (cell - 4 - 32) / 2;
        Icon(c, icons[i], x + pad, y + pad, 32);
    }
}

void DrawSheet(Canvas& c, Sheet sheet) {
    switch (sheet) {
    case Sheet::Info:
        SheetFrame(c, 0);
        Icon(c, 29, 48, 64, 96);
        Rows(c, 170, 72, 300, 6, 20, 11);
        for (int i = 0; i < 3; ++i)
            Progress(c, 320, 72 + 24.0f * i, 150, 0.4f + 0.2f * i, i == 0 ? C(0xFFFF0000) : i == 1 ? C(0xFF0000FF) : C(P::kStraw));
        Rows(c, 48, 200, 470, 7, 20, 23);
        break;
    case Sheet::Inventory:
        SheetFrame(c, 1);
        c.SetView(-62, 52, 9);
        DrawFigure(c, WithAlpha(C(P::kBone), 0.18f), 0);
        c.ResetView();
        IconGrid(c, {14, 15, 12, 23, 13, 16}, 40, 70, 2, 44);
        IconGrid(c, {17, 17, 18, 20, 21, 19, 22, 27, 24, 25, 26, 20}, 236, 70, 4, 44);
        Rows(c, 236, 340, 470, 1, 0, 5);
        break;
    case Sheet::Journal:
        SheetFrame(c, 2);
        c.DrawOutlined(Box(48, 60, 464, 348, 4), C(P::kParchment), C(P::kInk), 2);
        for (int i = 0; i < 11; ++i) {
            float len = 300 * (0.5f + 0.5f * Hash(40 + i));
            c.Draw(Box(68, 80 + 24.0f * i, 68 + len, 84 + 24.0f * i, 2), WithAlpha(C(P::kInk), i % 4 == 0 ? 0.8f : 0.45f));
        }
        Icon(c, 18, 400, 72, 48);
        break;
    case Sheet::Abilities:
        SheetFrame(c, 3);
        IconGrid(c, {58, 59, 60, 61, 62, 63, 64, 65, 55, 56, 57, 67}, 48, 64, 4, 52);
        Rows(c, 280, 72, 470, 10, 24, 71);
        break;
    case Sheet::Action:
        Panel(c, 96, 40, 416, 344);
        c.Draw(Box(97, 41, 415, 68), WithAlpha(C(P::kReedDark), 0.9f));
        IconGrid(c, {66, 67, 80, 73, 76, 75, 70, 74, 81, 57, 17, 18}, 124, 84, 4, 66);
        break;
    case Sheet::Store:
        Panel(c, 20, 16, 492, 368);
        c.Draw(Box(21, 17, 491, 44), WithAlpha(C(P::kReedDark), 0.9f));
        IconGrid(c, {17, 17, 13, 14, 23, 12, 27, 19}, 36, 60, 2, 44);
        IconGrid(c, {18, 20, 22, 16}, 380, 60, 2, 44);
        Rows(c, 128, 66, 340, 8, 28, 91);
        Icon(c, 21, 224, 300, 48);
        Progress(c, 284, 318, 120, 0.6f, C(P::kStraw));
        break;
    }
}

}  // namespace

void DrawLogo(Canvas& c, const std::string& fontPath) {
    const float horizon = 124;
    Colour skyTop = C(0xFF3E5E55), skyLow = C(0xFFD9C38A), waterTop = C(0xFF3A5856), waterLow = C(P::kWaterDark);
    c.Paint([&](Vec p) {
        if (p.y < horizon) return Mix(skyTop, skyLow, std::pow(p.y / horizon, 1.6f));
        float t = (p.y - horizon) / (180 - horizon);
        Colour water = Mix(waterTop, waterLow, t);
        // Long ripples catch the low sun.
        float glint = std::max(0.0f, std::sin(p.y * 1.3f + std::sin(p.x * 0.05f) * 2.0f)) *
                      std::max(0.0f, 1 - std::fabs(p.x - 600) / 140);
        return Mix(water, skyLow, glint * 0.45f * (1 - t));
    });
    c.Draw(Circle({600, horizon - 6}, 60), WithAlpha(C(P::kStraw), 0.18f));
    c.Draw(Intersect(Circle({600, horizon - 6}, 30), Box(0, 0, 728, horizon)), WithAlpha(C(0xFFF2DC9A), 0.95f));
    std::vector<Vec> hills{{0, horizon}};
    for (int i = 0; i <= 28; ++i) hills.push_back({i * 26.0f, horizon - 6 - 10 * Hash(300 + i) - 4 * std::sin(i * 0.6f)});
    hills.push_back({728, horizon});
    c.Draw(Polygon(hills), WithAlpha(C(P::kReedDark), 0.85f));
    Reeds(c, -10, 140, 182, 46, 130, 7, C(P::kInk), C(P::kBark));
    Reeds(c, 600, 740, 182, 40, 110, 91, C(P::kInk), C(P::kBark));
    Reeds(c, 140, 600, 182, 30, 38, 400, WithAlpha(C(P::kReedDark), 0.9f), C(P::kBark));

    // The quill that names the game, left of the title.
    c.SetViewBox(112, 18, 132, 32);
    Sdf feather = Polygon({{28, 1}, {24, 10}, {16, 20}, {8, 27}, {5.5f, 27.5f}, {9, 19}, {17, 9}});
    c.DrawOutlined(feather, C(P::kParchment), C(P::kInk), 0.5f);
    c.Draw(Segment({28, 1}, {3, 31}, 0.5f), C(P::kBark));
    for (int i = 0; i < 5; ++i) {
        float t = 0.25f + 0.12f * i;
        c.Draw(Segment({28 - 25 * t, 1 + 30 * t}, {28 - 25 * t + 3, 1 + 30 * t + 1.5f}, 0.35f), WithAlpha(C(P::kParchmentDark), 0.9f));
    }
    c.ResetView();

    TextMask title = RenderTextMask(fontPath, 88, "Quillmere");
    int x = 250 + (440 - title.width) / 2, y = (150 - title.height) / 2;
    c.DrawMask(title.coverage, title.width, x + 3, y + 4, WithAlpha(C(P::kInk), 0.8f));
    c.DrawMask(title.coverage, title.width, x, y, C(P::kParchment));
}

void DrawHelpPicture(Canvas& c, int page) {
    static const ScenePage kScenes[16] = {
        {77, {96, 100}, {190, 210}, false},  {80, {380, 110}, {300, 220}, false},
        {18, {390, 120}, {255, 200}, false}, {20, {100, 110}, {110, 250}, false},
        {17, {110, 100}, {124, 356}, false}, {73, {380, 130}, {235, 215}, false},
        {67, {110, 110}, {350, 200}, true},  {72, {380, 130}, {215, 200}, false},
        {29, {96, 100}, {170, 210}, false},  {81, {390, 130}, {300, 260}, false},
        {73, {96, 110}, {170, 215}, false},  {82, {390, 140}, {255, 215}, false},
        {76, {340, 180}, {480, 352}, false}, {57, {250, 160}, {250, 340}, false},
        {50, {380, 120}, {170, 195}, true},  {77, {300, 140}, {488, 28}, false},
    };
    if (page < 0 || page > 21) throw std::out_of_range("help page " + std::to_string(page));
    MarshGround(c, page);
    if (page < 16) {
        const ScenePage& scene = kScenes[page];
        Actors(c, scene.foes);
        ScreenControls(c);
        Callout(c, scene.icon, scene.callout, scene.target);
        return;
    }
    static const Sheet kSheets[6] = {Sheet::Info, Sheet::Inventory, Sheet::Journal, Sheet::Abilities, Sheet::Action, Sheet::Store};
    DrawSheet(c, kSheets[page - 16]);
}

void DrawDeathPicture(Canvas& c) {
    const float horizon = 300;
    Colour skyTop = C(P::kMarshNight), skyLow = C(0xFF2E4442), water = C(0xFF101816);
    c.Paint([&](Vec p) {
        if (p.y < horizon) return Mix(skyTop, skyLow, p.y / horizon);
        float ripple = std::max(0.0f, std::sin(p.y * 0.9f + std::sin(p.x * 0.08f) * 1.5f)) *
                       std::max(0.0f, 1 - std::fabs(p.x - 180) / 40) * std::max(0.0f, 1 - (p.y - horizon) / 120);
        return Mix(water, C(0xFFB8BDA8), ripple * 0.5f);
    });
    for (int i = 0; i < 24; ++i)
        c.Draw(Circle({256 * Hash(500 + i), 260 * Hash(600 + i)}, 0.6f + Hash(700 + i)), WithAlpha(C(P::kBone), 0.7f));
    c.Draw(Circle({180, 90}, 44), WithAlpha(C(P::kBone), 0.08f));
    c.Draw(Circle({180, 90}, 26), WithAlpha(C(0xFFE4E6D6), 0.92f));
    c.Draw(Box(0, horizon - 8, 256, horizon + 2), WithAlpha(C(P::kInk), 0.9f));
    // The grave on its mound, the fallen helmet and blade before it.
    c.Draw(Ellipse({128, 404}, 110, 26), C(0xFF1B2619));
    Icon(c, 28, 48, 238, 160);
    Icon(c, 14, 36, 380, 56);
    Icon(c, 23, 150, 376, 64);
    // Moonlight only: the stone and the gear sink into the night's blue.
    c.Draw(Box(0, 200, 256, 480), WithAlpha(C(0xFF0E1A22), 0.45f));
    Reeds(c, -10, 40, 480, 18, 170, 31, C(0xFF0B110D), C(0xFF1E1610));
    Reeds(c, 216, 266, 480, 18, 180, 77, C(0xFF0B110D), C(0xFF1E1610));
    c.Draw(Box(0, 0, 256, 480), [](Vec p) {
        float dx = (p.x - 128) / 128, dy = (p.y - 240) / 240;
        return Colour{0, 0, 0, std::clamp((dx * dx + dy * dy - 0.35f) * 0.6f, 0.0f, 0.6f)};
    });
}

void DrawPaperdoll(Canvas& c) {
    // The figure spans 22 units across and 30 down, from 1 to 31.
    float scale = std::min(static_cast<float>(c.Height()) / 32, static_cast<float>(c.Width()) / 23);
    c.SetView(c.Width() / 2.0f - 16 * scale, c.Height() / 2.0f - 16 * scale, scale);
    DrawFigure(c, C(P::kBone), 0.25f);
    c.ResetView();
}

}  // namespace QuillmereTools
