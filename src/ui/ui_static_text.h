#pragma once
// One string in a rectangle: labels, titles, values, and the name fields the
// dialogs edit through OnKey.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "graphics/ui_font_draw.h"
#include "ui/ui_element.h"

namespace DRAVUI {

class CUIStaticText : public CUIElement {
public:
    // Characters a field takes by typing unless its owner says otherwise.
    static constexpr std::size_t kDefaultMaxLength = 32;

    CUIStaticText(std::string text, int id, std::shared_ptr<CUIConfig> config);

    void Realize(DRAVCommon::CXPDevice* device, CUIDrawHelp& help) override;
    void Draw(DRAVCommon::CXPDevice* device, CUIDrawHelp& help, CUISprite& sprite, const POINT* mouse) override;

    // Edits the text with one virtual key: digits, letters (upper case with shift),
    // space, minus (underscore with shift) and backspace; every other key, and any
    // character past the field's length, changes nothing.
    void OnKey(std::uint32_t virtualKey, bool shift);
    // The most characters typing may give the text.
    void SetMaxLength(std::size_t length) { m_maxLength = length; }

    // Read and written by the owner.
    std::string m_text;

private:
    std::shared_ptr<CUITextTexture> m_textSlot;
    std::size_t m_maxLength = kDefaultMaxLength;
};

}  // namespace DRAVUI
