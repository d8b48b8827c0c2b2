#include "platform/d3d9/gl_device.h"

#include <SDL.h>
#include <SDL_opengl.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace D3D9Layer {

namespace {

// A texture with its OpenGL copy, refreshed when the memory pixels changed.
class CGLTexture : public CMemoryTexture {
public:
    using CMemoryTexture::CMemoryTexture;

    void Bind() {
        if (m_name == 0) glGenTextures(1, &m_name);
        glBindTexture(GL_TEXTURE_2D, m_name);
        if (m_uploaded != Generation() + 1) {
            glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
            glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, static_cast<GLsizei>(Width()), static_cast<GLsizei>(Height()), 0,
                         GL_BGRA, GL_UNSIGNED_BYTE, Pixels().data());
            m_uploaded = Generation() + 1;
        }
    }

protected:
    ~CGLTexture() override {
        if (m_name != 0) glDeleteTextures(1, &m_name);
    }

private:
    GLuint m_name = 0;
    std::uint64_t m_uploaded = 0;  // generation + 1 of the pixels in GL; 0 for none
};

void ColourToFloats(D3DCOLOR colour, float out[4]) {
    out[0] = static_cast<float>((colour >> 16) & 0xFF) / 255.0f;
    out[1] = static_cast<float>((colour >> 8) & 0xFF) / 255.0f;
    out[2] = static_cast<float>(colour & 0xFF) / 255.0f;
    out[3] = static_cast<float>(colour >> 24) / 255.0f;
}

void SetMaterialColour(GLenum which, const D3DCOLORVALUE& colour) {
    const float values[4] = {colour.r, colour.g, colour.b, colour.a};
    glMaterialfv(GL_FRONT_AND_BACK, which, values);
}

GLenum CompareFunction(DWORD function) {
    switch (function) {
    case D3DCMP_NEVER: return GL_NEVER;
    case D3DCMP_LESS: return GL_LESS;
    case D3DCMP_EQUAL: return GL_EQUAL;
    case D3DCMP_LESSEQUAL: return GL_LEQUAL;
    case D3DCMP_GREATER: return GL_GREATER;
    case D3DCMP_NOTEQUAL: return GL_NOTEQUAL;
    case D3DCMP_GREATEREQUAL: return GL_GEQUAL;
    default: return GL_ALWAYS;
    }
}

GLenum BlendFactor(DWORD factor) {
    switch (factor) {
    case D3DBLEND_ZERO: return GL_ZERO;
    case D3DBLEND_SRCCOLOR: return GL_SRC_COLOR;
    case D3DBLEND_INVSRCCOLOR: return GL_ONE_MINUS_SRC_COLOR;
    case D3DBLEND_SRCALPHA: return GL_SRC_ALPHA;
    case D3DBLEND_INVSRCALPHA: return GL_ONE_MINUS_SRC_ALPHA;
    case D3DBLEND_DESTALPHA: return GL_DST_ALPHA;
    case D3DBLEND_INVDESTALPHA: return GL_ONE_MINUS_DST_ALPHA;
    case D3DBLEND_DESTCOLOR: return GL_DST_COLOR;
    case D3DBLEND_INVDESTCOLOR: return GL_ONE_MINUS_DST_COLOR;
    default: return GL_ONE;
    }
}

GLint AddressMode(DWORD mode) {
    switch (mode) {
    case D3DTADDRESS_MIRROR: return GL_MIRRORED_REPEAT;
    case D3DTADDRESS_CLAMP:
    case D3DTADDRESS_BORDER:
    case D3DTADDRESS_MIRRORONCE: return GL_CLAMP_TO_EDGE;
    default: return GL_REPEAT;
    }
}

GLint FilterMode(DWORD filter) { return filter == D3DTEXF_POINT || filter == D3DTEXF_NONE ? GL_NEAREST : GL_LINEAR; }

