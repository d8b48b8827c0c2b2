#include <gtest/gtest.h>

#include "common/exception.h"
#include "game/quick_actions.h"
#include "support/sample_save.h"

namespace {

TEST(QuickActionText, AFreshRecordWritesTheFixedLineAndReadsBackWhole) {
    const auto game = QuillmereTest::StartSampleGame();
    const DRAV::ActorList party = game.Game().GetParty();
    ASSERT_EQ(party.size(), 1u);
    QuickActionTable table;
    const std::string fresh = WriteQuickActionText(party, table);
    EXPECT_EQ(fresh, "1 10 attack 0 0 talk 0 0 action 0 0 none 0 0 none 0 0 none 0 0 none 0 0 none 0 0 none 0 0 none 0 0 ");

    auto record = std::make_shared<CDRAVActorInfo>();
    record->m_kind[2] = 11;  // the picker's choice is not kept
    record->m_spell[2] = "spark";
    record->m_kind[4] = 11;
    record->m_spell[4] = "spark";
    record->m_kind[5] = 10;
    record->m_item[5] = "no_such_potion";  // not carried: dropped on reading
    record->m_current = 4;
    table[party[0]->GetId()] = record;
    const std::string text = WriteQuickActionText(party, table);
    QuickActionTable read;
    ReadQuickActionText(text, party, read);
    const CDRAVActorInfo& back = *read.at(party[0]->GetId());
    EXPECT_EQ(back.m_current, CDRAVActorInfo::kNoSlot);
    EXPECT_EQ(back.m_kind[2], 20);
    EXPECT_EQ(back.m_kind[4], 11);
    EXPECT_EQ(back.m_spell[4], "spark");
    EXPECT_EQ(back.m_kind[5], 0);
    EXPECT_EQ(back.m_item[5], "");

    record->m_kind[6] = 7;
    EXPECT_THROW(WriteQuickActionText(party, table), CDRAVException) << "a kind without a keyword";
}

TEST(QuickActionText, ADamagedLineChangesNoRecord) {
    const auto game = QuillmereTest::StartSampleGame();
    const DRAV::ActorList party = game.Game().GetParty();
    const std::string good = WriteQuickActionText(party, {});
    const std::string damaged[] = {
        "2" + good.substr(1),                           // another member count
        good.substr(0, good.size() / 2),                // cut short
        "1 10 fly" + good.substr(good.find(" 0 0")),    // an unknown keyword
        "x" + good.substr(1),                           // no count
        good + "extra ",                                // more than the party
        "1 11" + good.substr(4),                        // a slot above 10
    };
    for (const std::string& text : damaged) {
        auto kept = std::make_shared<CDRAVActorInfo>();
        QuickActionTable table{{party[0]->GetId(), kept}};
        try {
            ReadQuickActionText(text, party, table);
            ADD_FAILURE() << "read: " << text;
        } catch (const CDRAVException& failure) {
            EXPECT_EQ(failure.GetCode(), DRAV_ERR_BAD_DATA) << text;
        }
        EXPECT_EQ(table.at(party[0]->GetId()), kept) << text;
    }
}

}  // namespace
