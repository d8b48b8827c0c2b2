#pragma once
// A new game of chapter 1 on the whole shell, for the tests that play it.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "dialog_test_support.h"
#include "engine/engine.h"
#include "game/dialogs/dialog.h"
#include "platform/win32/win32_time.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/game.h"

namespace QuillmereTest {

// A new game of chapter 1 started as the creation pages end it (its first page put
// away), its introduction and the tutorial's welcome closed, on a clock that moves
// only when the test says so.
class RunningGameTest : public ::testing::Test {
protected:
    RunningGameTest() {
        Win32::SetClockSource([this] { return m_now; });
        EXPECT_TRUE(m_shell.loaded);
        m_shell.StartWrensGame();
        m_introTitle = app().GetCurrentDialog() ? app().GetCurrentDialog()->GetTitle() : "";
        EXPECT_TRUE(m_shell.PastTheWelcome([this] { TimerAfter(16); }));
    }
    ~RunningGameTest() override {
        if (app().IsGameRunning()) app().EndGame();
        Win32::SetClockSource(nullptr);
    }

    CDRAVApp& app() { return m_shell.app; }
    DRAV::CGame& game() { return RunningGameOf(app()); }
    DRAV::CActor& main() { return *game().GetParty().front(); }
    // Moves the clock on and, while the timer is set, delivers its message.
    void TimerAfter(DWORD ms) {
        m_now += ms;
        if (Win32::NextTimerDue()) app().HandleMessage(WM_TIMER, CDRAVAppTestAccess::TimerId(app()), 0);
    }
    // Timer messages every 16 ms for `ms` milliseconds, as a running timer sends them.
    void TimersFor(DWORD ms) {
        for (; ms > 16; ms -= 16) TimerAfter(16);
        TimerAfter(ms);
    }
    std::shared_ptr<DRAV::CActor> AddMember(const std::string& key) {
        DRAV::CArea& area = *game().GetCurrentArea();
        auto actor = area.CreateEncounterActor(key, "", 0, *app().GetEngine()->GetModule());
        // On the lane, clear of the reeds whose ambush any step sets off and out of
        // the keeper's sight, who greets whoever comes ashore.
        EXPECT_TRUE(area.PlaceActor(6, 8, false, actor));
        game().AddPartyMember(actor);
        return actor;
    }
    // Only the party, and any of `staying`, left on the landing, and no goblin in the
    // lane's reeds: nobody starts a fight or walks into the way.
    void CalmTheLanding(const std::string& staying = "") {
        DRAV::CArea& area = *game().GetCurrentArea();
        for (const auto& actor : DRAV::ActorList(area.GetActors()))
            if (actor->GetRelation() != DRAV::RELATION_PARTY && actor->GetTemplateName() != staying)
                area.RemoveActor(*actor);
        for (const auto& object : DRAV::ObjectList(area.GetObjects()))
            if (object->GetTemplate().GetKey() == "lane_reeds") area.RemoveObject(*object);
    }
    RECT RectOf(int id) {
        DRAVUI::CUIElement* element = nullptr;
        for (const auto& top : app().GetUIManager().GetElements()) {
            std::vector<DRAVUI::CUIElement*> all{top.get()};
            if (auto* group = dynamic_cast<DRAVUI::CUIGroup*>(top.get()))
                for (const auto& child : group->GetChildren()) all.push_back(child.get());
            for (auto* candidate : all)
                if (candidate->GetId() == id) element = candidate;
        }
        return element ? *element->GetRect() : RECT{-1, -1, -1, -1};
    }

    DWORD m_now = 100000;
    ShellOnSample m_shell;
    std::string m_introTitle;
};

}  // namespace QuillmereTest
