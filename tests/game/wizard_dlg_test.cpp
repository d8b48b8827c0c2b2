#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app_test_access.h"
#include "dialog_test_support.h"
#include "game/dialogs/play/wizard_dlg.h"
#include "platform/win32/virtual_keys.h"
#include "support/message_texts.h"
#include "support/sample_game.h"
#include "ui/ui_group.h"
#include "ui/ui_manager.h"
#include "ui/ui_static_text.h"
#include "ui/ui_text_element.h"
#include "world/actor.h"
#include "world/item.h"

namespace {

// The console over a running game of "Wren" in the shell on the sample.
class WizardDlgTest : public ::testing::Test {
protected:
    WizardDlgTest() {
        CDRAVAppTestAccess::SetEngine(m_shell.app, m_game.EnginePtr());
        CDRAVAppTestAccess::StartPlaying(m_shell.app);
        m_game.DrainEvents();
    }
    std::shared_ptr<CWizardDlg> Open() {
        auto wizard = std::make_shared<CWizardDlg>(&m_shell.app);
        m_shell.app.SetDialog(false, wizard);
        return wizard;
    }
    // Virtual keys as a keyboard sends them: letters in capitals, '_' as Shift and minus.
    void Type(const std::string& text) {
        for (char c : text) {
            const bool shift = c == '_' || (c >= 'A' && c <= 'Z');
            int key = c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c;
            if (c == '_' || c == '-') key = static_cast<int>(VK_OEM_MINUS);
            m_shell.app.DeliverKeyToDialog(key, shift);
        }
    }
    std::int32_t Tonics() const {
        const DRAV::CItem* tonic = DRAV::FindItemByTemplateName(m_game.Main()->GetBackpackItems(), "river_tonic");
        return tonic ? tonic->GetCount() : 0;
    }

    QuillmereTest::ShellOnSample m_shell;
    QuillmereTest::SampleGame m_game;
};

TEST_F(WizardDlgTest, EnterRunsTheTypedLineAfterTheConsoleHasClosed) {
    auto wizard = Open();
    EXPECT_EQ(wizard->GetTitle(), "Wizard");
    Type("item river_tonic 3");
    EXPECT_EQ(m_shell.app.GetCurrentDialog(), wizard) << "typing never closes the console";
    m_shell.app.DeliverKeyToDialog(static_cast<int>(VK_RETURN), false);
    EXPECT_EQ(m_shell.app.GetCurrentDialog(), nullptr);
    EXPECT_EQ(wizard->GetCommand(), "item river_tonic 3");
    EXPECT_EQ(Tonics(), 3);
    EXPECT_EQ(QuillmereTest::MessageTexts(m_game.DrainEvents()),
              std::vector<std::string>{"Wizard: Created River Tonic"});
}

TEST_F(WizardDlgTest, ShiftMakesCapitalsAndSwallowsDigitsAndBackspaceTakesTheLastBack) {
    auto wizard = Open();
    Type("Item River_tonic");
    m_shell.app.DeliverKeyToDialog('3', true);
    m_shell.app.DeliverKeyToDialog(static_cast<int>(VK_BACK), false);
    m_shell.app.DeliverKeyToDialog(static_cast<int>(VK_RETURN), false);
    EXPECT_EQ(wizard->GetCommand(), "Item River_toni");
    EXPECT_EQ(Tonics(), 0) << "a capitalised word is no command";
}

TEST_F(WizardDlgTest, EscCancelAndAnEmptyLineRunNothing) {
    auto escaped = Open();
    Type("item river_tonic");
    m_shell.app.DeliverKeyToDialog(static_cast<int>(VK_ESCAPE), false);
    EXPECT_EQ(m_shell.app.GetCurrentDialog(), nullptr);

    auto cancelled = Open();
    Type("item river_tonic");
    EXPECT_TRUE(cancelled->OnButton(CWizardDlg::kCancel));
    m_shell.app.CloseDialog(CWizardDlg::kCancel);

    auto empty = Open();
    EXPECT_FALSE(empty->OnButton(0)) << "a click on the warning or the entry keeps the console open";
    EXPECT_TRUE(empty->OnButton(CWizardDlg::kDone));
    m_shell.app.CloseDialog(CWizardDlg::kDone);
    EXPECT_EQ(empty->GetCommand(), "");
    EXPECT_EQ(Tonics(), 0);
    EXPECT_EQ(m_shell.app.GetCurrentDialog(), nullptr);
}

TEST_F(WizardDlgTest, TheWarningEntryAndButtonsStackSixteenApartAroundTheCentre) {
    Open();
    const RECT* warning = nullptr;
    const RECT* entry = nullptr;
    const RECT* buttons = nullptr;
    for (const auto& element : m_shell.app.GetUIManager().GetElements()) {
        if (element->GetId() != 0) continue;
        if (dynamic_cast<DRAVUI::CUITextElement*>(element.get()) && !warning) warning = element->GetRect();
        if (dynamic_cast<DRAVUI::CUIStaticText*>(element.get()) && warning && !entry) entry = element->GetRect();
        if (dynamic_cast<DRAVUI::CUIGroup*>(element.get())) buttons = element->GetRect();
    }
    ASSERT_TRUE(warning && entry && buttons);
    EXPECT_EQ(entry->top - warning->bottom, 16);
    EXPECT_EQ(buttons->top - entry->bottom, 16);
    EXPECT_EQ(entry->right - entry->left, 400);
    const LONG centre = (warning->left + warning->right) / 2;
    EXPECT_EQ((entry->left + entry->right) / 2, centre);
    EXPECT_EQ((buttons->left + buttons->right) / 2, centre);
}

}  // namespace
