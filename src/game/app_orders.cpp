// What the player picks in the view or chooses as a quick action, turned into
// orders for the selected party members.

#include <cmath>
#include <memory>

#include "common/exception.h"
#include "engine/engine.h"
#include "game/app.h"
#include "game/dialogs/play/action_dlg.h"
#include "game/dialogs/sheet/monster_dlg.h"
#include "rules/definitions/object_template.h"
#include "rules/definitions/tile_template.h"
#include "rules/items/item_template.h"
#include "rules/magic/spell.h"
#include "rules/module.h"
#include "rules/vocabulary/status.h"
#include "ui/ui_action_window.h"
#include "ui/ui_element.h"
#include "graphics/scene/graphics_manager.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/cell.h"
#include "world/game.h"
#include "world/item.h"
#include "world/master_tile.h"
#include "world/object.h"
#include "world/order.h"
#include "world/order_rule.h"
#include "world/tile.h"

namespace {

constexpr int kKindNone = 0;
constexpr int kKindAttack = 2;
constexpr int kKindUse = 10;
constexpr int kKindCast = 11;
constexpr int kKindTalk = 12;
constexpr int kActionPicker = 20;
constexpr int kPickNothing = 0;
constexpr int kPickTile = 1;
constexpr int kPickObject = 2;
constexpr int kPickActor = 3;
constexpr std::int32_t kUseTile = 1;
constexpr std::int32_t kUseObject = 2;
constexpr std::int32_t kUseItem = 5;
// Slot 3 remembers the last thing used or cast from the interface.
constexpr int kLastUsedSlot = 3;
// Single-precision pi/2, as the formation has always been laid out.
constexpr double kQuarterTurn = 1.5707963705062866;
constexpr double kHalfSpacing = 2.5;
constexpr double kRowSpacing = 5.0;

bool CanTakeOrders(const DRAV::CActor& actor) {
    return !actor.HasStatus(DRAV::STATUS_CONFUSED) && !actor.HasStatus(DRAV::STATUS_DOMINATED);
}

std::uint32_t ThingType(DRAV::ThingId id) { return id >> 24; }

// The spell of a quick action's stored name; code 4 when the module lacks it.
const DRAV::CSpell& RequireModuleSpell(const DRAV::CModule& module, const std::string& name) {
    const auto found = module.GetSpells().find(name);
    if (found == module.GetSpells().end() || !found->second)
        throw CDRAVException(DRAV_ERR_UNEXPECTED, "no spell \"" + name + "\"");
    return *found->second;
}

// A spell or wand that takes a spot on the ground, clicked on someone or something
// standing there, takes the cell under them: the figure under the pointer is
// where the player aimed.
void AimAtTheGround(const DRAV::CArea* area, int& pickKind, DRAV::CThing*& thing) {
    if (!area || !thing || (pickKind != kPickActor && pickKind != kPickObject)) return;
    const bool actor = pickKind == kPickActor;
    const double x = actor ? static_cast<DRAV::CActor*>(thing)->GetX() : static_cast<DRAV::CObject*>(thing)->GetX();
    const double y = actor ? static_cast<DRAV::CActor*>(thing)->GetY() : static_cast<DRAV::CObject*>(thing)->GetY();
    if (DRAV::CTile* tile = area->GetTileUnder(x, y)) {
        pickKind = kPickTile;
        thing = tile;
    }
}

}  // namespace

std::vector<DRAV::CActor*> CDRAVApp::SelectedActors() const {
    std::vector<DRAV::CActor*> actors;
    GetSelectedActors(actors);
    return actors;
}

void CDRAVApp::EndQuickActionChoice() {
    if (m_selectedParty == kWholeParty) return;
    const auto actors = SelectedActors();
    if (!actors.empty() && HasQuickActions(*actors.front())) SelectQuickAction(*actors.front(), CDRAVActorInfo::kNoSlot);
}

