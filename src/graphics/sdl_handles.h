#pragma once
// Owning handles of the SDL objects the texture and atlas code makes and frees.

#include <SDL.h>

#include <memory>

namespace DRAVCommon {

struct SurfaceFree {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceFree>;

struct FormatFree {
    void operator()(SDL_PixelFormat* format) const { SDL_FreeFormat(format); }
};
using PixelFormatPtr = std::unique_ptr<SDL_PixelFormat, FormatFree>;

struct RWopsClose {
    void operator()(SDL_RWops* ops) const { SDL_RWclose(ops); }
};
using RWopsPtr = std::unique_ptr<SDL_RWops, RWopsClose>;

}  // namespace DRAVCommon
