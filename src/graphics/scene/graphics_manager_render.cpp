// One frame of the game view: camera, lights, sky, map cells, ground markers, actors
// with their shadows, objects, effects in flight and particles.

#include <algorithm>
#include <cmath>
#include <cstring>

#include "common/exception.h"
#include "common/random.h"
#include "graphics/adornment_draw.h"
#include "graphics/matrix.h"
#include "graphics/model_node.h"
#include "graphics/particles/billboard_renderer.h"
#include "graphics/scene/graphic_concat.h"
#include "graphics/scene/graphics_manager.h"
#include "rules/vocabulary/animation_direction.h"
#include "world/actor.h"
#include "world/area.h"
#include "world/effect.h"
#include "world/game.h"
#include "world/order.h"

namespace DRAVGraph {

namespace {

constexpr double kTicksPerSecond = 30.0;
constexpr float kDegrees = 0.017453292f;
constexpr double kCell = 2.5;
// Everything drawn lies within this many units of the look-at point, in x and in z.
constexpr double kReach = 100.0;
constexpr std::uint32_t kShakeTicks = 30;
constexpr DWORD kMaxLights = 8;
constexpr double kMaxSkyTiles = 4096.0;

// Spreads identical animations of many things over time.
double PhaseOffset(std::uint32_t id) { return std::fmod((id & 0xFFFFFFu) * 0.70710678, 1000.0); }

D3DMATRIX RotationY(double angle) {
    D3DMATRIX matrix = Mat4Identity();
    matrix._11 = static_cast<float>(std::cos(angle));
    matrix._13 = static_cast<float>(-std::sin(angle));
    matrix._31 = static_cast<float>(std::sin(angle));
    matrix._33 = static_cast<float>(std::cos(angle));
    return matrix;
}

D3DMATRIX Translation(double x, double y, double z) {
    D3DMATRIX matrix = Mat4Identity();
    matrix._41 = static_cast<float>(x);
    matrix._42 = static_cast<float>(y);
    matrix._43 = static_cast<float>(z);
    return matrix;
}

// a x Translate(x, y, z).
D3DMATRIX Placed(const D3DMATRIX& a, double x, double y, double z) {
    D3DMATRIX out;
    Mat4Multiply(out, a, Translation(x, y, z));
    return out;
}

bool Overlaps(double x, double halfX, double z, double halfZ, const float target[3]) {
    return x + halfX >= target[0] - kReach && x - halfX <= target[0] + kReach && z + halfZ >= target[2] - kReach &&
           z - halfZ <= target[2] + kReach;
}

// Where and how an actor's figure stands: turned to its facing, on the ground at its place.
D3DMATRIX ActorWorld(const DRAV::CActor& actor) {
    return Placed(RotationY(actor.GetFacing()), actor.GetX(), 0.0, actor.GetY());
}

std::string ActorAnimationName(const DRAV::CActor& actor) {
    return DRAV::GetAnimationName(static_cast<DRAV::AnimationId>(actor.GetAnimation()));
}

struct LightCandidate {
    double distance2;
    double x, z;
    const CLight* light;
};

}  // namespace

void CGraphicsManager::RenderScene(DRAVCommon::CXPDevice* device, DRAV::CGame& game, const CCamera& camera) {
    ++m_frameCounter;
    float target[3] = {camera.lookAt[0], camera.lookAt[1], camera.lookAt[2]};
    DRAV::CArea* area = game.GetCurrentArea();
    // Before Init (or after ClearAreaGraphics) there is nothing to draw with.
    if (!area || !m_billboards) return;
    const std::uint32_t ticks = game.GetTick();
    const double sceneTime = ticks / kTicksPerSecond;

    if (m_shakeStartTick != 0 && m_shakeStartTick + kShakeTicks > ticks) {
        const double amplitude = (static_cast<double>(m_shakeStartTick) - ticks + kShakeTicks) / kShakeTicks;
        target[1] += static_cast<float>((DRAVCommon::DisplayRandom() - 0.5) * 2.0 * amplitude);
    } else {
        m_shakeStartTick = 0;
    }

    const float distance = camera.distance;
    const float pitch = camera.pitch * kDegrees;
    const float horizontal = distance * std::cos(pitch);
    const float bearing = (camera.yaw + 90.0f) * kDegrees;
    const float eye[3] = {target[0] + std::cos(bearing) * horizontal, distance * std::sin(pitch),
                          target[2] + std::sin(bearing) * horizontal};
    const float up[3] = {0.0f, 1.0f, 0.0f};
    Mat4LookAt(m_view, eye, target, up);
    D3DVECTOR viewDirection{target[0] - eye[0], target[1] - eye[1], target[2] - eye[2]};
    const float length = std::sqrt(viewDirection.x * viewDirection.x + viewDirection.y * viewDirection.y +
                                   viewDirection.z * viewDirection.z);
    if (length > 0.0f) viewDirection = {viewDirection.x / length, viewDirection.y / length, viewDirection.z / length};
    device->SetViewTransform(m_view);

    std::uint32_t lights = 0;
    SetupLights(device, game, *area, target, lights);
    IDirect3DDevice9* d3d = device->GetDevice();
    D3DCAPS9 caps{};
    const DWORD slots = d3d->GetDeviceCaps(&caps) == D3D_OK ? std::min(caps.MaxActiveLights, kMaxLights) : 1;
    for (DWORD i = 0; i < slots; ++i) d3d->LightEnable(i, 0);

    const SceneRenderContext context{device, m_billboards.get(), nullptr, &viewDirection};
    RenderSky(context, game, camera, eye, target);

    const RECT& viewport = *camera.viewport;
    const float width = static_cast<float>(viewport.right - viewport.left);
    const float height = static_cast<float>(viewport.bottom - viewport.top);
    Mat4Perspective(m_projection, camera.fieldOfView, height > 0.0f ? width / height : 1.0f, 0.5f * distance,
                    2.0f * distance);
    device->SetProjectionTransform(m_projection);
    m_haveFrame = true;
    for (std::uint32_t i = 0; i < lights; ++i) d3d->LightEnable(i, 1);
    d3d->LightEnable(lights, 0);

    RenderMapCells(context, game, *area, target);
    RenderAdornments(context, *area, target, camera);
    RenderActors(context, game, *area, target);
    RenderObjects(context, game, *area, target, false);
    RenderObjects(context, game, *area, target, true);
    RenderEffects(context, game, *area, target);
    m_billboards->Render(context, sceneTime);
}

void CGraphicsManager::SetupLights(DRAVCommon::CXPDevice* device, DRAV::CGame& game, DRAV::CArea& area,
                                   const float target[3], std::uint32_t& count) {
    IDirect3DDevice9* d3d = device->GetDevice();
    count = 0;
    D3DLIGHT9 light{};
    if (!area.IsOutdoors()) {
        d3d->SetRenderState(D3DRS_AMBIENT, 0xFF4C4C7Fu);
        light.Type = D3DLIGHT_POINT;
        light.Diffuse = {0.6f, 0.6f, 0.4f, 0.0f};
        light.Position = {target[0], target[1] + 50.0f, target[2]};
        light.Range = 100.0f;
        light.Falloff = 1.0f;
        light.Attenuation1 = 0.02f;
        m_directionalLight = false;
        std::memcpy(m_lightPosition, &light.Position, sizeof m_lightPosition);
    } else {
        d3d->SetRenderState(D3DRS_AMBIENT, 0xFF7F7F7Fu);
        std::uint32_t year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
        game.GetCalendarTime(game.GetTick(), year, month, day, hour, minute, second);
        // The sun from 06:00 to 18:00, the moon the other half of the day, each rising
        // in +x and setting in -x.
        bool night = true;
        std::uint32_t halfDayHour = 0;
        if (hour < 6) halfDayHour = hour + 6;
        else if (hour < 18) {
            halfDayHour = hour - 6;
            night = false;
        } else halfDayHour = hour - 18;
        const double angle = (halfDayHour * 60.0 + minute) / 720.0 * 3.14159265358979;
        const float dx = static_cast<float>(-std::cos(angle)), dy = static_cast<float>(-std::sin(angle));
        const float norm = std::sqrt(dx * dx + dy * dy);
        light.Type = D3DLIGHT_DIRECTIONAL;
        light.Diffuse = night ? D3DCOLORVALUE{0.0f, 0.0f, 0.5f, 0.0f} : D3DCOLORVALUE{0.5f, 0.5f, 0.5f, 0.0f};
        light.Direction = {dx / norm, dy / norm, 0.0f};
        light.Range = 1000.0f;
        m_directionalLight = true;
        m_sunX = light.Direction.x;
    }
    d3d->SetLight(0, &light);
    count = 1;

    std::vector<LightCandidate> candidates;
    for (const std::shared_ptr<DRAV::CObject>& object : area.GetObjects()) {
        const std::shared_ptr<CGraphic>& graphic = object->GetGraphic().graphic;
        if (!graphic || !graphic->GetLight() || !area.IsObjectSeen(*object)) continue;
        const double dx = object->GetX() - target[0], dz = object->GetY() - target[2];
        const double distance2 = dx * dx + dz * dz;
        if (distance2 <= kReach * kReach)
            candidates.push_back({distance2, object->GetX(), object->GetY(), graphic->GetLight().get()});
    }
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const LightCandidate& a, const LightCandidate& b) { return a.distance2 < b.distance2; });
    D3DCAPS9 caps{};
    if (d3d->GetDeviceCaps(&caps) != D3D_OK) return;
    const std::uint32_t slots = std::min(caps.MaxActiveLights, kMaxLights);
    for (const LightCandidate& candidate : candidates) {
        if (count >= slots) break;
        SetObjectLight(device, count, *candidate.light, candidate.x, candidate.z);
        ++count;
    }
}

