#include <gtest/gtest.h>

#include "common/exception.h"
#include "game/quick_actions.h"
#include "support/sample_save.h"
#include "world/save_head.h"

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

// A member who left the party keeps its slots through a save and a load, after the
// party's entries; a text without such an ending reads as before.
TEST(QuickActionText, FormerMembersFollowThePartyAndReadBackUnderTheirIds) {
    const auto game = QuillmereTest::StartSampleGame();
    const DRAV::ActorList party = game.Game().GetParty();
    const DRAV::ThingId wren = party[0]->GetId(), gone = 0x03000077, alsoGone = 0x03000042;
    auto record = std::make_shared<CDRAVActorInfo>();
    record->m_kind[7] = 11;
    record->m_spell[7] = "reed_lash";
    record->m_kind[8] = 10;
    record->m_item[8] = "river_tonic";  // kept: no one is there to check what it carries
    QuickActionTable table{{wren, std::make_shared<CDRAVActorInfo>()}, {gone, record},
                           {alsoGone, std::make_shared<CDRAVActorInfo>()}};
    const std::string text = WriteQuickActionText(party, table);
    const std::string partyOnly = WriteQuickActionText(party, {{wren, table.at(wren)}});
    ASSERT_EQ(text.rfind(partyOnly, 0), 0u) << "the party's entries come first, as they always did";
    EXPECT_EQ(text.substr(partyOnly.size()).rfind("former 2 " + std::to_string(alsoGone) + " 10 attack 0 0 ", 0), 0u)
        << text.substr(partyOnly.size());

    QuickActionTable read;
    ReadQuickActionText(text, party, read);
    ASSERT_EQ(read.size(), 3u);
    const CDRAVActorInfo& back = *read.at(gone);
    EXPECT_EQ(back.m_kind[7], 11);
    EXPECT_EQ(back.m_spell[7], "reed_lash");
    EXPECT_EQ(back.m_kind[8], 10);
    EXPECT_EQ(back.m_item[8], "river_tonic");
    EXPECT_EQ(back.m_current, CDRAVActorInfo::kNoSlot);
    EXPECT_EQ(WriteQuickActionText(party, read), text) << "round trip";
    // A loaded game has numbered its actors anew; one gone from it keeps no record.
    QuickActionTable loaded;
    ReadQuickActionText(text, party, loaded, [&](DRAV::ThingId id) { return id == gone ? 0x03000005u : 0u; });
    ASSERT_EQ(loaded.size(), 2u);
    EXPECT_EQ(loaded.at(0x03000005)->m_spell[7], "reed_lash");

    // Members who left take the room a save's line has left, and no more.
    QuickActionTable crowd{{wren, record}};
    for (DRAV::ThingId id = 0x03000100; id < 0x03000100 + 200; ++id) crowd[id] = record;
    const std::string full = WriteQuickActionText(party, crowd);
    EXPECT_LE(full.size(), DRAV::kSavedAppLineLimit);
    QuickActionTable crowdBack;
    ReadQuickActionText(full, party, crowdBack);
    EXPECT_GT(crowdBack.size(), 40u);
    EXPECT_LT(crowdBack.size(), crowd.size());

    // An older save's text, the party alone, reads whole and adds no one.
    QuickActionTable old;
    ReadQuickActionText(partyOnly, party, old);
    EXPECT_EQ(old.size(), 1u);

    // A damaged ending is a damaged text: nothing changes.
    const std::string entry = text.substr(text.find(std::to_string(gone)));
    for (const std::string& damaged :
         {partyOnly + "former ", partyOnly + "former 2 " + entry, partyOnly + "former 1 " + std::to_string(wren) + entry.substr(entry.find(' ')),
          partyOnly + "former 1 16777216" + entry.substr(entry.find(' ')), partyOnly + "formerly 1 " + entry}) {
        QuickActionTable kept{{wren, record}};
        EXPECT_THROW(ReadQuickActionText(damaged, party, kept), CDRAVException) << damaged;
        EXPECT_EQ(kept.size(), 1u) << damaged;
        EXPECT_EQ(kept.at(wren), record) << damaged;
    }
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
