#include "game/dialogs/creation/cc_name_dlg.h"

#include <cctype>
#include <filesystem>

#include "game/app.h"
#include "game/identity.h"
#include "game/load_info.h"
#include "platform/win32/virtual_keys.h"
#include "platform/win32/file_path.h"
#include "rules/monsters/actor_names.h"
#include "ui/ui_button.h"
#include "ui/ui_group.h"
#include "ui/ui_manager.h"
#include "ui/ui_static_text.h"
#include "world/actor.h"

namespace {

std::string Lowered(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

std::string MakeOverwriteQuestion(const DRAV::CActor& actor) {
    return "An actor with the name " + actor.GetName() +
           " already exists. LINE LINE Do you want to replace this actor with a new one?";
}

bool SavedGameHasName(const std::string& folder, const std::string& name) {
    const std::shared_ptr<CLoadInfo> saves = ListSaveFolder(folder);
    for (const auto& item : saves->m_items)
        if (item->m_name == name) return true;
    // A renamed or copied save answers to its file name, and folders that ignore
    // letter case give names equal but for case one file.
    const std::string fileName = Lowered(name + ".drav");
    std::error_code error;
    std::filesystem::directory_iterator entries(Win32::NativePath(folder), error);
    for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error))
        if (Lowered(entries->path().filename().string()) == fileName) return true;
    return false;
}

void CCCNameDlg::CreatePage(RECT area, DRAVUI::CUIManager& container) {
    const auto config = container.GetConfig();
    auto field = std::make_shared<DRAVUI::CUIStaticText>(m_typed, 0, config);
    field->SetFlag(DRAVUI::UIF_FRAMED, true);
    field->SetFlag(DRAVUI::UIF_ONE_LINE, true);
    field->SetMaxLength(DRAV::kHeroNameLimit);
    field->SetSize(300, config->Pick(32, 24));
    m_nameField = field.get();

    auto row = std::make_shared<DRAVUI::CUIGroup>("", true, false, 0u, 16, config);
    auto done = std::make_shared<DRAVUI::CUITextButton>(kDone, "Done", config);
    done->SetSize(config->Pick(80, 64), 32);
    m_doneButton = done.get();
    done->SetFlag(DRAVUI::UIF_SHOWN, !TypedName().empty());
    row->AddChild(done);

    const POINT centre = RectCenter(area);
    const RECT fieldRect = *field->GetRect();
    const RECT rowRect = *row->GetRect();
    const LONG fieldHeight = fieldRect.bottom - fieldRect.top;
    const LONG rowHeight = rowRect.bottom - rowRect.top;
    const LONG top = centre.y - (fieldHeight + 16 + rowHeight) / 2;
    field->CenterOn(POINT{centre.x, top + fieldHeight / 2});
    row->CenterOn(POINT{centre.x, top + fieldHeight + 16 + rowHeight / 2});
    container.AddElement(field);
    container.AddElement(row);
}

std::string CCCNameDlg::TypedName() const {
    if (!m_nameField) return {};
    const std::string& text = m_nameField->m_text;
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    std::string name = text.substr(first, text.find_last_not_of(' ') - first + 1);
    return DRAV::HasLetterOrDigit(name) ? name : std::string();
}

bool CCCNameDlg::TakeName() {
    std::string name = TypedName();
    if (name.empty()) return false;
    m_name = std::move(name);
    return true;
}

bool CCCNameDlg::OnButton(int id) {
    if (id == kDone) return TakeName();
    return CCCDlg::OnButton(id);
}

bool CCCNameDlg::OnKey(int key, bool shift, int* result) {
    *result = 0;
    if (key == static_cast<int>(VK_ESCAPE)) {
        *result = kCancel;
        return true;
    }
    // The "/" and "?" key is typing here, as every key but Esc and Enter; the
    // manual stays on the help icon.
    if (key == static_cast<int>(VK_RETURN)) {
        if (!TakeName()) return false;
        *result = kDone;
        return true;
    }
    if (m_nameField) {
        m_nameField->OnKey(static_cast<std::uint32_t>(key), shift);
        m_typed = m_nameField->m_text;
    }
    if (m_doneButton) m_doneButton->SetFlag(DRAVUI::UIF_SHOWN, !TypedName().empty());
    return false;
}

void CCCNameDlg::OnClose(int result) {
    if (result != kDone) {
        CCCDlg::OnClose(result);
        return;
    }
    m_actor->SetName(m_name);
    std::string folder;
    try {
        folder = m_app->GetSaveFolder();
    } catch (const std::exception&) {
        // No save folder: no save can be overwritten.
    }
    if (!folder.empty() && SavedGameHasName(folder, m_name)) {
        m_app->SetDialog(true, std::make_shared<CCCNameDlgConfirm>(m_app, m_actor));
        return;
    }
    m_app->StartGameWithActor(m_actor);
}

std::string CCCNameDlg::GetDescription() {
    return "OK, almost done! Just one more important task; you must select a name for your character. You'll be "
           "looking at it all game, so pick something good. LINE LINE And now you're ready to play! Once you hit "
           "Done you'll see your character in the game. For the controls, open the game's help with its ? "
           "button or the ? key and choose Shortcuts. The " +
           GetProductTitle() + " manual holds the rules of play. LINE LINE Visit " + GetProductWebsite() +
           " for News, Updates, and More Information on " + GetCompanyName() + " and " + GetProductTitle() + ".";
}

CCCNameDlgConfirm::CCCNameDlgConfirm(CDRAVApp* app, std::shared_ptr<DRAV::CActor> actor)
    : CYesNoDlg(app, "Overwrite Actor?", MakeOverwriteQuestion(*actor)), m_actor(std::move(actor)) {}

void CCCNameDlgConfirm::OnYes() { m_app->StartGameWithActor(m_actor); }

void CCCNameDlgConfirm::OnNo() { m_app->SetDialog(true, std::make_shared<CCCNameDlg>(m_app, m_actor)); }