bool CDRAVApp::PerformAction(int actionKind, int pickKind, DRAV::CThing* thing, POINT point, bool replace) {
    if (actionKind == kKindNone) return PerformDefaultAction(pickKind, thing, point, replace);
    const auto actors = SelectedActors();
    DRAV::CActor* first = actors.empty() ? nullptr : actors.front();
    bool done = false;
    const int slot = first ? GetCurrentQuickAction(*first) : CDRAVActorInfo::kNoSlot;
    try {
        switch (actionKind) {
            case kKindAttack:
            case kKindTalk: {
                if (!first) break;
                if (pickKind != kPickActor || !thing) {
                    // Not a person: the choice of whom to attack or talk to ends, and the
                    // click does what it does without one, so that a click on the
                    // ground walks rather than waiting on a choice the player has left.
                    EndQuickActionChoice();
                    done = PerformDefaultAction(pickKind, thing, point, replace);
                    break;
                }
                std::shared_ptr<DRAV::COrder> order;
                if (actionKind == kKindAttack) order = std::make_shared<DRAV::CAttackOrder>(thing->GetId());
                else order = std::make_shared<DRAV::CMoveTalkOrder>(thing->GetId());
                if (RefusesOrder(*first, *order)) break;
                if (replace) CancelSelectedOrders();
                first->PushOrder(std::move(order), false);
                EndQuickActionChoice();
                done = true;
                break;
            }
            case kKindUse: {
                if (!first) break;
                const std::string name = slot == CDRAVActorInfo::kNoSlot ? "" : GetQuickActionItem(*first, slot);
                DRAV::CItem* item = UsableQuickItem(*first, name);
                if (!item) break;
                DRAV::ThingId target = 0;
                if (item->GetWandTargetType() == DRAV::SPELL_TARGET_TILE)
                    AimAtTheGround(m_engine->GetGame()->GetCurrentArea(), pickKind, thing);
                switch (item->GetWandTargetType()) {
                    case DRAV::SPELL_TARGET_SELF:
                        break;
                    case DRAV::SPELL_TARGET_TILE:
                    case DRAV::SPELL_TARGET_ACTOR:
                        // A pick that does not fit leaves nothing to target.
                        if (pickKind == (item->GetWandTargetType() == DRAV::SPELL_TARGET_TILE ? kPickTile : kPickActor) &&
                            thing)
                            target = thing->GetId();
                        else
                            item = nullptr;
                        break;
                    default:
                        throw CDRAVException(DRAV_ERR_UNEXPECTED, "item target type");
                }
                if (!item) break;
                if (replace) CancelSelectedOrdersButTheFight();
                QueueUseOrCast(*first, std::make_shared<DRAV::CUseOrder>(kUseItem, item->GetId(), target));
                SetQuickActionKind(*first, kKindUse, kLastUsedSlot);
                SetQuickActionItem(*first, item->GetTemplate().GetKey(), kLastUsedSlot);
                EndQuickActionChoice();
                done = true;
                break;
            }
            case kKindCast: {
                if (!first || slot == CDRAVActorInfo::kNoSlot) break;
                const std::string& name = GetQuickActionSpell(*first, slot);
                if (name.empty()) break;
                const DRAV::CSpell& spell = RequireModuleSpell(*m_engine->GetModule(), name);
                if (spell.GetFlags() & DRAV::SPELL_POWER) {
                    done = TogglePower(*first, spell);
                    break;
                }
                done = CastSpell(*first, spell, pickKind, thing, replace);
                break;
            }
            default:
                throw CDRAVException(DRAV_ERR_UNEXPECTED, "action kind " + std::to_string(actionKind));
        }
    } catch (const CDRAVException& failure) {
        if (failure.GetCode() != DRAV_ERR_UNEXPECTED || !first || slot == CDRAVActorInfo::kNoSlot) throw;
        // A slot naming what the module cannot do is emptied and told, not fatal.
        AppendMessage(first->GetName() + "'s action F" + std::to_string(slot + 1) + " cannot be done and is cleared.");
        SetQuickActionKind(*first, kKindNone, slot);
        SetQuickActionItem(*first, "", slot);
        SetQuickActionSpell(*first, "", slot);
        SelectQuickAction(*first, CDRAVActorInfo::kNoSlot);
        return false;
    }
    if (!m_gameRunning || m_currentDialog || m_paused) InvalidateRect(m_window, nullptr, FALSE);
    return done;
}

