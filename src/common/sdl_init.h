#pragma once
// Start-up and shut-down of SDL, SDL_image and SDL_ttf, and the SDL failure type.

#include <memory>

#include "common/exception.h"

struct SDL_RWops;

namespace DRAVSDL {

// Code 11, message "SDL Error: " and SDL's error text at the moment of construction.
class CSDLException : public CDRAVException {
public:
    CSDLException();
};

// Held by the application for the whole run: construction reseeds the random
// engine from the tick count and starts the libraries; destruction shuts them down.
class InitSDL {
public:
    InitSDL();
    ~InitSDL();
    InitSDL(const InitSDL&) = delete;
    InitSDL& operator=(const InitSDL&) = delete;
};

// Deleter for an SDL read-write stream held by a shared pointer.
void CloseRWops(SDL_RWops* ops);

using RWopsPtr = std::shared_ptr<SDL_RWops>;

}  // namespace DRAVSDL
