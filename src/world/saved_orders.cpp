#include "world/saved_orders.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <utility>

#include "common/data_file_reader.h"
#include "common/data_file_writer.h"
#include "common/exception.h"
#include "rules/magic/spell.h"
#include "rules/module.h"
#include "rules/vocabulary/skill_id.h"
#include "script/script_limits.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/game.h"
#include "world/order.h"
#include "world/order_rule.h"
#include "world/saved_word.h"
#include "world/thing_id_counter.h"

namespace DRAV {
namespace {

constexpr std::array<std::pair<OrderType, const char*>, 19> kOrderElements{{
    {ORDER_MOVE, "move"},
    {ORDER_ATTACK, "attack"},
    {ORDER_WIELD, "wield"},
    {ORDER_UNWIELD, "unwield"},
    {ORDER_GET, "get"},
    {ORDER_DROP, "drop"},
    {ORDER_SPLIT, "split"},
    {ORDER_COMBINE, "combine"},
    {ORDER_GIVE, "give"},
    {ORDER_USE, "use"},
    {ORDER_CAST, "cast"},
    {ORDER_TALK, "talk"},
    {ORDER_LEAVE_PARTY, "leave"},
    {ORDER_POSITION, "position"},
    {ORDER_SPEND_POINTS, "points"},
    {ORDER_POWER, "power"},
    {ORDER_STORE, "store"},
    {ORDER_MOVE_TALK, "movetalk"},
    {ORDER_RETURN, "return"},
}};

constexpr std::uint32_t kAnyTarget = SAVED_NOTHING | SAVED_ACTOR | SAVED_OBJECT | SAVED_TILE;
constexpr std::int32_t kLastSlot = kEquipSlotCount - 1;

const char* ElementOf(OrderType type) {
    for (const auto& [known, name] : kOrderElements)
        if (known == type) return name;
    return nullptr;
}

// What a use order of `kind` works on; nothing for a kind no use order has.
std::uint32_t UsedForms(std::int32_t kind) {
    switch (kind) {
        case USE_TILE: return SAVED_TILE;
        case USE_OBJECT: return SAVED_OBJECT;
        case USE_ITEM: return kSavedOwnItem;
        default: return 0;
    }
}

// What is split off or traded is one at least.
constexpr std::uint32_t kLeastCount = 1;

// What a cast of `key` may be aimed at: a spell aimed at the ground at a tile only.
std::uint32_t CastTargets(const CModule& module, const std::string& key) {
    const CSpell* spell = FindSpell(module.GetSpells(), key);
    return spell && spell->GetTargetType() == SPELL_TARGET_TILE ? std::uint32_t{SAVED_TILE} : kAnyTarget;
}

// Whether an order may name `key`: a spell `module` has, or for a power order one
// of its powers or none, which switches the power off.
bool IsOrderedSpell(const CModule& module, const std::string& key, bool power) {
    if (power && key.empty()) return true;
    const CSpell* spell = FindSpell(module.GetSpells(), key);
    return spell && (!power || spell->HasFlag(SPELL_POWER));
}

template <class T>
const T* As(const COrder* order) {
    return order ? &OrderAs<T>(*order) : nullptr;
}

// The fields of an order of `type` in saved order, through `io`, which describes,
// writes, reads or finds them; then the order made of the values `io` leaves, which
// are `from`'s to begin with (none when reading).
template <class Io>
std::shared_ptr<COrder> Fields(Io& io, OrderType type, const COrder* from) {
    switch (type) {
        case ORDER_MOVE: {
            const auto* o = As<CMoveOrder>(from);
            double x = o ? o->x : 0.0, y = o ? o->y : 0.0;
            io.Place(x);
            io.Place(y);
            return std::make_shared<CMoveOrder>(x, y);
        }
        case ORDER_ATTACK: {
            ThingId target = from ? As<CAttackOrder>(from)->target : 0;
            io.Thing(target, SAVED_ACTOR, "the one attacked");
            return std::make_shared<CAttackOrder>(target);
        }
        case ORDER_WIELD: {
            const auto* o = As<CWieldOrder>(from);
            ThingId item = o ? o->item : 0;
            std::int32_t slot = o ? o->slot : 0;
            io.Thing(item, SAVED_PACKED, "an item to wield");
            io.Number(slot, 0, kLastSlot, "an equipment slot");
            return std::make_shared<CWieldOrder>(item, slot);
        }
        case ORDER_UNWIELD: {
            std::int32_t slot = from ? As<CUnwieldOrder>(from)->slot : 0;
            io.Number(slot, 0, kLastSlot, "an equipment slot");
            return std::make_shared<CUnwieldOrder>(slot);
        }
        case ORDER_GET: {
            const auto* o = As<CGetOrder>(from);
            ThingId container = o ? o->container : 0, item = o ? o->item : 0;
            io.Thing(container, SAVED_OBJECT, "a container");
            io.Thing(item, SAVED_HELD, "an item in the container");
            return std::make_shared<CGetOrder>(container, item);
        }
        case ORDER_DROP: {
            const auto* o = As<CDropOrder>(from);
            ThingId container = o ? o->container : 0, item = o ? o->item : 0;
            io.Thing(container, SAVED_NOTHING | SAVED_OBJECT, "a container or the ground");
            io.Thing(item, SAVED_PACKED, "an item to drop");
            return std::make_shared<CDropOrder>(container, item);
        }
        case ORDER_SPLIT: {
            const auto* o = As<CSplitOrder>(from);
            ThingId stack = o ? o->stack : 0;
            std::uint32_t count = o ? o->count : 0;
            io.Thing(stack, SAVED_PACKED, "a stack to split");
            io.Count(count);
            return std::make_shared<CSplitOrder>(stack, count);
        }
        case ORDER_COMBINE: {
            const auto* o = As<CCombineOrder>(from);
            ThingId first = o ? o->first : 0, second = o ? o->second : 0;
            io.Thing(first, SAVED_PACKED, "a stack to combine");
            io.Thing(second, SAVED_PACKED, "a stack to combine");
            return std::make_shared<CCombineOrder>(first, second);
        }
        case ORDER_GIVE: {
            const auto* o = As<CGiveOrder>(from);
            ThingId receiver = o ? o->receiver : 0, item = o ? o->item : 0;
            io.Thing(receiver, SAVED_ACTOR, "a receiver");
            io.Thing(item, SAVED_PACKED, "an item to give");
            return std::make_shared<CGiveOrder>(receiver, item);
        }
        case ORDER_USE: {
            const auto* o = As<CUseOrder>(from);
            std::int32_t kind = o ? o->kind : USE_TILE;
            ThingId thing = o ? o->thing : 0, target = o ? o->target : 0;
            io.Number(kind, USE_TILE, USE_ITEM, "a kind of use");
            io.Require(UsedForms(kind) != 0, "a kind of use");
            io.Thing(thing, UsedForms(kind), "a thing to use");
            io.Thing(target, kAnyTarget, "a target");
            return std::make_shared<CUseOrder>(kind, thing, target);
        }
        case ORDER_CAST: {
            const auto* o = As<CCastOrder>(from);
            std::string spell = o ? o->spell : std::string();
            ThingId target = o ? o->target : 0;
            io.Spell(spell, false);
            io.Thing(target, io.CastTargets(spell), "a target the spell can be cast at");
            return std::make_shared<CCastOrder>(std::move(spell), target);
        }
        case ORDER_TALK: {
            const auto* o = As<CTalkOrder>(from);
            ThingId partner = o ? o->partner : 0;
            std::string state = o ? o->state : std::string(), line = o ? o->line : std::string();
            io.Thing(partner, SAVED_ACTOR | SAVED_OBJECT, "a partner");
            io.Word(state, "talk state");
            io.Line(line);
            return std::make_shared<CTalkOrder>(partner, std::move(state), std::move(line));
        }
        case ORDER_POSITION: {
            std::int32_t index = from ? As<CPositionOrder>(from)->index : 0;
            io.Number(index, 0, static_cast<std::int32_t>(kMaxPartyMembers) - 1, "a place in the party");
            return std::make_shared<CPositionOrder>(index);
        }
        case ORDER_SPEND_POINTS: {
            const auto* o = As<CSpendPointsOrder>(from);
            std::int32_t attribute = o ? o->attribute : kNoAttribute;
            std::int32_t learn = o ? o->learn : kNoSkill, forget = o ? o->forget : kNoSkill;
            io.Number(attribute, 0, kNoAttribute, "an attribute");
            io.Number(learn, 0, kNoSkill, "a skill");
            io.Number(forget, 0, kNoSkill, "a skill");
            return std::make_shared<CSpendPointsOrder>(attribute, learn, forget);
        }
        case ORDER_POWER: {
            std::string power = from ? As<CPowerOrder>(from)->power : std::string();
            io.Spell(power, true);
            return std::make_shared<CPowerOrder>(std::move(power));
        }
        case ORDER_STORE: {
            const auto* o = As<CStoreOrder>(from);
            bool buy = o && o->buy;
            ThingId keeper = o ? o->keeper : 0, item = o ? o->item : 0;
            std::uint32_t count = o ? o->count : 0;
            std::int32_t slot = o ? o->slot : kStoreToBackpack;
            io.Flag(buy);
            io.Thing(keeper, SAVED_ACTOR, "a keeper");
            io.Thing(item, buy ? std::uint32_t{SAVED_STOCKED} : kSavedOwnItem, "an item to trade");
            io.Count(count);
            io.Number(slot, 0, kStoreToBackpack, "an equipment slot");
            return std::make_shared<CStoreOrder>(buy, keeper, item, count, slot);
        }
        case ORDER_MOVE_TALK: {
            const auto* o = As<CMoveTalkOrder>(from);
            ThingId partner = o ? o->partner : 0;
            std::uint32_t talksBegun = o ? o->talksBegun : 0;
            io.Thing(partner, SAVED_ACTOR, "a partner");
            io.TalksSince(talksBegun);
            return std::make_shared<CMoveTalkOrder>(partner, talksBegun);
        }
        case ORDER_LEAVE_PARTY:
        case ORDER_RETURN: return std::make_shared<COrder>(type);
    }
    return nullptr;
}

// The save's side: a live order's things as the load will find them again, and
// whether every value is one the load takes, by the checks the load makes.
class CDescriber {
public:
    CDescriber(const CActor& actor, const CModule& module) : m_place{actor.GetArea(), &actor}, m_module(module) {}

