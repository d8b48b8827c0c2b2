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
// A walk whose people have stood still this long with the order still on, a foe
// at one of them and nothing said, is held there by the fight without a word:
// longer than a blow's wind-up and recovery take. With no foe at them, the game
// gives a walk kept by people in its way, or by walls, up to fifteen seconds to
// find a way round or give up.
constexpr std::uint32_t kStillTicks = 3 * kTicksPerSecond;
constexpr std::uint32_t kKeptTicks = 20 * kTicksPerSecond;
// Less than this between two looks is standing still.
constexpr double kStirred = 0.05;
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
    m_walkOrder.reset();
    m_wasWalking = figure && figure->order.kind != OrderSight::Kind::None;
    m_begun = false;
    m_acts = false;
    m_partyWalk = false;
    m_walkers.clear();
    m_places.clear();
    m_movedAt = sight.tick;
    m_atWayOutFrom = 0;
    m_page.reset();
    m_pageTitle.clear();
    m_pages = 0;
    m_talkWith = 0;
    m_hailed = false;
}

bool CWalkWatch::TakeUpOrder(const Sight& sight, const FigureSight& mover) {
    const OrderSight& order = mover.order;
    const bool given = order.kind != OrderSight::Kind::None && order.identity != m_before.lock();
    // Moving on with no new order is the walk before going on, unless there was none
    // and the new one ended between two looks.
    if (!given && (m_wasWalking || Distance(mover.x, mover.z, m_fromX, m_fromZ) < kMovedAway)) return false;
    m_begun = true;
    m_walkOrder = order.identity;
    // An order to fight, cast or act is carried out by the mover's own deed; one
    // that ended between two looks may have been such.
    m_acts = !given || order.kind == OrderSight::Kind::Fight || order.kind == OrderSight::Kind::Other;
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

bool CWalkWatch::PartyStillGoing(const Sight& sight, const FigureSight& mover) {
    const ThingSight* wayOut = sight.Thing(m_target);
    if (!wayOut || wayOut->wayOut.empty()) return false;
    bool going = false;
    for (const FigureSight& member : sight.figures)
        if (member.member && member.alive && member.id != mover.id && member.order.thing == m_target) {
            m_walkers.insert(member.id);
            going = true;
        }
    return going;
}

const FigureSight* CWalkWatch::TakeOverFrom(const Sight& sight) {
    const FigureSight* fallen = sight.Figure(m_mover);
    for (const DRAV::ThingId id : m_walkers) {
        const FigureSight* walker = sight.Figure(id);
        if (!walker || !walker->alive || id == m_mover) continue;
        m_what += " (" + walker->name + " walking on after " + (fallen ? fallen->name : "another") + " fell)";
        m_mover = id;
        return walker;
    }
    return nullptr;
}

bool CWalkWatch::SaysWhy(const Sight& sight, const std::string& line, const FigureSight& mover,
                         const std::string& target) const {
    const auto names = [&line](const std::string& who) { return !who.empty() && line.find(who) != std::string::npos; };
    bool party = names(mover.name);
    for (const DRAV::ThingId id : m_walkers)
        if (const FigureSight* walker = sight.Figure(id); walker && walker->alive) party = party || names(walker->name);
    // A way out takes the whole party: a word of it may name whoever stayed behind.
    const ThingSight* thing = sight.Thing(m_target);
    if (thing && !thing->wayOut.empty() && line.find("the way out") != std::string::npos)
        for (const FigureSight& member : sight.figures) party = party || (member.member && member.alive && names(member.name));
    if (!party && !names(target)) return false;
    // What is said in a talk is no word of the walk's.
    if (line.find(" : ") != std::string::npos) return false;
    // A blow or a spell says only that one given to fight or cast did so: a line of
    // her own deed begins with her name.
    return !TellsOfTheFight(line) || (m_acts && line.rfind(mover.name, 0) == 0);
}

bool CWalkWatch::FoeAtTheWalk(const Sight& sight) const {
    for (const FigureSight& foe : sight.figures)
        if (foe.alive && foe.hostile && foe.order.kind == OrderSight::Kind::Fight &&
            (foe.order.thing == m_mover || m_walkers.count(foe.order.thing)))
            return true;
    return false;
}

void CWalkWatch::NoteMoves(const Sight& sight) {
    std::set<DRAV::ThingId> people = m_walkers;
    people.insert(m_mover);
    for (const DRAV::ThingId id : people) {
        const FigureSight* figure = sight.Figure(id);
        if (!figure) continue;
        const auto last = m_places.find(id);
        if (last != m_places.end() && Distance(figure->x, figure->z, last->second.first, last->second.second) > kStirred)
            m_movedAt = sight.tick;
        m_places[id] = {figure->x, figure->z};
    }
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
        // Each answer in a talk brings a page of its own, under the clock standing:
        // the same two still talking from one look to the next is one talk.
        const bool talkGoesOn = page.kind == PageSight::Kind::Talk && page.partner &&
                                page.partner == m_talkWith && page.title == m_pageTitle;
        if (!elsewhere && page.identity != m_page.lock()) {
            m_page = page.identity;
            if (!talkGoesOn) m_pages = page.title == m_pageTitle ? m_pages + 1 : 1;
            m_pageTitle = page.title;
        }
        m_talkWith = !elsewhere && page.kind == PageSight::Kind::Talk ? page.partner : 0;
        return;
    }
    m_talkWith = 0;
    const FigureSight* mover = sight.Figure(m_mover);
    // The mover fell: the rest of the party walking there walks on, and the walk is
    // theirs; alone, she ended her own walk.
    if (sight.playing && sight.area == m_area && mover && !mover->alive) mover = TakeOverFrom(sight);
    if (!sight.playing || sight.area != m_area || !mover) {
        m_active = false;
        return;
    }
    if (std::exchange(m_hailed, false) && m_begun && mover->order.kind == OrderSight::Kind::None) {
        m_active = false;
        return;
    }
    const std::uint32_t spent = sight.tick - m_startTick;
    // The walk over between two looks, a walk elsewhere in its place is another's
    // asking: the mover steps aside for a member walking by.
    if (m_begun && m_walkOrder.expired() && mover->order.kind == OrderSight::Kind::Ground &&
        mover->order.identity && Distance(mover->order.x, mover->order.z, m_x, m_z) > kGroundReach) {
        m_active = false;
        return;
    }
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
    const bool othersGoing = PartyStillGoing(sight, *mover);
    NoteMoves(sight);
    // A word is among the lines that came since the click: the log drops its oldest
    // lines as it fills, and an old line naming the mover is no word about this walk.
    bool word = false;
    for (const std::string& line : LinesAfter(m_log, sight.log)) word = word || SaysWhy(sight, line, *mover, name);
    // A thing is reached where the game lets it be used: at its edge.
    const bool arrived = Distance(mover->x, mover->z, m_x, m_z) <= m_reach || (thing && thing->within.count(m_mover)) ||
                         PointTaken(sight, *mover);
    m_partyWalk = m_partyWalk || othersGoing;
    // A party walking to a way out waits for the last of it, however near the first came.
    const bool wayOut = thing && !thing->wayOut.empty();
    const bool ordered = mover->order.kind != OrderSight::Kind::None || (othersGoing && (arrived || wayOut));
    if (ordered || word || m_pages > 0) {
        m_atWayOutFrom = 0;
        if (!ordered) m_active = false;
        else if (m_pages >= kMostPages) Report(findings, turn, sight, *mover, Stand::PageAgain);
        else if (spent > kLongestOrderTicks) Report(findings, turn, sight, *mover, Stand::Endless);
        else if (!word && sight.tick - m_movedAt >= (FoeAtTheWalk(sight) ? kStillTicks : kKeptTicks))
            Report(findings, turn, sight, *mover, Stand::StoodOrdered);
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
    } else if (stand == Stand::StoodOrdered) {
        text << "the walk stood still " << (sight.tick - m_movedAt) / kTicksPerSecond << " s with the order on, "
             << mover.name << " " << away / kCellSize << " cells short at " << CellText(mover.x, mover.z)
             << ", with no word";
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
