#include "game/dialogs/front/about_dlg.h"

#include <sstream>

#include "engine/engine.h"
#include "game/app.h"
#include "game/identity.h"
#include "rules/module.h"

namespace {

constexpr int kCopyrightYear = 2026;

// Only what ships with the program: the libraries it links and the font it packs.
constexpr const char* kCredits =
    " LINE Credits LINE "
    "Programming, design, writing and art by the GAMENAME team. LINE LINE "
    "Libraries: LINE "
    "SDL 2.0, with SDL_image for texture loading, SDL_ttf for font rendering and SDL_mixer for audio "
    "(zlib License). LINE "
    "Through SDL: FreeType (FreeType License), the Independent JPEG Group's JPEG code (IJG License), "
    "libpng (libpng License) and zlib (zlib License). LINE "
    "Lua 5.3 for scripting (MIT License). LINE "
    "Open Asset Import Library for models (BSD 3-Clause License). LINE "
    "Mesa for OpenGL rendering (MIT License). LINE LINE "
    "Font: LINE "
    "Open Sans (Apache License 2.0). LINE ";

}  // namespace

CAboutDlg::CAboutDlg(CDRAVApp* app) : CTextDlg(app, "About", BuildAboutText(*app), nullptr, false) {
    m_extraLabel = "Website";
}

void CAboutDlg::OnExtraButton() { m_app->OpenWebsite(); }

std::string BuildAboutText(const CDRAVApp& app) {
    std::ostringstream text;
    text << GetProductTitle() << " LINE " << GetVersionText() << " LINE ";
    text << "Copyright " << kCopyrightYear << " " << GetCompanyName() << ". All rights reserved. LINE ";

    // The engine of chapter 1 is made at start-up, so a module alone does not mean
    // that a game is being played.
    const auto& engine = app.GetEngine();
    if (app.IsGameRunning() && engine && engine->GetModule()) {
        const DRAV::CModule& module = *engine->GetModule();
        const CDRAVChapterInfo* chapter = app.GetChapterTable().Find(module.GetChapter());
        text << " LINE Chapter " << module.GetChapter() << ": " << (chapter ? chapter->m_text1 : std::string())
             << " (" << module.GetVersion() << "." << module.GetSecondVersion() << ") LINE ";
    }

    text << " LINE Contact LINE "
         << "Visit the official website: LINE " << GetProductWebsite() << " LINE "
         << "For updates, support, and more information. LINE "
         << "Email: " << GetSupportEmail() << " LINE "
         << "With any questions or feedback. LINE LINE "
         << GetCompanyName() << " LINE " << GetCompanyWebsite() << " LINE "
         << "Visit " << GetCompanyName() << " for information about the company and its other games. LINE ";
    text << kCredits;
    return text.str();
}