GLint CombineSource(DWORD argument) {
    switch (argument & D3DTA_SELECTMASK) {
    case D3DTA_TEXTURE: return GL_TEXTURE;
    case D3DTA_TFACTOR: return GL_CONSTANT;
    default: return GL_PRIMARY_COLOR;  // diffuse, and "current" on stage 0
    }
}

// One of the colour or alpha halves of a texture stage as a GL combiner.
void SetCombiner(bool alpha, DWORD op, DWORD arg1, DWORD arg2) {
    const GLenum combine = alpha ? GL_COMBINE_ALPHA : GL_COMBINE_RGB;
    const GLenum source0 = alpha ? GL_SOURCE0_ALPHA : GL_SOURCE0_RGB;
    const GLenum source1 = alpha ? GL_SOURCE1_ALPHA : GL_SOURCE1_RGB;
    const GLenum scale = alpha ? GL_ALPHA_SCALE : GL_RGB_SCALE;
    GLint mode = GL_MODULATE;
    GLfloat factor = 1.0f;
    GLint first = CombineSource(arg1);
    GLint second = CombineSource(arg2);
    switch (op) {
    case D3DTOP_SELECTARG1: mode = GL_REPLACE; break;
    case D3DTOP_SELECTARG2:
        mode = GL_REPLACE;
        first = second;
        break;
    case D3DTOP_ADD: mode = GL_ADD; break;
    case D3DTOP_MODULATE2X: factor = 2.0f; break;
    case D3DTOP_MODULATE4X: factor = 4.0f; break;
    case D3DTOP_DISABLE:  // the stage passes the diffuse colour through
        mode = GL_REPLACE;
        first = GL_PRIMARY_COLOR;
        break;
    default: break;
    }
    glTexEnvi(GL_TEXTURE_ENV, combine, mode);
    glTexEnvi(GL_TEXTURE_ENV, source0, first);
    glTexEnvi(GL_TEXTURE_ENV, source1, second);
    glTexEnvf(GL_TEXTURE_ENV, scale, factor);
}

}  // namespace

D3DPtr<CGLDevice> CGLDevice::Create(SDL_Window* window, const D3DPRESENT_PARAMETERS& parameters) {
    if (!window) return nullptr;
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, parameters.EnableAutoDepthStencil ? 16 : 0);
    SDL_GLContext context = SDL_GL_CreateContext(window);
    if (!context) return nullptr;
    if (SDL_GL_MakeCurrent(window, context) != 0) {
        SDL_GL_DeleteContext(context);
        return nullptr;
    }
    SDL_GL_SetSwapInterval(parameters.PresentationInterval == D3DPRESENT_INTERVAL_IMMEDIATE ? 0 : 1);
    return D3DPtr<CGLDevice>(new CGLDevice(window, context, parameters));
}

CGLDevice::CGLDevice(SDL_Window* window, void* context, const D3DPRESENT_PARAMETERS& parameters)
    : CDeviceBase(parameters), m_window(window), m_context(context) {
    SetRecording(false);
    GLint maxSize = 0;
    GLint maxLights = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSize);
    glGetIntegerv(GL_MAX_LIGHTS, &maxLights);
    m_maxLights = std::min(maxLights, 8);
    SetCaps(D3DCAPS9{static_cast<DWORD>(maxSize), static_cast<DWORD>(maxSize), static_cast<DWORD>(m_maxLights), 1,
                     0xFFFFF, 0xFFFF});
    glDisable(GL_DITHER);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
}

CGLDevice::~CGLDevice() {
    // The textures bound to the device go with it, while the context still exists.
    SetTexture(0, nullptr);
    SDL_GL_DeleteContext(static_cast<SDL_GLContext>(m_context));
}

CMemoryTexture* CGLDevice::MakeTexture(UINT width, UINT height, DWORD usage, D3DPOOL pool, PoolCounter counter) {
    if (pool == D3DPOOL_DEFAULT) return new CGLTexture(width, height, usage, pool, std::move(counter));
    return CDeviceBase::MakeTexture(width, height, usage, pool, std::move(counter));
}