void CGraphicsManager::SetObjectLight(DRAVCommon::CXPDevice* device, std::uint32_t index, const CLight& light,
                                      double x, double z) {
    float k = 1.0f;
    if (light.GetFlicker() != 0)
        k = static_cast<float>(1.0 - DRAVCommon::DisplayRandom() * (light.GetFlicker() / 100.0));
    D3DLIGHT9 out{};
    out.Type = D3DLIGHT_POINT;
    out.Diffuse = {light.GetRed() * k, light.GetGreen() * k, light.GetBlue() * k, 0.0f};
    out.Position = {static_cast<float>(x), static_cast<float>(light.GetHeight()), static_cast<float>(z)};
    out.Range = 100.0f;
    out.Falloff = 1.0f;
    out.Attenuation1 = static_cast<float>(1.0 / light.GetHeight());
    DRAVCommon::CheckDeviceCall(device->GetDevice()->SetLight(index, &out));
}

void CGraphicsManager::RenderSky(const SceneRenderContext& context, DRAV::CGame& game, const CCamera& camera,
                                 const float eye[3], const float target[3]) {
    if (m_skies.empty()) return;
    const RECT& viewport = *camera.viewport;
    const float width = static_cast<float>(viewport.right - viewport.left);
    const float height = static_cast<float>(viewport.bottom - viewport.top);
    const float aspect = height > 0.0f ? width / height : 1.0f;
    const float t = std::tan(camera.fieldOfView / 2.0f);
    // Near plane 1, far plane at infinity.
    D3DMATRIX projection{};
    projection._11 = 1.0f / (aspect * t);
    projection._22 = 1.0f / t;
    std::uint32_t bits = 0xBF800054u;
    std::memcpy(&projection._33, &bits, sizeof bits);
    projection._43 = projection._33;
    projection._34 = -1.0f;
    context.device->SetProjectionTransform(projection);

    const double sceneTime = game.GetTick() / kTicksPerSecond;
    // An eye on or below the ground sees no sky plane beneath it.
    if (!(eye[1] > 0.0f)) return;
    for (const std::shared_ptr<CSkyInfo>& layer : m_skies) {
        if (!(layer->size > 0.0)) continue;
        const double k = (layer->depth + eye[1]) / eye[1];
        const double half = k * kReach * 2.0;
        const double cx = (target[0] - eye[0]) * k + eye[0];
        const double cz = (target[2] - eye[2]) * k + eye[2];
        if (!std::isfinite(half) || !std::isfinite(cx) || !std::isfinite(cz)) continue;
        // Tiles so small that a frame would take thousands of them are not drawn: the
        // loop must end in time whatever the area file says.
        const double across = 2.0 * half / layer->size + 1.0;
        if (across * across > kMaxSkyTiles) continue;
        D3DMATRIX scale = Mat4Identity();
        scale._11 = static_cast<float>(layer->size);
        scale._33 = static_cast<float>(layer->size);
        SceneRenderContext tile = context;
        for (double x = cx - half + std::fmod(layer->scrollX * sceneTime, layer->size); x <= cx + half;
             x += layer->size) {
            for (double z = cz - half + std::fmod(layer->scrollZ * sceneTime, layer->size); z <= cz + half;
                 z += layer->size) {
                const D3DMATRIX world = Placed(scale, x, -layer->depth, z);
                tile.world = &world;
                layer->graphic->Render(tile, "default", 0, 0.0, sceneTime);
            }
        }
        context.device->GetDevice()->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 1.0f, 0);
    }
}

