#include "game/dialogs/sheet/monster_dlg.h"

#include <algorithm>
#include <climits>
#include <sstream>

#include "engine/engine.h"
#include "game/app.h"
#include "world/actor.h"
#include "world/descriptions/actor_description.h"
#include "world/game.h"

int MonsterKnowledge(const CDRAVApp& app, const DRAV::CActor& actor) {
    if (actor.IsPartyOrFriendly()) return 25;
    const DRAV::CGame* game = app.GetEngine() ? app.GetEngine()->GetGame().get() : nullptr;
    const std::int64_t observation = game ? game->GetBestPartySpecialStat(DRAV::SPECIAL_OBSERVATION) : 0;
    const std::int64_t knowledge = observation - actor.GetSpecialStat(DRAV::SPECIAL_STEALTH);
    return static_cast<int>(std::clamp<std::int64_t>(knowledge, INT32_MIN, INT32_MAX));
}

CMonsterDlg::CMonsterDlg(CDRAVApp* app, DRAV::CActor& actor) : CTextDlg(app, "", "", &actor, false) {
    m_title = actor.GetName();
    std::ostringstream text;
    DRAV::WriteActorDescription(actor, *app->GetEngine()->GetModule(), MonsterKnowledge(*app, actor), text);
    m_text = text.str();
}