bool CDRAVApp::PerformDefaultAction(int pickKind, DRAV::CThing* thing, POINT point, bool replace) {
    if (pickKind == kPickNothing) return false;
    if (pickKind < kPickNothing || pickKind > kPickActor)
        throw CDRAVException(DRAV_ERR_OUT_OF_RANGE, "pick kind " + std::to_string(pickKind));
    if (!thing) return false;
    const auto actors = SelectedActors();
    auto groundMove = [&] {
        float x = 0.0f, z = 0.0f;
        if (!m_graphicsManager.ScreenToWorld(m_deviceWrapper.get(), point.x, point.y, x, z)) return false;
        if (replace) CancelSelectedOrders();
        // A way out's marker is a small thing flat on the ground: a click beside it
        // means the way out, not the ground the party would stop on short of it.
        if (DRAV::CObject* wayOut = WayOutBeside(x, z)) return GoToWayOut(*wayOut);
        return MoveSelectedTo(x, z);
    };
    if (pickKind == kPickActor) {
        auto& actor = static_cast<DRAV::CActor&>(*thing);
        if (actor.GetRelation() == DRAV::RELATION_PARTY) return false;
        const ActorClick click = ClickOnActor(actor);
        if (click == ActorClick::kAttack && !actors.empty() &&
            RefusesOrder(*actors.front(), DRAV::CAttackOrder(actor.GetId())))
            return false;
        if (replace) CancelSelectedOrders();
        return click == ActorClick::kAttack ? AttackTarget(actor) : TalkTo(actor);
    }
    if (pickKind == kPickTile) {
        const auto& tile = static_cast<DRAV::CTile&>(*thing);
        const DRAV::TileKind kind = tile.GetMaster() ? tile.GetMaster()->GetDefinition().GetKind() : DRAV::TILE_INVALID;
        if (kind == DRAV::TILE_FLOOR) return groundMove();
        if (kind != DRAV::TILE_DOOR) {
            // Water, a wall, a fence: no walk, and one word for the click, whoever it sent.
            if (tile.GetMaster())
                RefuseClick("walk there", "the " + tile.GetMaster()->GetDefinition().GetName() + " is no place to walk");
            return false;
        }
        if (replace) CancelSelectedOrders();
        return UseTile(*thing);
    }
    auto& object = static_cast<DRAV::CObject&>(*thing);
    const bool used = object.GetTemplate().IsContainer() || !object.GetTalkStates().empty();
    if (!used && !object.IsExit()) return groundMove();
    if (replace) CancelSelectedOrders();
    if (used) {
        UseObject(object, false);
        return true;
    }
    return GoToWayOut(object);
}

bool CDRAVApp::RefusesOrder(const DRAV::CActor& actor, const DRAV::COrder& order, bool instant) {
    const DRAV::CGame& game = *m_engine->GetGame();
    DRAV::OrderVerdict verdict = DRAV::JudgeOrder(order, actor, game, instant);
    if (verdict.fit == DRAV::OrderFit::Now && order.GetType() == DRAV::ORDER_CAST) {
        const auto& cast = DRAV::OrderAs<DRAV::CCastOrder>(order);
        if (const DRAV::CSpell* spell = DRAV::FindSpell(m_engine->GetModule()->GetSpells(), cast.spell))
            verdict = DRAV::JudgeCaster(actor, *spell);
    }
    if (verdict.fit == DRAV::OrderFit::Now) return false;
    m_engine->TellDroppedOrder(actor, order, verdict);
    PumpEngineEvents();
    return true;
}

