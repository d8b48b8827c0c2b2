#include "play_sweep/walk_watch.h"

#include <cmath>
#include <sstream>
#include <utility>

#include "world/cell.h"

namespace QuillmerePlaySweep {
namespace {

using DRAV::kCellSize;

// Game ticks in a second of the window's clock, at the normal speed.
constexpr std::uint32_t kTicksPerSecond = 60;
// An order that has not ended in thirty seconds of the window's clock will not.
constexpr std::uint32_t kLongestOrderTicks = 30 * kTicksPerSecond;
// An order whose page the player closes and that opens it again as often has
// no end.
constexpr int kMostPages = 3;
// A mover that stands still this long after the click has stopped for good; a
// question of leaving that has not come this long after the walk ended will not.
constexpr std::uint32_t kGraceTicks = 30;
// A mover that has come this far from where it stood has set out.
constexpr double kMovedAway = 0.5;
// A walk on the ground ends this near its own point: someone standing on it keeps
// the walker off by the two of them.
constexpr double kGroundReach = 1.5 * kCellSize;
// How near a door's middle one stands to open it.
constexpr double kDoorReach = 3.0 * kCellSize;
// More than a step of the quickest walker in a tick.
constexpr double kStep = 1.0;
// How near the player's own clicks take one to a person or a thing.
constexpr double kThingReach = 2.0 * kCellSize;

double Distance(double x, double z, double toX, double toZ) { return std::hypot(x - toX, z - toZ); }

std::string CellText(double x, double z) {
    std::ostringstream text;
    text << "(" << static_cast<int>(x / kCellSize) << ", " << static_cast<int>(z / kCellSize) << ")";
    return text.str();
}

}  // namespace

void CWalkWatch::Start(const Sight& sight, const std::string& what, DRAV::ThingId mover, DRAV::ThingId target,
                       double x, double z, double reach) {
    m_active = true;
    m_what = what;
    m_area = sight.area;
    m_mover = mover;
    m_target = target;
    m_x = x;
    m_z = z;
    m_reach = reach;
    m_startTick = sight.tick;
    m_log = sight.log;
    const FigureSight* figure = sight.Figure(mover);
    m_fromX = figure ? figure->x : 0.0;
    m_fromZ = figure ? figure->z : 0.0;
    m_before = figure ? figure->order.identity : nullptr;
    m_wasWalking = figure && figure->order.kind != OrderSight::Kind::None;
    m_begun = false;
    m_partyWalk = false;
    m_atWayOutFrom = 0;
    m_page.reset();
    m_pageTitle.clear();
    m_pages = 0;
    m_hailed = false;
}

bool CWalkWatch::TakeUpOrder(const Sight& sight, const FigureSight& mover) {
    const OrderSight& order = mover.order;
    const bool given = order.kind != OrderSight::Kind::None && order.identity != m_before.lock();
    // Moving on with no new order is the walk before going on, unless there was none
    // and the new one ended between two looks.
    if (!given && (m_wasWalking || Distance(mover.x, mover.z, m_fromX, m_fromZ) < kMovedAway)) return false;
    m_begun = true;
    if (!given) return true;
    if (order.kind == OrderSight::Kind::Ground) {
        // A walk on the ground goes to the member's own place in the formation.
        if (m_target) m_what += " (the click walked to the ground there)";
        m_target = 0;
        m_x = order.x;
        m_z = order.z;
        m_reach = kGroundReach;
    } else if (order.kind == OrderSight::Kind::Door) {
        m_what += " (the click picked a door there)";
        m_target = 0;
        m_x = order.x;
        m_z = order.z;
        m_reach = mover.radius + kDoorReach;
    } else if ((order.kind == OrderSight::Kind::Thing || order.kind == OrderSight::Kind::Fight) && order.thing &&
               order.thing != m_target) {
        // The click picked someone or something else drawn there.
        const std::string name = sight.NameOf(order.thing);
        m_what += " (the click picked " + (name.empty() ? std::string("another") : name) + ")";
        m_target = order.thing;
        m_reach = kThingReach;
    }
    return true;
}

bool CWalkWatch::PointTaken(const Sight& sight, const FigureSight& mover) const {
    // Someone standing on the point keeps the walker off by the two of them.
    if (m_target) return false;
    for (const FigureSight& other : sight.figures) {
        const double both = mover.radius + other.radius;
        if (other.id != mover.id && other.alive && Distance(other.x, other.z, m_x, m_z) < both &&
            Distance(mover.x, mover.z, other.x, other.z) <= both + kStep)
            return true;
    }
    return false;
}

bool CWalkWatch::PartyStillGoing(const Sight& sight, const FigureSight& mover) const {
    const ThingSight* wayOut = sight.Thing(m_target);
    if (!wayOut || wayOut->wayOut.empty()) return false;
    for (const FigureSight& member : sight.figures)
        if (member.member && member.alive && member.id != mover.id && member.order.thing == m_target) return true;
    return false;
}

void CWalkWatch::Check(CFindings& findings, int turn, const Sight& sight) {
    if (!m_active) return;
    std::string name = sight.NameOf(m_target);
    if (sight.playing && sight.page.kind != PageSight::Kind::None) {
        // A page of the walk's own: not a box that opens on its own way, nor another's talk.
        const PageSight& page = sight.page;
        const bool elsewhere = page.kind == PageSight::Kind::Box ||
                               (page.kind == PageSight::Kind::Talk &&
                                (name.empty() || page.title.find(name) == std::string::npos));
        // Another's talk is a hail: the party stops to answer it, and the page the
        // player read says why the walk ended there.
        m_hailed = m_hailed || (elsewhere && page.kind == PageSight::Kind::Talk);
        if (!elsewhere && page.identity != m_page.lock()) {
            m_page = page.identity;
            m_pages = page.title == m_pageTitle ? m_pages + 1 : 1;
            m_pageTitle = page.title;
        }
        return;
    }
    const FigureSight* mover = sight.Figure(m_mover);
    if (!sight.playing || sight.area != m_area || !mover || !mover->alive) {
        m_active = false;
        return;
    }
    if (std::exchange(m_hailed, false) && m_begun && mover->order.kind == OrderSight::Kind::None) {
        m_active = false;
        return;
    }
    const std::uint32_t spent = sight.tick - m_startTick;
    if (!m_begun) {
        if (!TakeUpOrder(sight, *mover)) {
            // Nothing came of the click: it picked what gives no order, or nothing.
            if (spent >= kGraceTicks) m_active = false;
            return;
        }
        name = sight.NameOf(m_target);
    }
    const FigureSight* person = sight.Figure(m_target);
    const ThingSight* thing = sight.Thing(m_target);
    if (person) {
        m_x = person->x;
        m_z = person->z;
    } else if (thing) {
        m_x = thing->x;
        m_z = thing->z;
    } else if (m_target) {
        // What it went for is gone: nothing left to reach.
        m_active = false;
        return;
    }
    // A word that says why names the one who went or what it went for, among the
    // lines that came since the click: the log drops its oldest lines as it fills,
    // and an old line naming the mover is no word about this walk.
    bool word = false;
    for (const std::string& line : LinesAfter(m_log, sight.log))
        word = word || line.find(mover->name) != std::string::npos ||
               (!name.empty() && line.find(name) != std::string::npos);
    // A thing is reached where the game lets it be used: at its edge.
    const bool arrived = Distance(mover->x, mover->z, m_x, m_z) <= m_reach || (thing && thing->within.count(m_mover)) ||
                         PointTaken(sight, *mover);
    const bool othersGoing = PartyStillGoing(sight, *mover);
    m_partyWalk = m_partyWalk || othersGoing;
    // A party walking to a way out waits for the last of it, however near the first came.
    const bool wayOut = thing && !thing->wayOut.empty();
    const bool ordered = mover->order.kind != OrderSight::Kind::None || (othersGoing && (arrived || wayOut));
    if (ordered || word || m_pages > 0) {
        m_atWayOutFrom = 0;
        if (!ordered) m_active = false;
        else if (m_pages >= kMostPages) Report(findings, turn, sight, *mover, Stand::PageAgain);
        else if (spent > kLongestOrderTicks) Report(findings, turn, sight, *mover, Stand::Endless);
        return;
    }
    if (wayOut && sight.offered == thing->wayOut) {
        // The question of leaving follows the walk's end at a way out the party is
        // offered, arrived or kept off by those ahead; it has a moment to come.
        if (!m_atWayOutFrom) m_atWayOutFrom = sight.tick;
        if (sight.tick - m_atWayOutFrom >= kGraceTicks) Report(findings, turn, sight, *mover, Stand::NoQuestion);
    } else if (arrived && wayOut && m_partyWalk) {
        Report(findings, turn, sight, *mover, Stand::PartyShort);
    } else if (arrived) {
        // There: at a way out not offered, one member alone, the rest away, is no party to ask.
        m_active = false;
    } else if (spent >= kGraceTicks) {
        Report(findings, turn, sight, *mover, Stand::Short);
    }
}

void CWalkWatch::Report(CFindings& findings, int turn, const Sight& sight, const FigureSight& mover, Stand stand) {
    std::ostringstream text;
    text.precision(2);
    text << std::fixed << m_what << " in " << m_area << ": ";
    const double away = Distance(mover.x, mover.z, m_x, m_z);
    if (stand == Stand::PageAgain) {
        text << "the order did not end: the page " << m_pageTitle << " opened " << m_pages << " times over";
    } else if (stand == Stand::Endless) {
        text << "the order had not ended after " << kLongestOrderTicks / kTicksPerSecond << " s, " << mover.name
             << " at " << CellText(mover.x, mover.z) << ", " << away / kCellSize << " cells away";
    } else if (stand == Stand::NoQuestion) {
        text << "the party stood at it, the way out offered, with no question of leaving and no word";
    } else if (stand == Stand::PartyShort) {
        // At a way out the rest of the party came no nearer: no question, no word.
        const FigureSight* farthest = &mover;
        for (const FigureSight& member : sight.figures)
            if (member.member && member.alive &&
                Distance(member.x, member.z, m_x, m_z) > Distance(farthest->x, farthest->z, m_x, m_z))
                farthest = &member;
        text << mover.name << " stood at it with no question of leaving: " << farthest->name << " stood still "
             << Distance(farthest->x, farthest->z, m_x, m_z) / kCellSize << " cells short at "
             << CellText(farthest->x, farthest->z) << " with no word";
    } else {
        text << mover.name << " stood still " << away / kCellSize << " cells short at " << CellText(mover.x, mover.z)
             << " with no word";
    }
    findings.Report("walk", turn, text.str());
    m_active = false;
}

}  // namespace QuillmerePlaySweep
