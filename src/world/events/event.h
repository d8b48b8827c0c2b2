#pragma once
// What the rules tell the interface: a line for the message log, a changed actor,
// a conversation or container that opens, a message box, an effect to draw. The
// rules queue events on the game; the application drains them after every tick.

#include <cstdint>
#include <memory>
#include <string>

#include "rules/kinds/thing_id.h"

namespace DRAVGraph {
class CEffectParams;
}

namespace DRAV {

// Codes of the information events (CInfoEvent 0-8, CActorInfoEvent 9-22).
enum EventCode : std::int32_t {
    EVENT_PARTY_CHANGED = 0,
    EVENT_DOORS_OPENED = 1,
    EVENT_DOORS_CLOSED = 3,
    EVENT_RANGED_ATTACK = 4,
    EVENT_TILES_REPLACED = 5,
    EVENT_VIEW_RECOMPUTED = 6,
    EVENT_RETURNED_TO_ENTRANCE = 7,
    EVENT_CRITICAL_HIT = 8,
    EVENT_ACTOR_HIT_POINTS = 9,
    EVENT_ACTOR_ENERGY = 10,
    EVENT_ACTOR_EQUIPMENT = 11,
    EVENT_ACTOR_CAST = 12,
    EVENT_ACTOR_TELEPORTED = 13,
    EVENT_ACTOR_POWER_ENDED = 14,
    EVENT_ACTOR_MULTITARGET_POWER = 15,
    EVENT_ACTOR_SNEAK = 16,
    EVENT_ACTOR_STOPPED_SNEAKING = 17,
    EVENT_ACTOR_MODIFIERS = 18,
    EVENT_ACTOR_STATUS = 19,
    EVENT_ACTOR_RESISTANCES = 20,
    EVENT_ACTOR_LEVEL = 21,
    // An item left the member: sold, given, dropped, used up or gone with its time.
    EVENT_ACTOR_ITEM_GONE = 22,
    EVENT_DIALOG_BOX = 35,
    EVENT_TUTORIAL = 36,
    EVENT_TALK = 37,
    EVENT_INVENTORY = 38,
    // The party's walk to the way out it is offered has ended: the interface asks
    // whether to leave. A code no message kind shares, so it plays no sound.
    EVENT_WAY_OUT_REACHED = 39,
    EVENT_EFFECT = 40,
};

// Kinds of message events: the message event's code.
enum MessageKind : std::int32_t {
    MESSAGE_CHECK_SUCCEEDED = 2,
    MESSAGE_NOTICE = 23,
    MESSAGE_GOLD = 24,
    MESSAGE_QUEST_COMPLETED = 25,
    MESSAGE_LOCK_NOT_PICKED = 26,
    MESSAGE_MELEE_MISS = 27,
    MESSAGE_MELEE_HIT = 28,
    MESSAGE_RANGED_MISS = 29,
    MESSAGE_RANGED_HIT = 30,
    MESSAGE_DEATH = 31,
    MESSAGE_HOSTILE_SPELL = 32,
    MESSAGE_HARMLESS_SPELL = 33,
    MESSAGE_SUMMONING = 34,
};

class CEvent {
public:
    explicit CEvent(std::int32_t code) : m_code(code) {}
    virtual ~CEvent() = default;

    std::int32_t GetCode() const { return m_code; }

protected:
    CEvent(const CEvent&) = default;
    CEvent& operator=(const CEvent&) = default;

private:
    std::int32_t m_code;
};

// Something changed that the code alone describes.
class CInfoEvent final : public CEvent {
public:
    explicit CInfoEvent(std::int32_t code) : CEvent(code) {}
};

// One actor changed; the interface looks it up by id and skips it when it is gone.
class CActorInfoEvent final : public CEvent {
public:
    CActorInfoEvent(std::int32_t code, ThingId actor) : CEvent(code), m_actor(actor) {}
    ThingId GetActor() const { return m_actor; }

private:
    ThingId m_actor;
};

// A line for the message log; the code is its kind.
class CMessageEvent final : public CEvent {
public:
    CMessageEvent(std::int32_t kind, std::string text) : CEvent(kind), m_text(std::move(text)) {}
    const std::string& GetText() const { return m_text; }

private:
    std::string m_text;
};

// A message box (35) or a tutorial help page (36).
class CDialogBoxEvent final : public CEvent {
public:
    CDialogBoxEvent(std::int32_t code, std::string title, std::string text)
        : CEvent(code), m_title(std::move(title)), m_text(std::move(text)) {}
    const std::string& GetTitle() const { return m_title; }
    const std::string& GetText() const { return m_text; }

private:
    std::string m_title;
    std::string m_text;
};

// A conversation starts between a party member and an actor or object.
class CTalkEvent final : public CEvent {
public:
    CTalkEvent(ThingId talker, ThingId partner) : CEvent(EVENT_TALK), m_talker(talker), m_partner(partner) {}
    ThingId GetTalker() const { return m_talker; }
    ThingId GetPartner() const { return m_partner; }

private:
    ThingId m_talker;
    ThingId m_partner;
};

// An actor opened a container object.
class CInvEvent final : public CEvent {
public:
    CInvEvent(ThingId actor, ThingId container)
        : CEvent(EVENT_INVENTORY), m_actor(actor), m_container(container) {}
    ThingId GetActor() const { return m_actor; }
    ThingId GetContainer() const { return m_container; }

private:
    ThingId m_actor;
    ThingId m_container;
};

// A named effect to show at a point. The parameters may be null; given as a plain
// pointer they must outlive the event.
class CEffectEvent final : public CEvent {
public:
    CEffectEvent(std::string effectName, const DRAVGraph::CEffectParams* params, double x, double y)
        : CEvent(EVENT_EFFECT), m_effectName(std::move(effectName)), m_params(params), m_x(x), m_y(y) {}
    // The event shares the parameters: a patch's may go with its area before the
    // event is handled.
    CEffectEvent(std::string effectName, std::shared_ptr<const DRAVGraph::CEffectParams> params, double x, double y)
        : CEvent(EVENT_EFFECT),
          m_effectName(std::move(effectName)),
          m_params(params.get()),
          m_ownedParams(std::move(params)),
          m_x(x),
          m_y(y) {}
    const std::string& GetEffectName() const { return m_effectName; }
    const DRAVGraph::CEffectParams* GetParams() const { return m_params; }
    double GetX() const { return m_x; }
    double GetY() const { return m_y; }

private:
    std::string m_effectName;
    const DRAVGraph::CEffectParams* m_params;
    std::shared_ptr<const DRAVGraph::CEffectParams> m_ownedParams;
    double m_x;
    double m_y;
};

}  // namespace DRAV
