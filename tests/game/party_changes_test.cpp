#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <sstream>
#include <vector>

#include "platform/win32/file_path.h"
#include "running_game_support.h"
#include "world/events/event.h"

namespace {

using QuillmereTest::RunningGameTest;

class PartyChangesTest : public RunningGameTest {
protected:
    // The party change as the engine reports it, taken by the next ticks.
    void ReportPartyChange() {
        game().PushEvent(std::make_shared<DRAV::CInfoEvent>(DRAV::EVENT_PARTY_CHANGED));
        TimerAfter(50);
    }
    std::vector<int> Portraits() {
        std::vector<int> ids = m_shell.ScreenIds();
        std::erase_if(ids, [](int id) { return id < 100 || id > 198; });
        return ids;
    }
    bool BarShown() {
        DRAVUI::CUIElement* bar = m_shell.FindElement(200);
        return bar && bar->HasFlag(DRAVUI::UIF_SHOWN);
    }
};

TEST_F(PartyChangesTest, TheGameScreenFollowsAMemberJoiningAndLeavingAtOnce) {
    ASSERT_EQ(Portraits(), std::vector<int>{100});
    ASSERT_TRUE(BarShown());

    auto ally = AddMember("reed_goblin");
    ReportPartyChange();
    EXPECT_EQ(Portraits(), (std::vector<int>{100, 105}));
    EXPECT_FALSE(BarShown()) << "the whole party of two is selected";

    game().RemovePartyMember(*ally);
    ReportPartyChange();
    EXPECT_EQ(Portraits(), std::vector<int>{100});
    EXPECT_TRUE(BarShown()) << "Wren alone is selected again";
}

TEST_F(PartyChangesTest, AMemberWhoLeavesAndRejoinsKeepsItsQuickActions) {
    auto ally = AddMember("reed_goblin");
    ReportPartyChange();
    app().SetQuickActionKind(*ally, 11, 7);
    app().SetQuickActionSpell(*ally, "reed_lash", 7);

    game().RemovePartyMember(*ally);
    ReportPartyChange();
    game().AddPartyMember(ally);
    ReportPartyChange();
    EXPECT_EQ(app().GetQuickActionKind(*ally, 7), 11);
    EXPECT_EQ(app().GetQuickActionSpell(*ally, 7), "reed_lash");
}

// Saved while away from the party and loaded again: the slots wait under the
// member's id, which the saved game keeps.
TEST_F(PartyChangesTest, AFormerMembersQuickActionsSurviveASaveAndALoad) {
    auto ally = AddMember("reed_goblin");
    ReportPartyChange();
    app().SetQuickActionKind(*ally, 11, 7);
    app().SetQuickActionSpell(*ally, "reed_lash", 7);
    const DRAV::ThingId id = ally->GetId();
    game().RemovePartyMember(*ally);
    ReportPartyChange();
    ally.reset();

    ASSERT_TRUE(app().SaveGame());
    ASSERT_TRUE(app().LoadGame(app().GetSaveFileName(), 1, false));
    std::shared_ptr<DRAV::CActor> back;
    for (const auto& actor : game().GetCurrentArea()->GetActors())
        if (actor->GetId() == id) back = actor;
    ASSERT_NE(back, nullptr) << "the goblin stays on the lane";
    game().AddPartyMember(back);
    ReportPartyChange();
    EXPECT_EQ(app().GetQuickActionKind(*back, 7), 11);
    EXPECT_EQ(app().GetQuickActionSpell(*back, 7), "reed_lash");
}

// A load goes on with the member the player had chosen, or with the whole party;
// a save from before the choice was kept chooses as a new game does.
TEST_F(PartyChangesTest, TheMemberChosenWhenTheGameWasSavedIsChosenAfterItsLoad) {
    AddMember("reed_goblin");
    ReportPartyChange();
    for (const std::uint32_t chosen : {1u, 0u, CDRAVApp::kWholeParty}) {
        if (chosen == CDRAVApp::kWholeParty) app().SelectAll();
        else app().SelectPartyMember(chosen);
        ASSERT_TRUE(app().SaveGame());
        app().SelectPartyMember(chosen == 1 ? 0 : 1);
        ASSERT_TRUE(app().LoadGame(app().GetSaveFileName(), 1, false));
        EXPECT_EQ(app().GetSelectedMember(), chosen);
        EXPECT_EQ(BarShown(), chosen != CDRAVApp::kWholeParty) << chosen;
    }
    app().SelectPartyMember(1);
    ASSERT_TRUE(app().SaveGame());
    const std::string path = Win32::NativePath(app().GetSaveFileName());
    std::ostringstream text;
    text << std::ifstream(path).rdbuf();
    const std::string field = " <chosen>\n  1\n </chosen>\n";
    std::string oldest = text.str();
    ASSERT_NE(oldest.find(field), std::string::npos) << "the chosen member has a field of her own";
    oldest.erase(oldest.find(field), field.size());
    // An older save kept her at the end of the quick actions' text, and one older still kept none.
    const std::string older = std::string(oldest).insert(oldest.rfind("\"\n </bonus>"), "chosen 1 ");
    for (const auto& [file, chosen] : {std::pair(older, 1u), std::pair(oldest, CDRAVApp::kWholeParty)}) {
        std::ofstream(path, std::ios::trunc) << file;
        ASSERT_TRUE(app().LoadGame(app().GetSaveFileName(), 1, false));
        EXPECT_EQ(app().GetSelectedMember(), chosen);
    }
}

}  // namespace
