// particle_images OUTPUT_FOLDER: draws the particle images of the sample module
// into OUTPUT_FOLDER. Each image is a mask of how much of a particle's three
// colours every pixel takes (red the first, green the second, blue the third),
// with its own alpha; "particles.drav" names them and gives the colours.

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

namespace QuillmereTools {
namespace {

constexpr int kSize = 64;
constexpr float kHalf = kSize / 2.0f;

float Distance(Vec p) { return std::sqrt((p.x - kHalf) * (p.x - kHalf) + (p.y - kHalf) * (p.y - kHalf)) / kHalf; }

float Smooth(float edge0, float edge1, float x) {
    float t = std::fmin(std::fmax((x - edge0) / (edge1 - edge0), 0.0f), 1.0f);
    return t * t * (3 - 2 * t);
}

// A soft disc: the first colour at the heart, the second toward the rim.
Colour Glow(Vec p) {
    float d = Distance(p);
    float heart = 1 - Smooth(0.0f, 0.55f, d);
    return {heart, 1 - heart, 0, 1 - Smooth(0.2f, 1.0f, d)};
}

// A four-pointed star of the first colour with a halo of the second.
Colour Spark(Vec p) {
    float dx = std::fabs(p.x - kHalf) / kHalf, dy = std::fabs(p.y - kHalf) / kHalf;
    float star = std::fmax(1 - Smooth(0.0f, 0.12f, dx * dy * 6 + (dx + dy) * 0.15f), 0.0f);
    float halo = 1 - Smooth(0.0f, 0.6f, Distance(p));
    return {star, halo * (1 - star), 0, std::fmin(1.0f, star + halo * 0.6f)};
}

// A cloudy puff: lobes of the first colour, shaded with the second underneath.
Colour Smoke(Vec p) {
    float d = Distance(p);
    float lobes = 0.5f + 0.25f * std::sin(p.x * 0.35f) * std::cos(p.y * 0.29f) + 0.25f * std::sin((p.x + p.y) * 0.17f);
    float shade = Smooth(0.3f, 1.0f, (p.y - kHalf) / kHalf + 0.5f);
    float alpha = (1 - Smooth(0.35f, 1.0f, d)) * (0.55f + 0.45f * lobes);
    return {1 - shade, shade, 0, alpha};
}

// A thin circle of the first colour fading to the second at its edges.
Colour Ripple(Vec p) {
    float band = std::fabs(Distance(p) - 0.7f);
    float core = 1 - Smooth(0.0f, 0.06f, band);
    float edge = 1 - Smooth(0.0f, 0.2f, band);
    return {core, edge * (1 - core), 0, edge};
}

// A streak along the image's width: the first colour ahead, the third trailing.
Colour Streak(Vec p) {
    float along = p.x / kSize, across = std::fabs(p.y - kHalf) / kHalf;
    float body = 1 - Smooth(0.05f, 0.25f, across);
    return {along, 0, 1 - along, body * Smooth(0.0f, 0.3f, along)};
}

struct Image {
    const char* name;
    std::function<Colour(Vec)> shader;
};

const Image kImages[] = {
    {"p_glow.png", Glow}, {"p_spark.png", Spark}, {"p_smoke.png", Smoke},
    {"p_ripple.png", Ripple}, {"p_streak.png", Streak},
};

}  // namespace
}  // namespace QuillmereTools

int main(int argc, char** argv) {
    using namespace QuillmereTools;
    if (argc != 2) {
        std::fprintf(stderr, "usage: particle_images OUTPUT_FOLDER\n");
        return 2;
    }
    try {
        if ((IMG_Init(IMG_INIT_PNG) & IMG_INIT_PNG) != IMG_INIT_PNG)
            throw std::runtime_error(std::string("IMG_Init: ") + IMG_GetError());
        std::filesystem::path folder(argv[1]);
        std::filesystem::create_directories(folder);
        for (const Image& image : kImages) {
            Canvas canvas(kSize, kSize);
            canvas.Paint([&](Vec p) { return image.shader(p); });
            SaveImage(canvas, (folder / image.name).string(), false);
        }
        IMG_Quit();
        std::printf("particle_images: %zu images into %s\n", std::size(kImages), argv[1]);
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "particle_images: %s\n", failure.what());
        return 1;
    }
    return 0;
}
