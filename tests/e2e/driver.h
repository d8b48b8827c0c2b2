#pragma once
// Runs the real program, RunApplication as main calls it, in a child process of
// the test, and watches it through the platform layers only:
//  - a virtual clock behind timeGetTime, GetTickCount and the timers, moved only
//    by the script, so every run is the same run;
//  - scripted input: each time the message loop would wait, the next step runs:
//    SDL events (move, click, double click, right click, wheel, key, text, close)
//    or a wait on the clock; a click on an element id finds the element with the
//    UI manager's own hit test; a decision made in the program's process chooses
//    the steps that follow it;
//  - what it shows: the window titles, the message boxes (recorded and answered
//    OK at once), screenshots of frames read before they are presented, and the
//    pages it asks the browser for (a logging xdg-open first on PATH).
// The program runs under a temporary HOME with its XDG folders inside, on SDL's
// dummy audio driver and on whatever display the test has (Xvfb under CTest).

#include <SDL.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace QuillmereE2E {

struct Step {
    enum class Kind {
        Move, Click, DoubleClick, RightClick, Wheel, Key, Type, Close, Wait, ClickId, RightClickId, PointAt, Screenshot,
        Check, DragId, Decide
    };
    Kind kind = Kind::Wait;
    int x = 0;
    int y = 0;
    int amount = 0;  // wheel notches, milliseconds, element id
    SDL_Scancode key = SDL_SCANCODE_UNKNOWN;
    Uint16 modifiers = KMOD_NONE;
    std::string text;  // typed text, screenshot or check name
    std::function<std::string()> check;
    std::function<std::vector<Step>()> decide;
};

Step Move(int x, int y);
Step Click(int x, int y);
Step DoubleClick(int x, int y);
Step RightClick(int x, int y);
Step Wheel(int x, int y, int notches);
Step Key(SDL_Scancode key, Uint16 modifiers = KMOD_NONE);
Step Type(std::string text);
Step Close();
Step Wait(int milliseconds);
Step ClickId(int id);
// The same on the id that `id` answers in the program's process when the step runs,
// for pages whose choices depend on what the program has loaded.
Step ClickIdOf(std::function<std::string()> id);
// Key presses typing `text` as the console takes it: letters, digits, blanks, and
// '_' as Shift and minus.
std::vector<Step> ConsoleKeys(const std::string& text);
// A right click on the element with the id, found as ClickId finds it.
Step RightClickId(int id);
// Moves to, and with `click` clicks, the point in UI units that `where` finds in
// the program's process when the step runs ("x y"; anything else is logged).
Step PointAt(std::function<std::string()> where, bool click);
// The same with a right click.
Step RightClickAt(std::function<std::string()> where);
// Presses the left button on one element, moves with it held onto another and
// lets go there; `ids` answers "from to" in the program's process when the step runs.
Step DragId(std::function<std::string()> ids);
// A PNG of the next frame presented, under the run's folder.
Step Screenshot(std::string name);
// Runs in the program's process between messages; the answer is kept under `name`.
Step Check(std::string name, std::function<std::string()> check);
// The steps `decide` answers in the program's process when the step runs, run
// next: the player's next move, chosen from what the program shows now. A
// decision may answer itself again among its steps, to wait or to try again.
Step Decide(std::function<std::vector<Step>()> decide);

struct Box {
    std::string caption;
    std::string text;
};

struct Shot {
    std::string path;       // empty when no frame could be read
    double lit = 0.0;       // share of pixels that are not black
    std::uint32_t centre = 0;  // 0xAARRGGBB at the middle of the frame
};

struct Observed {
    bool exited = false;  // false when the program crashed or hung
    int exitCode = -1;
    bool loopEntered = false;  // the message loop waited at least once
    std::vector<std::string> titles;
    std::vector<Box> boxes;
    std::map<std::string, Shot> shots;
    std::map<std::string, std::string> checks;
    std::vector<std::string> browser;
    // Frames presented on the recording device, and the draws of the busiest one.
    int recordedFrames = 0;
    int mostFrameDraws = 0;
    // The draws of each recorded frame in order, and how many frames came before each check.
    std::vector<int> frameDraws;
    std::map<std::string, std::size_t> framesBeforeCheck;
    std::string log;  // what went wrong in the driver
    std::string standardError;  // what the program wrote to standard error
};

class Driver {
public:
    Driver();
    ~Driver();
    Driver(const Driver&) = delete;
    Driver& operator=(const Driver&) = delete;

    // The temporary home; the program's files land below it.
    const std::string& Home() const { return m_home; }
    // The sample as the build packs it, unless set.
    void SetModuleFolder(std::string folder) { m_module = std::move(folder); }
    // Without a display: SDL's dummy video driver and the recording device, whose
    // frames are counted instead of photographed.
    void SetHeadless(bool headless) { m_headless = headless; }
    // A run whose program's thread works longer than this, in processor time, or that
    // runs ten times as long of the clock, stuck, is taken to hang and is ended.
    // The program's clock is the driver's, so a busy machine only makes a run slower;
    // a long scenario asks for more than the default.
    void SetTimeLimit(unsigned seconds) { m_seconds = seconds; }
    // When the steps run out the driver closes the window; a run that should end
    // by itself is given none.
    Observed Execute(const std::vector<Step>& steps) const;

private:
    std::string m_home;
    std::string m_module;
    bool m_headless = false;
    unsigned m_seconds = 60;
};

// A module folder under the driver's home made of links to `from`, without the
// entries named by their paths below it ("uiwin32.drav", "1/reedwater_map.drav").
std::string SampleWithout(const Driver& driver, const std::string& from, const std::vector<std::string>& dropped);

}  // namespace QuillmereE2E
