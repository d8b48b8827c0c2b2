#pragma once
// The application's handling of the engine's events, without a screen, for the
// module sweep's play: a flood that is cheap for the engine but dear for the shell
// shows in the time of the step that queued it. The shell is the program's, on
// SDL's dummy video driver over the recording device with the sample's interface;
// it takes the played engine as its own, handles each step's events as a batch of
// its timer does, and a page they open is put away at once, as a player clicks it
// away.

#include <cstddef>
#include <memory>
#include <string>

namespace DRAV {
class CEngine;
class CGame;
}  // namespace DRAV

namespace DRAVSDL {
class InitSDL;
}
namespace QuillmereTest {
class ShellOnSample;
}

namespace QuillmereSweep {

class CShellEvents {
public:
    CShellEvents();
    ~CShellEvents();
    CShellEvents(const CShellEvents&) = delete;
    CShellEvents& operator=(const CShellEvents&) = delete;

    // Made before the game's rolls are seeded: starting SDL reseeds them.
    // Returns how many events the engine had queued.
    std::size_t Handle(const std::shared_ptr<DRAV::CEngine>& engine);

private:
    std::unique_ptr<DRAVSDL::InitSDL> m_sdl;
    std::unique_ptr<QuillmereTest::ShellOnSample> m_shell;
    const DRAV::CGame* m_game = nullptr;  // the game and area the shell last took up
    std::string m_area;
};

}  // namespace QuillmereSweep
