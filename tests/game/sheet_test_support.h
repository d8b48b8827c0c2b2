#pragma once
// The shell over Wren's running game for the actor sheet's tests: Wren selected,
// the quick actions filled, and with a companion, Tamsin, when asked for.

#include <gtest/gtest.h>

#include <memory>

#include "app_test_access.h"
#include "dialog_test_support.h"
#include "game/app.h"
#include "rules/module.h"
#include "support/sample_game.h"
#include "world/actor.h"
#include "world/game.h"

namespace QuillmereTest {

class WrensSheetTest : public ::testing::Test {
protected:
    explicit WrensSheetTest(bool withCompanion) {
        if (withCompanion) {
            m_game.Module().CreateActor(m_companion, &m_game.Game(), "ferryman_elder", "", 0);
            m_companion->SetName("Tamsin");
            m_game.Game().AddPartyMember(m_companion);
        }
        CDRAVAppTestAccess::SetEngine(app(), m_game.EnginePtr());
        CDRAVAppTestAccess::StartPlaying(app());
        CDRAVAppTestAccess::SetSelectedMember(app(), 0);
        app().UpdatePartyQuickActions(false);
    }
    CDRAVApp& app() { return m_shell.app; }
    DRAV::CActor& wren() { return *m_game.Main(); }
    DRAV::CActor& tamsin() { return *m_companion; }

    ShellOnSample m_shell;
    SampleGame m_game;
    std::shared_ptr<DRAV::CActor> m_companion;
};

}  // namespace QuillmereTest