void CGLDevice::RenderClear(DWORD flags, D3DCOLOR colour, float z) {
    GLbitfield mask = 0;
    if (flags & D3DCLEAR_TARGET) {
        float rgba[4];
        ColourToFloats(colour, rgba);
        glClearColor(rgba[0], rgba[1], rgba[2], rgba[3]);
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        mask |= GL_COLOR_BUFFER_BIT;
    }
    if (flags & D3DCLEAR_ZBUFFER) {
        glClearDepth(z);
        glDepthMask(GL_TRUE);
        mask |= GL_DEPTH_BUFFER_BIT;
    }
    glDisable(GL_SCISSOR_TEST);
    if (mask) glClear(mask);
}

void CGLDevice::ApplyViewportAndTransforms() {
    const D3DVIEWPORT9& viewport = Viewport();
    const GLint bottom = static_cast<GLint>(Parameters().BackBufferHeight) -
                         static_cast<GLint>(viewport.Y + viewport.Height);
    glViewport(static_cast<GLint>(viewport.X), bottom, static_cast<GLsizei>(viewport.Width),
               static_cast<GLsizei>(viewport.Height));
    glDepthRange(viewport.MinZ, viewport.MaxZ);

    // A Direct3D row-vector matrix laid out row by row is the transpose OpenGL reads
    // column by column, so the same 16 floats load as they are. After Direct3D's
    // projection: depth 0..1 becomes OpenGL's -1..1, and the picture moves half a
    // pixel right and down, since Direct3D puts pixel centres on integer coordinates.
    const float width = static_cast<float>(std::max<DWORD>(viewport.Width, 1));
    const float height = static_cast<float>(std::max<DWORD>(viewport.Height, 1));
    const float toGL[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 2, 0, 1.0f / width, -1.0f / height, -1, 1};
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(toGL);
    glMultMatrixf(Transform(D3DTS_PROJECTION).Data());
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(Transform(D3DTS_VIEW).Data());
}

