#include "graphics/scene/icon_graphics_manager.h"

#include <cmath>

#include "graphics/graphic.h"
#include "graphics/matrix.h"
#include "graphics/ui_sprite.h"
#include "platform/win32/win32_time.h"

namespace DRAVGraph {

namespace {

constexpr double kPi = 3.14159265358979323846;
// The eye: 110 units from the origin, 80 degrees above the ground, on the +z side.
constexpr float kEyeDistance = 110.0f;
constexpr float kEyeElevation = 1.3962634f;
constexpr float kEyeBearing = 1.5707964f;
constexpr float kNear = 55.0f;
constexpr float kFar = 720.0f;

D3DMATRIX Translated(float x, float y, float z) {
    D3DMATRIX matrix = Mat4Identity();
    matrix._41 = x;
    matrix._42 = y;
    matrix._43 = z;
    return matrix;
}

}  // namespace

TitlePlacement PlaceTitleScene(double t, bool staticPose) {
    TitlePlacement placement;
    double angle = 0.0, y = 0.0, z = 0.0;
    if (staticPose) {
        // At rest at the origin.
    } else if (t < 5.0) {
        angle = (5.0 - t) * kPi;
        y = 100.0 * t - 500.0;
        z = y / 10.0;
    } else if (t < 10.0) {
        y = -7.0 * (t - 5.0);
        z = -(t - 5.0);
    } else {
        y = -35.0;
        z = -5.0;
    }
    placement.emblem = Translated(0.0f, static_cast<float>(y), static_cast<float>(z));
    const float c = static_cast<float>(std::cos(angle)), s = static_cast<float>(std::sin(angle));
    placement.emblem._22 = c;
    placement.emblem._23 = s;
    placement.emblem._32 = -s;
    placement.emblem._33 = c;

    placement.titleShown = !staticPose && t >= 5.0;
    if (placement.titleShown)
        placement.title = t < 10.0 ? Translated(0.0f, static_cast<float>(-7.0 * (t - 5.0)),
                                                static_cast<float>(-(t - 5.0) - 12.0))
                                   : Translated(0.0f, -35.0f, -17.0f);
    else
        placement.title = Mat4Identity();
    return placement;
}

CIconGraphicsManager::CIconGraphicsManager() : m_clock([] { return static_cast<std::uint32_t>(timeGetTime()); }) {}

CIconGraphicsManager::~CIconGraphicsManager() = default;

void CIconGraphicsManager::Load(DRAVCommon::CXPDevice* device) {
    m_whiteTexture = DRAVCommon::CreateColourTexture(device, 0xFFFFFF, 1.0);
    m_background =
        DRAVCommon::LoadTextureFile(device, *m_source, DRAVCommon::DFK_ICON, DRAVCommon::DFS_TEX, "x_icon-back1.jpg");
    const GraphicLoadContext context{device, m_source.get(), nullptr};
    m_emblem = std::make_shared<CGraphic>(context, DRAVCommon::DFK_ICON, "g_icon1", DRAVCommon::DFK_ICON, nullptr,
                                          nullptr, nullptr);
    m_title = std::make_shared<CGraphic>(context, DRAVCommon::DFK_ICON, "g_text1", DRAVCommon::DFK_ICON, nullptr,
                                         nullptr, nullptr);
}

void CIconGraphicsManager::Render(DRAVCommon::CXPDevice* device, const CCamera& camera) {
    double t = 0.0;
    if (!m_clockStarted) {
        m_startTime = m_clock();
        m_clockStarted = true;
    } else {
        // Unsigned, so the clock's wrap after 49 days does not run time backwards.
        t = static_cast<std::uint32_t>(m_clock() - m_startTime) / 1000.0;
    }
    const RECT& viewport = *camera.viewport;

    if (m_background) {
        DRAVUI::CUISprite sprite(device, 100, m_whiteTexture);
        sprite.Begin();
        sprite.Draw(viewport, nullptr, 0xFFFFFFFFu, DRAVUI::CUISprite::MODE_CROP, m_background);
        sprite.Flush();
    }
    IDirect3DDevice9* d3d = device->GetDevice();
    d3d->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 1.0f, 0);

    const float r = std::cos(kEyeElevation) * kEyeDistance;
    const float eye[3] = {std::cos(kEyeBearing) * r, std::sin(kEyeElevation) * kEyeDistance,
                          std::sin(kEyeBearing) * r};
    const float target[3] = {0.0f, 0.0f, 0.0f}, up[3] = {0.0f, 1.0f, 0.0f};
    Mat4LookAt(m_view, eye, target, up);
    const float length = std::sqrt(eye[0] * eye[0] + eye[1] * eye[1] + eye[2] * eye[2]);
    const D3DVECTOR viewDirection{-eye[0] / length, -eye[1] / length, -eye[2] / length};
    device->SetViewTransform(m_view);

    const float width = static_cast<float>(viewport.right - viewport.left);
    const float height = static_cast<float>(viewport.bottom - viewport.top);
    Mat4Perspective(m_projection, camera.fieldOfView, height > 0.0f ? width / height : 1.0f, kNear, kFar);
    device->SetProjectionTransform(m_projection);

    d3d->SetRenderState(D3DRS_AMBIENT, 0xFF4C4C7Fu);
    D3DLIGHT9 light{};
    light.Type = D3DLIGHT_POINT;
    light.Diffuse = {0.6f, 0.6f, 0.4f, 0.0f};
    light.Position = {target[0], target[1] + 50.0f, target[2]};
    light.Range = 500.0f;
    light.Falloff = 1.0f;
    light.Attenuation1 = 0.02f;
    d3d->SetLight(0, &light);
    d3d->LightEnable(0, 1);
    d3d->LightEnable(1, 0);

    // No billboard renderer: a fixed effect of these graphics has nowhere to emit.
    const TitlePlacement placement = PlaceTitleScene(t, m_staticPose);
    SceneRenderContext context{device, nullptr, &placement.emblem, &viewDirection};
    if (m_emblem) m_emblem->Render(context, "default", 0, t, t);
    if (placement.titleShown && m_title) {
        context.world = &placement.title;
        m_title->Render(context, "default", 0, t, t);
    }
}

}  // namespace DRAVGraph