void CDRAVApp::RefuseClick(const std::string& what, const std::string& why) {
    const auto actors = SelectedActors();
    const std::string who = m_selectedParty == kWholeParty || actors.empty() ? "The party" : actors.front()->GetName();
    AppendMessage(who + " can't " + what + ": " + why + ".");
}

CDRAVApp::ActorClick CDRAVApp::ClickOnActor(const DRAV::CActor& actor) {
    // An enemy is attacked and a person talked to, as the help's default action
    // says: one turned on the party, and one ringed red as bound to turn with
    // nothing to say, is an enemy; one bound to turn with words for the party is
    // talked to first. A right click looks at anyone.
    return actor.IsHostile() || DRAV::CEngine::IsSilentFoe(actor) ? ActorClick::kAttack : ActorClick::kTalk;
}

bool CDRAVApp::GoToWayOut(DRAV::CObject& wayOut) {
    // The party already stands at this way out: leave at once rather than walk.
    if (m_exitButton && m_exitButton->HasFlag(DRAVUI::UIF_SHOWN) &&
        m_engine->GetGame()->GetAvailableExitName() == wayOut.GetExitName()) {
        UseAvailableExit();
        return true;
    }
    UseObject(wayOut, true);
    return true;
}

DRAV::CObject* CDRAVApp::WayOutBeside(double x, double z) const {
    const DRAV::CArea* area = m_engine->GetGame()->GetCurrentArea();
    if (!area) return nullptr;
    for (const auto& object : area->GetObjects())
        if (object->IsExit() && area->IsObjectSeen(*object) && object->DistanceTo(x, z) <= DRAV::kCellSize)
            return object.get();
    return nullptr;
}

bool CDRAVApp::PerformQuickAction(DRAV::CActor& actor, int slot) {
    const int kind = GetQuickActionKind(actor, slot);
    const int current = GetCurrentQuickAction(actor);
    // A slot its member was refused is not current: nothing of another is done.
    if (current != slot) return false;
    bool done = false;
    try {
        if (kind == kKindUse) {
            const std::string name = current == CDRAVActorInfo::kNoSlot ? "" : GetQuickActionItem(actor, current);
            DRAV::CItem* item = UsableQuickItem(actor, name);
            if (!item) {
                done = true;
            } else if (item->GetWandTargetType() == DRAV::SPELL_TARGET_SELF) {
                if (!m_paused) CancelSelectedOrdersButTheFight();
                QueueUseOrCast(actor, std::make_shared<DRAV::CUseOrder>(kUseItem, item->GetId(), 0));
                SetQuickActionKind(actor, kKindUse, kLastUsedSlot);
                SetQuickActionItem(actor, item->GetTemplate().GetKey(), kLastUsedSlot);
                done = true;
            }
            if (done) EndQuickActionChoice();
        } else if (kind == kKindCast) {
            const std::string name = current == CDRAVActorInfo::kNoSlot ? "" : GetQuickActionSpell(actor, current);
            if (name.empty()) {
                done = true;
            } else {
                const DRAV::CSpell& spell = RequireModuleSpell(*m_engine->GetModule(), name);
                if (spell.GetFlags() & DRAV::SPELL_POWER) {
                    done = TogglePower(actor, spell);
                } else if (spell.GetTargetType() == DRAV::SPELL_TARGET_SELF) {
                    done = CastSpell(actor, spell, kPickNothing, nullptr, !m_paused);
                }
            }
        }
    } catch (const CDRAVException& failure) {
        if (failure.GetCode() != DRAV_ERR_UNEXPECTED) throw;
        AppendMessage(actor.GetName() + "'s action F" + std::to_string(slot + 1) + " cannot be done and is cleared.");
        SetQuickActionKind(actor, kKindNone, slot);
        SetQuickActionItem(actor, "", slot);
        SetQuickActionSpell(actor, "", slot);
        SelectQuickAction(actor, CDRAVActorInfo::kNoSlot);
        done = false;
    }
    DropMissingQuickItems(actor);
    return done;
}

