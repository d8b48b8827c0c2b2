// Quest tags: setting one tells the current area and completes the quests it
// finishes, one after another.

#include <string>

#include "common/exception.h"
#include "common/trace.h"
#include "engine/engine.h"
#include "rules/definitions/quest_info.h"
#include "rules/items/item_attribute.h"
#include "rules/items/item_template.h"
#include "script/script_run.h"
#include "script/script.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/events/event.h"
#include "world/item.h"

namespace DRAV {

void CEngine::SetTag(const std::string& tag, bool skipCheck) { SetTagValue(tag, 1, skipCheck); }

void CEngine::SetTagValue(const std::string& tag, std::int32_t value, bool skipCheck) {
    Game().SetQuestTag(tag, value);
    if (value == 0) return;
    // Who was there before is needed only to rouse foes a patch brings.
    if (CArea* area = Game().GetCurrentArea(); area && area->AwaitsTag(tag)) {
        const std::set<ThingId> before = ActorsOf(*area);
        area->TriggerTagPatches(tag, Module());
        RouseSprungFoes(*area, before);
    }
    if (skipCheck) return;
    // The quests' scripts one tag runs share one budget, that of the script that
    // set the tag when one did.
    CScriptRun run;
    while (CheckForQuestCompletion2()) {
    }
}

bool CEngine::CheckForQuestCompletion2() {
    CGame& game = Game();
    for (const auto& [name, quest] : Module().GetQuests()) {
        if (game.IsQuestTagSet(name)) continue;
        const std::string& assignment = quest->GetCompletionTag();
        if (!assignment.empty() && !game.IsQuestTagSet(assignment)) continue;
        if (!quest->GetScript() || m_failedQuests.count(name)) continue;

        // A broken quest script must not make every later tag fail: it counts as
        // not complete, and is reported the first time only. Once the budget the
        // check runs in is spent, no other quest is tried; a quest that ended only
        // because another script spent it is not to blame and is tried again later.
        std::int32_t result = 0;
        try {
            CScriptContext context;
            context.noQuestCheck = true;
            result = quest->GetScript()->Eval(this, context);
        } catch (const CScriptRunSpent&) {
            return false;
        } catch (const CDRAVException& error) {
            if (error.GetCode() != DRAV_ERR_SCRIPT) throw;
            if (m_failedQuests.insert(name).second) {
                DRAV_TRACE(1, "Quest %s: script error: %s", name.c_str(), error.GetMessage().c_str());
                game.PushMessage(MESSAGE_NOTICE,
                                 "Script Error in quest " + quest->GetName() + ": " + error.GetMessage());
            }
            if (SpentScriptRun()) return false;
            continue;
        }
        if (result == 0) continue;

        DRAV_TRACE(2, "Completed quest %s (%u)\n", name.c_str(), quest->GetReward());
        SetTag(name, true);
        game.PushMessage(MESSAGE_QUEST_COMPLETED, "The party has completed a quest for " +
                                                      std::to_string(quest->GetReward()) + "xp (" +
                                                      quest->GetName() + ").");
        game.AwardExperience(quest->GetReward());
        UpdatePartySpells();
        return true;
    }
    return false;
}

void CEngine::UpdatePartySpells() {
    CGame& game = Game();
    for (const auto& member : game.GetParty())
        if (!member->IsSummoned() && member->GetActionState() != ACTION_DEAD) member->InscribeScroll(Module(), &game);
}

void CEngine::SetItemTag(const CItem& item) {
    for (const auto& attribute : item.GetTemplate().GetAttributes()) {
        if (attribute->GetType() != ITEMATTR_QUEST) continue;
        SetTag(static_cast<const CItemAttributeQuest&>(*attribute).GetQuestTag(), false);
        return;
    }
}

}  // namespace DRAV
