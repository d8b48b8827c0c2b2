// ui_images OUTPUT_FOLDER FONT: draws every image of the interface image table
// into OUTPUT_FOLDER under its table name (PNG or JPEG as the table says). FONT is
// the interface font, which also sets the logo's title.

#include <SDL.h>
#include <SDL_image.h>
#include <SDL_ttf.h>

#include <cstdio>
#include <exception>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

#include "ui/ui_image_table.h"
#include "ui_images/frames.h"
#include "ui_images/image_file.h"
#include "ui_images/pictograms.h"
#include "ui_images/pictures.h"
#include "ui_images/ui_image_palette.h"

namespace QuillmereTools {
namespace {

namespace P = UiPalette;

struct Size {
    int width, height;
};

// Most sizes are in the names; the paper doll and the help pictures are ours to choose.
Size SizeOf(int id) {
    switch (id) {
    case 1: return {192, 32};
    case 3: case 8: return {64, 32};
    case 2: case 5: case 6: case 7: case 68: case 69: case 84: return {64, 64};
    case 9: return {P::kPaperdollWidth, P::kPaperdollHeight};
    case 83: return {728, 180};
    case 107: return {256, 480};
    default: break;
    }
    if (id >= 44 && id <= 54) return {16, 16};
    if (id >= 85 && id <= 106) return {P::kHelpWidth, P::kHelpHeight};
    return {32, 32};
}

void Paint(Canvas& canvas, int id, const std::string& fontPath) {
    switch (id) {
    case 1: case 2: case 3: case 4: DrawButtonFace(canvas, ButtonFace::Hover); return;
    case 5: DrawButtonFace(canvas, ButtonFace::Idle); return;
    case 6: DrawButtonFace(canvas, ButtonFace::SelectedIdle); return;
    case 7: case 8: DrawButtonFace(canvas, ButtonFace::SelectedHover); return;
    case 9: DrawPaperdoll(canvas); return;
    case 10: DrawScrollThumb(canvas); return;
    case 83: DrawLogo(canvas, fontPath); return;
    case 107: DrawDeathPicture(canvas); return;
    default: break;
    }
    if (id >= 85 && id <= 106) {
        DrawHelpPicture(canvas, id - 85);
        return;
    }
    float size = static_cast<float>(canvas.Width());
    if (id == 68 || id == 69) {
        canvas.SetViewBox(0, 0, size, 64);
        DrawClockFace(canvas, id == 69);
    } else {
        canvas.SetViewBox(0, 0, size, 32);
        if (id == 11) DrawCrossMark(canvas);
        else if (IsPictogram(id)) DrawPictogram(canvas, id);
        else throw std::logic_error("no painter for UI image " + std::to_string(id));
    }
    canvas.ResetView();
}

}  // namespace
}  // namespace QuillmereTools

int main(int argc, char** argv) {
    using namespace QuillmereTools;
    if (argc != 3) {
        std::fprintf(stderr, "usage: ui_images OUTPUT_FOLDER FONT\n");
        return 2;
    }
    try {
        if ((IMG_Init(IMG_INIT_PNG | IMG_INIT_JPG) & (IMG_INIT_PNG | IMG_INIT_JPG)) != (IMG_INIT_PNG | IMG_INIT_JPG))
            throw std::runtime_error(std::string("IMG_Init: ") + IMG_GetError());
        std::filesystem::path folder(argv[1]);
        std::filesystem::create_directories(folder);
        int count = 0;
        for (int id = 1; id < DRAVUI::kUiImageCount; ++id) {
            std::string base, extension;
            DRAVUI::GetUiImageName(id, base, extension);
            Size size = SizeOf(id);
            Canvas canvas(size.width, size.height);
            Paint(canvas, id, argv[2]);
            SaveImage(canvas, (folder / (base + "." + extension)).string(), extension == "jpg");
            ++count;
        }
        if (TTF_WasInit()) TTF_Quit();
        IMG_Quit();
        std::printf("ui_images: %d images into %s\n", count, argv[1]);
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "ui_images: %s\n", failure.what());
        return 1;
    }
    return 0;
}