void CGraphicsManager::RenderMapCells(const SceneRenderContext& context, DRAV::CGame& game, DRAV::CArea& area,
                                      const float target[3]) {
    const double sceneTime = game.GetTick() / kTicksPerSecond;
    const auto first = [](double from) { return static_cast<std::uint32_t>(std::max(0.0, std::trunc(from / kCell))); };
    const auto last = [](double to, std::uint32_t size) {
        return static_cast<std::uint32_t>(std::clamp(std::trunc(to / kCell + 1.0), 0.0, static_cast<double>(size)));
    };
    const std::uint32_t c0 = first(target[0] - kReach), c1 = last(target[0] + kReach, area.GetColumns());
    const std::uint32_t r0 = first(target[2] - kReach), r1 = last(target[2] + kReach, area.GetRows());
    const D3DMATRIX identity = Mat4Identity();
    SceneRenderContext cell = context;
    for (std::uint32_t column = c0; column < c1; ++column) {
        for (std::uint32_t row = r0; row < r1; ++row) {
            if (!area.GetSeenCells().Get(column, row)) continue;
            // A seen cell that no tile covers shows nothing; it is no reason to lose the frame.
            const DRAV::CTile* tile = area.GetTile(column, row);
            DRAV::CMasterTile* master = tile ? tile->GetMaster() : nullptr;
            if (!master || master->GetFrameStamp() == m_frameCounter) continue;
            master->SetFrameStamp(m_frameCounter);
            const std::shared_ptr<CGraphicConcat>& group = master->GetSecondGraphic();
            if (!group) {
                const std::shared_ptr<CGraphic>& graphic = master->GetGraphic().graphic;
                if (!graphic) continue;
                const double time =
                    (graphic->GetFlags() & GRAPHIC_MOVEVARIED) ? PhaseOffset(tile->GetId()) + sceneTime : sceneTime;
                const auto* door = dynamic_cast<const DRAV::CMasterTileDoor*>(master);
                const bool open = master->GetDefinition().GetKind() == DRAV::TILE_DOOR && door && door->IsOpen();
                D3DMATRIX world;
                GetMasterTileTransform(world, *master);
                cell.world = &world;
                graphic->Render(cell, open ? "open" : "default", 0, 0.0, time);
            } else if (group->GetFrameStamp() != m_frameCounter) {
                group->SetFrameStamp(m_frameCounter);
                cell.world = &identity;
                group->Render(cell, "default", sceneTime);
            }
        }
    }
}