    void Thing(ThingId& id, std::uint32_t forms, const char*) {
        CSavedThing thing;
        if (!CSavedThing::Describe(id, m_place, forms, thing)) {
            m_whole = false;
            return;
        }
        Note(m_place, thing, id);
        m_things.push_back(std::move(thing));
    }
    void Place(double& value) { m_whole = m_whole && std::isfinite(value); }
    void Number(std::int32_t& value, std::int32_t least, std::int32_t most, const char*) {
        m_whole = m_whole && value >= least && value <= most;
    }
    void Require(bool holds, const char*) { m_whole = m_whole && holds; }
    std::uint32_t CastTargets(const std::string& key) const { return DRAV::CastTargets(m_module, key); }
    void Count(std::uint32_t& value) { m_whole = m_whole && value >= kLeastCount; }
    void Word(std::string& word, const char*) { m_whole = m_whole && IsSavableWord(word); }
    void Spell(std::string& key, bool power) {
        m_whole = m_whole && IsSavableWord(key) && IsOrderedSpell(m_module, key, power);
    }
    void Line(std::string& text) { m_whole = m_whole && text.size() <= kExpandedTextLimit; }
    void Flag(bool&) {}
    void TalksSince(std::uint32_t&) {}

    // The container and the keeper an order names come before the items it finds in them.
    static void Note(SavedThingPlace& place, const CSavedThing& thing, ThingId id) {
        if (!place.area) return;
        if (thing.GetForm() == SAVED_OBJECT) place.container = place.area->FindObject(id);
        if (thing.GetForm() == SAVED_ACTOR) place.keeper = place.area->FindActor(id);
    }

