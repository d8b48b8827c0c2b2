// The wizard console's operations: changing the running game directly while a
// module is being tried out.

#include "engine/engine.h"

#include <utility>

#include "common/exception.h"
#include "rules/module.h"
#include "rules/items/item_template.h"
#include "rules/vocabulary/skills.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/cell.h"
#include "world/events/event.h"
#include "world/game.h"
#include "world/item.h"

namespace DRAV {
namespace {

// The cell of the first living member, (0, 0) when the whole party is dead.
std::pair<std::uint32_t, std::uint32_t> FirstLivingCell(const CGame& game) {
    for (const auto& member : game.GetParty())
        if (member->GetActionState() != ACTION_DEAD)
            return {static_cast<std::uint32_t>(member->GetX() / kCellSize),
                    static_cast<std::uint32_t>(member->GetY() / kCellSize)};
    return {0, 0};
}

}  // namespace

void CEngine::WizardCreateItem(const std::string& name, std::uint32_t count) {
    CGame& game = Game();
    std::shared_ptr<CItem> item;
    try {
        item = Module().CreateItem(name, static_cast<std::int32_t>(count), game.NewThingId(5), 0);
    } catch (const CDRAVException&) {
        game.PushMessage(MESSAGE_NOTICE, "Wizard: No such item.");
        return;
    }
    if (game.GetParty().empty()) throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "the wizard has no party to give to");
    const std::shared_ptr<CActor> receiver = game.GetParty().front();
    SetItemTag(*item);
    game.PushMessage(MESSAGE_NOTICE, "Wizard: Created " + item->GetTemplate().GetName());
    receiver->AddToBackpack(item, false);
}

void CEngine::WizardSetSkill(CActor& actor, const std::string& skillKey) {
    CGame& game = Game();
    SkillId skill{};
    try {
        skill = ParseSkill(skillKey);
    } catch (const CDRAVException&) {
        game.PushMessage(MESSAGE_NOTICE, "Wizard: No such skill.");
        return;
    }
    actor.AddSkill(skill);
    actor.InscribeScroll(Module(), &game);
    game.PushMessage(MESSAGE_NOTICE, "Wizard: Set " + actor.GetName() + " skill " + GetSkillName(skill));
}

void CEngine::WizardHealParty() {
    CGame& game = Game();
    CArea& area = CurrentArea();
    const auto [column, row] = FirstLivingCell(game);
    for (const auto& member : game.GetParty()) {
        const bool wasDead = member->GetActionState() == ACTION_DEAD;
        member->RestoreFully();
        if (!wasDead) continue;
        std::shared_ptr<CActor> revived = game.RemoveNonLocatedActor(*member);
        // A member with no room to stand must not vanish from both lists.
        if (!area.PlaceActor(column, row, true, revived)) game.AddNonLocatedActor(std::move(revived));
    }
}

void CEngine::WizardMoveParty(std::uint32_t column, std::uint32_t row) {
    CGame& game = Game();
    CArea& area = CurrentArea();
    for (const auto& member : game.GetParty()) {
        if (member->GetActionState() == ACTION_DEAD) continue;
        std::shared_ptr<CActor> moving = area.RemoveActor(*member);
        if (!moving) continue;
        if (!area.PlaceActor(column, row, false, moving)) {
            // Put it back where it stood rather than lose it from the area.
            area.AddActor(moving);
            throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "Wizard: no place for " + member->GetName() + " near (" +
                                                            std::to_string(column) + ", " + std::to_string(row) +
                                                            ")");
        }
    }
    game.FlagCurrentAreaEntered();
}

void CEngine::WizardCreateMonster(const std::string& name) {
    const auto [column, row] = FirstLivingCell(Game());
    CurrentArea().SpawnActor(Module(), name, column, row);
}

}  // namespace DRAV
