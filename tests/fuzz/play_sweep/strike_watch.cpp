#include "play_sweep/strike_watch.h"

#include <cmath>
#include <limits>

#include "engine/holding_reach.h"

namespace QuillmerePlaySweep {
namespace {

// Game ticks in a second of the window's clock, at the normal speed.
constexpr std::uint32_t kTicksPerSecond = 60;
// Game time in which a strike on a member standing still is one the player had no
// chance to see coming.
constexpr std::uint32_t kCalmTicks = 3 * kTicksPerSecond;
// Game time after a wake in which no member is struck, standing or walking.
constexpr std::uint32_t kWakeTicks = 30 * kTicksPerSecond;
// The party stands safe with no foe loose this near any member: the reach at which
// the game counts the party in battle.
constexpr double kBattleReach = 150.0;

// The foes free to fight: turned on the party and not held back.
std::set<DRAV::ThingId> LooseFoes(const Sight& sight) {
    std::set<DRAV::ThingId> loose;
    for (const FigureSight& figure : sight.figures)
        if (figure.alive && figure.hostile && !figure.held) loose.insert(figure.id);
    return loose;
}

// Those of the area who have not turned on the party.
std::set<DRAV::ThingId> Unturned(const Sight& sight) {
    std::set<DRAV::ThingId> unturned;
    for (const FigureSight& figure : sight.figures)
        if (!figure.member && figure.alive && !figure.hostile) unturned.insert(figure.id);
    return unturned;
}

bool NearAMember(const Sight& sight, const std::set<DRAV::ThingId>& foes) {
    for (const DRAV::ThingId id : foes)
        for (const FigureSight& member : sight.figures)
            if (member.member && member.alive &&
                std::hypot(member.x - sight.Figure(id)->x, member.z - sight.Figure(id)->z) <= kBattleReach)
                return true;
    return false;
}

}  // namespace

void CStrikeWatch::Renumber(const std::map<DRAV::ThingId, DRAV::ThingId>& renumbered) {
    RenumberKeys(m_hitPoints, renumbered);
    RenumberKeys(m_standing, renumbered);
    RenumberKeys(m_foes, renumbered);
    for (auto& [id, foe] : m_foes) foe.id = id;
    for (std::set<DRAV::ThingId>* kept :
         {&m_loose, &m_looseThroughCalm, &m_fighting, &m_fightingBeforeCalm, &m_walked, &m_unsorted, &m_unprovoked,
          &m_walkers, &m_hostile, &m_hostileBeforeCalm, &m_unturned, &m_unturnedBeforeCalm, &m_playersFoes})
        RenumberAll(*kept, renumbered);
    for (auto& [area, seen] : m_seenIn) RenumberAll(seen, renumbered);
    const auto partner = renumbered.find(m_talkPartner);
    m_talkPartner = partner == renumbered.end() ? 0 : partner->second;
}

void CStrikeWatch::NoteBlows(const Sight& sight, const std::deque<std::string>& newLines) {
    // The foes of the last look, those felled since among them, and of this one.
    std::map<DRAV::ThingId, FigureSight> foes = m_foes;
    for (const FigureSight& figure : sight.figures)
        if (figure.hostile && figure.alive) foes[figure.id] = figure;
    for (const std::string& line : newLines) {
        if (!TellsOfTheFight(line)) continue;
        const auto named = [&line](const std::string& name) { return !name.empty() && line.find(name) != std::string::npos; };
        for (const FigureSight& member : sight.figures) {
            if (!member.FightsForTheParty() || !named(member.name)) continue;
            std::set<std::string> names;
            for (const auto& [id, foe] : foes)
                if (named(foe.name)) names.insert(foe.name);
            for (const std::string& name : names) {
                DRAV::ThingId nearest = 0;
                double nearestAway = std::numeric_limits<double>::max();
                bool fighting = false;
                for (const auto& [id, foe] : foes) {
                    if (foe.name != name) continue;
                    const bool atHer = (foe.order.kind == OrderSight::Kind::Fight && foe.order.thing == member.id) ||
                                       (member.order.kind == OrderSight::Kind::Fight && member.order.thing == id);
                    if (atHer) m_fighting.insert(id);
                    fighting = fighting || atHer;
                    const double away = std::hypot(member.x - foe.x, member.z - foe.z);
                    if (away < nearestAway) {
                        nearest = id;
                        nearestAway = away;
                    }
                }
                if (!fighting && nearest) m_fighting.insert(nearest);
            }
        }
    }
}

void CStrikeWatch::NoteStrikes(const Sight& sight) {
    for (const FigureSight& foe : sight.figures) {
        if (!foe.alive || !foe.hostile || foe.member) continue;
        for (const FigureSight& member : sight.figures)
            if (member.FightsForTheParty() && member.alive &&
                (foe.striking == member.id || member.striking == foe.id))
                m_fighting.insert(foe.id);
    }
}

void CStrikeWatch::SortRoused(const Sight& sight, const std::set<DRAV::ThingId>& loose, bool boxUp) {
    // One the story places as the box opens, or since, was set there to strike;
    // but a box that opens on a party at rest holds back every foe turned on it,
    // so one loose under it, no fight under way, would strike unprovoked. One that
    // stood there, held back or not yet turned, strikes only a party that came to
    // it: a member walking near it.
    for (const DRAV::ThingId foe : loose) {
        if (m_loose.count(foe)) continue;
        if (m_hostileBeforeCalm.count(foe) || m_unturnedBeforeCalm.count(foe))
            m_unsorted.insert(foe);
        else if (boxUp && m_calmByBox && m_fightingBeforeCalm.empty())
            m_unprovoked.insert(foe);
    }
    // Under a box the clock stands: whether the party walks on by a foe shows once it is gone.
    if (boxUp) return;
    for (const DRAV::ThingId id : m_unsorted) {
        const FigureSight* foe = sight.Figure(id);
        bool passed = false;
        for (const FigureSight& member : sight.figures)
            passed = passed || (foe && member.member && member.alive &&
                                (member.order.kind != OrderSight::Kind::None || m_walkers.count(member.id)) &&
                                std::hypot(member.x - foe->x, member.z - foe->z) <= DRAV::kHoldingReach);
        if (!passed) m_unprovoked.insert(id);
    }
    m_unsorted.clear();
}

bool CStrikeWatch::ByThePartyAlone(const Sight& sight, const FigureSight& member,
                                   const std::deque<std::string>& newLines) {
    bool byMember = false, byAnother = false;
    for (const std::string& line : newLines) {
        if (!TellsOfTheFight(line) || line.find(member.name) == std::string::npos) continue;
        bool memberFirst = false;
        for (const FigureSight& other : sight.figures)
            memberFirst = memberFirst || (other.member && other.id != member.id && line.rfind(other.name, 0) == 0);
        (memberFirst ? byMember : byAnother) = true;
    }
    return byMember && !byAnother;
}

void CStrikeWatch::Check(CFindings& findings, int turn, const Sight& sight, const std::deque<std::string>& newLines) {
    if (!sight.playing) {
        m_hitPoints.clear();
        m_loose.clear();
        m_fighting.clear();
        return;
    }
    // A load numbers everyone anew; the game it loaded is the one last seen, saved.
    const bool loaded = AnotherGame(m_game, sight) && !sight.renumbered.empty();
    if (AnotherGame(m_game, sight)) {
        Renumber(sight.renumbered);
        m_game = sight.game;
    }
    const Arrival arrival = m_arrivals.Next(sight);
    const bool waking = arrival.waking, arrived = arrival.arrived;
    const std::uint32_t now = sight.tick;
    const bool boxUp = sight.page.kind == PageSight::Kind::Box;
    // Looks come faster than ticks while a page is up: a calm begins once.
    bool calmBegins = false;
    NoteBlows(sight, newLines);
    if (arrived) {
        // The party comes in with its orders left behind, and what the journey or
        // the rest healed is no strike: what it has now is where the count starts.
        // Nothing of the area was loose before.
        m_area = sight.area;
        m_calmFrom = now;
        m_calmTicks = waking ? kWakeTicks : kCalmTicks;
        m_calmWhy = (waking ? "waking in " : "arriving in ") + m_area;
        m_calmByBox = false;
        m_calmByWake = waking;
        m_hitPoints.clear();
        m_loose.clear();
        m_walkers.clear();
        // The party's coming holds back every foe that was there, those that chased
        // it out too; one loose as it comes in that is new to the area was placed
        // by the story on the way in, and one not yet turned, as the lookout posted
        // on the trail head, waits to be roused. The party wakes among foes that
        // are all held: none is placed loose upon it.
        const std::set<DRAV::ThingId>& metHere = m_seenIn[m_area];
        m_hostile.clear();
        for (const FigureSight& figure : sight.figures)
            if (figure.hostile && (waking || figure.held || metHere.count(figure.id))) m_hostile.insert(figure.id);
        m_unturned = Unturned(sight);
        m_playersFoes.clear();
        m_fighting.clear();
        calmBegins = true;
    } else if (boxUp && !m_boxUp && !(m_calmByWake && now - m_calmFrom <= m_calmTicks)) {
        // A box within the wake's half minute leaves it judged as a wake.
        m_calmFrom = now;
        m_calmTicks = kCalmTicks;
        m_calmWhy = "the box \"" + sight.page.title + "\" opening";
        m_calmByBox = true;
        m_calmByWake = false;
        calmBegins = true;
    }
    m_boxUp = boxUp;
    if (loaded) NoteStrikes(sight);
    if (calmBegins) {
        m_hostileBeforeCalm = m_hostile;
        m_unturnedBeforeCalm = m_unturned;
        m_looseThroughCalm = m_loose;
        m_fightingBeforeCalm = m_fighting;
        m_walked.clear();
        m_unsorted.clear();
        m_unprovoked.clear();
    }
    const std::set<DRAV::ThingId> loose = LooseFoes(sight);
    SortRoused(sight, loose, boxUp);
    // Who has been loose since before the calm, up to the last look and now.
    const std::set<DRAV::ThingId> looseThrough = m_looseThroughCalm;
    for (auto foe = m_looseThroughCalm.begin(); foe != m_looseThroughCalm.end();)
        foe = loose.count(*foe) ? std::next(foe) : m_looseThroughCalm.erase(foe);
    // The player's fights: whom an order went for, whom a talk turned, and who came
    // loose while one of those was loose.
    const bool talkUp = sight.page.kind == PageSight::Kind::Talk;
    if (talkUp) m_talkPartner = sight.page.partner;
    const DRAV::ThingId partner = talkUp || m_talkWasUp ? m_talkPartner : 0;
    m_talkWasUp = talkUp;
    for (const DRAV::ThingId foe : loose)
        if (!m_loose.count(foe) && foe == partner) m_playersFoes.insert(foe);
    for (const FigureSight& member : sight.figures)
        if (member.member && member.order.kind == OrderSight::Kind::Fight && member.order.thing)
            m_playersFoes.insert(member.order.thing);
    // Those the same blow or answer turns, as its friends rally to the one struck,
    // come loose at the same look.
    // A member's blow at anyone not of the party's side ends every hold the game
    // keeps, the wake's calm too: who comes loose while she fights comes to that fight.
    bool fightOn = false;
    for (const DRAV::ThingId foe : m_playersFoes) fightOn = fightOn || m_loose.count(foe) || loose.count(foe);
    for (const FigureSight& member : sight.figures)
        fightOn = fightOn || (member.member && member.order.kind == OrderSight::Kind::Fight);
    for (const DRAV::ThingId foe : loose)
        if (!m_loose.count(foe) && fightOn) m_playersFoes.insert(foe);
    // A blow is explained when each foe loose now or at the last look is: one of
    // the player's fight, one of the fight under way before the calm (a box in a
    // fight holds back nobody, so any foe loose as it opened is of that fight), or
    // one roused since the calm began as an ambush is. With none loose, a fight of
    // the player's or one under way may yet have dealt it.
    // The wake's calm holds back every foe however near the party walks: only a
    // fight the party began explains a blow in it.
    const auto explains = [&](DRAV::ThingId foe) {
        if (m_calmByWake) return m_playersFoes.count(foe) != 0;
        if (m_playersFoes.count(foe) || m_fightingBeforeCalm.count(foe)) return true;
        return looseThrough.count(foe) ? !m_fightingBeforeCalm.empty()
                                       : !m_unprovoked.count(foe) && !m_unsorted.count(foe);
    };
    bool explained = !m_playersFoes.empty() || !m_fightingBeforeCalm.empty();
    if (!loose.empty() || !m_loose.empty()) {
        explained = true;
        for (const DRAV::ThingId foe : loose) explained = explained && explains(foe);
        for (const DRAV::ThingId foe : m_loose) explained = explained && explains(foe);
    }

    std::map<DRAV::ThingId, int> hitPoints;
    std::map<DRAV::ThingId, bool> stands;
    if (!boxUp) m_walkers.clear();
    for (const FigureSight& member : sight.figures) {
        if (!member.member) continue;
        // The blow that fells a member is a blow too; the fallen are counted no more.
        if (member.alive) {
            hitPoints[member.id] = member.hitPoints;
            stands[member.id] = member.order.kind == OrderSight::Kind::None;
        }
        const auto before = m_hitPoints.find(member.id);
        // After a wake every member is judged, whether she stood or walked.
        const bool stood = m_calmByWake || ((!m_standing.count(member.id) || m_standing[member.id] ||
                                             m_calmFrom == now) &&
                                            !m_walked.count(member.id));
        // Under a box the clock stands: an order seen then is the walk before it.
        if (member.alive && !stands[member.id] && !boxUp) {
            m_walked.insert(member.id);
            m_walkers.insert(member.id);
        }
        if (before == m_hitPoints.end() || (member.hitPoints >= before->second && member.alive) || !stood) continue;
        if (now - m_calmFrom > m_calmTicks || explained || ByThePartyAlone(sight, member, newLines)) continue;
        std::string blow;
        for (const std::string& line : newLines)
            if (line.find(member.name) != std::string::npos && blow.empty()) blow = ": \"" + line + "\"";
        findings.Report("struck", turn,
                        member.name + (m_calmByWake ? "" : ", standing still,") + " was struck within " +
                            std::to_string((now - m_calmFrom + kTicksPerSecond - 1) / kTicksPerSecond) + " s of " +
                            m_calmWhy + blow);
    }
    m_hitPoints = std::move(hitPoints);
    m_standing = std::move(stands);
    m_loose = loose;
    if (!NearAMember(sight, loose)) m_fighting.clear();
    m_unturned = Unturned(sight);
    for (const FigureSight& figure : sight.figures) m_seenIn[m_area].insert(figure.id);
    m_hostile.clear();
    m_foes.clear();
    for (const FigureSight& figure : sight.figures)
        if (figure.hostile) {
            m_hostile.insert(figure.id);
            if (figure.alive) m_foes[figure.id] = figure;
        }
}

}  // namespace QuillmerePlaySweep