    bool IsWhole() const { return m_whole; }
    std::vector<CSavedThing>& Things() { return m_things; }

private:
    SavedThingPlace m_place;
    const CModule& m_module;
    std::vector<CSavedThing> m_things;
    bool m_whole = true;
};

// Writes an order's values and its described things.
class CEmitter {
public:
    CEmitter(DRAVCommon::CDataFileWriter& writer, const std::vector<CSavedThing>& things, std::uint32_t talksBegun)
        : m_writer(writer), m_things(things), m_talksBegun(talksBegun) {}

    void Thing(ThingId&, std::uint32_t, const char*) { m_things.at(m_next++).Write(m_writer); }
    void Place(double& value) { m_writer.WriteDouble(value); }
    void Number(std::int32_t& value, std::int32_t, std::int32_t, const char*) { m_writer.WriteValue(value); }
    void Require(bool, const char*) {}
    std::uint32_t CastTargets(const std::string&) const { return kAnyTarget; }
    void Count(std::uint32_t& value) { m_writer.WriteValue(value); }
    void Word(std::string& word, const char*) { m_writer.WriteWordOrZero(word); }
    void Spell(std::string& key, bool) { m_writer.WriteWordOrZero(key); }
    void Line(std::string& text) { m_writer.WriteQuoted(SavableLine(text)); }
    void Flag(bool& value) { m_writer.WriteWord(value ? "true" : "false"); }
    // The conversations begun since the order was given: the load counts its own from none.
    void TalksSince(std::uint32_t& talksBegun) { m_writer.WriteValue(m_talksBegun - talksBegun); }

private:
    DRAVCommon::CDataFileWriter& m_writer;
    const std::vector<CSavedThing>& m_things;
    std::size_t m_next = 0;
    std::uint32_t m_talksBegun;
};

// Reads an order's values and its things, refusing what play could not have written.
class CFieldReader {
public:
    CFieldReader(DRAVCommon::CDataFileReader& reader, const CModule& module) : m_reader(reader), m_module(module) {}

