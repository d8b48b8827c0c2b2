#pragma once
// The clickable widgets: the common button look (bevel, hover image, selection,
// blinking) and the text, image, check and colour buttons built on it. A button
// reacts on the press: it never sees a release.

#include <cstdint>
#include <memory>
#include <string>

#include "common/data_file.h"
#include "graphics/ui_font_draw.h"
#include "ui/ui_element.h"

namespace DRAVUI {

// The table images of the button look.
enum ButtonImage : int {
    IMAGE_BUTTON_WIDE = 1,            // hover face of buttons three or more times wider than high
    IMAGE_BUTTON_64X32 = 3,           // hover face of buttons twice as wide as high
    IMAGE_BUTTON_SQUARE = 4,          // hover face of the others
    IMAGE_BUTTON_OFF = 5,
    IMAGE_BUTTON_BLINK = 6,           // the bright phase of a blinking button
    IMAGE_BUTTON_SELECTED = 8,
    IMAGE_SCROLL_THUMB = 10,
    IMAGE_CHECK_MARK = 11,
};

class CUIBaseButton : public CUIElement {
public:
    CUIBaseButton(int id, std::shared_ptr<CUIConfig> config);

    void Realize(DRAVCommon::CXPDevice* device, CUIDrawHelp& help) override;
    void Draw(DRAVCommon::CXPDevice* device, CUIDrawHelp& help, CUISprite& sprite, const POINT* mouse) override;
    int OnMouse(int kind, const POINT* point) override;

protected:
    // The look every button starts with; answers whether the mouse is over it.
    bool DrawButtonLook(CUIDrawHelp& help, CUISprite& sprite, const POINT* mouse);
    static void LoadButtonImages(DRAVCommon::CXPDevice* device, CUIDrawHelp& help);

    std::uint32_t m_lastBlinkToggle = 0;
    bool m_blinkOn = false;
};

class CUITextButton : public CUIBaseButton {
public:
    CUITextButton(int id, std::string label, std::shared_ptr<CUIConfig> config);

    void Draw(DRAVCommon::CXPDevice* device, CUIDrawHelp& help, CUISprite& sprite, const POINT* mouse) override;

    std::string m_label;

private:
    std::shared_ptr<CUITextTexture> m_labelSlot;
};

class CUIImageButton : public CUIBaseButton {
public:
    CUIImageButton(std::shared_ptr<CUIConfig> config, int id, int imageId);
    // A picture given as file bytes; its image id is assigned when realized.
    CUIImageButton(std::shared_ptr<CUIConfig> config, int id, std::shared_ptr<DRAVCommon::ByteVector> imageFile);

    void Realize(DRAVCommon::CXPDevice* device, CUIDrawHelp& help) override;
    void Draw(DRAVCommon::CXPDevice* device, CUIDrawHelp& help, CUISprite& sprite, const POINT* mouse) override;

    int GetImageId() const { return m_imageId; }

private:
    int m_imageId;
    std::shared_ptr<DRAVCommon::ByteVector> m_imageFile;
    std::uint32_t m_imageWidth = 0;
    std::uint32_t m_imageHeight = 0;
};

class CUICheckButton : public CUIBaseButton {
public:
    CUICheckButton(std::shared_ptr<CUIConfig> config, int id, std::string label, bool checked);

    void Realize(DRAVCommon::CXPDevice* device, CUIDrawHelp& help) override;
    // An empty label is code 4.
    void Draw(DRAVCommon::CXPDevice* device, CUIDrawHelp& help, CUISprite& sprite, const POINT* mouse) override;
    int OnMouse(int kind, const POINT* point) override;

    // Read and written by the owner.
    bool m_checked;
    std::string m_label;

private:
    std::shared_ptr<CUITextTexture> m_labelSlot;
};

class CUIColorButton : public CUIBaseButton {
public:
    // The swatch takes the first three bytes of `colour` in memory as red, green, blue.
    CUIColorButton(std::shared_ptr<CUIConfig> config, int id, std::uint32_t colour);

    void Realize(DRAVCommon::CXPDevice* device, CUIDrawHelp& help) override;
    void Draw(DRAVCommon::CXPDevice* device, CUIDrawHelp& help, CUISprite& sprite, const POINT* mouse) override;

    // The swatch as an opaque ARGB colour.
    std::uint32_t GetSwatchColour() const;

private:
    std::uint8_t m_red;
    std::uint8_t m_green;
    std::uint8_t m_blue;
};

}  // namespace DRAVUI