bool CGraphicsManager::IsActorShown(const DRAV::CActor& actor, const DRAV::CArea& area, const float target[3]) const {
    if (!actor.IsPartyOrFriendly() && actor.IsSneaking()) return false;
    if (!IsPointSeen(area, actor.GetX(), actor.GetY())) return false;
    return Overlaps(actor.GetX(), actor.GetRadius(), actor.GetY(), actor.GetRadius(), target);
}

bool CGraphicsManager::IsObjectDrawn(const DRAV::CObject& object, const DRAV::CArea& area,
                                     const float target[3]) const {
    double halfX = 0.0, halfZ = 0.0;
    object.GetHalfExtents(halfX, halfZ);
    if (!Overlaps(object.GetX(), halfX, object.GetY(), halfZ, target) || !area.IsObjectSeen(object)) return false;
    return !object.GetTrap() || !object.GetTrap()->IsHidden();
}

void CGraphicsManager::RenderAdornments(const SceneRenderContext& context, DRAV::CArea& area, const float target[3],
                                        const CCamera& camera) {
    for (const std::shared_ptr<DRAV::CActor>& actor : area.GetActors()) {
        if (!IsActorShown(*actor, area, target)) continue;
        const bool selected = std::find(m_selection.begin(), m_selection.end(), actor->GetId()) != m_selection.end();
        const bool hovered = actor->GetId() == camera.hoveredId;
        D3DCOLOR colour = 0xFF00FF00u;
        bool orders = camera.showAll;
        if (!selected) {
            if (!hovered && !camera.showAll) continue;
            switch (actor->GetRelation()) {
                case DRAV::RELATION_PARTY:
                    colour = 0xFF00C000u;
                    orders = true;
                    break;
                case DRAV::RELATION_HOSTILE:
                case DRAV::RELATION_BERSERK: colour = 0xFFFF0000u; break;
                case DRAV::RELATION_SURRENDER: colour = 0xFFFFFF00u; break;
                // One bound to turn on the party is ringed as the foe it is.
                default: colour = actor->IsFoe() ? 0xFFFF0000u : 0xFFC0C0C0u; break;
            }
        }
        m_adornments->AddRing(static_cast<float>(actor->GetX()), static_cast<float>(actor->GetY()),
                              static_cast<float>(actor->GetRadius()), colour, hovered);
        if (orders) DrawOrderMarkers(area, *actor, selected);
    }
    for (const std::shared_ptr<DRAV::CObject>& object : area.GetObjects()) {
        if (!IsObjectDrawn(*object, area, target)) continue;
        const DRAV::CObjectTemplate& definition = object->GetTemplate();
        D3DCOLOR colour = 0xFFC0C0C0u;
        if (definition.IsContainer()) {
            if (object->GetItems().empty() && !camera.showAll) continue;
        } else if (definition.GetTalkStates().empty()) {
            if (!object->GetTrap() || definition.IsSafe()) continue;
            colour = 0xFFFF0000u;
        }
        double halfX = 0.0, halfZ = 0.0;
        object->GetHalfExtents(halfX, halfZ);
        const float x = static_cast<float>(object->GetX()), z = static_cast<float>(object->GetY());
        if (colour == 0xFFFF0000u)
            m_adornments->AddHatchedRect(x, static_cast<float>(halfX), z, static_cast<float>(halfZ), colour);
        else
            m_adornments->AddRing(x, z, static_cast<float>(std::sqrt(halfX * halfX + halfZ * halfZ)), colour,
                                  object->GetId() == camera.hoveredId);
    }
    m_adornments->Flush(context.device);
}

