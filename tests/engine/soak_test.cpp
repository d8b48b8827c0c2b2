// The chapter left to run on its own: the party picking fights with the people
// the chapter places, and every AI among them acting, for a stretch of game time
// in the landing and then the reed marsh, the state checked every game minute.

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "common/random.h"
#include "engine/brain/ai.h"
#include "support/sample_game.h"
#include "world/item.h"
#include "world/object.h"

using namespace DRAV;

namespace {

constexpr int kTicksPerMinute = 1800;
// Ten game hours, five in each area, with the invariants checked every minute.
constexpr int kMinutes = 600;
// No order the engine keeps running may hold an actor in one place this long.
constexpr int kStuckMinutes = 10;

// An actor's continuing order and where it stood when that order was first seen.
struct Watch {
    std::shared_ptr<COrder> order;  // held, so a new order cannot take its address
    double x = 0.0;
    double y = 0.0;
    int since = 0;
};

class Soak {
public:
    void CheckInvariants(const CArea& area, int minute) {
        std::set<ThingId> items;
        auto unique = [&](const std::shared_ptr<CItem>& item, const std::string& holder) {
            if (item) {
                EXPECT_TRUE(items.insert(item->GetId()).second)
                    << "item id twice (" << holder << "), minute " << minute;
            }
        };
        for (const auto& actor : area.GetActors()) {
            EXPECT_GE(actor->GetDamageTaken(), 0) << actor->GetName() << ", minute " << minute;
            if (actor->IsAlive()) {
                EXPECT_LE(actor->GetDamageTaken(), actor->GetMaxHitPoints())
                    << actor->GetName() << ", minute " << minute;
            }
            EXPECT_TRUE(area.TestTiles(*actor, nullptr, actor->GetX(), actor->GetY()))
                << actor->GetName() << " in a wall, minute " << minute;
            // Instant orders are run in the tick that issues them.
            EXPECT_TRUE(actor->GetInstantOrders().empty()) << actor->GetName() << ", minute " << minute;
            for (const auto& item : actor->GetBackpackItems()) unique(item, actor->GetName());
            for (const auto& item : actor->GetEquipment()) unique(item, actor->GetName());
            CheckNotStuck(*actor, minute);
        }
        // What lies on the ground: chests, crates and the piles the fallen left.
        for (const auto& object : area.GetObjects())
            for (const auto& item : object->GetItems()) unique(item, object->GetName());
    }

private:
    // A continuing order is stuck for good when the same order object has held the
    // actor on one spot for many minutes: it neither finishes nor moves it.
    void CheckNotStuck(const CActor& actor, int minute) {
        Watch& watch = m_watches[actor.GetId()];
        const std::shared_ptr<COrder> order = actor.GetCurrentOrder();
        const bool moved = std::abs(actor.GetX() - watch.x) > 0.01 || std::abs(actor.GetY() - watch.y) > 0.01;
        if (!order || order != watch.order || moved) {
            watch = {order, actor.GetX(), actor.GetY(), minute};
            return;
        }
        EXPECT_LT(minute - watch.since, kStuckMinutes)
            << actor.GetName() << " has stood on order type " << order->GetType() << " since minute " << watch.since
            << " at " << actor.GetX() << ", " << actor.GetY();
        if (minute - watch.since >= kStuckMinutes) watch.since = minute;  // reported once per stretch
    }

    std::map<ThingId, Watch> m_watches;
};

// The nearest living actor outside the party, whatever its relation.
CActor* NearestStranger(const CArea& area, const CActor& from) {
    CActor* nearest = nullptr;
    for (const auto& actor : area.GetActors()) {
        if (!actor->IsAlive() || actor->IsPartyMember()) continue;
        if (!nearest || from.DistanceTo(*actor) < from.DistanceTo(*nearest)) nearest = actor.get();
    }
    return nearest;
}

}  // namespace

TEST(Soak, TheChapterRunsWithEveryPlacedPersonActing) {
    auto game = QuillmereTest::StartSampleGame();
    DRAVCommon::GetRandomEngine().seed(21);
    const auto wren = game.Main();
    // The fixture's Wren is a bare new character; she needs a body to last the run,
    // the flurry of the three drowned wardens at once included.
    wren->SetMaxHitPoints(2000);
    // The chapter's own people only: the first goblin out of the reeds, ferrymen,
    // the keeper, the inn, the stall.
    game.Engine().SetTag("lane_ambush", true);
    ASSERT_GE(game.Area().GetActors().size(), 8u);
    Soak soak;
    std::shared_ptr<COrder> lastOrder;
    double lastX = wren->GetX();
    double lastY = wren->GetY();
    for (int minute = 1; minute <= kMinutes; ++minute) {
        // Like a player, she gives up a fight she has not come one step nearer for
        // a minute; the others' orders are watched below.
        if (wren->GetCurrentOrder() == lastOrder && std::abs(wren->GetX() - lastX) < 0.01 &&
            std::abs(wren->GetY() - lastY) < 0.01)
            wren->ClearOrders();
        lastOrder = wren->GetCurrentOrder();
        lastX = wren->GetX();
        lastY = wren->GetY();
        for (int tick = 0; tick < kTicksPerMinute; ++tick) {
            // Wren's wounds close at once, so the party keeps fighting for the whole run.
            wren->SetDamageTaken(0);
            // She picks a fight with whoever stands nearest, friend or foe, so that
            // every brain is provoked in turn.
            if (!wren->GetCurrentOrder()) {
                if (CActor* stranger = NearestStranger(game.Area(), *wren))
                    wren->PushOrder(std::make_shared<CAttackOrder>(stranger->GetId()), false);
            }
            try {
                game.Tick();
            } catch (const CDRAVException& error) {
                FAIL() << "code " << error.GetCode() << ": " << error.GetMessage() << ", minute " << minute;
            }
            game.DrainEvents();
        }
        ASSERT_TRUE(wren->IsAlive());
        soak.CheckInvariants(game.Area(), minute);
        // Half-way through, the party walks on into the reed marsh and its people.
        if (minute == kMinutes / 2) {
            game.Game().SetEntry({"reed_marsh", "landing"}, AREA_LOAD_FRESH, "");
            game.Game().SetStateCode(GAME_TRAVEL);
            game.Engine().LeaveArea();
            game.Engine().EnterArea();
            ASSERT_EQ(game.Area().GetName(), "reed_marsh");
            ASSERT_GE(game.Area().GetActors().size(), 6u);
        }
        if (::testing::Test::HasFailure()) return;
    }
}
