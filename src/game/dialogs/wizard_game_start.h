#pragma once
// Where a new game meets the creation wizard: the chapter's engine and a new main
// character before the first page, and the game begun with the finished one.

#include <memory>

namespace DRAV {
class CActor;
}
class CDRAVApp;

// Loads the chapter's engine and opens the wizard for a new actor: the level page
// with `chooseLevel`, else the gender page with the chapter's starting level set.
void StartNewGameWithWizard(CDRAVApp* app, int chapter, bool chooseLevel);
// The created character becomes the party and the game enters its start area.
void StartGameWithCreatedActor(CDRAVApp* app, std::shared_ptr<DRAV::CActor> actor);
