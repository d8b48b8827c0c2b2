#pragma once
// A player at the window of the running program, for the scenarios that play the
// chapter as one: the eyes are observations in the program's process (where the
// last frame shows a person, a thing or a cell, what the hover window says, which
// page is up), the hands are the driver's mouse and keys. A click on the world
// goes where the game's own picking finds its target and only once the hover
// window names it; nothing here moves, gives or sets anything for the player.
//
// A step that cannot go on as a player would records a check named "problem ..."
// with what it saw; a scenario expects none.

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "driver.h"
#include "engine/engine.h"
#include "game/app.h"
#include "game/dialogs/dialog.h"
#include "game/dialogs/maps/help_dlg.h"
#include "game/dialogs/talk/talk_dlg.h"
#include "game/dialogs/text_dlg.h"
#include "graphics/scene/graphics_manager.h"
#include "ui/element_info.h"
#include "ui/ui_hover_window.h"
#include "ui/ui_manager.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/game.h"
#include "world/object.h"
#include "world/tile.h"

namespace QuillmereE2E::AtTheWindow {

constexpr double kCell = 2.5;

inline CDRAVApp& App() { return GetApp(); }
inline DRAV::CGame& TheGame() { return *App().GetEngine()->GetGame(); }
inline DRAV::CArea* TheArea() { return App().IsGameRunning() ? TheGame().GetCurrentArea() : nullptr; }
inline DRAV::CActor& Hero() { return *TheGame().GetMainActor(); }
inline std::string PageTitle() {
    const auto& dialog = App().GetCurrentDialog();
    return dialog ? dialog->GetTitle() : "(none)";
}

// Once a step has found a problem the player stops: what follows would only
// report what the first problem caused.
inline bool& GaveUp() {
    static bool gaveUp = false;
    return gaveUp;
}

inline Step Problem(const std::string& what) {
    const std::string text = what;
    return Check("problem", [text] {
        GaveUp() = true;
        return text;
    });
}

// A decision the player makes only while no problem stopped the play.
inline Step Next(std::function<std::vector<Step>()> decide) {
    return QuillmereE2E::Decide([decide] { return GaveUp() ? std::vector<Step>{} : decide(); });
}

// ---- what the last frame shows ----

inline int Scale() {
    const std::uint32_t scale = App().GetUIManager().GetScale();
    return scale ? static_cast<int>(scale) : 100;
}

// The window pixel of an interface point and back.
inline POINT ToPixels(POINT units) { return {units.x * Scale() / 100, units.y * Scale() / 100}; }

// The interface point where the world point (x, height, z) appears in the last frame.
inline std::optional<POINT> Project(double x, double height, double z) {
    DRAVCommon::CXPDevice* device = App().GetDevice();
    if (!device) return std::nullopt;
    D3DVIEWPORT9 viewport{};
    if (device->GetDevice()->GetViewport(&viewport) != D3D_OK) return std::nullopt;
    const D3DMATRIX& view = App().GetGraphicsManager().GetViewMatrix();
    const D3DMATRIX& projection = App().GetGraphicsManager().GetProjectionMatrix();
    const auto times = [](const double in[4], const D3DMATRIX& m, double out[4]) {
        for (int column = 0; column < 4; ++column) {
            out[column] = 0.0;
            for (int row = 0; row < 4; ++row) out[column] += in[row] * m(row, column);
        }
    };
    const double world[4] = {x, height, z, 1.0};
    double eye[4], clip[4];
    times(world, view, eye);
    times(eye, projection, clip);
    if (!(clip[3] > 0.0)) return std::nullopt;
    const double px = viewport.X + (clip[0] / clip[3] + 1.0) / 2.0 * viewport.Width;
    const double py = viewport.Y + (1.0 - clip[1] / clip[3]) / 2.0 * viewport.Height;
    return POINT{static_cast<LONG>(std::lround(px * 100 / Scale())),
                 static_cast<LONG>(std::lround(py * 100 / Scale()))};
}

// The interface's own widgets take a click there before the world does.
inline bool UnderAWidget(POINT units) { return App().GetUIManager().HitTest(&units, nullptr, nullptr); }

struct Picked {
    DRAVGraph::PickKind kind = DRAVGraph::PICK_NOTHING;
    DRAV::CThing* thing = nullptr;
};

inline Picked PickAt(POINT units) {
    Picked picked;
    bool nearExit = false;
    const POINT pixel = ToPixels(units);
    if (DRAV::CArea* area = TheArea())
        App().GetGraphicsManager().PickAtScreen(App().GetDevice(), pixel.x, pixel.y, *area, picked.kind, picked.thing,
                                                nearExit, false);
    return picked;
}

// The first point, in rings of growing size round `from`, that no widget covers
// and where `wanted` holds.
inline std::optional<POINT> Around(POINT from, const std::function<bool(POINT)>& wanted, int reach = 60) {
    for (int ring = 0; ring <= reach; ring += 2)
        for (int dy = -ring; dy <= ring; dy += 2)
            for (int dx = -ring; dx <= ring; dx += 2) {
                if (std::max(std::abs(dx), std::abs(dy)) != ring) continue;
                const POINT point{from.x + dx, from.y + dy};
                if (!UnderAWidget(point) && wanted(point)) return point;
            }
    return std::nullopt;
}

// The room a thing takes as drawn: an actor's figure, an object's footprint up to
// its height; false for a thing that shows nothing.
inline bool DrawnRoom(const DRAV::CThing& thing, DRAVGraph::BoundingBox& room) {
    if (const auto* actor = dynamic_cast<const DRAV::CActor*>(&thing))
        return DRAVGraph::CGraphicsManager::GetActorDrawnBounds(*actor, room);
    const auto* object = dynamic_cast<const DRAV::CObject*>(&thing);
    if (!object) return false;
    double halfX = 0, halfZ = 0;
    object->GetHalfExtents(halfX, halfZ);
    room = {};
    room.Add(static_cast<float>(object->GetX() - halfX), 0.0f, static_cast<float>(object->GetY() - halfZ));
    room.Add(static_cast<float>(object->GetX() + halfX), static_cast<float>(object->GetTemplate().GetHeight()),
             static_cast<float>(object->GetY() + halfZ));
    return true;
}

// Where a click reaches `thing`: the middle of what is drawn of it, else round that
// middle no further than the drawn thing reaches on the screen, as the eye looks
// for it; none when it is not to be seen.
inline std::optional<POINT> WhereToClick(const DRAV::CThing& thing) {
    DRAVGraph::BoundingBox room;
    if (!DrawnRoom(thing, room)) return std::nullopt;
    const std::optional<POINT> middle =
        Project((room.low[0] + room.high[0]) / 2, (room.low[1] + room.high[1]) / 2, (room.low[2] + room.high[2]) / 2);
    if (!middle) return std::nullopt;
    int reach = 0;
    for (int corner = 0; corner < 8; ++corner) {
        const std::optional<POINT> at = Project((corner & 1) ? room.high[0] : room.low[0],
                                                (corner & 2) ? room.high[1] : room.low[1],
                                                (corner & 4) ? room.high[2] : room.low[2]);
        if (at) reach = std::max({reach, static_cast<int>(std::abs(at->x - middle->x)),
                                  static_cast<int>(std::abs(at->y - middle->y))});
    }
    return Around(*middle, [&](POINT point) { return PickAt(point).thing == &thing; }, reach);
}

// Where a click lands on the ground of the cell, with nothing in front of it.
inline std::optional<POINT> WhereToStep(int column, int row) {
    const std::optional<POINT> middle = Project((column + 0.5) * kCell, 0.0, (row + 0.5) * kCell);
    if (!middle) return std::nullopt;
    return Around(*middle, [&](POINT point) {
        if (PickAt(point).kind != DRAVGraph::PICK_TILE) return false;
        float x = 0, z = 0;
        const POINT pixel = ToPixels(point);
        return App().GetGraphicsManager().ScreenToWorld(App().GetDevice(), pixel.x, pixel.y, x, z) &&
               static_cast<int>(std::floor(x / kCell)) == column && static_cast<int>(std::floor(z / kCell)) == row;
    });
}

inline std::string HoverTitle() {
    auto* hover = dynamic_cast<DRAVUI::CUIHoverWindow*>(App().GetUIManager().GetHoverWindow());
    return hover ? hover->GetShownInfo().title : "(no hover window)";
}

inline std::string Units(POINT point) { return std::to_string(point.x) + " " + std::to_string(point.y); }

// ---- the people and things of the area ----

using Find = std::function<DRAV::CThing*()>;

inline Find Person(const std::string& templateName) {
    return [templateName]() -> DRAV::CThing* {
        if (DRAV::CArea* area = TheArea())
            for (const auto& actor : area->GetActors())
                if (actor->GetTemplateName() == templateName && actor->IsAlive()) return actor.get();
        return nullptr;
    };
}

// The nearest living foe of the hero.
inline DRAV::CActor* NearestFoe() {
    DRAV::CActor* nearest = nullptr;
    if (DRAV::CArea* area = TheArea())
        for (const auto& actor : area->GetActors())
            if (actor->IsAlive() && actor->GetRelation() == DRAV::RELATION_HOSTILE &&
                (!nearest || Hero().DistanceTo(*actor) < Hero().DistanceTo(*nearest)))
                nearest = actor.get();
    return nearest;
}

// ---- the player's hands ----

// Waits on the clock until `done` holds, at most `ms`.
inline Step WaitUntil(const std::string& what, std::function<bool()> done, int ms) {
    return Next([=] {
        if (done()) return std::vector<Step>{};
        if (ms <= 0) return std::vector<Step>{Problem("waited in vain for " + what + " on " + PageTitle())};
        return std::vector<Step>{Wait(100), WaitUntil(what, done, ms - 100)};
    });
}

// The pointer rests on the thing `find` names, and once the hover window names it
// too, `click` says what the click is.
inline Step PointAtThing(const std::string& what, Find find, std::function<Step(POINT)> click) {
    return Next([=] {
        DRAV::CThing* thing = find();
        if (!thing) return std::vector<Step>{Problem(what + ": not there")};
        const std::optional<POINT> point = WhereToClick(*thing);
        if (!point) return std::vector<Step>{Problem(what + ": nowhere to be seen")};
        const std::string name = dynamic_cast<DRAV::CTalkTarget*>(thing)->GetName();
        const POINT at = *point;
        return std::vector<Step>{PointAt([at] { return Units(at); }, false), Next([=] {
                                     if (HoverTitle() != name)
                                         return std::vector<Step>{Problem(what + ": the hover shows " + HoverTitle())};
                                     return std::vector<Step>{click(at)};
                                 })};
    });
}

inline Step LeftClickAt(POINT at) {
    return PointAt([at] { return Units(at); }, true);
}

inline Step ClickOn(const std::string& what, Find find) { return PointAtThing(what, find, LeftClickAt); }

inline bool PageUp() { return App().GetCurrentDialog() != nullptr; }
// A page of words only, as a trigger or a sign opens on the way: read and closed.
inline bool MessageUp() { return dynamic_cast<CTextDlg*>(App().GetCurrentDialog().get()) != nullptr; }

// Where each member of the party stands, in cells, for a problem's report.
inline std::string PartyPlaces() {
    std::ostringstream text;
    text.precision(3);
    for (const auto& member : TheGame().GetParty())
        text << " " << member->GetName() << " (" << member->GetX() / kCell << ", " << member->GetY() / kCell << ")";
    return text.str();
}

// Every member of the party in the area has done what it was told.
inline bool PartyStopped() {
    const auto& members = TheGame().GetParty();
    return std::none_of(members.begin(), members.end(), [](const auto& member) {
        return member->IsAlive() && member->GetArea() == TheArea() && member->GetCurrentOrder();
    });
}

// One click on the ground towards the cell: the cell itself, or the farthest cell
// on the way from the hero that the view shows, once the hover names the ground.
inline Step ClickTowards(int column, int row) {
    return Next([=] {
        const double x = (column + 0.5) * kCell, z = (row + 0.5) * kCell;
        std::optional<POINT> point;
        for (double share = 1.0; share > 0.05 && !point; share -= 0.1) {
            const double px = Hero().GetX() + (x - Hero().GetX()) * share;
            const double pz = Hero().GetY() + (z - Hero().GetY()) * share;
            point = WhereToStep(static_cast<int>(px / kCell), static_cast<int>(pz / kCell));
        }
        if (!point)
            return std::vector<Step>{
                Problem("no ground in view towards " + std::to_string(column) + " " + std::to_string(row))};
        const POINT at = *point;
        return std::vector<Step>{PointAt([at] { return Units(at); }, false), Next([=] {
                                     DRAVUI::ElementInfo ground;
                                     DRAVUI::ElementInfo::DescribeThing(ground, PickAt(at).thing, nullptr);
                                     if (HoverTitle() != ground.title)
                                         return std::vector<Step>{Problem("the hover shows " + HoverTitle() +
                                                                          " over " + ground.title)};
                                     return std::vector<Step>{LeftClickAt(at)};
                                 })};
    });
}

// The hero is sent one click at a time towards the cell, with whoever is
// selected, until she stands there or a page other than a message opens on the
// way; a message is read and the walk goes on. Each click is let run until the
// hero stops.
inline Step WalkTo(int column, int row, int clicks = 8) {
    return Next([=] {
        const double x = (column + 0.5) * kCell, z = (row + 0.5) * kCell;
        if (MessageUp()) return std::vector<Step>{Key(SDL_SCANCODE_RETURN), Wait(100), WalkTo(column, row, clicks)};
        // Within a step of the cell is there: someone may stand on it.
        if (PageUp() || Hero().DistanceToPoint(x, z) < 1.5 * kCell) return std::vector<Step>{};
        if (clicks == 0)
            return std::vector<Step>{Problem("walking to " + std::to_string(column) + " " + std::to_string(row) +
                                             ": stuck at " + std::to_string(Hero().GetX() / kCell) + " " +
                                             std::to_string(Hero().GetY() / kCell))};
        return std::vector<Step>{ClickTowards(column, row), Wait(300),
                                 WaitUntil(
                                     "the hero to stop", [] { return PageUp() || !Hero().GetCurrentOrder(); }, 8000),
                                 WalkTo(column, row, clicks - 1)};
    });
}

// The selected party is walked towards the cell until `there` holds: the hero
// standing near the cell is not enough when it asks for the others too, so
// each click is let run until every member has stopped, and clicks go on while
// `there` does not hold. A message or a tutorial page on the way is read.
inline Step WalkPartyUntil(const std::string& what, int column, int row, std::function<bool()> there,
                           int clicks = 8) {
    return Next([=] {
        if (MessageUp() || dynamic_cast<CHelpDlg*>(App().GetCurrentDialog().get()))
            return std::vector<Step>{Key(SDL_SCANCODE_RETURN), Wait(100),
                                     WalkPartyUntil(what, column, row, there, clicks)};
        if (there()) return std::vector<Step>{};
        if (PageUp()) return std::vector<Step>{Problem("walking for " + what + ": " + PageTitle() + " opened")};
        if (clicks == 0) return std::vector<Step>{Problem("walked in vain for " + what + ":" + PartyPlaces())};
        return std::vector<Step>{ClickTowards(column, row), Wait(300),
                                 WaitUntil(
                                     "the party to stop", [there] { return PageUp() || there() || PartyStopped(); },
                                     8000),
                                 WalkPartyUntil(what, column, row, there, clicks - 1)};
    });
}

// The reply of the conversation page whose text is `reply`, by its button.
inline Step Answer(const std::string& reply) {
    return Next([reply] {
        auto* talk = dynamic_cast<CTalkDlg*>(App().GetCurrentDialog().get());
        if (!talk) return std::vector<Step>{Problem("no conversation to answer \"" + reply + "\" on " + PageTitle())};
        const auto& replies = talk->GetReplies();
        // Each reply reads as its number, " : " and its text.
        const auto found = std::find_if(replies.begin(), replies.end(), [&](const std::string& offered) {
            return offered.size() >= reply.size() &&
                   offered.compare(offered.size() - reply.size(), reply.size(), reply) == 0;
        });
        if (found == replies.end()) {
            std::string offered;
            for (const auto& one : replies) offered += " [" + one + "]";
            return std::vector<Step>{Problem(talk->GetTitle() + " offers no \"" + reply + "\" but" + offered)};
        }
        return std::vector<Step>{ClickId(CTalkDlg::kFirstReplyId + static_cast<int>(found - replies.begin())),
                                 Wait(100)};
    });
}

inline bool Talking() { return dynamic_cast<CTalkDlg*>(App().GetCurrentDialog().get()) != nullptr; }

// Pages of words and of the tutorial that opened on their own are read and closed;
// one that keeps opening again is a problem.
inline Step ClosePages(int pages = 10) {
    return Next([pages] {
        const auto* dialog = App().GetCurrentDialog().get();
        if (!MessageUp() && !dynamic_cast<const CHelpDlg*>(dialog)) return std::vector<Step>{};
        if (pages == 0) return std::vector<Step>{Problem(PageTitle() + " opens again each time it is closed")};
        return std::vector<Step>{Key(SDL_SCANCODE_RETURN), Wait(100), ClosePages(pages - 1)};
    });
}

// A page whose title starts with `title` is up; it is read and closed with Enter.
inline std::vector<Step> ReadAndClose(const std::string& title) {
    return {WaitUntil(
                title, [title] { return PageTitle().rfind(title, 0) == 0; }, 3000),
            Key(SDL_SCANCODE_RETURN), Wait(100)};
}

}  // namespace QuillmereE2E::AtTheWindow
