// chapter_pictures ROOT: paints the chapter pictures of the sample module into the
// chapter folders of the module folder ROOT: for chapters 1 and 2 "thumb.jpg"
// (64 x 64, the front page's chapter button) and "chapter.jpg" (728 x 364, the
// chapter's own page), for chapter 1 "next.jpg" (728 x 364, what it announces of
// chapter 2; chapter 2, the last, announces none), and the pictures of each
// chapter's closing pages.
//
// Every scene is painted in a 728 x 364 space; a thumbnail is the middle square
// of its chapter's picture.

#include <SDL.h>
#include <SDL_image.h>

#include <cmath>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>

#include "ui_images/canvas.h"
#include "ui_images/image_file.h"

namespace {

using namespace QuillmereTools;

constexpr float kSceneWidth = 728.0f;
constexpr float kSceneHeight = 364.0f;
constexpr float kHorizon = 170.0f;

const Colour kInk = FromArgb(0xFF201810);
const Colour kTimber = FromArgb(0xFF5A3A22);
const Colour kStone = FromArgb(0xFF7A7468);
const Colour kLamp = FromArgb(0xFFF0C040);

struct Light {
    Colour skyTop, skyLow, water, land;
};

const Light kDusk{FromArgb(0xFF2A2848), FromArgb(0xFFD88850), FromArgb(0xFF344C6C), FromArgb(0xFF3C4424)};
const Light kMorning{FromArgb(0xFF5A88B8), FromArgb(0xFFD8D0B0), FromArgb(0xFF3C6488), FromArgb(0xFF5A6A34)};

// Sky, far bank and river: the ground of every scene.
void PaintCountry(Canvas& canvas, const Light& light) {
    canvas.Paint([&](Vec p) {
        if (p.y < kHorizon) return Mix(light.skyTop, light.skyLow, std::pow(p.y / kHorizon, 1.6f));
        const float bank = kHorizon + 40.0f + 12.0f * std::sin(p.x * 0.011f);
        if (p.y < bank) return Mix(light.land, kInk, 0.2f + 0.1f * std::sin(p.x * 0.07f));
        const float ripple = 0.12f * std::sin(p.x * 0.05f + p.y * 0.6f);
        return Mix(light.water, light.skyLow, 0.15f + ripple);
    });
    // Reeds along the near bank.
    for (int i = 0; i < 40; ++i) {
        const float x = 8.0f + static_cast<float>(i) * 18.3f;
        const float lean = std::sin(static_cast<float>(i) * 1.7f) * 6.0f;
        canvas.Draw(Shape::Segment({x, 364}, {x + lean, 300.0f - static_cast<float>(i % 5) * 9.0f}, 2.5f),
                    Mix(light.land, kInk, 0.5f));
    }
}

// A lit lantern or lamp and the glow about it.
void PaintLamp(Canvas& canvas, Vec centre, float radius) {
    canvas.Draw(Shape::Circle(centre, radius * 3), WithAlpha(kLamp, 0.25f));
    canvas.Draw(Shape::Circle(centre, radius), kLamp);
}

// Chapter 1: the ferry landing at dusk, jetty, boathouse and the keeper's lamp lit;
// also the closing page's, the evening after the crossing, the ferry back at the jetty.
void PaintLanding(Canvas& canvas) {
    PaintCountry(canvas, kDusk);
    canvas.Draw(Shape::Box(300, 226, 560, 238), kTimber);
    for (float x = 310; x < 560; x += 50) canvas.Draw(Shape::Box(x, 236, x + 8, 280), kTimber);
    canvas.Draw(Shape::Box(140, 150, 280, 220, 3), Mix(kTimber, kInk, 0.3f));
    canvas.Draw(Shape::Polygon({{130, 152}, {210, 104}, {290, 152}}), Mix(kTimber, kInk, 0.55f));
    canvas.Draw(Shape::Box(196, 176, 224, 220), kInk);
    canvas.Draw(Shape::Segment({520, 226}, {520, 170}, 3), kInk);
    PaintLamp(canvas, {520, 164}, 6);
    // The ferry, moored at the end of the jetty.
    canvas.Draw(Shape::Polygon({{560, 250}, {690, 250}, {670, 274}, {580, 274}}), Mix(kTimber, kInk, 0.4f));
    canvas.Grain(0.04f, 21);
}

// Chapter 2: the stone weir across the river, water spilling white over it.
void PaintWeir(Canvas& canvas, const Light& light, std::uint32_t seed) {
    PaintCountry(canvas, light);
    canvas.Draw(Shape::Box(0, 232, 728, 256), kStone);
    for (float x = 0; x < 728; x += 36) canvas.Draw(Shape::Box(x, 232, x + 2, 256), Mix(kStone, kInk, 0.5f));
    for (float x = 6; x < 728; x += 14)
        canvas.Draw(Shape::Segment({x, 258}, {x + 3, 290}, 4), WithAlpha(FromArgb(0xFFE8F0F8), 0.7f));
    // The toll-keeper's house on the far bank.
    canvas.Draw(Shape::Box(470, 140, 590, 206, 2), Mix(kStone, kInk, 0.25f));
    canvas.Draw(Shape::Polygon({{460, 142}, {530, 100}, {600, 142}}), Mix(kTimber, kInk, 0.5f));
    canvas.Draw(Shape::Box(520, 168, 540, 188), kLamp);
    canvas.Grain(0.04f, seed);
}

// The end of chapter 1, the morning after the crossing: the sun up over the marsh
// and the Reed Wardens' boat coming up the channel with its lantern still lit,
// whatever became of the smugglers.
void PaintQuietMarsh(Canvas& canvas) {
    PaintCountry(canvas, kMorning);
    canvas.Draw(Shape::Circle({600, 150}, 30), WithAlpha(FromArgb(0xFFFFF0C8), 0.9f));
    canvas.Draw(Shape::Polygon({{120, 262}, {260, 262}, {240, 284}, {140, 284}}), Mix(kTimber, kInk, 0.5f));
    canvas.Draw(Shape::Segment({236, 262}, {236, 214}, 3), kInk);
    PaintLamp(canvas, {236, 208}, 5);
    canvas.Grain(0.04f, 41);
}

// The end of chapter 1, the evening of the crossing: the ferry pulling away from
// the dock at dusk, the keeper's lamp just lit behind it.
void PaintFerryCrossing(Canvas& canvas) {
    PaintCountry(canvas, kDusk);
    canvas.Draw(Shape::Box(300, 226, 560, 238), kTimber);
    canvas.Draw(Shape::Segment({520, 226}, {520, 170}, 3), kInk);
    PaintLamp(canvas, {520, 164}, 6);
    canvas.Draw(Shape::Polygon({{330, 262}, {470, 262}, {450, 286}, {350, 286}}), Mix(kTimber, kInk, 0.4f));
    canvas.Draw(Shape::Segment({400, 262}, {400, 214}, 3), kInk);
    canvas.Grain(0.04f, 43);
}

// The end of chapter 2: the held boats going down over the weir in the morning.
void PaintBoatsOverWeir(Canvas& canvas) {
    PaintWeir(canvas, kMorning, 47);
    for (const float x : {120.0f, 300.0f}) {
        canvas.Draw(Shape::Polygon({{x, 214}, {x + 130, 214}, {x + 112, 232}, {x + 18, 232}}), Mix(kTimber, kInk, 0.35f));
        canvas.Draw(Shape::Box(x + 40, 198, x + 70, 214, 2), FromArgb(0xFFD8C8A0));  // bales of cloth
    }
    canvas.Draw(Shape::Polygon({{470, 266}, {600, 266}, {584, 290}, {486, 290}}), Mix(kTimber, kInk, 0.45f));
}

// Marrow's ledger open by the toll lamp on Sefton's table.
void PaintLedger(Canvas& canvas) {
    canvas.Paint([](Vec p) { return Mix(FromArgb(0xFF2A1C14), FromArgb(0xFF5A3A22), p.y / kSceneHeight); });
    canvas.Draw(Shape::Circle({600, 110}, 90), WithAlpha(kLamp, 0.18f));
    canvas.Draw(Shape::Circle({600, 110}, 20), kLamp);
    canvas.Draw(Shape::Polygon({{150, 300}, {364, 280}, {364, 120}, {170, 136}}), FromArgb(0xFFE8DCC0));
    canvas.Draw(Shape::Polygon({{364, 280}, {578, 300}, {558, 136}, {364, 120}}), FromArgb(0xFFF0E6CC));
    // Lines of Marrow's hand, and on the last page a mill wheel drawn in the margin.
    for (float y = 156; y < 270; y += 14) {
        canvas.Draw(Shape::Segment({190, y + (300 - y) * 0.05f}, {345, y - 6}, 1.5f), WithAlpha(kInk, 0.7f));
        if (y < 210) canvas.Draw(Shape::Segment({385, y - 6}, {520, y + (y - 120) * 0.08f}, 1.5f), WithAlpha(kInk, 0.7f));
    }
    canvas.Draw(Shape::Ring({470, 246}, 26, 3), kInk);
    for (int spoke = 0; spoke < 6; ++spoke) {
        const float angle = static_cast<float>(spoke) * 1.047198f;
        canvas.Draw(Shape::Segment({470, 246}, {470 + 26 * std::cos(angle), 246 + 26 * std::sin(angle)}, 2), kInk);
    }
    canvas.Grain(0.05f, 53);
}

struct Scene {
    int chapter;
    const char* name;
    std::function<void(Canvas&)> paint;
    bool thumbnail;  // the chapter's picture, also shrunk for its button
};

void Write(const std::function<void(Canvas&)>& paint, int width, int height, const std::filesystem::path& path) {
    Canvas canvas(width, height);
    if (width == height) {
        // The middle square of the scene.
        const float scale = static_cast<float>(width) / kSceneHeight;
        canvas.SetView(-(kSceneWidth - kSceneHeight) / 2.0f * scale, 0, scale);
    } else {
        canvas.SetView(0, 0, static_cast<float>(width) / kSceneWidth);
    }
    paint(canvas);
    SaveImage(canvas, path.string(), true);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: chapter_pictures MODULE_FOLDER\n");
        return 2;
    }
    try {
        if ((IMG_Init(IMG_INIT_JPG) & IMG_INIT_JPG) == 0)
            throw std::runtime_error(std::string("IMG_Init: ") + IMG_GetError());
        const std::filesystem::path root(argv[1]);
        const Scene scenes[] = {
            {1, "chapter.jpg", PaintLanding, true},
            {1, "next.jpg", [](Canvas& c) { PaintWeir(c, kDusk, 29); }, false},
            {2, "chapter.jpg", [](Canvas& c) { PaintWeir(c, kMorning, 31); }, true},
        };
        for (const Scene& scene : scenes) {
            const auto folder = root / std::to_string(scene.chapter);
            std::filesystem::create_directories(folder);
            Write(scene.paint, 728, 364, folder / scene.name);
            if (scene.thumbnail) Write(scene.paint, 64, 64, folder / "thumb.jpg");
        }
        // The pages that end each chapter, pictures of the module's "ui" folder named for the chapter.
        std::filesystem::create_directories(root / "ui");
        Write(PaintFerryCrossing, 728, 364, root / "ui" / "win1_ferry.jpg");
        Write(PaintQuietMarsh, 728, 364, root / "ui" / "win1_marsh.jpg");
        Write(PaintBoatsOverWeir, 728, 364, root / "ui" / "win2_boats.jpg");
        Write(PaintLedger, 728, 364, root / "ui" / "win2_ledger.jpg");
        IMG_Quit();
        std::printf("chapter_pictures: chapters 1 and 2 into %s\n", argv[1]);
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "chapter_pictures: %s\n", failure.what());
        return 1;
    }
    return 0;
}
