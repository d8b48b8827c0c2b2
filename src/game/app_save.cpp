#include <exception>
#include <optional>
#include <sstream>
#include <vector>

#include "common/exception.h"
#include "engine/engine.h"
#include "game/app.h"
#include "game/dialogs/front/intro_dlg.h"
#include "game/identity.h"
#include "game/save_files.h"
#include "platform/win32/file_path.h"
#include "rules/monsters/actor_names.h"
#include "world/actor.h"

// Saved games: one file per main character in the save folder, replaced whole so
// that a failed or interrupted save never costs the game saved before.

namespace {

DRAV::CModuleVersionRange SaveRecord() { return DRAV::CModuleVersionRange(GetInternalName(), kVersionMajor, 0); }

// Older saves kept the member the player had chosen at the end of the quick
// actions' text, after this word. A save without her, the whole party chosen or
// older still, chooses as a new game does.
constexpr const char* kChosenWord = "chosen";

// Takes an older save's chosen member off the end of `text`; none when it names none.
std::optional<std::uint32_t> TakeChosenMember(std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> tokens;
    for (std::string token; in >> token;) tokens.push_back(token);
    if (tokens.size() < 2 || tokens[tokens.size() - 2] != kChosenWord) return std::nullopt;
    const std::string& index = tokens.back();
    if (index.empty() || index.size() > 1 || index[0] < '0' || index[0] > '9') return std::nullopt;
    text.erase(text.rfind(kChosenWord));
    return static_cast<std::uint32_t>(index[0] - '0');
}

// Why a save or a load failed, for its box: the system's own words when it gave
// them, else what the game found wrong.
std::string FailureReason(const std::exception& failure) {
    if (const auto* known = dynamic_cast<const CDRAVException*>(&failure)) {
        if (!known->GetReason().empty()) return known->GetReason();
        if (!known->GetMessage().empty()) return known->GetMessage();
    }
    return failure.what();
}

// "Failed to save "<path>": <reason>.", the path said once when the reason
// begins with it, and left out when there is none.
std::string FailureText(const std::string& what, const std::string& path, std::string reason) {
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '.')) reason.pop_back();
    if (path.empty()) return "Failed to " + what + ": " + reason + ".";
    if (reason.rfind(path + ": ", 0) == 0) reason.erase(0, path.size() + 2);
    return "Failed to " + what + " \"" + path + "\": " + reason + ".";
}

}  // namespace

std::string CDRAVApp::GetSaveFolder() const { return MakeSaveFolder(GetInternalName()); }

std::string CDRAVApp::GetSaveFileName() const {
    const std::shared_ptr<DRAV::CActor> main = m_engine->GetGame()->GetMainActor();
    if (!main) throw CDRAVException(DRAV_ERR_BAD_DATA, "the game has no main character to name its save");
    // The player finds a save again by its file in the list of saves. A name the
    // name page may give makes a file that list shows: ".drav" after a name of its
    // own, with no NUL byte to cut it short. Any other saves nothing.
    if (const std::string fault = DRAV::HeroNameFault(main->GetName()); !fault.empty())
        throw CDRAVException(DRAV_ERR_BAD_DATA, "the main character's name " + fault);
    // A name is used as it stands, except that it never leads out of the folder.
    std::string name = main->GetName();
    for (char& c : name)
        if (c == '\\' || c == '/') c = '_';
    return GetSaveFolder() + "\\" + name + ".drav";
}

void CDRAVApp::WriteSaveFile(const std::string& path) {
    const std::string text = WriteQuickActions();
    // What the game raised for the player and the timer has not opened yet is the
    // game's as much as what the engine still queues: a close on the tick the party
    // reaches a way out keeps its question.
    m_engine->WriteSavedGame(path, SaveRecord(), &text,
                             m_selectedParty == kWholeParty ? std::nullopt : std::optional(m_selectedParty),
                             DRAV::CGame::EventList(m_pendingEvents.begin(), m_pendingEvents.end()));
}

bool CDRAVApp::SaveGame() {
    if (!m_engine || !m_engine->GetGame()) return false;
    SuspendClock();
    std::string path;
    std::string reason;
    try {
        // The player reads the path as this system writes paths.
        path = Win32::NativePath(GetSaveFileName());
        ReplaceSaveFile(path, [this](const std::string& fresh) { WriteSaveFile(fresh); });
        // Every save is named, a journey's as the player's own: the player knows the
        // game she would load is the one she just left.
        m_engine->ReportSaved(path);
    } catch (const std::exception& failure) {
        reason = FailureReason(failure);
    } catch (...) {
        reason = "unknown failure";
    }
    if (!reason.empty()) {
        // Whatever failed, the game goes on and the save before stays as it was.
        if (path.empty()) {
            // The folder or the character was the trouble: the save is named as the
            // player knows it, when its name makes a file at all.
            try {
                const std::string& name = m_engine->GetGame()->GetMainActor()->GetName();
                if (DRAV::HeroNameFault(name).empty()) path = name + ".drav";
            } catch (const std::exception&) {
            }
        }
        ShowError(FailureText("save", path, reason), "Save Error");
    }
    ResumeClock();
    return reason.empty();
}

