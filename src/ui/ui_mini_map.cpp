#include "ui/ui_mini_map.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>

#include "common/exception.h"
#include "common/sdl_init.h"
#include "graphics/sdl_handles.h"
#include "graphics/xp_texture.h"
#include "ui/ui_draw_help.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/cell.h"
#include "world/tile.h"

namespace DRAVUI {
namespace {

constexpr int kReverseImage = 79;

}  // namespace

CUIMiniMap::CUIMiniMap(int id, std::weak_ptr<DRAV::CArea> area, std::shared_ptr<CUIConfig> config)
    : CUIElement(id, std::move(config)), m_area(std::move(area)) {
    SetInfo("Map", "Click to Reverse View", "Full Map");
}

void CUIMiniMap::Realize(DRAVCommon::CXPDevice* device, CUIDrawHelp& help) { help.LoadImage(device, kReverseImage); }

int CUIMiniMap::OnMouse(int kind, const POINT*) {
    switch (kind) {
    case MOUSE_PRESS: m_reversed = !m_reversed; return ANSWER_CLICK;
    case MOUSE_DOUBLE_CLICK:
    case MOUSE_RIGHT_PRESS: return HasFlag(UIF_ALT_IS_CLICK) ? ANSWER_CLICK : ANSWER_ALT_CLICK;
    default: return ANSWER_NONE;
    }
}

std::uint32_t CUIMiniMap::CellColour(DRAV::CArea& area, std::int64_t column, std::int64_t row,
                                     std::uint32_t alpha) {
    const std::uint32_t a = alpha << 24;
    if (column < 0 || row < 0 || column >= area.GetColumns() || row >= area.GetRows()) return a;
    const auto x = static_cast<std::uint32_t>(column), y = static_cast<std::uint32_t>(row);
    if (!area.GetExploredCells().Get(x, y)) return a;
    const DRAV::CTile* tile = area.GetTile(x, y);
    if (!tile || !tile->GetMaster()) return a;
    switch (tile->GetMaster()->GetDefinition().GetKind()) {
    case DRAV::TILE_FLOOR: return a | 0xC0C0C0;
    case DRAV::TILE_EMPTY: return a;
    case DRAV::TILE_SOLID:
    case DRAV::TILE_BLOCK: return a | 0x808080;
    case DRAV::TILE_DOOR: return a | (tile->GetDoor()->IsOpen() ? 0x00FF00 : 0xFF0000);
    default:
        throw CDRAVException(DRAV_ERR_UNEXPECTED, "cell (" + std::to_string(column) + ", " + std::to_string(row) +
                                                      ") holds a tile of unknown kind");
    }
}

void CUIMiniMap::Draw(DRAVCommon::CXPDevice* device, CUIDrawHelp& help, CUISprite& sprite, const POINT*) {
    if (!HasFlag(UIF_SHOWN)) return;
    const std::shared_ptr<DRAV::CArea> area = m_area.lock();
    if (!area) return;
    const std::uint32_t alpha = HasFlag(UIF_BACKGROUND) ? 0xB0 : 0xFF;

    RECT I = Inflated(m_rect, -1);
    const LONG hw = std::max<LONG>(Width(I) / 2, 0), hh = std::max<LONG>(Height(I) / 2, 0);
    I.right = I.left + 2 * hw;
    I.bottom = I.top + 2 * hh;
    CUIDrawHelp::DrawBevel(sprite, 0xFFFFFFFF, 0xFFFFFFFF, Inflated(I, 1), 1);
    if (hw == 0 || hh == 0) return;

    const std::int64_t x0 =
        std::max<std::int64_t>(static_cast<std::int64_t>(std::trunc(m_centreX / DRAV::kCellSize)) - hw / 2, 0);
    const std::int64_t y0 =
        std::max<std::int64_t>(static_cast<std::int64_t>(std::trunc(m_centreY / DRAV::kCellSize)) - hh / 2, 0);

    {
        DRAVCommon::PixelFormatPtr format(SDL_AllocFormat(SDL_PIXELFORMAT_ARGB8888));
        if (!format) throw DRAVSDL::CSDLException();
        DRAVCommon::SurfacePtr surface(SDL_CreateRGBSurface(0, hw, hh, format->BitsPerPixel, format->Rmask,
                                                            format->Gmask, format->Bmask, format->Amask));
        if (!surface) throw DRAVSDL::CSDLException();
        if (SDL_LockSurface(surface.get()) != 0) throw DRAVSDL::CSDLException();
        auto* pixels = static_cast<std::uint8_t*>(surface->pixels);
        for (LONG y = 0; y < hh; ++y) {
            auto* row = reinterpret_cast<std::uint32_t*>(pixels + std::ptrdiff_t{y} * surface->pitch);
            for (LONG x = 0; x < hw; ++x) {
                const std::uint32_t c = CellColour(*area, x0 + x, y0 + y, alpha);
                row[x] = SDL_MapRGBA(format.get(), (c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF, c >> 24);
            }
        }
        SDL_UnlockSurface(surface.get());
        sprite.Draw(I, nullptr, 0xFFFFFFFF, CUISprite::MODE_STRETCH,
                    DRAVCommon::CreateTextureFromSurface(device, surface.get()));
    }

    const std::uint32_t black = alpha << 24;
    const std::uint32_t green = black | 0x00FF00;
    for (const auto& actor : area->GetActors()) {
        if (!actor->IsPartyMember()) continue;
        const auto px = static_cast<std::int64_t>(std::trunc(actor->GetX() / DRAV::kCellSize * 2));
        const auto py = static_cast<std::int64_t>(std::trunc(actor->GetY() / DRAV::kCellSize * 2));
        const std::int64_t dx = px - 2 * x0, dy = py - 2 * y0;
        // One pixel more room at the left and right than at the top and bottom.
        if (dx < 1 || dx > 2 * hw - 1 || dy < 2 || dy > 2 * hh - 2) continue;
        const RECT mark{I.left + static_cast<LONG>(dx) - 2, I.top + static_cast<LONG>(dy) - 2,
                        I.left + static_cast<LONG>(dx) + 2, I.top + static_cast<LONG>(dy) + 2};
        CUIDrawHelp::DrawBevel(sprite, black, black, mark, 1);
        CUIDrawHelp::FillRect(sprite, green, Inflated(mark, -1));
    }

    if (m_reversed) {
        const LONG cx = (I.left + I.right) / 2, cy = (I.top + I.bottom) / 2;
        help.DrawImageRect(sprite, RECT{cx - 16, cy - 16, cx + 16, cy + 16}, kReverseImage, 0xB0FFFFFF);
    }
}

}  // namespace DRAVUI
