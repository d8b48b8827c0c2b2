#include "common/sdl_init.h"

#include <SDL.h>
#include <SDL_image.h>
#include <SDL_ttf.h>

#include "common/random.h"
#include "platform/win32/win32_time.h"

namespace DRAVSDL {

CSDLException::CSDLException() : CDRAVException(DRAV_ERR_SDL, std::string("SDL Error: ") + SDL_GetError()) {}

namespace {

// A failure after SDL itself started: SDL's error text is taken before the
// libraries that did start are shut down again.
[[noreturn]] void FailAfterSDLStarted() {
    CSDLException failure;
    IMG_Quit();
    SDL_Quit();
    throw failure;
}

}  // namespace

InitSDL::InitSDL() {
    DRAVCommon::GetRandomEngine().seed(GetTickCount());
    SDL_SetMainReady();
    if (SDL_Init(0) < 0) throw CSDLException();
    constexpr int kFormats = IMG_INIT_JPG | IMG_INIT_PNG;
    if (IMG_Init(kFormats) != kFormats) FailAfterSDLStarted();
    if (TTF_Init() < 0) FailAfterSDLStarted();
}

InitSDL::~InitSDL() {
    TTF_Quit();
    IMG_Quit();
    SDL_Quit();
}

void CloseRWops(SDL_RWops* ops) {
    if (ops) SDL_RWclose(ops);
}

}  // namespace DRAVSDL
