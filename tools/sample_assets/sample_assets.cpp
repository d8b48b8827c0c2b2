// sample_assets ROOT FONT: writes the sample module's DirectX models, texture images and
// travel-map pictures into the kind folders of the module folder ROOT (tile\mod, tile\tex,
// object\mod, ...); the title screen's name is drawn with the TrueType font FONT.

#include <SDL.h>
#include <SDL_image.h>

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "sample_assets/models.h"
#include "sample_assets/textures.h"
#include "sample_assets/world_map.h"
#include "ui_images/image_file.h"

int main(int argc, char** argv) {
    using namespace QuillmereTools;
    if (argc != 3) {
        std::fprintf(stderr, "usage: sample_assets MODULE_FOLDER FONT\n");
        return 2;
    }
    try {
        if ((IMG_Init(IMG_INIT_PNG) & IMG_INIT_PNG) == 0) throw std::runtime_error(std::string("IMG_Init: ") + IMG_GetError());
        const std::filesystem::path root(argv[1]);
        for (const SampleModel& model : SampleModels()) {
            const auto folder = root / model.kind / "mod";
            std::filesystem::create_directories(folder);
            std::ofstream out(folder / model.name, std::ios::binary | std::ios::trunc);
            out << model.build().ToText();
            if (!out.flush()) throw std::runtime_error("cannot write " + (folder / model.name).string());
        }
        for (const SampleTexture& texture : SampleTextures()) {
            const auto folder = root / texture.kind / "tex";
            std::filesystem::create_directories(folder);
            Canvas canvas(texture.width, texture.height);
            texture.paint(canvas);
            SaveImage(canvas, (folder / texture.name).string(), texture.name.ends_with(".jpg"));
        }
        {
            const auto folder = root / "icon" / "tex";
            Canvas canvas(512, 128);
            PaintTitle(canvas, argv[2]);
            SaveImage(canvas, (folder / "title.png").string(), false);
        }
        for (const SampleMapPicture& picture : SampleMapPictures()) {
            const auto folder = root / "map";
            std::filesystem::create_directories(folder);
            Canvas canvas(kWorldMapWidth, kWorldMapHeight);
            picture.paint(canvas);
            SaveImage(canvas, (folder / picture.name).string(), picture.jpeg);
        }
        IMG_Quit();
        std::printf("sample_assets: %zu models and %zu textures into %s\n", SampleModels().size(),
                    SampleTextures().size(), argv[1]);
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "sample_assets: %s\n", failure.what());
        return 1;
    }
    return 0;
}
