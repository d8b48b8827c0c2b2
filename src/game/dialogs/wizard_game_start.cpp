#include "game/dialogs/wizard_game_start.h"

#include "engine/engine.h"
#include "game/app.h"
#include "game/chapter_info.h"
#include "game/dialogs/cc_choice_dlg.h"
#include "game/dialogs/start_dlg.h"
#include "world/actor.h"

void StartNewGameWithWizard(CDRAVApp* app, int chapter, bool chooseLevel) {
    const CDRAVChapterInfo* entry = app->GetChapterTable().Find(chapter);
    try {
        app->MakeEngine(chapter);
    } catch (const std::exception&) {
        app->ShowError("Failed to load chapter.", "Load Error");
        app->EndGame();
        app->SetDialog(true, std::make_shared<CStartDlg>(app));
        return;
    }
    std::shared_ptr<DRAV::CActor> actor = app->GetEngine()->NewGame();
    if (!chooseLevel) {
        actor->SetLevel(static_cast<std::uint32_t>(entry->m_startingLevel));
        actor->SetExperience(StartingExperience(actor->GetBaseLevel(), entry->m_startingLevel));
    }
    OpenCreationWizard(app, entry, chooseLevel, std::move(actor));
}

void StartGameWithCreatedActor(CDRAVApp* app, std::shared_ptr<DRAV::CActor> actor) {
    app->GetEngine()->BeginNewGame(actor);
    app->GetEngine()->EnterArea();
}