void CGLDevice::ApplyLighting(bool vertexColours) {
    // Called with the view matrix loaded: Direct3D gives lights in world space.
    if (!RenderState(D3DRS_LIGHTING)) {
        glDisable(GL_LIGHTING);
        glDisable(GL_COLOR_MATERIAL);
        return;
    }
    glEnable(GL_LIGHTING);
    float ambient[4];
    ColourToFloats(RenderState(D3DRS_AMBIENT), ambient);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
    glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, RenderState(D3DRS_LOCALVIEWER) ? GL_TRUE : GL_FALSE);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_FALSE);
    for (int i = 0; i < m_maxLights; ++i) {
        const GLenum id = GL_LIGHT0 + static_cast<GLenum>(i);
        auto enabled = LightEnables().find(static_cast<DWORD>(i));
        if (enabled == LightEnables().end() || !enabled->second) {
            glDisable(id);
            continue;
        }
        const D3DLIGHT9& light = Lights().at(static_cast<DWORD>(i));
        glEnable(id);
        const float diffuse[4] = {light.Diffuse.r, light.Diffuse.g, light.Diffuse.b, light.Diffuse.a};
        const float specular[4] = {light.Specular.r, light.Specular.g, light.Specular.b, light.Specular.a};
        const float lightAmbient[4] = {light.Ambient.r, light.Ambient.g, light.Ambient.b, light.Ambient.a};
        glLightfv(id, GL_DIFFUSE, diffuse);
        glLightfv(id, GL_SPECULAR, specular);
        glLightfv(id, GL_AMBIENT, lightAmbient);
        if (light.Type == D3DLIGHT_DIRECTIONAL) {
            const float towards[4] = {-light.Direction.x, -light.Direction.y, -light.Direction.z, 0.0f};
            glLightfv(id, GL_POSITION, towards);
            glLightf(id, GL_CONSTANT_ATTENUATION, 1.0f);
            glLightf(id, GL_LINEAR_ATTENUATION, 0.0f);
            glLightf(id, GL_QUADRATIC_ATTENUATION, 0.0f);
            glLightf(id, GL_SPOT_CUTOFF, 180.0f);
            continue;
        }
        const float position[4] = {light.Position.x, light.Position.y, light.Position.z, 1.0f};
        glLightfv(id, GL_POSITION, position);
        glLightf(id, GL_CONSTANT_ATTENUATION, light.Attenuation0);
        glLightf(id, GL_LINEAR_ATTENUATION, light.Attenuation1);
        glLightf(id, GL_QUADRATIC_ATTENUATION, light.Attenuation2);
        if (light.Type == D3DLIGHT_SPOT) {
            const float direction[3] = {light.Direction.x, light.Direction.y, light.Direction.z};
            glLightfv(id, GL_SPOT_DIRECTION, direction);
            glLightf(id, GL_SPOT_CUTOFF, std::min(90.0f, light.Phi * 0.5f * 57.2957795f));
            glLightf(id, GL_SPOT_EXPONENT, std::clamp(light.Falloff, 0.0f, 128.0f));
        } else {
            glLightf(id, GL_SPOT_CUTOFF, 180.0f);
        }
    }
    const D3DMATERIAL9& material = Material();
    SetMaterialColour(GL_DIFFUSE, material.Diffuse);
    SetMaterialColour(GL_AMBIENT, material.Ambient);
    SetMaterialColour(GL_EMISSION, material.Emissive);
    SetMaterialColour(GL_SPECULAR, RenderState(D3DRS_SPECULARENABLE) ? material.Specular : D3DCOLORVALUE{});
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, std::clamp(material.Power, 0.0f, 128.0f));

    // Direct3D takes a material colour from the vertices when told to and when the
    // vertices carry one; OpenGL follows one such source at a time.
    const bool diffuse = vertexColours && RenderState(D3DRS_DIFFUSEMATERIALSOURCE) == D3DMCS_COLOR1;
    const bool ambientFromVertex = vertexColours && RenderState(D3DRS_AMBIENTMATERIALSOURCE) == D3DMCS_COLOR1;
    const bool emissive = vertexColours && RenderState(D3DRS_EMISSIVEMATERIALSOURCE) == D3DMCS_COLOR1;
    GLenum follow = 0;
    if (diffuse && ambientFromVertex) follow = GL_AMBIENT_AND_DIFFUSE;
    else if (diffuse) follow = GL_DIFFUSE;
    else if (ambientFromVertex) follow = GL_AMBIENT;
    else if (emissive) follow = GL_EMISSION;
    if (follow && RenderState(D3DRS_COLORVERTEX)) {
        glColorMaterial(GL_FRONT_AND_BACK, follow);
        glEnable(GL_COLOR_MATERIAL);
    } else {
        glDisable(GL_COLOR_MATERIAL);
    }
    if (RenderState(D3DRS_NORMALIZENORMALS)) glEnable(GL_NORMALIZE);
    else glDisable(GL_NORMALIZE);
}

