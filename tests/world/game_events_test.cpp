// The game's queue of events for the interface.

#include <gtest/gtest.h>

#include "world/game.h"

using namespace DRAV;

TEST(GameEvents, EventsLeaveInTheOrderTheyCame) {
    CGame game;
    std::shared_ptr<CEvent> event;
    EXPECT_FALSE(game.PopEvent(event));
    game.PushMessage(MESSAGE_NOTICE, "The ferry casts off.");
    game.PushActorInfoEvent(EVENT_ACTOR_LEVEL, 0x3000004);
    game.PushEvent(std::make_shared<CTalkEvent>(0x3000001, 0x2000009));
    game.PushMessage(MESSAGE_GOLD, "You receive 40 gold.");

    ASSERT_TRUE(game.PopEvent(event));
    auto* message = dynamic_cast<CMessageEvent*>(event.get());
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(message->GetCode(), MESSAGE_NOTICE);
    EXPECT_EQ(message->GetText(), "The ferry casts off.");
    ASSERT_TRUE(game.PopEvent(event));
    auto* info = dynamic_cast<CActorInfoEvent*>(event.get());
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->GetCode(), EVENT_ACTOR_LEVEL);
    EXPECT_EQ(info->GetActor(), 0x3000004u);
    ASSERT_TRUE(game.PopEvent(event));
    EXPECT_EQ(event->GetCode(), EVENT_TALK);
    ASSERT_TRUE(game.PopEvent(event));
    EXPECT_EQ(event->GetCode(), MESSAGE_GOLD);
    EXPECT_FALSE(game.PopEvent(event));
}