DRAV::CItem* CDRAVApp::UsableQuickItem(DRAV::CActor& actor, const std::string& name) {
    DRAV::CItem* item = FindCarriedItem(actor, name);
    const auto& templates = m_engine->GetModule()->GetItemTemplates();
    const auto known = templates.find(name);
    if (!item) {
        AppendMessage(actor.GetName() + " doesn't have " +
                      (known != templates.end() && known->second ? known->second->GetName() + "."
                                                                 : std::string("that item.")));
        return nullptr;
    }
    if (!actor.CanUseMagicItem(*item, false)) {
        AppendMessage(actor.GetName() + " can't use " + item->GetTemplate().GetName() + ".");
        return nullptr;
    }
    return item;
}

void CDRAVApp::QueueUseOrCast(DRAV::CActor& actor, std::shared_ptr<DRAV::COrder> order) {
    // An attack lasts until its foe falls: a potion or a spell given after it would
    // never come. It goes first, and the fight goes on after it.
    actor.PushOrderBefore(DRAV::ORDER_ATTACK, std::move(order));
}

bool CDRAVApp::AimQuickActionAt(DRAV::CActor& member) {
    if (m_selectedParty == kWholeParty) return false;
    DRAV::CActor* first = GetSelectedActor();
    if (!first || !HasQuickActions(*first)) return false;
    const int slot = GetCurrentQuickAction(*first);
    const int kind = GetCurrentQuickActionKind(*first);
    bool takesAnActor = false;
    if (kind == kKindUse) {
        const DRAV::CItem* item = FindCarriedItem(*first, GetQuickActionItem(*first, slot));
        takesAnActor = item && item->GetWandTargetType() != DRAV::SPELL_TARGET_TILE;
    } else if (kind == kKindCast) {
        const auto& spells = m_engine->GetModule()->GetSpells();
        const auto found = spells.find(GetQuickActionSpell(*first, slot));
        const DRAV::CSpell* spell = found == spells.end() ? nullptr : found->second.get();
        takesAnActor = spell && !(spell->GetFlags() & DRAV::SPELL_POWER) &&
                       ((spell->GetFlags() & DRAV::SPELL_MULTITARGET) || spell->GetTargetType() != DRAV::SPELL_TARGET_TILE);
    }
    if (!takesAnActor) return false;
    PerformAction(kind, kPickActor, &member, POINT{0, 0}, !m_paused);
    return true;
}

bool CDRAVApp::CastSpell(DRAV::CActor& actor, const DRAV::CSpell& spell, int pickKind, DRAV::CThing* target,
                         bool replace) {
    if (!(spell.GetFlags() & DRAV::SPELL_MULTITARGET)) {
        if (spell.GetTargetType() == DRAV::SPELL_TARGET_TILE)
            AimAtTheGround(m_engine->GetGame()->GetCurrentArea(), pickKind, target);
        switch (spell.GetTargetType()) {
            case DRAV::SPELL_TARGET_SELF:
                break;
            case DRAV::SPELL_TARGET_ACTOR:
                if (pickKind != kPickActor) return false;
                break;
            case DRAV::SPELL_TARGET_TILE:
                if (pickKind != kPickTile) return false;
                break;
            default:
                throw CDRAVException(DRAV_ERR_UNEXPECTED, "spell target type of " + spell.GetKey());
        }
    }
    auto cast = std::make_shared<DRAV::CCastOrder>(spell.GetKey(), target ? target->GetId() : 0);
    if (RefusesOrder(actor, *cast)) return false;
    if (replace) CancelSelectedOrdersButTheFight();
    QueueUseOrCast(actor, std::move(cast));
    SetQuickActionKind(actor, kKindCast, kLastUsedSlot);
    SetQuickActionSpell(actor, spell.GetKey(), kLastUsedSlot);
    EndQuickActionChoice();
    return true;
}