    void Thing(ThingId& id, std::uint32_t forms, const char* what) {
        m_things.push_back(CSavedThing::Read(m_reader, forms, what));
        id = 0;
    }
    void Place(double& value) {
        value = m_reader.ReadDouble(std::numeric_limits<double>::lowest(), std::numeric_limits<double>::max(),
                                    "a place");
    }
    void Number(std::int32_t& value, std::int32_t least, std::int32_t most, const char* what) {
        value = m_reader.ReadInt(least, most, what);
    }
    void Require(bool holds, const char* what) {
        if (!holds) m_reader.Fail(DRAV_ERR_BAD_DATA, std::string("not ") + what);
    }
    void Count(std::uint32_t& value) {
        value = m_reader.ReadUInt(kLeastCount, std::numeric_limits<std::uint32_t>::max(), "a count");
    }
    std::uint32_t CastTargets(const std::string& key) const { return DRAV::CastTargets(m_module, key); }
    void Word(std::string& word, const char* what) {
        word = m_reader.ReadWordOrEmpty();
        RequireSavedWord(m_reader, word, what);
    }
    void Spell(std::string& key, bool power) {
        const std::string& token = m_reader.GetToken();
        if (!IsOrderedSpell(m_module, token == "0" ? std::string() : token, power))
            m_reader.Fail(DRAV_ERR_BAD_DATA, power ? "expected a power of the module" : "expected a spell of the module");
        key = m_reader.ReadWordOrEmpty();
    }
    void Line(std::string& text) {
        text = m_reader.ReadQuoted(kExpandedTextLimit, "a reply");
    }
    void Flag(bool& value) { value = m_reader.ReadBool(); }
    // Kept as read until the game that counts the conversations is there.
    void TalksSince(std::uint32_t& since) { since = m_reader.ReadUInt(); }

