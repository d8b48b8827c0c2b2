#include "play_sweep/game_sight.h"

#include <set>

#include "game/dialogs/maps/exit_area_dlg.h"
#include "game/dialogs/maps/world_map_dlg.h"
#include "game/dialogs/sheet/monster_dlg.h"
#include "player_at_window.h"
#include "platform/win32/win32_time.h"
#include "ui/text_markup.h"
#include "world/cell.h"

namespace QuillmerePlaySweep {
namespace {

using namespace QuillmereE2E::AtTheWindow;

PageSight PageNow() {
    PageSight page;
    const std::shared_ptr<CDRAVDlg>& dialog = App().GetCurrentDialog();
    if (!dialog) return page;
    page.identity = dialog;
    page.title = dialog->GetTitle();
    const auto* map = dynamic_cast<const CDRAVWorldMapDlg*>(dialog.get());
    // A look at someone is a page of text too, but one the player's click opened.
    if (dynamic_cast<const CMonsterDlg*>(dialog.get()))
        page.kind = PageSight::Kind::Other;
    else if (dynamic_cast<const CTextDlg*>(dialog.get()) || dynamic_cast<const CHelpDlg*>(dialog.get()))
        page.kind = PageSight::Kind::Box;
    else if (dynamic_cast<const CTalkDlg*>(dialog.get()))
        page.kind = PageSight::Kind::Talk;
    else if (dynamic_cast<const CExitAreaDlg*>(dialog.get()) || (map && map->IsTravel()))
        page.kind = PageSight::Kind::Question;
    else
        page.kind = PageSight::Kind::Other;
    // As the page draws them: its markup ends lines.
    page.lines.push_back(page.title);
    const auto show = [&page](const std::string& text) {
        for (std::string& line : DRAVUI::SplitMarkedLines(text)) page.lines.push_back(std::move(line));
    };
    if (const auto* talk = dynamic_cast<const CTalkDlg*>(dialog.get())) {
        page.partner = talk->GetPartnerId();
        for (const auto& line : talk->GetLines()) show(line);
        for (const auto& reply : talk->GetReplies()) show(reply);
    } else if (const auto* text = dynamic_cast<const CTextDlg*>(dialog.get())) {
        show(text->GetText());
    }
    return page;
}

OrderSight OrderOf(const DRAV::CActor& actor) {
    OrderSight seen;
    const std::shared_ptr<DRAV::COrder> order = actor.GetCurrentOrder();
    if (!order) return seen;
    seen.identity = order;
    seen.kind = OrderSight::Kind::Other;
    const auto* use = dynamic_cast<const DRAV::CUseOrder*>(order.get());
    if (order->GetType() == DRAV::ORDER_MOVE) {
        const auto& move = static_cast<const DRAV::CMoveOrder&>(*order);
        seen.kind = OrderSight::Kind::Ground;
        seen.x = move.x;
        seen.z = move.y;
    } else if (use && use->kind == DRAV::USE_TILE) {
        // A door's tile is named by its cell.
        const DRAV::ThingId serial = use->thing & DRAV::kMaxThingSerial;
        seen.kind = OrderSight::Kind::Door;
        seen.x = (serial % 1000 + 0.5) * DRAV::kCellSize;
        seen.z = (serial / 1000 + 0.5) * DRAV::kCellSize;
    } else if (use && use->kind == DRAV::USE_OBJECT) {
        seen.kind = OrderSight::Kind::Thing;
        seen.thing = use->thing;
    } else if (order->GetType() == DRAV::ORDER_MOVE_TALK) {
        seen.kind = OrderSight::Kind::Thing;
        seen.thing = order->GetThingId();
    } else if (order->GetType() == DRAV::ORDER_ATTACK) {
        seen.kind = OrderSight::Kind::Fight;
        seen.thing = order->GetThingId();
    } else if (const auto* cast = dynamic_cast<const DRAV::CCastOrder*>(order.get())) {
        const DRAV::CActor* target = TheArea()->FindActor(cast->GetTargetId());
        if (target && !target->IsPartyOrFriendly()) {
            seen.kind = OrderSight::Kind::Fight;
            seen.thing = target->GetId();
        }
    }
    return seen;
}

}  // namespace

Sight LookAtGame() {
    Sight sight;
    sight.ms = timeGetTime();
    DRAV::CArea* area = TheArea();
    sight.playing = area != nullptr;
    if (!area) return sight;
    DRAV::CGame& game = TheGame();
    sight.game = App().GetEngine()->GetGame();
    // Who each of a loaded game's people was in the game saved.
    for (std::uint32_t serial = 1; serial <= game.GetHighestSavedSerial(); ++serial) {
        DRAV::ThingId saved = 0;
        DRAV::MakeThingId(saved, DRAV::THING_ACTOR, serial);
        if (const DRAV::ThingId now = game.FindLoadedActor(saved)) sight.renumbered.emplace(saved, now);
    }
    sight.area = area->GetName();
    sight.entry = game.GetCurrentEntry().second;
    sight.tick = game.GetTick();
    if (App().IsExitAvailable()) sight.offered = game.GetAvailableExitName();
    sight.page = PageNow();
    sight.log = App().GetMessageLog();
    std::set<DRAV::ThingId> party;
    for (const auto& member : game.GetParty()) party.insert(member->GetId());
    for (const auto& actor : area->GetActors()) {
        FigureSight figure;
        figure.id = actor->GetId();
        figure.name = actor->GetName();
        figure.x = actor->GetX();
        figure.z = actor->GetY();
        figure.radius = actor->GetRadius();
        figure.alive = actor->IsAlive();
        figure.member = party.count(figure.id) != 0;
        figure.calledFriend = !figure.member && actor->FightsForTheParty();
        figure.hostile = actor->IsHostile();
        figure.held = game.IsHoldingBack(figure.id);
        figure.hitPoints = actor->GetHitPoints();
        figure.order = OrderOf(*actor);
        if (const DRAV::CActor* foe = actor->GetAttackTarget()) figure.striking = foe->GetId();
        sight.figures.push_back(std::move(figure));
    }
    // A member who falls leaves the area's people.
    for (const auto& member : game.GetParty())
        if (!member->IsAlive() && !sight.Figure(member->GetId())) {
            FigureSight fallen;
            fallen.id = member->GetId();
            fallen.name = member->GetName();
            fallen.x = member->GetX();
            fallen.z = member->GetY();
            fallen.alive = false;
            fallen.member = true;
            fallen.hitPoints = member->GetHitPoints();
            sight.figures.push_back(std::move(fallen));
        }
    for (const auto& object : area->GetObjects()) {
        ThingSight thing;
        thing.id = object->GetId();
        thing.name = object->GetName();
        thing.x = object->GetX();
        thing.z = object->GetY();
        if (object->IsExit()) thing.wayOut = object->GetExitName();
        for (const auto& member : game.GetParty())
            if (member->IsAlive() && member->GetArea() == area && member->IsNextToObject(*object))
                thing.within.insert(member->GetId());
        sight.things.push_back(std::move(thing));
    }
    return sight;
}

}  // namespace QuillmerePlaySweep