void CGLDevice::ApplyRasterStates() {
    // Both count winding as the triangle appears to the viewer: Direct3D names the
    // winding it culls, OpenGL the winding it keeps.
    switch (RenderState(D3DRS_CULLMODE)) {
    case D3DCULL_CW:
        glEnable(GL_CULL_FACE);
        glFrontFace(GL_CCW);
        glCullFace(GL_BACK);
        break;
    case D3DCULL_CCW:
        glEnable(GL_CULL_FACE);
        glFrontFace(GL_CW);
        glCullFace(GL_BACK);
        break;
    default: glDisable(GL_CULL_FACE); break;
    }
    if (RenderState(D3DRS_ZENABLE) != D3DZB_FALSE && Parameters().EnableAutoDepthStencil) {
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(CompareFunction(RenderState(D3DRS_ZFUNC)));
        glDepthMask(RenderState(D3DRS_ZWRITEENABLE) ? GL_TRUE : GL_FALSE);
    } else {
        glDisable(GL_DEPTH_TEST);
    }
    if (RenderState(D3DRS_ALPHATESTENABLE)) {
        glEnable(GL_ALPHA_TEST);
        glAlphaFunc(CompareFunction(RenderState(D3DRS_ALPHAFUNC)),
                    static_cast<float>(RenderState(D3DRS_ALPHAREF) & 0xFF) / 255.0f);
    } else {
        glDisable(GL_ALPHA_TEST);
    }
    if (RenderState(D3DRS_ALPHABLENDENABLE)) {
        glEnable(GL_BLEND);
        glBlendFunc(BlendFactor(RenderState(D3DRS_SRCBLEND)), BlendFactor(RenderState(D3DRS_DESTBLEND)));
    } else {
        glDisable(GL_BLEND);
    }
    const DWORD fill = RenderState(D3DRS_FILLMODE);
    glPolygonMode(GL_FRONT_AND_BACK, fill == D3DFILL_POINT ? GL_POINT : fill == D3DFILL_WIREFRAME ? GL_LINE : GL_FILL);
    glShadeModel(RenderState(D3DRS_SHADEMODE) == D3DSHADE_FLAT ? GL_FLAT : GL_SMOOTH);
}

void CGLDevice::ApplyTextureStage() {
    auto* texture = dynamic_cast<CGLTexture*>(BoundTexture(0));
    const DWORD colourOp = StageState(0, D3DTSS_COLOROP);
    if (!texture || colourOp == D3DTOP_DISABLE) {
        glDisable(GL_TEXTURE_2D);
        return;
    }
    glEnable(GL_TEXTURE_2D);
    texture->Bind();
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, AddressMode(SamplerState(0, D3DSAMP_ADDRESSU)));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, AddressMode(SamplerState(0, D3DSAMP_ADDRESSV)));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, FilterMode(SamplerState(0, D3DSAMP_MAGFILTER)));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, FilterMode(SamplerState(0, D3DSAMP_MINFILTER)));
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE);
    float factor[4];
    ColourToFloats(RenderState(D3DRS_TEXTUREFACTOR), factor);
    glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, factor);
    SetCombiner(false, colourOp, StageState(0, D3DTSS_COLORARG1), StageState(0, D3DTSS_COLORARG2));
    SetCombiner(true, StageState(0, D3DTSS_ALPHAOP), StageState(0, D3DTSS_ALPHAARG1), StageState(0, D3DTSS_ALPHAARG2));

    // Direct3D extends two texture coordinates to (u, v, 1, 0) before its texture
    // matrix; OpenGL extends them to (s, t, 0, 1). The matrix's third row therefore
    // goes where OpenGL reads its fourth component.
    glMatrixMode(GL_TEXTURE);
    const DWORD flags = StageState(0, D3DTSS_TEXTURETRANSFORMFLAGS) & 0xFF;
    if (flags == D3DTTFF_COUNT2) {
        const D3DMATRIX& m = Transform(D3DTS_TEXTURE0);
        const float matrix[16] = {m._11, m._12, 0, 0, m._21, m._22, 0, 0, 0, 0, 1, 0, m._31, m._32, 0, 1};
        glLoadMatrixf(matrix);
    } else {
        glLoadIdentity();
    }
    glMatrixMode(GL_MODELVIEW);
}