void CGraphicsManager::DrawOrderMarkers(const DRAV::CArea& area, const DRAV::CActor& actor, bool selected) {
    const D3DCOLOR colour = selected ? 0xFF00FF00u : 0xFF00C000u;
    float fromX = static_cast<float>(actor.GetX()), fromZ = static_cast<float>(actor.GetY());
    const auto cellCentre = [](std::uint32_t id, float& x, float& z) {
        const std::uint32_t serial = id & 0xFFFFFFu;
        x = static_cast<float>((serial % 1000) * kCell + kCell / 2);
        z = static_cast<float>((serial / 1000) * kCell + kCell / 2);
    };
    for (const std::shared_ptr<DRAV::COrder>& order : actor.GetOrders()) {
        float x = 0.0f, z = 0.0f;
        bool found = false, self = false;
        const auto actorPoint = [&](std::uint32_t id) {
            if (id == actor.GetId()) self = true;
            else if (const DRAV::CActor* other = area.FindActor(id)) {
                x = static_cast<float>(other->GetX());
                z = static_cast<float>(other->GetY());
                found = true;
            }
        };
        switch (order->GetType()) {
            case DRAV::ORDER_MOVE: {
                const auto& move = static_cast<const DRAV::CMoveOrder&>(*order);
                x = static_cast<float>(move.x);
                z = static_cast<float>(move.y);
                found = true;
                break;
            }
            case DRAV::ORDER_ATTACK: actorPoint(order->GetThingId()); break;
            case DRAV::ORDER_MOVE_TALK: actorPoint(order->GetThingId()); break;
            case DRAV::ORDER_USE: {
                const std::uint32_t thing = order->GetSecondThingId();
                if ((thing >> 24) == DRAV::THING_TILE) {
                    cellCentre(thing, x, z);
                    found = true;
                } else if (const DRAV::CObject* object = area.FindObject(thing)) {
                    x = static_cast<float>(object->GetX());
                    z = static_cast<float>(object->GetY());
                    found = true;
                } else if ((thing >> 24) == DRAV::THING_ITEM && (order->GetThirdThingId() >> 24) == DRAV::THING_ACTOR) {
                    actorPoint(order->GetThirdThingId());
                }
                break;
            }
            case DRAV::ORDER_CAST: {
                const std::uint32_t targetId = static_cast<const DRAV::CCastOrder&>(*order).GetTargetId();
                const std::uint32_t type = targetId >> 24;
                if (type == 0) self = true;
                else if (type == DRAV::THING_TILE) {
                    cellCentre(targetId, x, z);
                    found = true;
                } else if (type == DRAV::THING_ACTOR) actorPoint(targetId);
                break;
            }
            default: break;
        }
        if (self) m_adornments->AddCross(static_cast<float>(actor.GetX()), static_cast<float>(actor.GetY()), 0xFF00FF00u);
        if (!found) continue;
        m_adornments->AddArrow(fromX, fromZ, x, z, colour);
        fromX = x;
        fromZ = z;
    }
}

