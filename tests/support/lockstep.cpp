#include "support/lockstep.h"

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "common/random.h"
#include "rules/magic/spell.h"
#include "support/sample_module.h"
#include "world/area.h"
#include "world/cell.h"
#include "world/effect.h"
#include "world/events/event.h"
#include "world/game.h"
#include "world/object.h"
#include "world/order.h"
#include "world/tile.h"

namespace QuillmereTest {

using namespace DRAV;

namespace {

const CModuleVersionRange kLockstepVersion("Orvex", 5, 0);

std::string Number(double value) {
    std::ostringstream out;
    out.precision(17);
    out << value;
    return out.str();
}

// A thing by what it is, so that the same thing reads alike in a game and in its
// loaded copy, which numbered every thing anew.
std::string ThingName(const CGame& game, const CActor* actor, ThingId id) {
    if ((id >> 24) == 0) return std::to_string(id);
    const CArea& area = *game.GetCurrentArea();
    if (const CActor* other = area.FindActor(id)) return other->GetName();
    if (const CObject* object = area.FindObject(id))
        return object->GetTemplate().GetKey() + " at " + Number(object->GetX()) + " " + Number(object->GetY());
    if ((id >> 24) == THING_TILE) return "tile " + std::to_string(id & kMaxThingSerial);
    std::int32_t position = 0;
    if (actor)
        if (const CItem* item = actor->FindItem(id, &position))
            return item->GetTemplate().GetKey() + " carried at " + std::to_string(position);
    for (const auto& object : area.GetObjects())
        for (const auto& item : object->GetItems())
            if (item->GetId() == id) return item->GetTemplate().GetKey() + " in " + object->GetTemplate().GetKey();
    return "gone";
}

std::string OrderText(const CGame& game, const CActor& actor, const COrder& order) {
    const auto thing = [&](ThingId id) { return ThingName(game, &actor, id); };
    std::string text = std::to_string(order.GetType()) + ": " + thing(order.GetThingId()) + ", " +
                       thing(order.GetSecondThingId()) + ", " + thing(order.GetThirdThingId());
    if (const auto* move = dynamic_cast<const CMoveOrder*>(&order)) text += " to " + Number(move->x) + " " + Number(move->y);
    if (const auto* cast = dynamic_cast<const CCastOrder*>(&order)) text += " " + cast->spell + " at " + thing(cast->target);
    if (const auto* talk = dynamic_cast<const CTalkOrder*>(&order)) text += " " + talk->state + " \"" + talk->line + "\"";
    if (const auto* power = dynamic_cast<const CPowerOrder*>(&order)) text += " " + power->power;
    return text;
}

std::string OrdersText(const CGame& game, const CActor& actor) {
    std::string text;
    for (const auto& order : actor.GetInstantOrders()) text += "now " + OrderText(game, actor, *order) + "; ";
    for (const auto& order : actor.GetContinuingOrders()) text += OrderText(game, actor, *order) + "; ";
    return text;
}

// An event as the player meets it; empty for one that tells the interface only of
// a change the state compared already shows.
std::string EventText(const CGame& game, const CEvent& event) {
    const auto name = [&](ThingId id) { return ThingName(game, nullptr, id); };
    if (const auto* message = dynamic_cast<const CMessageEvent*>(&event)) return "line: " + message->GetText();
    if (const auto* talk = dynamic_cast<const CTalkEvent*>(&event))
        return "talk: " + name(talk->GetTalker()) + " with " + name(talk->GetPartner());
    if (const auto* opened = dynamic_cast<const CInvEvent*>(&event))
        return "open: " + name(opened->GetActor()) + " opens " + name(opened->GetContainer());
    if (const auto* page = dynamic_cast<const CDialogBoxEvent*>(&event))
        return "page " + std::to_string(page->GetCode()) + ": " + page->GetTitle() + " | " + page->GetText();
    if (const auto* effect = dynamic_cast<const CEffectEvent*>(&event))
        return "effect: " + effect->GetEffectName() + " at " + Number(effect->GetX()) + " " + Number(effect->GetY());
    if (event.GetCode() == EVENT_WAY_OUT_REACHED) return "question of leaving";
    if (event.GetCode() == EVENT_RETURNED_TO_ENTRANCE) return "returned to the entrance";
    return {};
}

std::string EventsText(const CGame& game, const std::vector<std::shared_ptr<CEvent>>& events) {
    std::string text;
    for (const auto& event : events)
        if (const std::string told = EventText(game, *event); !told.empty()) text += told + "\n";
    return text;
}

bool IsLoadLine(const CEvent& event) {
    const auto* message = dynamic_cast<const CMessageEvent*>(&event);
    return message && message->GetText().rfind("Loaded game: ", 0) == 0;
}

// Runs a tick of `engine` on its own draw of the random source.
void TickWith(CEngine& engine, std::mt19937& random) {
    std::mt19937& shared = DRAVCommon::GetRandomEngine();
    const std::mt19937 outside = shared;
    shared = random;
    engine.RunTick();
    random = shared;
    shared = outside;
}

bool IsKept(const LockstepField& field) {
    const auto& kept = KeptDifferences();
    return std::any_of(kept.begin(), kept.end(), [&](const KeptDifference& k) { return field.field == k.field; });
}

std::optional<LockstepDifference> Compare(std::uint32_t tick, const LockstepView& unsaved, const LockstepView& loaded) {
    const std::size_t both = std::min(unsaved.size(), loaded.size());
    for (std::size_t i = 0; i < both; ++i) {
        const LockstepField& a = unsaved[i];
        const LockstepField& b = loaded[i];
        if (a.thing != b.thing || a.field != b.field)
            return LockstepDifference{tick, a.thing + " / " + b.thing, "who", a.thing, b.thing};
        if (a.value != b.value && !IsKept(a)) return LockstepDifference{tick, a.thing, a.field, a.value, b.value};
    }
    if (unsaved.size() != loaded.size()) {
        const LockstepField& extra = unsaved.size() > both ? unsaved[both] : loaded[both];
        return LockstepDifference{tick, extra.thing, "present", unsaved.size() > both ? "yes" : "no",
                                  unsaved.size() > both ? "no" : "yes"};
    }
    return std::nullopt;
}

bool IsPlaying(const CEngine& engine) {
    const std::int32_t state = engine.GetGame()->GetStateCode();
    return state == GAME_PLAYING || state == GAME_EXIT_AVAILABLE;
}

}  // namespace

std::string LockstepDifference::Describe() const {
    return "tick " + std::to_string(tick) + " after the load, " + thing + ", " + field + ": the game that went on had \"" +
           unsaved + "\", its loaded copy \"" + loaded + "\"";
}

const std::vector<KeptDifference>& KeptDifferences() {
    static const std::vector<KeptDifference> kept = {
        {"place",
         "a walker's route search is not saved: a walk saved mid-way searches anew after the load and its "
         "steps may differ by a fraction of a cell; where the walk ends, and what it was for, are kept"},
    };
    return kept;
}

LockstepView ViewGame(const CEngine& engine, const std::vector<std::shared_ptr<CEvent>>& events) {
    const CGame& game = *engine.GetGame();
    LockstepView view;
    view.push_back({"game", "state", std::to_string(game.GetStateCode())});
    view.push_back({"game", "tick", std::to_string(game.GetTick())});
    const CArea* area = game.GetCurrentArea();
    view.push_back({"game", "area", area ? area->GetName() : "none"});
    view.push_back({"game", "events", EventsText(game, events)});
    if (!area) return view;
    std::size_t index = 0;
    for (const auto& actor : area->GetActors()) {
        const std::string thing = "actor " + std::to_string(index++) + " " + actor->GetName();
        view.push_back({thing, "place", Number(actor->GetX()) + " " + Number(actor->GetY())});
        view.push_back({thing, "hit points", std::to_string(actor->GetHitPoints()) + "/" +
                                                 std::to_string(actor->GetMaxHitPoints())});
        view.push_back({thing, "energy", std::to_string(actor->GetEnergy())});
        view.push_back({thing, "relation", std::to_string(actor->GetRelation())});
        view.push_back({thing, "orders", OrdersText(game, *actor)});
        view.push_back({thing, "action state", std::to_string(actor->GetActionState())});
        const CActor* target = actor->GetAttackTarget();
        view.push_back({thing, "target", target ? target->GetName() : "none"});
    }
    index = 0;
    for (const auto& effect : area->GetEffects()) {
        const std::string thing = "effect " + std::to_string(index++) + " " + effect->GetSourceName();
        view.push_back({thing, "flight", std::to_string(effect->GetKind()) + " at " + Number(effect->GetX()) + " " +
                                             Number(effect->GetY()) + " to " +
                                             ThingName(game, nullptr, effect->GetTarget())});
    }
    return view;
}

std::vector<std::shared_ptr<CEvent>> TakeEvents(const CEngine& engine) {
    std::vector<std::shared_ptr<CEvent>> events;
    std::shared_ptr<CEvent> event;
    while (engine.GetGame()->PopEvent(event)) events.push_back(event);
    return events;
}

std::uint32_t SavePointsNow(const CEngine& engine, const std::vector<std::shared_ptr<CEvent>>& events) {
    const CArea* area = engine.GetGame()->GetCurrentArea();
    std::uint32_t points = SAVE_ANY_TICK;
    if (!area) return points;
    for (const auto& actor : area->GetActors())
        if (actor->GetActionState() == ACTION_WIND_UP) points |= SAVE_WIND_UP;
    if (!area->GetEffects().empty()) points |= SAVE_IN_FLIGHT;
    for (const auto& event : events) {
        if (event->GetCode() == EVENT_WAY_OUT_REACHED) points |= SAVE_ARRIVING;
        if (event->GetCode() == EVENT_TALK) points |= SAVE_TALK;
        if (event->GetCode() == EVENT_DIALOG_BOX) points |= SAVE_PAGE;
    }
    return points;
}

std::string SavePointName(std::uint32_t point) {
    switch (point) {
        case SAVE_WIND_UP: return "in a wind-up";
        case SAVE_IN_FLIGHT: return "with something in flight";
        case SAVE_ARRIVING: return "as the party arrives at a way out";
        case SAVE_TALK: return "with a talk pending";
        case SAVE_PAGE: return "as a page opens";
        default: return "at a tick";
    }
}

bool GiveRandomOrder(std::mt19937& chooser, const std::vector<CEngine*>& engines) {
    const CGame& first = *engines.front()->GetGame();
    const CArea* area = first.GetCurrentArea();
    const ActorList party = first.GetParty();
    if (!area || party.empty()) return false;
    const auto pick = [&chooser](std::size_t count) {
        return std::uniform_int_distribution<std::size_t>(0, count - 1)(chooser);
    };
    const std::size_t member = pick(party.size());
    if (!party[member]->IsAlive()) return false;
    const std::size_t kind = pick(5);
    const std::size_t actorIndex = pick(area->GetActors().size());
    std::vector<const CObject*> exits;
    for (const auto& object : area->GetObjects())
        if (object->IsExit()) exits.push_back(object.get());
    const CObject* exit = exits.empty() ? nullptr : exits[pick(exits.size())];
    const double dx = std::uniform_real_distribution<double>(-15.0, 15.0)(chooser);
    const double dy = std::uniform_real_distribution<double>(-15.0, 15.0)(chooser);
    const SpellList spells = party[member]->GetSpells();
    const std::size_t spellIndex = spells.empty() ? 0 : pick(spells.size());
    for (CEngine* engine : engines) {
        CGame& game = *engine->GetGame();
        CArea& here = *game.GetCurrentArea();
        const ActorList members = game.GetParty();
        if (member >= members.size() || actorIndex >= here.GetActors().size()) return false;
        CActor& actor = *members[member];
        const ThingId someone = here.GetActors()[actorIndex]->GetId();
        std::shared_ptr<COrder> order;
        switch (kind) {
            case 0: {
                // A click lands on the map: the ground within its edges.
                const double most = 0.5 * kCellSize;
                const double x = std::clamp(actor.GetX() + dx, most, here.GetColumns() * kCellSize - most);
                const double y = std::clamp(actor.GetY() + dy, most, here.GetRows() * kCellSize - most);
                order = std::make_shared<CMoveOrder>(x, y);
                break;
            }
            case 1: order = std::make_shared<CAttackOrder>(someone); break;
            case 2:
            {
                if (spells.empty()) return false;
                // A click aims a spell cast on the ground at the cell under the one clicked.
                const CSpell& spell = *spells[spellIndex];
                ThingId target = someone;
                if (spell.GetTargetType() == SPELL_TARGET_TILE && !spell.HasFlag(SPELL_MULTITARGET)) {
                    const CActor& clicked = *here.GetActors()[actorIndex];
                    const CTile* ground = here.GetTileUnder(clicked.GetX(), clicked.GetY());
                    if (!ground) return false;
                    target = ground->GetId();
                }
                order = std::make_shared<CCastOrder>(spell.GetKey(), target);
                break;
            }
            case 3: order = std::make_shared<CMoveTalkOrder>(someone); break;
            default: {
                // A load lists objects in an order of its own: the way out is the one
                // of the same kind standing on the same spot.
                const auto same = std::find_if(here.GetObjects().begin(), here.GetObjects().end(), [&](const auto& object) {
                    return exit && object->GetTemplate().GetKey() == exit->GetTemplate().GetKey() &&
                           object->GetX() == exit->GetX() && object->GetY() == exit->GetY();
                });
                if (same == here.GetObjects().end()) return false;
                order = std::make_shared<CUseOrder>(USE_OBJECT, (*same)->GetId(), 0);
            }
        }
        actor.PushOrder(order, false);
    }
    return true;
}

std::shared_ptr<CEngine> FreshChapterEngine(int chapter) {
    auto engine = std::make_shared<CEngine>();
    engine->LoadModule(chapter, kLockstepVersion, SampleFolderSource(chapter));
    return engine;
}

std::optional<LockstepDifference> RunLockstep(CEngine& game, const std::vector<std::shared_ptr<CEvent>>& held,
                                              const LockstepRun& run, int* compared) {
    if (compared) *compared = 0;
    const std::string path = (std::filesystem::path(run.folder) / "lockstep.drav").string();
    game.WriteSavedGame(path, kLockstepVersion, nullptr, std::nullopt, held);
    std::vector<std::shared_ptr<CEvent>> waiting;
    for (const auto& event : held)
        if (CGame::IsWaitingEvent(*event)) waiting.push_back(event);
    std::mt19937 unsavedRandom = DRAVCommon::GetRandomEngine();

    const std::shared_ptr<CEngine> copy = FreshChapterEngine(run.chapter);
    std::string bonus;
    copy->LoadGame(path, kLockstepVersion, bonus);
    std::mt19937 loadedRandom = DRAVCommon::GetRandomEngine();
    DRAVCommon::GetRandomEngine() = unsavedRandom;
    std::vector<std::shared_ptr<CEvent>> loadedEvents = TakeEvents(*copy);
    std::erase_if(loadedEvents, [](const auto& event) { return IsLoadLine(*event); });
    if (auto difference = Compare(0, ViewGame(game, waiting), ViewGame(*copy, loadedEvents))) return difference;

    std::mt19937 chooser(run.orderSeed);
    for (int tick = 1; tick <= run.ticks; ++tick) {
        if (!IsPlaying(game)) break;
        if (run.orderEvery > 0 && tick % run.orderEvery == 0) GiveRandomOrder(chooser, {&game, copy.get()});
        TickWith(game, unsavedRandom);
        TickWith(*copy, loadedRandom);
        const auto unsavedEvents = TakeEvents(game);
        const auto copyEvents = TakeEvents(*copy);
        if (compared) ++*compared;
        if (auto difference = Compare(static_cast<std::uint32_t>(tick), ViewGame(game, unsavedEvents),
                                      ViewGame(*copy, copyEvents)))
            return difference;
    }
    DRAVCommon::GetRandomEngine() = unsavedRandom;
    return std::nullopt;
}

}  // namespace QuillmereTest