void CGLDevice::RenderDraw(const DrawCall& call) {
    const DWORD fvf = Fvf();
    if (!(fvf & D3DFVF_XYZ)) return;  // pre-transformed vertices are not drawn by the game
    ApplyViewportAndTransforms();
    const bool vertexColours = (fvf & D3DFVF_DIFFUSE) != 0;
    ApplyLighting(vertexColours);
    glMultMatrixf(Transform(D3DTS_WORLD).Data());
    ApplyRasterStates();
    ApplyTextureStage();

    const std::uint8_t* base = call.vertices + static_cast<std::ptrdiff_t>(call.baseVertex) * call.stride;
    std::size_t offset = 12;
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, static_cast<GLsizei>(call.stride), base);
    if (fvf & D3DFVF_NORMAL) {
        glEnableClientState(GL_NORMAL_ARRAY);
        glNormalPointer(GL_FLOAT, static_cast<GLsizei>(call.stride), base + offset);
        offset += 12;
    } else {
        glDisableClientState(GL_NORMAL_ARRAY);
        glNormal3f(0.0f, 0.0f, 0.0f);
    }
    if (fvf & D3DFVF_PSIZE) offset += 4;
    if (vertexColours) {
        // D3DCOLOR is B, G, R, A in memory; OpenGL 2.1 wants R, G, B, A.
        std::uint16_t highest = 0;
        for (UINT i = 0; i < call.indexCount; ++i)
            highest = std::max(highest, call.indices[call.startIndex + i]);
        m_colourScratch.resize((static_cast<std::size_t>(highest) + 1) * 4);
        for (std::size_t v = 0; v <= highest; ++v) {
            const std::uint8_t* bgra = base + v * call.stride + offset;
            std::uint8_t* rgba = &m_colourScratch[v * 4];
            rgba[0] = bgra[2];
            rgba[1] = bgra[1];
            rgba[2] = bgra[0];
            rgba[3] = bgra[3];
        }
        glEnableClientState(GL_COLOR_ARRAY);
        glColorPointer(4, GL_UNSIGNED_BYTE, 0, m_colourScratch.data());
        offset += 4;
    } else {
        glDisableClientState(GL_COLOR_ARRAY);
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);  // Direct3D's diffuse colour of vertices without one
    }
    if (fvf & D3DFVF_SPECULAR) offset += 4;
    if ((fvf & D3DFVF_TEXCOUNT_MASK) != 0) {
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, static_cast<GLsizei>(call.stride), base + offset);
    } else {
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    }

    GLenum mode = GL_TRIANGLES;
    switch (call.type) {
    case D3DPT_POINTLIST: mode = GL_POINTS; break;
    case D3DPT_LINELIST: mode = GL_LINES; break;
    case D3DPT_LINESTRIP: mode = GL_LINE_STRIP; break;
    case D3DPT_TRIANGLESTRIP: mode = GL_TRIANGLE_STRIP; break;
    case D3DPT_TRIANGLEFAN: mode = GL_TRIANGLE_FAN; break;
    default: break;
    }
    glDrawElements(mode, static_cast<GLsizei>(call.indexCount), GL_UNSIGNED_SHORT, call.indices + call.startIndex);
}

void CGLDevice::RenderPresent() { SDL_GL_SwapWindow(m_window); }

std::vector<std::uint32_t> CGLDevice::ReadBackBuffer() const {
    const int width = static_cast<int>(Parameters().BackBufferWidth);
    const int height = static_cast<int>(Parameters().BackBufferHeight);
    std::vector<std::uint32_t> bottomUp(static_cast<std::size_t>(width) * height);
    glFinish();
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, width, height, GL_BGRA, GL_UNSIGNED_BYTE, bottomUp.data());
    std::vector<std::uint32_t> topDown(bottomUp.size());
    for (int row = 0; row < height; ++row)
        std::memcpy(&topDown[static_cast<std::size_t>(row) * width],
                    &bottomUp[static_cast<std::size_t>(height - 1 - row) * width], static_cast<std::size_t>(width) * 4);
    for (auto& pixel : topDown) pixel |= 0xFF000000u;  // the window has no alpha of its own
    return topDown;
}

}  // namespace D3D9Layer
