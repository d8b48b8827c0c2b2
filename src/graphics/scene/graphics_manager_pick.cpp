// What lies under the mouse in the last drawn frame: an actor, an object the player
// can act on, a door or a ground cell; and the ground point under a screen point.

#include <algorithm>
#include <cmath>
#include <vector>

#include "graphics/matrix.h"
#include "graphics/scene/graphics_manager.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/game.h"
#include "world/master_tile.h"
#include "world/tile.h"

namespace DRAVGraph {

namespace {

constexpr double kCell = 2.5;
constexpr double kExitReach2 = 400.0;  // 20 units, squared
// Nothing a tile draws above this height hides the ground from a click.
constexpr double kTallestStanding = 16.0;

struct Point3 {
    double x = 0, y = 0, z = 0;
};

Point3 Transform(const D3DMATRIX& m, double x, double y, double z, bool& ok) {
    const double w = x * m._14 + y * m._24 + z * m._34 + m._44;
    ok = w != 0.0 && std::isfinite(w);
    if (!ok) return {};
    return {(x * m._11 + y * m._21 + z * m._31 + m._41) / w, (x * m._12 + y * m._22 + z * m._32 + m._42) / w,
            (x * m._13 + y * m._23 + z * m._33 + m._43) / w};
}

Point3 Unproject(const PickContext& context, double x, double y, double depth, bool& ok) {
    return Transform(context.inverse, x, y, depth, ok);
}

bool Normalise(Point3& v) {
    const double length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    if (!(length > 0.0) || !std::isfinite(length)) return false;
    v = {v.x / length, v.y / length, v.z / length};
    return true;
}

// The unprojected ray through a pixel: its start on the near plane and its direction.
bool PixelRay(const PickContext& context, double x, double y, Point3& origin, Point3& direction) {
    bool nearOk = false, farOk = false;
    origin = Unproject(context, x, y, 0.0, nearOk);
    const Point3 far = Unproject(context, x, y, 1.0, farOk);
    direction = {far.x - origin.x, far.y - origin.y, far.z - origin.z};
    return nearOk && farOk && Normalise(direction);
}

// Where the ray meets the plane y = 0 ahead of the eye; false when it never does.
bool ScreenToGround(const PickContext& context, double x, double y, double& gx, double& gz) {
    Point3 origin, direction;
    if (!PixelRay(context, x, y, origin, direction) || direction.y == 0.0) return false;
    const double t = -origin.y / direction.y;
    if (!(t >= 0.0) || !std::isfinite(t)) return false;
    gx = origin.x + direction.x * t;
    gz = origin.z + direction.z * t;
    return std::isfinite(gx) && std::isfinite(gz);
}

// Whether the ray through the pixel meets the box in front of the eye; with `distance2`
// also how far, in pixels squared, the box centre projects from the pixel, and with
// `entry` how far along the ray it first meets the box.
bool RayHitsBox(const PickContext& context, double x, double y, const Point3& low, const Point3& high,
                double* distance2, double* entry = nullptr) {
    Point3 origin, direction;
    if (!PixelRay(context, x, y, origin, direction)) return false;
    const double start[3] = {origin.x, origin.y, origin.z};
    const double along[3] = {direction.x, direction.y, direction.z};
    const double lows[3] = {low.x, low.y, low.z}, highs[3] = {high.x, high.y, high.z};
    double tNear = -INFINITY, tFar = INFINITY;
    for (int axis = 0; axis < 3; ++axis) {
        const double inverse = along[axis] == 0.0 ? 1e9 : 1.0 / along[axis];
        double tA = (lows[axis] - start[axis]) * inverse, tB = (highs[axis] - start[axis]) * inverse;
        if (tA > tB) std::swap(tA, tB);
        tNear = std::max(tNear, tA);
        tFar = std::min(tFar, tB);
    }
    if (tNear > tFar || tFar < 0.0) return false;
    if (entry) *entry = std::max(tNear, 0.0);
    if (distance2) {
        bool ok = false;
        const Point3 centre = Transform(context.forward, (low.x + high.x) / 2, (low.y + high.y) / 2,
                                        (low.z + high.z) / 2, ok);
        *distance2 = ok ? (centre.x - x) * (centre.x - x) + (centre.y - y) * (centre.y - y) : INFINITY;
    }
    return true;
}

// The tile of a seen cell, when a tile covers it.
DRAV::CTile* SeenTile(DRAV::CArea& area, std::int64_t column, std::int64_t row) {
    if (column < 0 || row < 0 || column >= area.GetColumns() || row >= area.GetRows()) return nullptr;
    const auto c = static_cast<std::uint32_t>(column), r = static_cast<std::uint32_t>(row);
    if (!area.GetSeenCells().Get(c, r)) return nullptr;
    DRAV::CTile* tile = area.GetTile(c, r);
    return tile && tile->GetMaster() ? tile : nullptr;
}

bool IsNearExit(const DRAV::CArea& area, double gx, double gz) {
    const DRAV::CGame* game = area.GetGame();
    for (const std::shared_ptr<DRAV::CAreaExit>& exit : area.GetExits()) {
        if (!exit->requiredTag.empty() && !(game && game->IsQuestTagSet(exit->requiredTag))) continue;
        if ((exit->x - gx) * (exit->x - gx) + (exit->y - gz) * (exit->y - gz) < kExitReach2) return true;
    }
    return false;
}

}  // namespace

bool CGraphicsManager::MakePickContext(DRAVCommon::CXPDevice* device, PickContext& context) const {
    if (!m_haveFrame) return false;
    D3DVIEWPORT9 viewport{};
    if (device->GetDevice()->GetViewport(&viewport) != D3D_OK || viewport.Width == 0 || viewport.Height == 0)
        return false;
    context.view = m_view;
    context.projection = m_projection;
    context.width = static_cast<std::int32_t>(viewport.Width);
    context.height = static_cast<std::int32_t>(viewport.Height);
    D3DMATRIX& pixels = context.viewport;
    pixels = Mat4Identity();
    pixels._11 = viewport.Width / 2.0f;
    pixels._22 = -(viewport.Height / 2.0f);
    pixels._33 = viewport.MaxZ - viewport.MinZ;
    pixels._41 = viewport.X + viewport.Width / 2.0f;
    pixels._42 = viewport.Y + viewport.Height / 2.0f;
    pixels._43 = viewport.MinZ;
    D3DMATRIX viewProjection;
    Mat4Multiply(viewProjection, m_view, m_projection);
    Mat4Multiply(context.forward, viewProjection, pixels);
    Mat4Inverse(context.inverse, context.forward);
    return true;
}

bool CGraphicsManager::ScreenToWorld(DRAVCommon::CXPDevice* device, std::int32_t x, std::int32_t y, float& worldX,
                                     float& worldZ) {
    PickContext context;
    double gx = 0.0, gz = 0.0;
    if (!MakePickContext(device, context) || !ScreenToGround(context, x, y, gx, gz)) return false;
    worldX = static_cast<float>(gx);
    worldZ = static_cast<float>(gz);
    return true;
}

void CGraphicsManager::PickAtScreen(DRAVCommon::CXPDevice* device, std::int32_t x, std::int32_t y, DRAV::CArea& area,
                                    PickKind& kind, DRAV::CThing*& thing, bool& nearExit, bool includeSignsAndTraps) {
    kind = PICK_NOTHING;
    thing = nullptr;
    nearExit = false;
    PickContext context;
    if (!MakePickContext(device, context)) return;
    DRAV::CActor* actor = nullptr;
    DRAV::CObject* object = nullptr;
    if (PickActor(area, context, static_cast<float>(x), static_cast<float>(y), actor)) {
        kind = PICK_ACTOR;
        thing = actor;
    } else if (PickObject(area, context, static_cast<float>(x), static_cast<float>(y), includeSignsAndTraps, object)) {
        kind = PICK_OBJECT;
        thing = object;
    } else if (PickTile(area, context, static_cast<float>(x), static_cast<float>(y), thing, nearExit)) {
        kind = PICK_TILE;
    }
}

bool CGraphicsManager::PickActor(DRAV::CArea& area, const PickContext& context, float x, float y,
                                 DRAV::CActor*& best) const {
    best = nullptr;
    double bestDistance = 1000000.0;
    for (const std::shared_ptr<DRAV::CActor>& actor : area.GetActors()) {
        if (!actor->IsPartyOrFriendly() && actor->IsSneaking()) continue;
        if (!IsPointSeen(area, actor->GetX(), actor->GetY())) continue;
        const double r = actor->GetRadius();
        Point3 low{actor->GetX() - 1.5 * r, -0.5 * r, actor->GetY()};
        Point3 high{actor->GetX() + 1.5 * r, actor->GetSecondSize() + 0.5 * r, actor->GetY()};
        // The saved size may be far larger than the figure (a new character's is 6.0):
        // the box goes no further than the figure is drawn, so the ground behind and
        // beside it, and whoever stands behind, stay within reach.
        BoundingBox drawn;
        if (GetActorDrawnBounds(*actor, drawn)) {
            low.x = std::max<double>(low.x, drawn.low[0]);
            high.x = std::min<double>(high.x, drawn.high[0]);
            low.y = std::max<double>(low.y, drawn.low[1]);
            high.y = std::min<double>(high.y, drawn.high[1]);
            if (!(low.x <= high.x && low.y <= high.y)) continue;
        }
        double distance2 = 0.0;
        if (RayHitsBox(context, x, y, low, high, &distance2) && (!best || distance2 < bestDistance)) {
            best = actor.get();
            bestDistance = distance2;
        }
    }
    return best != nullptr;
}

bool CGraphicsManager::PickObject(DRAV::CArea& area, const PickContext& context, float x, float y,
                                  bool includeSignsAndTraps, DRAV::CObject*& found) const {
    found = nullptr;
    for (const std::shared_ptr<DRAV::CObject>& object : area.GetObjects()) {
        if (!area.IsObjectSeen(*object)) continue;
        const DRAV::CObjectTemplate& definition = object->GetTemplate();
        const std::shared_ptr<DRAV::CTrap>& trap = object->GetTrap();
        bool eligible = definition.IsContainer() || !definition.GetTalkStates().empty() || object->IsExit();
        if (includeSignsAndTraps)
            eligible = eligible || (!trap && definition.IsSignpost()) || (trap && !trap->IsHidden());
        if (!eligible) continue;
        double halfX = 0.0, halfZ = 0.0;
        object->GetHalfExtents(halfX, halfZ);
        const Point3 low{object->GetX() - halfX, 0.0, object->GetY() - halfZ};
        const Point3 high{object->GetX() + halfX, definition.GetHeight(), object->GetY() + halfZ};
        if (RayHitsBox(context, x, y, low, high, nullptr)) {
            found = object.get();
            return true;
        }
    }
    return false;
}

bool CGraphicsManager::PickTile(DRAV::CArea& area, const PickContext& context, float x, float y,
                                DRAV::CThing*& found, bool& nearExit) const {
    found = nullptr;
    double gx = 0.0, gz = 0.0;
    if (!ScreenToGround(context, x, y, gx, gz)) return false;
    // What stands in the way is no way out, whatever ground it hides.
    if (DRAV::CTile* standing = StandingTileOnRay(area, context, x, y)) {
        found = standing;
        return true;
    }
    // Floored: a point just west or north of the grid lies in no cell, not in cell 0.
    const double column = std::floor(gx / kCell), row = std::floor(gz / kCell);
    if (!(std::fabs(column) < 1e9 && std::fabs(row) < 1e9)) return false;
    DRAV::CTile* tile = SeenTile(area, static_cast<std::int64_t>(column), static_cast<std::int64_t>(row));
    if (!tile) return false;
    found = tile;
    nearExit = IsNearExit(area, gx, gz);
    return true;
}

// A wall, a post, a fence or a closed door stands up from its cells and hides the
// ground behind it: the line of sight meets it before the ground, whether that ground
// lies in the grid or off it. Of all it meets, the nearest to the eye is what shows.
DRAV::CTile* CGraphicsManager::StandingTileOnRay(DRAV::CArea& area, const PickContext& context, float x,
                                                float y) const {
    Point3 origin, direction;
    if (!PixelRay(context, x, y, origin, direction) || !(direction.y < 0.0)) return nullptr;
    // The ground a standing tile may hide lies under the ray from where it comes down
    // to the tallest anything stands, to where it meets the ground.
    const double tGround = -origin.y / direction.y;
    const double tTop = std::max(0.0, (kTallestStanding - origin.y) / direction.y);
    if (!(tGround >= tTop) || !std::isfinite(tGround)) return nullptr;
    DRAV::CTile* nearest = nullptr;
    double nearestAlong = INFINITY;
    std::vector<const DRAV::CMasterTile*> tried;
    // Steps of a quarter cell over the ground, so that no cell the ray passes over is missed.
    const double step = kCell / 4 / std::max(1e-9, std::hypot(direction.x, direction.z));
    const auto steps = static_cast<int>(std::min(std::ceil((tGround - tTop) / step), 1e4));
    for (int i = 0; i <= steps; ++i) {
        const double t = std::min(tTop + i * step, tGround);
        const double column = std::floor((origin.x + direction.x * t) / kCell);
        const double row = std::floor((origin.z + direction.z * t) / kCell);
        if (!(std::fabs(column) < 1e9 && std::fabs(row) < 1e9)) continue;
        DRAV::CTile* tile = SeenTile(area, static_cast<std::int64_t>(column), static_cast<std::int64_t>(row));
        if (!tile) continue;
        const DRAV::CMasterTile& master = *tile->GetMaster();
        if (std::find(tried.begin(), tried.end(), &master) != tried.end()) continue;
        tried.push_back(&master);
        double height = 0.0;
        if (!GetStandingHeight(master, height)) continue;
        const Point3 low{master.GetColumn() * kCell, 0.0, master.GetRow() * kCell};
        const Point3 high{(master.GetColumn() + master.GetWidth()) * kCell, height,
                          (master.GetRow() + master.GetDepth()) * kCell};
        double along = 0.0;
        if (RayHitsBox(context, x, y, low, high, nullptr, &along) && along < nearestAlong) {
            nearest = tile;
            nearestAlong = along;
        }
    }
    return nearest;
}

// How high a tile stands above its ground; false for floors and water, which are
// the ground, and for a tile the view has drawn nothing of.
bool CGraphicsManager::GetStandingHeight(const DRAV::CMasterTile& master, double& height) const {
    const DRAV::TileKind kind = master.GetDefinition().GetKind();
    if (kind == DRAV::TILE_FLOOR || kind == DRAV::TILE_EMPTY) return false;
    if (kind == DRAV::TILE_DOOR) {
        // An open door lies as low as the ground it opens on.
        const auto* door = dynamic_cast<const DRAV::CMasterTileDoor*>(&master);
        if (!door) return false;
        height = door->IsOpen() ? 0.1 : door->GetDefinition().GetDoorDrawValue();
        return true;
    }
    const std::shared_ptr<CGraphic>& graphic = master.GetGraphic().graphic;
    if (!graphic) return false;
    D3DMATRIX world;
    GetMasterTileTransform(world, master);
    BoundingBox drawn;
    if (!graphic->GetDrawnBounds("default", 0, 0.0, world, drawn) || !(drawn.high[1] > 0.0f)) return false;
    height = std::min<double>(drawn.high[1], kTallestStanding);
    return true;
}

}  // namespace DRAVGraph