bool CDRAVApp::TogglePower(DRAV::CActor& actor, const DRAV::CSpell& power) {
    if (actor.GetCurrentPower() == &power) {
        actor.PushInstantOrder(std::make_shared<DRAV::CPowerOrder>());
    } else {
        if (!actor.MeetsSpellRequirements(power)) return false;
        actor.PushInstantOrder(std::make_shared<DRAV::CPowerOrder>(power.GetKey()));
        SetQuickActionKind(actor, kKindCast, kLastUsedSlot);
        SetQuickActionSpell(actor, power.GetKey(), kLastUsedSlot);
    }
    EndQuickActionChoice();
    RunInstantOrders();
    if (m_actionBar) m_actionBar->ClearFilled();
    return true;
}

void CDRAVApp::ReturnToEntrance(DRAV::CActor* actor) {
    if (!actor) return;
    // Refused here rather than by the order on the next tick: a refused return
    // keeps the fight, the queued orders and a paused clock as they were.
    if (m_engine->RefuseReturn()) {
        PumpEngineEvents();
        return;
    }
    if (CanTakeOrders(*actor)) actor->CancelOrders();
    actor->PushOrder(std::make_shared<DRAV::COrder>(DRAV::ORDER_RETURN), false);
    if (m_paused && m_gameRunning) {
        m_paused = false;
        ResumeClock();
        UpdatePauseButton();
    }
}

void CDRAVApp::MovePartyMember(std::uint32_t from, std::uint32_t to) {
    if (from == to || !m_engine || !m_engine->GetGame()) return;
    const DRAV::ActorList party = m_engine->GetGame()->GetParty();
    if (from >= party.size() || to >= party.size()) return;
    party[from]->PushInstantOrder(std::make_shared<DRAV::CPositionOrder>(static_cast<std::int32_t>(to)));
    RunInstantOrders();
    UpdatePartyQuickActions(true);
    SelectPartyMember(to);
}

void CDRAVApp::PlanFormation(const std::vector<DRAV::CActor*>& actors, double x, double z,
                             std::vector<double>& destinations, int side, int forward) const {
    // Anchors are where each actor will be once its queued moves are done.
    double cx = 0.0, cz = 0.0;
    for (const DRAV::CActor* actor : actors) {
        double ax = actor->GetX(), az = actor->GetY();
        for (const auto& order : actor->GetOrders())
            if (const auto* move = dynamic_cast<const DRAV::CMoveOrder*>(order.get())) {
                ax = move->x;
                az = move->y;
            }
        cx += ax;
        cz += az;
    }
    const std::size_t n = actors.size();
    if (n == 0) return;
    cx /= static_cast<double>(n);
    cz /= static_cast<double>(n);
    const double a = std::atan2(z - cz, x - cx);
    const double b = a - kQuarterTurn;
    const double bx = x + kHalfSpacing * forward * std::cos(a) + kHalfSpacing * side * std::cos(b);
    const double bz = z + kHalfSpacing * forward * std::sin(a) + kHalfSpacing * side * std::sin(b);
    for (std::size_t i = 0; i < n; ++i) {
        const double row = static_cast<double>(i / 2) * kRowSpacing;
        double px = bx - row * std::cos(a);
        double pz = bz - row * std::sin(a);
        if (!(n % 2 == 1 && i == n - 1)) {
            const double c = i % 2 == 1 ? a + kQuarterTurn : b;
            px += kHalfSpacing * std::cos(c);
            pz += kHalfSpacing * std::sin(c);
        }
        destinations.push_back(px);
        destinations.push_back(pz);
    }
}

bool CDRAVApp::IsFormationClear(const std::vector<DRAV::CActor*>& actors, const std::vector<double>& destinations) const {
    for (std::size_t i = 0; i < actors.size(); ++i)
        if (!MayStandAt(*actors[i], destinations[2 * i], destinations[2 * i + 1])) return false;
    return true;
}

