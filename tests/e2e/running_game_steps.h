#pragma once
// Steps run inside the program that bring it into a game, for the scenarios that
// play one. They run between messages, in the program's own process.

#include <memory>
#include <string>
#include <vector>

#include "../game/app_test_access.h"
#include "driver.h"
#include "engine/engine.h"
#include "game/app.h"
#include "game/dialogs/dialog.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/game.h"

namespace QuillmereE2E {

inline DRAV::CGame& Game() { return *GetApp().GetEngine()->GetGame(); }

inline std::string CurrentTitle() {
    const auto& dialog = GetApp().GetCurrentDialog();
    return dialog ? dialog->GetTitle() : "(none)";
}

// `chapter` started with the wizard's choices skipped (the new-game and party-page
// scenarios go through its pages): the front page goes, a new game is made, its
// first creation page is put away and its main character, Wren, takes it into the
// start area.
inline std::string StartChapter(int chapter) {
    CDRAVApp& app = GetApp();
    CDRAVAppTestAccess::DropDialogs(app);
    app.StartNewGame(chapter, false);
    if (CurrentTitle() != "Gender") return "no creation page";
    CDRAVAppTestAccess::DropDialogs(app);
    std::shared_ptr<DRAV::CActor> main = app.GetNewActor();
    if (!main) return "no actor";
    main->SetName("Wren");
    app.StartGameWithActor(main);
    return CurrentTitle();
}

inline std::string StartTheChapter() { return StartChapter(1); }

// Whether the game's clock moves on over `ms` of the window's time: the check
// `name` is "runs" or where it stood.
inline std::vector<Step> ClockRuns(const std::string& name, int ms) {
    static std::uint32_t from = 0;
    const auto tick = [] { return GetApp().IsGameRunning() ? Game().GetTick() : 0u; };
    return {Check(name + " from", [tick] { return std::to_string(from = tick()); }), Wait(ms),
            Check(name, [tick] { return tick() > from ? std::string("runs") : "stood at " + std::to_string(from); })};
}

// No goblin waits in the reeds by the lane: the reeds are gone until the landing
// is built again from its file.
inline std::string ClearTheLane() {
    DRAV::CArea& area = *Game().GetCurrentArea();
    for (const auto& object : DRAV::ObjectList(area.GetObjects()))
        if (object->GetTemplate().GetKey() == "lane_reeds") area.RemoveObject(*object);
    return "clear";
}

// Only the party stays on the landing: nobody fights or wanders into the way, and
// no goblin waits in the reeds by the lane.
inline std::string CalmTheLanding() {
    DRAV::CArea& area = *Game().GetCurrentArea();
    for (const auto& actor : DRAV::ActorList(area.GetActors()))
        if (actor->GetRelation() != DRAV::RELATION_PARTY) area.RemoveActor(*actor);
    ClearTheLane();
    return "calm";
}

inline void Append(std::vector<Step>& steps, const std::vector<Step>& more) {
    steps.insert(steps.end(), more.begin(), more.end());
}

// The chapter's introduction read and closed with Enter, then the tutorial's
// welcome page, which the dock opens as the hero comes ashore, closed the same way.
inline std::vector<Step> PastTheIntroAndWelcome() {
    return {Key(SDL_SCANCODE_RETURN), Wait(200), Check("welcome", CurrentTitle), Key(SDL_SCANCODE_RETURN), Wait(200)};
}

// The chapter won as the ferryman's last reply wins it, or Sefton's.
inline Step WinTheChapter(const std::string& closing = "The ferry pulls away from Reedwater.") {
    return Check("win", [closing] {
        DRAV::CGame& game = Game();
        game.SetClosingText(closing);
        game.SetStateCode(DRAV::GAME_WON);
        return "won";
    });
}

// The console opened, `line` typed and entered.
inline std::vector<Step> ConsoleLine(const std::string& line) {
    std::vector<Step> steps{Key(SDL_SCANCODE_GRAVE), Wait(100)};
    Append(steps, ConsoleKeys(line));
    Append(steps, {Key(SDL_SCANCODE_RETURN), Wait(200)});
    return steps;
}

}  // namespace QuillmereE2E