void CGraphicsManager::RenderActors(const SceneRenderContext& context, DRAV::CGame& game, DRAV::CArea& area,
                                    const float target[3]) {
    const double sceneTime = game.GetTick() / kTicksPerSecond;
    SceneRenderContext figure = context;
    for (const std::shared_ptr<DRAV::CActor>& actor : area.GetActors()) {
        if (!actor->GetModel()) LoadActorGraphics(context.device, *actor);
        if (!IsActorShown(*actor, area, target) || !actor->GetModel()) continue;
        const D3DMATRIX world = ActorWorld(*actor);
        figure.world = &world;
        actor->GetModel()->Render(figure, ActorAnimationName(*actor),
                                  static_cast<std::int32_t>(actor->GetAnimationVariant()), actor->GetAnimationTime(),
                                  PhaseOffset(actor->GetId()) + sceneTime);
        RenderShadow(context.device, actor->GetX(), actor->GetY(), actor->GetRadius());
    }
    m_adornments->Flush(context.device);
}

bool CGraphicsManager::GetActorDrawnBounds(const DRAV::CActor& actor, BoundingBox& box) {
    const std::shared_ptr<CGraphic>& model = actor.GetModel();
    return model && model->GetDrawnBounds(ActorAnimationName(actor), static_cast<std::int32_t>(actor.GetAnimationVariant()),
                                          actor.GetAnimationTime(), ActorWorld(actor), box);
}

