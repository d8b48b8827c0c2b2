// Opens a window and draws one interface frame through the Direct3D layer on
// OpenGL: rectangles, a picture and wrapped text.
//
//   graphics_demo [--frames N] [--scale PERCENT] [--font FILE] [--screenshot FILE.png] [--check]
//
// Without --frames it redraws until the window is closed. --check compares the
// first frame with what the recording device drew for the same calls and exits
// with 1 on a difference. Headless: xvfb-run -a build/tools/graphics_demo --frames 1 --check

#include <SDL.h>
#include <SDL_image.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "common/data_file_memory.h"
#include "common/sdl_init.h"
#include "graphics_demo/demo_frame.h"
#include "graphics_demo/gl_window.h"

int main(int argc, char** argv) {
    int frames = 0;
    std::uint32_t scale = 100;
    std::string font = QUILLMERE_UI_FONT;
    std::string screenshot;
    bool check = false;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        const bool hasValue = i + 1 < argc;
        if (option == "--frames" && hasValue) frames = std::atoi(argv[++i]);
        else if (option == "--scale" && hasValue) scale = static_cast<std::uint32_t>(std::atoi(argv[++i]));
        else if (option == "--font" && hasValue) font = argv[++i];
        else if (option == "--screenshot" && hasValue) screenshot = argv[++i];
        else if (option == "--check") check = true;
        else {
            std::fprintf(stderr, "usage: %s [--frames N] [--scale PERCENT] [--font FILE] [--screenshot FILE.png] "
                                 "[--check]\n", argv[0]);
            return 2;
        }
    }
    if (scale < 100 || scale > 400) scale = 100;
    try {
        DRAVSDL::InitSDL sdl;
        DRAVCommon::CDataFileFactoryMemory source;
        source.Add(DRAVCommon::DFK_UI, DRAVCommon::DFS_NONE, "OpenSans-Regular.ttf", DRAVCommon::ReadWholeFile(font));
        const int width = static_cast<int>(320 * scale / 100), height = static_cast<int>(240 * scale / 100);
        QuillmereDemo::GLWindow window(width, height);
        DRAVCommon::CXPDevice device(window.Device());
        QuillmereDemo::CDemoFrame demo(&device, source, scale);
        for (int frame = 0; frames == 0 || frame < frames; ++frame) {
            SDL_Event event;
            bool quit = false;
            while (SDL_PollEvent(&event)) quit |= event.type == SDL_QUIT;
            if (quit) break;
            demo.Draw();
            if (frame == 0 && (check || !screenshot.empty())) {
                const auto pixels = window.Device()->ReadBackBuffer();
                if (!screenshot.empty()) {
                    std::unique_ptr<SDL_Surface, void (*)(SDL_Surface*)> surface(
                        SDL_CreateRGBSurfaceWithFormatFrom(const_cast<std::uint32_t*>(pixels.data()), width, height,
                                                           32, width * 4, SDL_PIXELFORMAT_ARGB8888),
                        SDL_FreeSurface);
                    if (!surface || IMG_SavePNG(surface.get(), screenshot.c_str()) != 0) throw DRAVSDL::CSDLException();
                }
                if (check) {
                    const auto mismatches = QuillmereDemo::CompareWithRecording(pixels, width, source, scale, height);
                    for (const auto& line : mismatches) std::fprintf(stderr, "graphics_demo: %s\n", line.c_str());
                    if (!mismatches.empty()) return 1;
                    std::printf("graphics_demo: the frame matches the recording device\n");
                }
            }
            window.Device()->Present(nullptr, nullptr, nullptr, nullptr);
            if (frames == 0) SDL_Delay(16);
        }
    } catch (const CDRAVException& error) {
        std::fprintf(stderr, "graphics_demo: %s\n", error.what());
        return 1;
    }
    return 0;
}
