#pragma once
// The application's handling of the engine's events, without a screen, for the
// module sweep's play: a flood that is cheap for the engine but dear for the shell
// shows in the time of the step that queued it. The shell is the program's, on
// SDL's dummy video driver over the recording device with the sample's interface;
// it takes the played engine as its own, handles each step's events as a batch of
// its timer does, and the pages they open are laid out as they open and closed
// one by one as a player closes them, so that what a page costs is the step's.
// A conversation is reached as the player reaches it: through its talk page.

#include <cstddef>
#include <memory>
#include <string>

#include "rules/kinds/thing_id.h"

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

    // The main character talks to `partner`, standing within reach: the engine's
    // talk event opens the talk page at the partner's first state, as a click on the
    // partner does; any other `state` is then offered as the page's one reply and
    // clicked. The page stays open for Handle to close.
    // Nothing before the shell has handled a step of `engine`.
    void Talk(DRAV::CEngine& engine, DRAV::ThingId partner, const std::string& state);

private:
    // The engine's game, and its area, taken up as the shell takes up a loaded game.
    void TakeUp(const std::shared_ptr<DRAV::CEngine>& engine);
    // The pages and whatever their closing brings on, until none is left.
    void ClosePages(DRAV::CGame& game);

    std::unique_ptr<DRAVSDL::InitSDL> m_sdl;
    std::unique_ptr<QuillmereTest::ShellOnSample> m_shell;
    const DRAV::CGame* m_game = nullptr;  // the game and area the shell last took up
    std::string m_area;
};

}  // namespace QuillmereSweep