void CGraphicsManager::RenderShadow(DRAVCommon::CXPDevice* device, double x, double z, double radius) {
    if (!m_shadow) return;
    double cx = x, cz = z;
    if (m_directionalLight) {
        cx = x + m_sunX * radius;
    } else {
        double dx = x - m_lightPosition[0], dz = z - m_lightPosition[2];
        const double dy = -m_lightPosition[1];
        const double length = std::sqrt(dx * dx + dy * dy + dz * dz);
        if (length > 0.0) {
            cx = x + dx / length * radius;
            cz = z + dz / length * radius;
        }
    }
    D3DMATRIX scale = Mat4Identity();
    scale._11 = static_cast<float>(2.0 * radius);
    scale._33 = static_cast<float>(2.0 * radius);
    device->SetWorldTransform(Placed(scale, cx, 0.025, cz));
    m_shadow->Draw(device, false, 0.0);
}

void CGraphicsManager::RenderObjects(const SceneRenderContext& context, DRAV::CGame& game, DRAV::CArea& area,
                                     const float target[3], bool transparentPass) {
    const double sceneTime = game.GetTick() / kTicksPerSecond;
    SceneRenderContext placed = context;
    for (const std::shared_ptr<DRAV::CObject>& object : area.GetObjects()) {
        if (!IsObjectDrawn(*object, area, target)) continue;
        const DRAV::CObjectTemplate& definition = object->GetTemplate();
        if (!object->GetGraphic().graphic) {
            if (definition.GetKey() == DRAV::kPileTemplate) {
                std::shared_ptr<CGraphic> pile;
                if (FindCachedGraphic(DRAVCommon::DFK_OBJECT, definition.GetGraphicName(), nullptr, nullptr, pile))
                    object->SetGraphic(0, pile);
            } else if (!definition.GetGraphicName().empty()) {
                LoadObjectGraphic(context.device, *object);
            }
        }
        const std::shared_ptr<CGraphic>& graphic = object->GetGraphic().graphic;
        if (!graphic || ((graphic->GetFlags() & GRAPHIC_TRANSPARENT) != 0) != transparentPass) continue;
        const D3DMATRIX world =
            Placed(m_facings[static_cast<std::size_t>(object->GetFacing()) & 3], object->GetX(), 0.0, object->GetY());
        placed.world = &world;
        const double time = graphic->GetFixedEffect() ? sceneTime : PhaseOffset(object->GetId()) + sceneTime;
        graphic->Render(placed, "default", 0, time, time);
    }
}

void CGraphicsManager::RenderEffects(const SceneRenderContext& context, DRAV::CGame& game, DRAV::CArea& area,
                                     const float target[3]) {
    const double sceneTime = game.GetTick() / kTicksPerSecond;
    SceneRenderContext placed = context;
    for (const std::shared_ptr<DRAV::CEffect>& effect : area.GetEffects()) {
        if (effect->IsDone() || !Overlaps(effect->GetX(), 0.0, effect->GetY(), 0.0, target)) continue;
        if (!effect->GetGraphics() && !LoadEffectGraphic(context.device, *effect)) continue;
        const auto graphic = std::static_pointer_cast<CGraphic>(effect->GetGraphics());
        const D3DMATRIX world = Placed(RotationY(effect->GetHeading()), effect->GetX(), effect->GetZ(), effect->GetY());
        placed.world = &world;
        graphic->Render(placed, "default", 0, 0.0, PhaseOffset(effect->GetId()) + sceneTime);
    }
}

}  // namespace DRAVGraph
