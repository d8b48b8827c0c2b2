#pragma once
// The spells and effects that have taken hold on an actor, each with what it does
// and how long it has left.

#include <cstdint>
#include <string>

#include "game/dialogs/text_dlg.h"

class CSpellEffectsDlg : public CTextDlg {
public:
    CSpellEffectsDlg(CDRAVApp* app, DRAV::CActor& actor);
};

// The page's text at game tick `now`; "No effects. LINE " when nothing shows.
std::string WriteSpellEffectsText(const DRAV::CActor& actor, std::uint32_t now);
