#include "play_sweep/player_watch.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <set>
#include <sstream>

#include "game/dialogs/maps/help_dlg.h"
#include "game/dialogs/talk/talk_dlg.h"
#include "game/dialogs/text_dlg.h"
#include "player_at_window.h"
#include "platform/win32/win32_time.h"
#include "ui/text_markup.h"

namespace QuillmerePlaySweep {
namespace {

using namespace QuillmereE2E::AtTheWindow;

// A word of a text that a fill-in left standing: a shouted word of four letters or
// more, alone or with what a writer punctuates it with.
constexpr std::size_t kShortestMarker = 4;

// Game ticks in a second of the window's clock, at the normal speed.
constexpr std::uint32_t kTicksPerSecond = 60;
// Game time in which a strike on a member standing still is one the player had no
// chance to see coming: two seconds of the window's clock.
constexpr std::uint32_t kCalmTicks = 2 * kTicksPerSecond;

// An order that has not ended in thirty seconds of the window's clock will not.
constexpr std::uint32_t kLongestOrderTicks = 30 * kTicksPerSecond;
// An order whose page the player closes and that opens it again as often has
// no end.
constexpr int kMostPages = 3;
// A mover that stands still this long after the click has stopped for good.
constexpr std::uint32_t kStartGraceTicks = 30;
// A mover that has come this far from where it stood has set out.
constexpr double kMovedAway = 0.5;
// A walk on the ground ends this near its own point: someone standing on it keeps
// the walker off by the two of them.
constexpr double kGroundReach = 1.5 * kCell;
// How near a door's middle one stands to open it.
constexpr double kDoorReach = 3.0 * kCell;
// More than a step of the quickest walker in a tick.
constexpr double kStep = 1.0;
// How near the player's own clicks take one to a person or a thing.
constexpr double kThingReach = 2.0 * kCell;

std::string CellText(double x, double z) {
    std::ostringstream text;
    text << "(" << static_cast<int>(x / kCell) << ", " << static_cast<int>(z / kCell) << ")";
    return text.str();
}

std::string AreaName() {
    DRAV::CArea* area = TheArea();
    return area ? area->GetName() : "";
}

DRAV::CThing* FindThing(DRAV::ThingId id) {
    DRAV::CArea* area = TheArea();
    if (!area || !id) return nullptr;
    if ((id >> 24) == DRAV::THING_ACTOR) return area->FindActor(id);
    return area->FindObject(id);
}

DRAV::CActor* FindActor(DRAV::ThingId id) {
    DRAV::CArea* area = TheArea();
    return area && id ? area->FindActor(id) : nullptr;
}

// A box that opens on its own, of words or of the tutorial; not one the player opened.
// The foes of the area that are free to fight: turned on the party and not held back.
std::set<DRAV::ThingId> LooseFoes() {
    std::set<DRAV::ThingId> loose;
    for (const auto& actor : TheArea()->GetActors())
        if (actor->IsAlive() && actor->IsHostile() && !TheGame().IsHoldingBack(actor->GetId()))
            loose.insert(actor->GetId());
    return loose;
}

bool BoxUp() {
    const auto* dialog = App().GetCurrentDialog().get();
    return dynamic_cast<const CTextDlg*>(dialog) || dynamic_cast<const CHelpDlg*>(dialog);
}

// What an order is given on: the one talked to or attacked, the thing used.
DRAV::ThingId ThingOf(const DRAV::COrder& order) {
    if (order.GetType() == DRAV::ORDER_MOVE_TALK || order.GetType() == DRAV::ORDER_ATTACK) return order.GetThingId();
    const auto* use = dynamic_cast<const DRAV::CUseOrder*>(&order);
    return use && use->kind == DRAV::USE_OBJECT ? use->thing : 0;
}

}  // namespace

bool PlaceOf(const DRAV::CThing& thing, double& x, double& z) {
    if (const auto* actor = dynamic_cast<const DRAV::CActor*>(&thing)) {
        x = actor->GetX();
        z = actor->GetY();
        return true;
    }
    if (const auto* object = dynamic_cast<const DRAV::CObject*>(&thing)) {
        x = object->GetX();
        z = object->GetY();
        return true;
    }
    return false;
}

void CFindings::Report(const std::string& kind, int turn, const std::string& what) {
    Finding finding{kind, turn, what};
    const std::string signature = Signature(finding);
    if (std::find(m_signatures.begin(), m_signatures.end(), signature) != m_signatures.end()) return;
    m_signatures.push_back(signature);
    m_new.push_back(std::move(finding));
}

std::vector<Finding> CFindings::TakeNew() {
    std::vector<Finding> taken;
    taken.swap(m_new);
    return taken;
}

void CWalkWatch::Start(const std::string& what, DRAV::ThingId mover, DRAV::ThingId target, double x, double z,
                       double reach) {
    m_active = true;
    m_what = what;
    m_area = AreaName();
    m_mover = mover;
    m_target = target;
    m_x = x;
    m_z = z;
    m_reach = reach;
    m_startTick = TheGame().GetTick();
    m_log = App().GetMessageLog();
    const DRAV::CActor* actor = FindActor(mover);
    m_fromX = actor ? actor->GetX() : 0.0;
    m_fromZ = actor ? actor->GetY() : 0.0;
    m_before = actor ? actor->GetCurrentOrder() : nullptr;
    m_wasWalking = !m_before.expired();
    m_begun = false;
    m_partyWalk = false;
    m_page.reset();
    m_pageTitle.clear();
    m_pages = 0;
}

bool CWalkWatch::TakeUpOrder(const DRAV::CActor& mover) {
    const std::shared_ptr<DRAV::COrder> order = mover.GetCurrentOrder();
    const bool given = order && order != m_before.lock();
    // Moving on with no new order is the walk before going on, unless there was none
    // and the new one ended between two looks.
    if (!given && (m_wasWalking || mover.DistanceToPoint(m_fromX, m_fromZ) < kMovedAway)) return false;
    m_begun = true;
    if (!given) return true;
    if (order->GetType() == DRAV::ORDER_MOVE) {
        // A walk on the ground goes to the member's own place in the formation.
        const auto& move = static_cast<const DRAV::CMoveOrder&>(*order);
        if (m_target) m_what += " (the click walked to the ground there)";
        m_target = 0;
        m_x = move.x;
        m_z = move.y;
        m_reach = kGroundReach;
    } else if (const auto* use = dynamic_cast<const DRAV::CUseOrder*>(order.get());
               use && use->kind == DRAV::USE_TILE) {
        // A door is opened from a cell away.
        const DRAV::ThingId serial = use->thing & DRAV::kMaxThingSerial;
        m_what += " (the click picked a door there)";
        m_target = 0;
        m_x = (serial % 1000 + 0.5) * kCell;
        m_z = (serial / 1000 + 0.5) * kCell;
        m_reach = mover.GetRadius() + kDoorReach;
    } else if (const DRAV::ThingId picked = ThingOf(*order); picked && picked != m_target) {
        // The click picked someone or something else drawn there.
        const auto* named = dynamic_cast<const DRAV::CTalkTarget*>(FindThing(picked));
        m_what += " (the click picked " + (named ? named->GetName() : std::string("another")) + ")";
        m_target = picked;
        m_reach = kThingReach;
    }
    return true;
}

bool CWalkWatch::PointTaken(const DRAV::CActor& mover) const {
    // Someone standing on the point keeps the walker off by the two of them.
    if (m_target) return false;
    for (const auto& other : TheArea()->GetActors()) {
        const double both = mover.GetRadius() + other->GetRadius();
        if (other.get() != &mover && other->IsAlive() && other->DistanceToPoint(m_x, m_z) < both &&
            mover.DistanceTo(*other) <= both + kStep)
            return true;
    }
    return false;
}

bool CWalkWatch::PartyStillGoing(const DRAV::CActor& mover) const {
    const auto* wayOut = dynamic_cast<const DRAV::CObject*>(FindThing(m_target));
    if (!wayOut || !wayOut->IsExit()) return false;
    for (const auto& member : TheGame().GetParty()) {
        const std::shared_ptr<DRAV::COrder> order = member->IsAlive() ? member->GetCurrentOrder() : nullptr;
        if (member.get() == &mover || !order || order->GetType() != DRAV::ORDER_USE) continue;
        if (static_cast<const DRAV::CUseOrder&>(*order).thing == m_target) return true;
    }
    return false;
}

void CWalkWatch::Check(CFindings& findings, int turn) {
    if (!m_active) return;
    DRAV::CThing* target = FindThing(m_target);
    const DRAV::CTalkTarget* named = dynamic_cast<const DRAV::CTalkTarget*>(target);
    if (App().IsGameRunning() && PageUp()) {
        // A page of the walk's own: not a box that opens on its own way, nor another's talk.
        const std::string title = PageTitle();
        const bool elsewhere = BoxUp() || (Talking() && !(named && title.find(named->GetName()) != std::string::npos));
        const std::shared_ptr<CDRAVDlg>& page = App().GetCurrentDialog();
        if (!elsewhere && page != m_page.lock()) {
            m_page = page;
            m_pages = title == m_pageTitle ? m_pages + 1 : 1;
            m_pageTitle = title;
        }
        return;
    }
    DRAV::CActor* mover = FindActor(m_mover);
    if (!App().IsGameRunning() || AreaName() != m_area || !mover || !mover->IsAlive() ||
        TheGame().GetStateCode() == DRAV::GAME_EXIT_AVAILABLE) {
        m_active = false;
        return;
    }
    const std::uint32_t spent = TheGame().GetTick() - m_startTick;
    if (!m_begun) {
        if (!TakeUpOrder(*mover)) {
            // Nothing came of the click: it picked what gives no order, or nothing.
            if (spent >= kStartGraceTicks) m_active = false;
            return;
        }
        target = FindThing(m_target);
        named = dynamic_cast<const DRAV::CTalkTarget*>(target);
    }
    if (target) {
        PlaceOf(*target, m_x, m_z);
    } else if (m_target) {
        // What it went for is gone: nothing left to reach.
        m_active = false;
        return;
    }
    // A word that says why names the one who went or what it went for.
    const auto& log = App().GetMessageLog();
    bool word = false;
    for (std::size_t i = 0; i < log.size() && !word; ++i)
        word = (log[i].find(mover->GetName()) != std::string::npos ||
                (named && log[i].find(named->GetName()) != std::string::npos)) &&
               (i >= m_log.size() || log[i] != m_log[i]);
    const double away = mover->DistanceToPoint(m_x, m_z);
    const auto* object = dynamic_cast<const DRAV::CObject*>(target);
    // A thing is reached where the game lets it be used: at its edge.
    const bool arrived = away <= m_reach || (object && mover->IsNextToObject(*object)) || PointTaken(*mover);
    const bool othersGoing = PartyStillGoing(*mover);
    m_partyWalk = m_partyWalk || othersGoing;
    const bool ordered = mover->GetCurrentOrder() != nullptr || (arrived && othersGoing);
    // One member alone at a way out is no party to ask.
    const bool done = arrived && !(object && object->IsExit() && m_partyWalk);
    if (!ordered && (done || word || m_pages > 0)) {
        m_active = false;
        return;
    }
    std::ostringstream text;
    text.precision(2);
    text << std::fixed << m_what << " in " << m_area << ": ";
    if (!ordered && arrived) {
        // At a way out the rest of the party came no nearer: no question, no word.
        const DRAV::CActor* farthest = mover;
        for (const auto& member : TheGame().GetParty())
            if (member->IsAlive() && member->DistanceToPoint(m_x, m_z) > farthest->DistanceToPoint(m_x, m_z))
                farthest = member.get();
        text << mover->GetName() << " stood at it with no question of leaving: " << farthest->GetName()
             << " stood still " << farthest->DistanceToPoint(m_x, m_z) / kCell << " cells short at "
             << CellText(farthest->GetX(), farthest->GetY()) << " with no word";
    } else if (!ordered && spent >= kStartGraceTicks) {
        text << mover->GetName() << " stood still " << away / kCell << " cells short at "
             << CellText(mover->GetX(), mover->GetY()) << " with no word";
    } else if (ordered && m_pages >= kMostPages) {
        text << "the order did not end: the page " << m_pageTitle << " opened " << m_pages << " times over";
    } else if (spent > kLongestOrderTicks) {
        text << "the order had not ended after " << kLongestOrderTicks / kTicksPerSecond << " s, "
             << mover->GetName() << " at " << CellText(mover->GetX(), mover->GetY()) << ", " << away / kCell
             << " cells away";
    } else {
        return;
    }
    findings.Report("walk", turn, text.str());
    m_active = false;
}

void CTalkWatch::Replied(const std::string& title, const std::string& reply, bool leaves) {
    m_title = title;
    m_reply = reply;
    m_replied = leaves;
    m_left = false;
}

void CTalkWatch::Check(CFindings& findings, int turn) {
    if (m_replied) {
        // The first look after a leaving reply: the talk is over, and stays over.
        m_replied = false;
        m_left = true;
        m_leftMs = timeGetTime();
    }
    if (!m_left) return;
    if (Talking() && PageTitle() == m_title) {
        m_left = false;
        findings.Report("talk", turn,
                        "the talk " + m_title + " opened again after \"" + m_reply + "\" before the player acted");
    } else if (timeGetTime() - m_leftMs >= kIdleAfterTalkMs) {
        m_left = false;
    }
}

void CStrikeWatch::Check(CFindings& findings, int turn, const std::deque<std::string>& newLines) {
    if (!App().IsGameRunning() || !TheArea()) {
        m_hitPoints.clear();
        return;
    }
    const std::uint32_t now = TheGame().GetTick();
    if (AreaName() != m_area) {
        m_area = AreaName();
        m_calmFrom = now;
        m_calmWhy = "arriving in " + m_area;
        m_walked.clear();
        m_looseAtCalm = LooseFoes();
        // The party comes in with its orders left behind, and what the journey
        // healed is no strike: what it has now is where the count starts.
        m_hitPoints.clear();
    }
    const bool boxUp = BoxUp();
    // A box in the middle of a fight takes nobody by surprise.
    if (boxUp && !m_boxUp && !TheGame().IsInBattle()) {
        m_calmFrom = now;
        m_calmWhy = "the box \"" + PageTitle() + "\" opening";
        m_walked.clear();
        m_looseAtCalm = LooseFoes();
    }
    m_boxUp = boxUp;
    // A foe loose now that was not when the calm began was roused since: by a
    // walk that came near it, or a talk that ended in a threat.
    bool roused = false;
    for (const DRAV::ThingId foe : LooseFoes()) roused = roused || !m_looseAtCalm.count(foe);
    const bool talkUp = Talking();
    if (m_calmFrom == now) m_threatened = false;
    m_threatened = m_threatened || (roused && (talkUp || m_talkWasUp));
    m_talkWasUp = talkUp;
    std::map<DRAV::ThingId, int> hitPoints;
    std::map<DRAV::ThingId, bool> standing;
    for (const auto& member : TheGame().GetParty()) {
        if (!member->IsAlive() || member->GetArea() != TheArea()) continue;
        const DRAV::ThingId id = member->GetId();
        hitPoints[id] = member->GetHitPoints();
        standing[id] = !member->GetCurrentOrder();
        const auto before = m_hitPoints.find(id);
        const bool stood = (m_standing.count(id) == 0 || m_standing[id] || m_calmFrom == now) && !(roused && m_walked.count(id)) && !m_threatened;
        if (!standing[id]) m_walked.insert(id);
        if (before == m_hitPoints.end() || hitPoints[id] >= before->second || !stood) continue;
        if (now - m_calmFrom > kCalmTicks) continue;
        std::string blow;
        for (const std::string& line : newLines)
            if (line.find(member->GetName()) != std::string::npos && blow.empty()) blow = ": \"" + line + "\"";
        findings.Report("struck", turn,
                        member->GetName() + ", standing still, was struck within " +
                            std::to_string((now - m_calmFrom + kTicksPerSecond - 1) / kTicksPerSecond) + " s of " +
                            m_calmWhy + blow);
    }
    m_hitPoints = std::move(hitPoints);
    m_standing = std::move(standing);
}

std::deque<std::string> CLineWatch::NewLogLines() {
    const std::deque<std::string>& log = App().GetMessageLog();
    // The log keeps its last lines only: the lines seen before are found again at
    // its start, however many fell off.
    std::size_t dropped = 0;
    while (dropped < m_log.size() &&
           !(m_log.size() - dropped <= log.size() && std::equal(m_log.begin() + dropped, m_log.end(), log.begin())))
        ++dropped;
    const std::size_t kept = m_log.size() - dropped;
    std::deque<std::string> lines(log.begin() + static_cast<std::ptrdiff_t>(std::min(kept, log.size())), log.end());
    m_log = log;
    return lines;
}

void CLineWatch::Check(CFindings& findings, int turn, const std::deque<std::string>& newLines) {
    for (std::size_t i = 0; i < newLines.size(); ++i) {
        const std::string marker = UnfilledWord(newLines[i]);
        if (!marker.empty()) findings.Report("line", turn, "the log shows " + marker + ": \"" + newLines[i] + "\"");
    }
    // One thing said twice over; the same line again for the same click later is no fault.
    // A blow struck twice is two blows.
    for (std::size_t i = 1; i < newLines.size(); ++i)
        if (newLines[i] == newLines[i - 1] && newLines[i].find(" damage") == std::string::npos &&
            newLines[i].find(" misses") == std::string::npos)
            findings.Report("line", turn, "the log shows twice in a row: \"" + newLines[i] + "\"");

    const auto* dialog = App().GetCurrentDialog().get();
    if (!dialog) {
        m_lastPage.clear();
        return;
    }
    // As the page draws them: its markup ends lines.
    std::vector<std::string> shown{PageTitle()};
    const auto show = [&shown](const std::string& text) {
        for (std::string& line : DRAVUI::SplitMarkedLines(text)) shown.push_back(std::move(line));
    };
    if (const auto* talk = dynamic_cast<const CTalkDlg*>(dialog)) {
        for (const auto& line : talk->GetLines()) show(line);
        for (const auto& reply : talk->GetReplies()) show(reply);
    } else if (const auto* text = dynamic_cast<const CTextDlg*>(dialog)) {
        show(text->GetText());
    }
    std::string page;
    for (const auto& line : shown) page += line + "\n";
    if (page == m_lastPage) return;
    m_lastPage = page;
    for (std::size_t i = 0; i < shown.size(); ++i) {
        const std::string marker = UnfilledWord(shown[i]);
        if (!marker.empty())
            findings.Report("line", turn, "the page " + PageTitle() + " shows " + marker + ": \"" + shown[i] + "\"");
        if (i > 1 && !shown[i].empty() && shown[i] == shown[i - 1])
            findings.Report("line", turn, "the page " + PageTitle() + " shows twice in a row: \"" + shown[i] + "\"");
    }
}

std::string UnfilledWord(const std::string& line) {
    // Words run on through digits, underscores and the joins of a file's path, so
    // that a name of the system's own, a folder's, is no marker.
    const auto inWord = [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '/' || c == '-' || c == '.';
    };
    std::size_t start = 0;
    for (std::size_t i = 0; i <= line.size(); ++i) {
        if (i < line.size() && inWord(line[i])) continue;
        std::string word = line.substr(start, i - start);
        while (!word.empty() && (word.back() == '.' || word.back() == '-')) word.pop_back();
        const bool shouted = word.size() >= kShortestMarker && std::all_of(word.begin(), word.end(), [](char l) {
                                 return std::isupper(static_cast<unsigned char>(l));
                             });
        if (shouted) return word;
        start = i + 1;
    }
    return "";
}

}  // namespace QuillmerePlaySweep
