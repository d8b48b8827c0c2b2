#include "game/dialogs/sheet/monster_dlg.h"

#include <sstream>

#include "engine/engine.h"
#include "game/app.h"
#include "ui/element_info.h"
#include "world/actor.h"
#include "world/descriptions/actor_description.h"
#include "world/game.h"

// The page knows the actor as the hover does.
int MonsterKnowledge(const CDRAVApp& /*app*/, const DRAV::CActor& actor) {
    return DRAVUI::ElementInfo::RecognitionMargin(actor);
}

CMonsterDlg::CMonsterDlg(CDRAVApp* app, DRAV::CActor& actor) : CTextDlg(app, "", "", &actor, false) {
    m_title = actor.GetName();
    std::ostringstream text;
    DRAV::WriteActorDescription(actor, *app->GetEngine()->GetModule(), MonsterKnowledge(*app, actor), text);
    m_text = text.str();
}
