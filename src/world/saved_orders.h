#pragma once
// What an actor was doing, as a saved game keeps it: the orders of its two queues
// and the foe it is striking, each thing they name written as the load finds it
// again (CSavedThing). An order naming someone gone from the game comes back
// naming nobody, for the engine to drop at its turn as it would have; one whose
// item or object is gone is left out, by the save or by the load, as the engine
// drops one at its next step. The others come back in their order, so that the
// actor goes on as it was. One that no play gives
// (world/order_rule.h) is never written, and refuses the load that finds it.
//
// The element, optional in the actor's block:
//   <orders> [<target> actor </target>] [<instant> order... </instant>] order... </orders>
// each order an element named for its kind ("attack", "move", ...) holding its fields.

#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

#include "world/saved_thing.h"

namespace DRAVCommon {
class CDataFileReader;
class CDataFileWriter;
}  // namespace DRAVCommon

namespace DRAV {

class CActor;
class CGame;
class CModule;
class COrder;

// The most orders each queue of an actor holds: more are not queued, and a save
// holding more does not load.
inline constexpr std::size_t kOrderQueueLimit = 64;

class CSavedOrders {
public:
    // Writes the "orders" element of `actor`, leaving out what the load would refuse
    // by the same checks, `module`'s spells included; nothing for one that does nothing.
    static void Write(DRAVCommon::CDataFileWriter& writer, const CActor& actor, const CModule& module);
    // Reads one "orders" element: code 1 for one play could not have written, a
    // spell or power `module` lacks included.
    CSavedOrders(DRAVCommon::CDataFileReader& reader, const CModule& module);
    ~CSavedOrders();
    CSavedOrders(const CSavedOrders&) = delete;
    CSavedOrders& operator=(const CSavedOrders&) = delete;

    // `actor`, loaded into `game` and placed in its area, takes up its orders and
    // its target, each thing found as the load numbered it; code 1 for an order no
    // play gives.
    void Restore(CActor& actor, const CGame& game) const;

    // An order as read: its values, with no thing in it yet, and its things.
    struct Saved {
        std::shared_ptr<COrder> values;
        std::vector<CSavedThing> things;
    };

private:
    std::optional<CSavedThing> m_target;
    std::vector<Saved> m_instant;
    std::vector<Saved> m_continuing;
};

}  // namespace DRAV