std::shared_ptr<CLoadInfo> CDRAVApp::ListSavedGames() const {
    std::string folder;
    try {
        folder = GetSaveFolder();
    } catch (const std::exception&) {
        return std::make_shared<CLoadInfo>();
    }
    return ListSaveFolder(folder);
}

bool CDRAVApp::LoadGame(const std::string& savePath, int chapter, bool nextChapter) {
    const std::string path = Win32::NativePath(savePath);
    std::string quickActions;
    std::optional<std::uint32_t> chosen;
    try {
        MakeEngine(chapter);
        m_engine->LoadGame(path, SaveRecord(), quickActions, &chosen);
    } catch (const CDRAVException& failure) {
        std::string text;
        switch (failure.GetCode()) {
            case DRAV_ERR_SAVE_VERSION:
                text = "Failed to load obsolete save file \"" + path + "\".";
                break;
            case DRAV_ERR_MODULE_TOO_OLD:
                text = "Your Chapter " + std::to_string(chapter) + " file is out of date. Please visit " +
                       GetProductWebsite() + " for information on obtaining the most recent version.";
                break;
            case DRAV_ERR_MODULE_TOO_NEW:
                text = "The " + GetProductTitle() + " application is out of date. Please visit " + GetProductWebsite() +
                       " for information on obtaining the most recent version.";
                break;
            default:
                text = FailureText("load", path, FailureReason(failure));
        }
        ShowError(text, "Load Error");
        return false;
    } catch (const std::exception& failure) {
        ShowError(FailureText("load", path, FailureReason(failure)), "Load Error");
        return false;
    } catch (...) {
        ShowError("Failed to load \"" + path + "\".", "Load Error");
        return false;
    }
    if (nextChapter) {
        if (!StartNextChapter()) return false;
        // The slots of the chapter left behind name its spells and items; the new
        // chapter starts with the whole party chosen, as a new game does.
        quickActions.clear();
        chosen.reset();
    }
    // The records belong to the actors of the game that ran before, and so does
    // whatever of it waited for the player.
    m_quickActions.clear();
    m_pendingEvents.clear();
    m_gameRunning = true;
    UpdatePartyQuickActions(false);
    if (const std::optional<std::uint32_t> older = TakeChosenMember(quickActions); older && !chosen) chosen = older;
    if (!quickActions.empty()) ReadQuickActions(quickActions);
    UpdateGameWindowTitle();
    // The game goes on as it was saved, with the member the player had chosen.
    ResetPartySelection();
    if (chosen) SelectPartyMember(*chosen);
    // What waited for the player when the game was saved waits again, ahead of
    // the next tick as it was then.
    PumpEngineEvents();
    ResumePlayInNewArea();
    if (nextChapter) {
        if (CDRAVChapterInfo* entry = m_chapterTable.Find(m_engine->GetModule()->GetChapter()))
            SetDialog(true, std::make_shared<CIntroDlg>(this, entry));
    }
    const std::int32_t state = m_engine->GetGame()->GetStateCode();
    if (state == DRAV::GAME_WIPED_OUT || state == DRAV::GAME_TRAVEL) CheckPartyAndChangeArea();
    return true;
}

std::string CDRAVApp::WriteQuickActions() const {
    return WriteQuickActionText(m_engine->GetGame()->GetParty(), m_quickActions);
}

void CDRAVApp::ReadQuickActions(const std::string& text) {
    try {
        const DRAV::CGame& game = *m_engine->GetGame();
        ReadQuickActionText(text, game.GetParty(), m_quickActions,
                            [&game](DRAV::ThingId saved) { return game.FindLoadedActor(saved); });
    } catch (const std::exception&) {
        // A damaged line costs only the player's own slot choices.
        for (const auto& member : m_engine->GetGame()->GetParty()) {
            auto record = std::make_shared<CDRAVActorInfo>();
            record->AutoFill(*member);
            m_quickActions[member->GetId()] = record;
        }
    }
}

void CDRAVApp::UpdatePartyQuickActions(bool rebuild) {
    if (!m_gameRunning || !m_engine || !m_engine->GetGame()) {
        m_quickActions.clear();
        return;
    }
    const DRAV::ActorList party = m_engine->GetGame()->GetParty();
    // Former members keep their records: one who rejoins finds its slots as it left them.
    for (const auto& member : party) {
        std::shared_ptr<CDRAVActorInfo>& record = m_quickActions[member->GetId()];
        if (record) continue;
        record = std::make_shared<CDRAVActorInfo>();
        record->AutoFill(*member);
        record->m_placing = m_engine->GetGame()->GetPlacings();
    }
    if (!rebuild) return;
    // Portraits and the action bar are made for the party as it was: made anew.
    LayoutGameScreen();
    RequestRepaint();
}
