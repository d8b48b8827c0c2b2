// Enters the sample chapter's start area and draws it through the graphics manager
// on the OpenGL device, the game running one engine tick a frame.
//
//   scene_viewer [--module DIR] [--frames N] [--screenshot FILE.png] [--all]
//
// Arrow keys move the point looked at; --all shows every cell, not only those the
// party has seen. Headless: xvfb-run -a build/tools/scene_viewer --frames 1 --screenshot a.png

#include <SDL.h>
#include <SDL_image.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "common/exception.h"
#include "common/sdl_init.h"
#include "graphics_demo/gl_window.h"
#include "scene_viewer/scene_view.h"

int main(int argc, char** argv) {
    std::string module = QUILLMERE_SAMPLE_DIR;
    std::string screenshot;
    int frames = 0;
    bool all = false;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        const bool hasValue = i + 1 < argc;
        if (option == "--module" && hasValue) module = argv[++i];
        else if (option == "--frames" && hasValue) frames = std::atoi(argv[++i]);
        else if (option == "--screenshot" && hasValue) screenshot = argv[++i];
        else if (option == "--all") all = true;
        else {
            std::fprintf(stderr, "usage: %s [--module DIR] [--frames N] [--screenshot FILE.png] [--all]\n", argv[0]);
            return 2;
        }
    }
    try {
        DRAVSDL::InitSDL sdl;
        constexpr int kWidth = 1024, kHeight = 768;
        QuillmereDemo::GLWindow window(kWidth, kHeight);
        DRAVCommon::CXPDevice device(window.Device());
        QuillmereViewer::CSceneView view(module, &device, kWidth, kHeight);
        if (all) view.SeeEverything();
        bool quit = false;
        for (int frame = 0; !quit && (frames == 0 || frame < frames); ++frame) {
            SDL_Event event;
            while (SDL_PollEvent(&event)) {
                if (event.type == SDL_QUIT) quit = true;
                if (event.type != SDL_KEYDOWN) continue;
                switch (event.key.keysym.sym) {
                    case SDLK_LEFT: view.Pan(-2.5f, 0.0f); break;
                    case SDLK_RIGHT: view.Pan(2.5f, 0.0f); break;
                    case SDLK_UP: view.Pan(0.0f, -2.5f); break;
                    case SDLK_DOWN: view.Pan(0.0f, 2.5f); break;
                    case SDLK_ESCAPE: quit = true; break;
                    default: break;
                }
            }
            view.Tick();
            view.Draw();
            if (frame == 0 && !screenshot.empty()) {
                const auto pixels = window.Device()->ReadBackBuffer();
                std::unique_ptr<SDL_Surface, void (*)(SDL_Surface*)> surface(
                    SDL_CreateRGBSurfaceWithFormatFrom(const_cast<std::uint32_t*>(pixels.data()), kWidth, kHeight, 32,
                                                       kWidth * 4, SDL_PIXELFORMAT_ARGB8888),
                    SDL_FreeSurface);
                if (!surface || IMG_SavePNG(surface.get(), screenshot.c_str()) != 0) throw DRAVSDL::CSDLException();
            }
            window.Device()->Present(nullptr, nullptr, nullptr, nullptr);
            if (frames == 0) SDL_Delay(16);
        }
    } catch (const CDRAVException& error) {
        std::fprintf(stderr, "scene_viewer: %s\n", error.what());
        return 1;
    }
    return 0;
}
