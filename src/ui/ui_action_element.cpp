#include "ui/ui_action_element.h"

#include "platform/win32/rect.h"
#include "rules/module.h"
#include "ui/info_icons.h"
#include "ui/ui_draw_help.h"
#include "world/actor.h"

namespace DRAVUI {
namespace {

enum ActionImage : int {
    IMAGE_BUTTON = 2,
    IMAGE_SELECTED_OFF = 6,
    IMAGE_SELECTED = 7,
    IMAGE_CHECK = 11,
    IMAGE_TALK = 66,
    IMAGE_ATTACK = 67,
    IMAGE_ACTION = 81,
};

enum QuickActionKind : int {
    QUICK_NONE = 0,
    QUICK_ATTACK = 2,
    QUICK_USE_ITEM = 10,
    QUICK_CAST = 11,
    QUICK_TALK = 12,
    QUICK_ACTION = 20,
};

}  // namespace

CUIActionElement2::CUIActionElement2(std::shared_ptr<CUIConfig> config, int id, bool keepsHint,
                                     bool isQuickActionSlot)
    : CUIElement(id, std::move(config)), m_keepsHint(keepsHint), m_isQuickActionSlot(isQuickActionSlot) {
    m_rect = RECT{0, 0, kSize, kSize};
}

void CUIActionElement2::Realize(DRAVCommon::CXPDevice* device, CUIDrawHelp& help) {
    for (int id : {IMAGE_BUTTON, IMAGE_SELECTED_OFF, IMAGE_SELECTED, IMAGE_CHECK}) help.LoadImage(device, id);
    if (m_info.icon != 0) help.LoadImage(device, m_info.icon);
}

void CUIActionElement2::Reset() {
    m_label.clear();
    m_state = STATE_NONE;
    m_info.Clear();
}

void CUIActionElement2::ShowIcon(int icon, const char* title) {
    Reset();
    m_info.icon = icon;
    if (title) m_info.title = title;
    UpdateActionHint();
}

void CUIActionElement2::ShowNone() { ShowIcon(0, nullptr); }
void CUIActionElement2::ShowTalk() { ShowIcon(IMAGE_TALK, "Talk"); }
void CUIActionElement2::ShowAttack() { ShowIcon(IMAGE_ATTACK, "Attack"); }
void CUIActionElement2::ShowAction() { ShowIcon(IMAGE_ACTION, "Action"); }

void CUIActionElement2::SetItem(const DRAV::CItem& item, const DRAV::CActor& merchant, const DRAV::CActor* viewer) {
    Reset();
    std::uint32_t price = 0;
    const bool buys = merchant.GetStoreBuyPrice(item, price);
    SetFlag(UIF_DRAGGABLE, buys);
    if (buys) ElementInfo::DescribeItemPrice(m_info, item, price, viewer);
    else ElementInfo::DescribeThing(m_info, &item, viewer);
    UpdateActionHint();
}

void CUIActionElement2::SetItemTemplate(const DRAV::CItemTemplate& item) {
    Reset();
    ElementInfo::DescribeItem(m_info, item);
    UpdateActionHint();
}

void CUIActionElement2::SetAbility(const DRAV::CActor& actor, const DRAV::CSpell& spell) {
    Reset();
    ElementInfo::DescribeAbility(m_info, spell, actor);
    if (actor.GetCurrentPower() == &spell) m_state = STATE_ACTIVE_POWER;
    else if (spell.HasFlag(DRAV::SPELL_POWER)) m_state = STATE_POWER;
    UpdateActionHint();
}

void CUIActionElement2::SetQuickAction(const DRAV::CActor& actor, int slot, IQuickActionOwner& owner) {
    Reset();
    m_info.title = actor.GetName();
    switch (owner.GetQuickActionKind(actor, slot)) {
    case QUICK_NONE: ShowNone(); break;
    case QUICK_ATTACK: ShowAttack(); break;
    case QUICK_USE_ITEM: {
        const DRAV::CItemTemplate* item =
            DRAV::FindItemTemplate(owner.GetModule().GetItemTemplates(), owner.GetQuickActionItem(actor, slot));
        if (item) SetItemTemplate(*item);
        else Reset();
        break;
    }
    case QUICK_CAST: {
        const DRAV::CSpell* spell = DRAV::FindSpell(owner.GetModule().GetSpells(), owner.GetQuickActionSpell(actor, slot));
        if (spell) SetAbility(actor, *spell);
        else Reset();
        break;
    }
    case QUICK_TALK: ShowTalk(); break;
    case QUICK_ACTION: ShowAction(); break;
    default: break;
    }
    SetSlotLabel(slot);
}

void CUIActionElement2::SetSlotLabel(int slot) { m_label = "F" + std::to_string(slot + 1); }

void CUIActionElement2::UpdateActionHint() {
    if (m_isQuickActionSlot) {
        if (m_info.title.empty()) m_info.title = "Quick Action";
        m_info.actionHint = "Set Action";
        m_info.kind = INFO_ACTION;
        m_info.subjectId = m_id;
    } else if (!m_keepsHint) {
        m_info.actionHint.clear();
    }
}

bool CUIActionElement2::HitTest(const POINT* point, CUIElement** outElement, int* outId) {
    if (m_dragging) return false;
    return CUIElement::HitTest(point, outElement, outId);
}

int CUIActionElement2::OnMouse(int kind, const POINT* point) {
    switch (kind) {
    case MOUSE_PRESS:
        if (HasFlag(UIF_DRAGGABLE) && m_info.icon != 0) {
            m_dragging = true;
            m_savedRect = m_rect;
            return ANSWER_DRAG;
        }
        return ANSWER_CLICK;
    case MOUSE_DRAG_MOVE:
        if (point) {
            const LONG w = Width(m_rect), h = Height(m_rect);
            const LONG left = point->x - w / 2, top = point->y - h / 2;
            m_rect = RECT{left, top, left + w, top + h};
        }
        return ANSWER_REFRESH;
    case MOUSE_RELEASE:
        if (m_dragging) {
            m_rect = m_savedRect;
            m_dragging = false;
        }
        return ANSWER_REFRESH;
    case MOUSE_DOUBLE_CLICK:
    case MOUSE_RIGHT_PRESS: return ANSWER_ALT_CLICK;
    default: return ANSWER_NONE;
    }
}

void CUIActionElement2::Draw(DRAVCommon::CXPDevice* device, CUIDrawHelp& help, CUISprite& sprite,
                             const POINT* mouse) {
    if (!HasFlag(UIF_SHOWN) || m_dragging) return;
    DrawBackground(sprite);
    DrawBody(device, help, sprite, mouse);
}

void CUIActionElement2::DrawDrag(DRAVCommon::CXPDevice* device, CUIDrawHelp& help, CUISprite& sprite,
                                 const POINT* mouse) {
    DrawBody(device, help, sprite, mouse);
}

void CUIActionElement2::DrawBody(DRAVCommon::CXPDevice* device, CUIDrawHelp& help, CUISprite& sprite,
                                 const POINT* mouse) {
    const RECT& R = m_rect;
    const bool hot = m_dragging || (mouse && PtInRect(&R, *mouse));
    const bool selected = HasFlag(UIF_SELECTED);
    const bool hasIcon = m_info.icon != 0;

    if (hot && hasIcon) {
        help.DrawImageRect(sprite, R, selected ? IMAGE_SELECTED : IMAGE_BUTTON, 0xFFFFFFFF);
    } else if (selected) {
        if (hasIcon) help.DrawImageRect(sprite, R, IMAGE_SELECTED_OFF, 0xFFFFFFFF);
        const std::uint32_t green = hot ? 0xFF00FF00 : 0xFF00C000;
        CUIDrawHelp::DrawBevel(sprite, green, green, R, 1);
    } else {
        const std::uint32_t grey = hot ? 0xFF808080 : 0xFF404040;
        CUIDrawHelp::DrawBevel(sprite, grey, grey, R, 1);
    }

    if (hasIcon) {
        RECT square = R;
        InflateRect(&square, -(Width(R) - 32) / 2, -(Height(R) - 32) / 2);
        DrawInfoIcon(device, help, sprite, square, m_info);
    }

    const RECT inner = Inflated(R, -2);
    if (m_info.hasHitPointBar)
        CUIDrawHelp::DrawProgress(sprite, RECT{inner.left, inner.top, inner.right, inner.top + 6}, 0xFFFF0000,
                                  m_info.hitPointFraction);
    if (m_info.hasEnergyBar)
        CUIDrawHelp::DrawProgress(sprite, RECT{inner.left, inner.bottom - 6, inner.right, inner.bottom}, 0xFF0000FF,
                                  m_info.energyFraction);

    const std::uint32_t textColour = hot || selected ? 0xFF000000 : 0xFFFFFFFF;
    const RECT textBox = Inflated(R, -1);
    if (!m_label.empty())
        help.SmallFont().DrawText(sprite, m_labelText, m_label, textBox, textColour, CUIFontDraw::ALIGN_TOP_LEFT);
    if (m_info.count > 1)
        help.SmallFont().DrawText(sprite, m_countText, std::to_string(m_info.count), textBox, textColour,
                                  CUIFontDraw::ALIGN_BOTTOM_RIGHT);

    if (m_state != STATE_NONE) {
        const RECT box{R.left + 2, R.bottom - 18, R.left + 18, R.bottom - 2};
        if (selected) CUIDrawHelp::DrawBevel(sprite, 0xFF80FF80, 0xFF40C040, box, 1);
        else CUIDrawHelp::DrawBevel(sprite, 0xFFFFFFFF, 0xFF808080, box, 1);
        CUIDrawHelp::FillRect(sprite, 0xC0000000, Inflated(box, -1));
        if (m_state == STATE_ACTIVE_POWER) help.DrawImageRect(sprite, Inflated(box, -2), IMAGE_CHECK, 0xFFFFFFFF);
    }
}

}  // namespace DRAVUI