void CDRAVApp::FindRoomNear(const DRAV::CActor& actor, double x, double z, double& outX, double& outZ) const {
    // Rings half a unit apart out to two cells, sixteen points a ring, the nearest
    // first; with no room in them the point itself, whose walk then says it can't
    // reach it.
    constexpr int kRings = 10;
    constexpr int kPoints = 16;
    constexpr double kRingStep = 0.5;
    outX = x;
    outZ = z;
    for (int ring = 0; ring <= kRings; ++ring)
        for (int point = 0; point < (ring == 0 ? 1 : kPoints); ++point) {
            const double angle = 2.0 * M_PI * point / kPoints;
            const double px = x + ring * kRingStep * std::cos(angle);
            const double pz = z + ring * kRingStep * std::sin(angle);
            if (!MayStandAt(actor, px, pz)) continue;
            outX = px;
            outZ = pz;
            return;
        }
}

bool CDRAVApp::MayStandAt(const DRAV::CActor& actor, double x, double z) const {
    const DRAV::CArea* area = m_engine && m_engine->GetGame() ? m_engine->GetGame()->GetCurrentArea() : nullptr;
    if (!area) return false;
    DRAV::CThing* blocker = nullptr;
    if (area->CanMoveTo(actor, &blocker, x, z)) return true;
    // Another actor will have moved on by the time this one arrives.
    return blocker && ThingType(blocker->GetId()) == DRAV::THING_ACTOR;
}

