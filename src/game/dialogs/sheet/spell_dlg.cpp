#include "game/dialogs/sheet/spell_dlg.h"

#include <optional>
#include <sstream>

#include "engine/engine.h"
#include "game/app.h"
#include "rules/descriptions/definition_descriptions.h"
#include "rules/magic/spell.h"
#include "world/actor.h"
#include "world/descriptions/actor_viewer.h"

CSpellDlg::CSpellDlg(CDRAVApp* app, const DRAV::CSpell& spell, DRAV::CActor* actor)
    : CTextDlg(app, "", "", actor, false) {
    m_title = spell.GetName();
    std::optional<DRAV::CActorViewer> viewer;
    if (actor) viewer.emplace(*actor);
    std::ostringstream text;
    DRAV::WriteSpellDescription(spell, *app->GetEngine()->GetModule(), viewer ? &*viewer : nullptr, text);
    m_text = text.str();
    m_manualAnchor = "spell_" + spell.GetKey();
}