    std::vector<CSavedThing>& Things() { return m_things; }

private:
    DRAVCommon::CDataFileReader& m_reader;
    const CModule& m_module;
    std::vector<CSavedThing> m_things;
};

// The load's side: the things an order names, found as the load numbered them.
class CFinder {
public:
    CFinder(const CGame& game, const CActor& actor, const std::vector<CSavedThing>& things)
        : m_game(game), m_place{actor.GetArea(), &actor}, m_things(things) {}

    void Thing(ThingId& id, std::uint32_t, const char*) {
        const CSavedThing& thing = m_things.at(m_next++);
        if (!thing.Find(m_game, m_place, id)) {
            // Someone gone from the game stays in the order as an actor nobody is,
            // so that the engine drops the order at its turn, as it would have.
            if (thing.GetForm() == SAVED_ACTOR)
                MakeThingId(id, THING_ACTOR, kNoThingSerial);
            else
                m_whole = false;
            return;
        }
        CDescriber::Note(m_place, thing, id);
    }
    void Place(double&) {}
    void Number(std::int32_t&, std::int32_t, std::int32_t, const char*) {}
    void Require(bool, const char*) {}
    std::uint32_t CastTargets(const std::string&) const { return kAnyTarget; }
    void Count(std::uint32_t&) {}
    void Word(std::string&, const char*) {}
    void Spell(std::string&, bool) {}
    void Line(std::string&) {}
    void Flag(bool&) {}
    void TalksSince(std::uint32_t& since) { since = m_game.GetTalksBegun() - since; }