bool CDRAVApp::MoveSelectedTo(float x, float z) {
    const auto actors = SelectedActors();
    static constexpr int kShifts[5][2] = {{0, 0}, {1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    bool moved = false;
    for (const auto& [side, forward] : kShifts) {
        std::vector<double> destinations;
        PlanFormation(actors, x, z, destinations, side, forward);
        if (!IsFormationClear(actors, destinations)) continue;
        for (std::size_t i = 0; i < actors.size(); ++i)
            actors[i]->PushOrder(std::make_shared<DRAV::CMoveOrder>(destinations[2 * i], destinations[2 * i + 1]),
                                 false);
        moved = true;
        break;
    }
    if (!moved && !actors.empty()) {
        // A way too narrow for the formation, as a lane between reeds or a barge's
        // deck, is walked in file: whoever has no room at its place goes to the
        // nearest room about the point clicked, never a click that does nothing.
        std::vector<double> destinations;
        PlanFormation(actors, x, z, destinations, 0, 0);
        for (std::size_t i = 0; i < actors.size(); ++i) {
            double& px = destinations[2 * i];
            double& pz = destinations[2 * i + 1];
            if (!MayStandAt(*actors[i], px, pz)) FindRoomNear(*actors[i], x, z, px, pz);
            actors[i]->PushOrder(std::make_shared<DRAV::CMoveOrder>(px, pz), false);
        }
        moved = true;
    }
    EndQuickActionChoice();
    if (!m_gameRunning || m_currentDialog || m_paused) InvalidateRect(m_window, nullptr, FALSE);
    return moved;
}

bool CDRAVApp::UseTile(DRAV::CThing& tile) {
    const auto actors = SelectedActors();
    if (!actors.empty()) actors.front()->PushOrder(std::make_shared<DRAV::CUseOrder>(kUseTile, tile.GetId(), 0), false);
    EndQuickActionChoice();
    if (!m_gameRunning || m_currentDialog || m_paused) InvalidateRect(m_window, nullptr, FALSE);
    return true;
}

void CDRAVApp::UseObject(DRAV::CThing& object, bool allSelected) {
    const auto actors = SelectedActors();
    for (std::size_t i = 0; i < actors.size() && (allSelected || i == 0); ++i)
        actors[i]->PushOrder(std::make_shared<DRAV::CUseOrder>(kUseObject, object.GetId(), 0), false);
    EndQuickActionChoice();
    if (!m_gameRunning || m_currentDialog || m_paused) InvalidateRect(m_window, nullptr, FALSE);
}

bool CDRAVApp::TalkTo(DRAV::CActor& actor) {
    const auto actors = SelectedActors();
    if (!actors.empty()) actors.front()->PushOrder(std::make_shared<DRAV::CMoveTalkOrder>(actor.GetId()), false);
    EndQuickActionChoice();
    if (!m_gameRunning || m_currentDialog || m_paused) InvalidateRect(m_window, nullptr, FALSE);
    return true;
}

bool CDRAVApp::AttackTarget(DRAV::CActor& actor) {
    for (DRAV::CActor* member : SelectedActors())
        member->PushOrder(std::make_shared<DRAV::CAttackOrder>(actor.GetId()), false);
    EndQuickActionChoice();
    if (!m_gameRunning || m_currentDialog || m_paused) InvalidateRect(m_window, nullptr, FALSE);
    return true;
}

void CDRAVApp::OpenActionDialog(int slot) {
    if (m_selectedParty == kWholeParty) return;
    DRAV::CActor* actor = GetSelectedActor();
    if (!actor || !HasQuickActions(*actor)) return;
    SetDialog(false, std::make_shared<CActionDlg>(this, *actor, slot));
}

void CDRAVApp::ChooseQuickAction(int slot) {
    if (m_selectedParty == kWholeParty) return;
    DRAV::CActor* actor = GetSelectedActor();
    if (!actor || !HasQuickActions(*actor) || slot < 0 || slot >= CDRAVActorInfo::kSlots) return;
    const int kind = GetQuickActionKind(*actor, slot);
    if (kind == kActionPicker) {
        OpenActionDialog(slot);
        return;
    }
    // The slot already chosen is chosen away, not carried out again.
    if (slot == GetCurrentQuickAction(*actor)) {
        SelectQuickAction(*actor, CDRAVActorInfo::kNoSlot);
    } else {
        SelectQuickAction(*actor, slot);
        if (kind == kKindUse || kind == kKindCast) PerformQuickAction(*actor, slot);
    }
    if (m_audio) m_audio->PlaySound(0);
    RequestRepaint();
}

void CDRAVApp::OnViewClick(POINT point, bool shift) {
    if (!m_gameRunning || m_currentDialog || !m_gameViewReady || !m_deviceWrapper) return;
    DRAV::CArea* area = m_engine->GetGame()->GetCurrentArea();
    if (!area) return;
    DRAVGraph::PickKind kind = DRAVGraph::PICK_NOTHING;
    DRAV::CThing* thing = nullptr;
    bool nearExit = false;
    m_graphicsManager.PickAtScreen(m_deviceWrapper.get(), point.x, point.y, *area, kind, thing, nearExit, false);
    // The whole party takes the default action: quick actions belong to one member.
    DRAV::CActor* first = GetSelectedActor();
    const int action = m_selectedParty != kWholeParty && first && HasQuickActions(*first)
                           ? GetCurrentQuickActionKind(*first)
                           : kKindNone;
    if (action == kKindNone && kind == DRAVGraph::PICK_ACTOR && thing &&
        static_cast<DRAV::CActor*>(thing)->GetRelation() == DRAV::RELATION_PARTY) {
        // Aimed at a figure in the world, a click chooses; it never takes back what
        // the member was told, which the player may not see while paused.
        SelectMember(*static_cast<DRAV::CActor*>(thing));
        return;
    }
    PerformAction(action, kind, thing, point, !shift && !m_paused);
}

void CDRAVApp::OnViewAltClick(POINT point) {
    if (!m_gameRunning || m_currentDialog || !m_gameViewReady || !m_deviceWrapper) return;
    DRAV::CArea* area = m_engine->GetGame()->GetCurrentArea();
    if (!area) return;
    DRAVGraph::PickKind kind = DRAVGraph::PICK_NOTHING;
    DRAV::CThing* thing = nullptr;
    bool nearExit = false;
    m_graphicsManager.PickAtScreen(m_deviceWrapper.get(), point.x, point.y, *area, kind, thing, nearExit, false);
    if (kind != DRAVGraph::PICK_ACTOR || !thing) return;
    auto& actor = static_cast<DRAV::CActor&>(*thing);
    if (actor.GetRelation() == DRAV::RELATION_PARTY) {
        ShowActorInfo(actor);
    } else {
        SetDialog(false, std::make_shared<CMonsterDlg>(this, actor));
    }
}
