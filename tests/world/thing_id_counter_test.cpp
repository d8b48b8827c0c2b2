// The game's one counter of thing ids.

#include <gtest/gtest.h>

#include "support/error_code.h"
#include "world/thing_id_counter.h"

using namespace DRAV;
using QuillmereTest::ErrorCodeOf;

TEST(ThingIdCounter, ANewGameStartsAtOneAndSharesTheCounterAcrossTypes) {
    CThingIdCounter counter;
    EXPECT_EQ(counter.NewThingId(THING_OBJECT), 0x02000001u);
    EXPECT_EQ(counter.NewThingId(THING_ACTOR), 0x03000002u);
    EXPECT_EQ(counter.NewThingId(THING_EFFECT), 0x04000003u);
    EXPECT_EQ(counter.NewThingId(THING_ITEM), 0x05000004u);
    EXPECT_EQ(counter.GetNext(), 5u);
}

TEST(ThingIdCounter, ALoadedGameGoesOnFromItsSavedCounter) {
    CThingIdCounter counter(0x123456);
    EXPECT_EQ(counter.NewThingId(THING_ITEM), 0x05123456u);
    EXPECT_EQ(counter.GetNext(), 0x123457u);
}

TEST(ThingIdCounter, RejectedRequestsStillUseUpTheirSerial) {
    CThingIdCounter counter(7);
    EXPECT_EQ(ErrorCodeOf([&] { counter.NewThingId(256); }), DRAV_ERR_OUT_OF_RANGE);
    EXPECT_EQ(counter.GetNext(), 8u);
    EXPECT_EQ(ErrorCodeOf([&] { counter.NewThingId(-1); }), DRAV_ERR_OUT_OF_RANGE);
    EXPECT_EQ(counter.GetNext(), 9u);
    EXPECT_EQ(counter.NewThingId(255), 0xFF000009u) << "255 is the largest type";
}

TEST(ThingIdCounter, TheLastSerialIsIssuedAndTheNextOneFails) {
    CThingIdCounter counter(kMaxThingSerial);
    EXPECT_EQ(counter.NewThingId(THING_ACTOR), 0x03FFFFFFu);
    EXPECT_EQ(ErrorCodeOf([&] { counter.NewThingId(THING_ACTOR); }), DRAV_ERR_OUT_OF_RANGE);
    EXPECT_EQ(ErrorCodeOf([&] { counter.NewThingId(THING_ITEM); }), DRAV_ERR_OUT_OF_RANGE);
    EXPECT_EQ(counter.GetNext(), kMaxThingSerial + 1) << "a save writes a counter it can read back";
    EXPECT_EQ(counter.NewRecurringThingId(THING_EFFECT), 0x04000001u);
    EXPECT_EQ(counter.GetNext(), 2u);
}