    bool IsWhole() const { return m_whole; }

private:
    const CGame& m_game;
    SavedThingPlace m_place;
    const std::vector<CSavedThing>& m_things;
    std::size_t m_next = 0;
    bool m_whole = true;
};

void WriteQueue(DRAVCommon::CDataFileWriter& writer, const CActor& actor, const CModule& module, const OrderQueue& queue,
                bool instant) {
    const std::uint32_t talksBegun = actor.GetGame() ? actor.GetGame()->GetTalksBegun() : 0;
    for (const std::shared_ptr<COrder>& order : queue) {
        const char* element = ElementOf(order->GetType());
        // What its load would refuse stays out, so that the save loads.
        if (!element || !RunsFrom(*order, instant)) continue;
        if (actor.GetGame() && JudgeOrder(*order, actor, *actor.GetGame(), instant).fit == OrderFit::Never) continue;
        CDescriber describer(actor, module);
        Fields(describer, order->GetType(), order.get());
        if (!describer.IsWhole()) continue;
        writer.BeginBlock(element);
        CEmitter emitter(writer, describer.Things(), talksBegun);
        Fields(emitter, order->GetType(), order.get());
        writer.EndBlock();
    }
}

std::vector<CSavedOrders::Saved> ReadQueue(DRAVCommon::CDataFileReader& reader, const CModule& module, bool instant) {
    std::vector<CSavedOrders::Saved> queue;
    while (!reader.AtBlockEnd()) {
        if (queue.size() == kOrderQueueLimit)
            reader.Fail(DRAV_ERR_BAD_DATA, "more than the " + std::to_string(kOrderQueueLimit) + " orders a queue holds");
        const std::string element = reader.PeekBlockName();
        const auto named = std::find_if(kOrderElements.begin(), kOrderElements.end(),
                                        [&element](const auto& known) { return element == known.second; });
        const char* expected = instant ? "expected an instant order" : "expected an order";
        if (named == kOrderElements.end()) reader.Fail(DRAV_ERR_BAD_DATA, expected);
        reader.BeginBlock(element);
        CFieldReader fields(reader, module);
        CSavedOrders::Saved saved;
        saved.values = Fields(fields, named->first, nullptr);
        saved.things = std::move(fields.Things());
        if (!RunsFrom(*saved.values, instant)) reader.Fail(DRAV_ERR_BAD_DATA, expected);
        reader.EndBlock();
        queue.push_back(std::move(saved));
    }
    return queue;
}

// The order as the load numbered its things; null when an item or an object it
// names is gone (someone gone stays named as nobody). One
// no play gives refuses the load; one that cannot be carried out where its actor
// stands comes back, for the engine to drop at its turn as it would have.
std::shared_ptr<COrder> Found(const CSavedOrders::Saved& saved, const CActor& actor, const CGame& game, bool instant) {
    CFinder finder(game, actor, saved.things);
    std::shared_ptr<COrder> order = Fields(finder, saved.values->GetType(), saved.values.get());
    if (!finder.IsWhole()) return nullptr;
    if (const OrderVerdict verdict = JudgeOrder(*order, actor, game, instant); verdict.fit == OrderFit::Never)
        throw CDRAVException(DRAV_ERR_BAD_DATA, "an order of \"" + actor.GetName() + "\" no play gives: " + verdict.why);
    return order;
}

}  // namespace

void CSavedOrders::Write(DRAVCommon::CDataFileWriter& writer, const CActor& actor, const CModule& module) {
    CSavedThing target;
    const CActor* struck = actor.GetAttackTarget();
    const bool striking =
        struck && CSavedThing::Describe(struck->GetId(), {actor.GetArea(), &actor}, SAVED_ACTOR, target);
    if (!striking && actor.GetInstantOrders().empty() && actor.GetContinuingOrders().empty()) return;
    writer.BeginBlock("orders");
    if (striking) {
        writer.BeginBlock("target");
        target.Write(writer);
        writer.EndBlock();
    }
    if (!actor.GetInstantOrders().empty()) {
        writer.BeginBlock("instant");
        WriteQueue(writer, actor, module, actor.GetInstantOrders(), true);
        writer.EndBlock();
    }
    WriteQueue(writer, actor, module, actor.GetContinuingOrders(), false);
    writer.EndBlock();
}

CSavedOrders::CSavedOrders(DRAVCommon::CDataFileReader& reader, const CModule& module) {
    reader.BeginBlock("orders");
    if (reader.IsBlock("target")) {
        reader.BeginBlock("target");
        m_target = CSavedThing::Read(reader, SAVED_ACTOR, "the one struck");
        reader.EndBlock();
    }
    if (reader.IsBlock("instant")) {
        reader.BeginBlock("instant");
        m_instant = ReadQueue(reader, module, true);
        reader.EndBlock();
    }
    m_continuing = ReadQueue(reader, module, false);
    reader.EndBlock();
}

CSavedOrders::~CSavedOrders() = default;

void CSavedOrders::Restore(CActor& actor, const CGame& game) const {
    // An area the party is not in holds no orders: leaving it ended them.
    if (actor.GetArea() && actor.GetArea() != game.GetCurrentArea()) return;
    for (const Saved& saved : m_instant)
        if (std::shared_ptr<COrder> order = Found(saved, actor, game, true)) actor.PushInstantOrder(std::move(order));
    // As they were given: a confused actor's own wandering included.
    for (const Saved& saved : m_continuing)
        if (std::shared_ptr<COrder> order = Found(saved, actor, game, false)) actor.PushOrder(std::move(order), true);
    ThingId id = 0;
    if (!m_target || !actor.IsAlive() || !actor.GetArea() || !m_target->Find(game, {actor.GetArea(), &actor}, id))
        return;
    // Struck as before, and held by the striker as before: the change of main
    // target the strike began with stays as it was saved.
    CActor* target = actor.GetArea()->FindActor(id);
    if (target && target != &actor && target->IsAlive()) actor.SetAttackTarget(actor.GetTargetChangeTick(), target);
}

}  // namespace DRAV
