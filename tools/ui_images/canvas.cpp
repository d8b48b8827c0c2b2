#include "ui_images/canvas.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace QuillmereTools {
namespace {

float Length(Vec v) { return std::sqrt(v.x * v.x + v.y * v.y); }
Vec Sub(Vec a, Vec b) { return {a.x - b.x, a.y - b.y}; }
float Dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y; }

float Clamp01(float v) { return std::clamp(v, 0.0f, 1.0f); }

float SegmentDistance(Vec p, Vec a, Vec b) {
    Vec pa = Sub(p, a), ba = Sub(b, a);
    float len2 = Dot(ba, ba);
    float h = len2 > 0 ? Clamp01(Dot(pa, ba) / len2) : 0.0f;
    return Length({pa.x - ba.x * h, pa.y - ba.y * h});
}

// Tiles are tested at their centre first, so most pixels of a big picture never
// evaluate a small shape's distance.
constexpr int kTile = 8;

}  // namespace

Colour FromArgb(std::uint32_t argb) {
    return {static_cast<float>(argb >> 16 & 0xFF) / 255.0f, static_cast<float>(argb >> 8 & 0xFF) / 255.0f,
            static_cast<float>(argb & 0xFF) / 255.0f, static_cast<float>(argb >> 24 & 0xFF) / 255.0f};
}

Colour WithAlpha(Colour colour, float alpha) {
    colour.a = alpha;
    return colour;
}

Colour Mix(Colour a, Colour b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

namespace Shape {

Sdf Circle(Vec centre, float radius) {
    return [=](Vec p) { return Length(Sub(p, centre)) - radius; };
}

Sdf Ellipse(Vec centre, float rx, float ry) {
    return [=](Vec p) {
        Vec q{(p.x - centre.x) / rx, (p.y - centre.y) / ry};
        return (Length(q) - 1.0f) * std::min(rx, ry);
    };
}

Sdf Ring(Vec centre, float radius, float width) {
    return [=](Vec p) { return std::fabs(Length(Sub(p, centre)) - radius) - width / 2; };
}

Sdf Arc(Vec centre, float radius, float width, float from, float to) {
    const float twoPi = 2 * std::numbers::pi_v<float>;
    float span = std::fmod(std::fmod(to - from, twoPi) + twoPi, twoPi);
    Vec a{centre.x + radius * std::cos(from), centre.y + radius * std::sin(from)};
    Vec b{centre.x + radius * std::cos(to), centre.y + radius * std::sin(to)};
    return [=](Vec p) {
        float angle = std::atan2(p.y - centre.y, p.x - centre.x) - from;
        angle = std::fmod(std::fmod(angle, twoPi) + twoPi, twoPi);
        if (angle <= span) return std::fabs(Length(Sub(p, centre)) - radius) - width / 2;
        return std::min(Length(Sub(p, a)), Length(Sub(p, b))) - width / 2;
    };
}

Sdf Box(float left, float top, float right, float bottom, float cornerRadius) {
    Vec centre{(left + right) / 2, (top + bottom) / 2};
    Vec half{(right - left) / 2 - cornerRadius, (bottom - top) / 2 - cornerRadius};
    return [=](Vec p) {
        float dx = std::fabs(p.x - centre.x) - half.x, dy = std::fabs(p.y - centre.y) - half.y;
        float outside = Length({std::max(dx, 0.0f), std::max(dy, 0.0f)});
        return outside + std::min(std::max(dx, dy), 0.0f) - cornerRadius;
    };
}

Sdf Segment(Vec a, Vec b, float width) {
    return [=](Vec p) { return SegmentDistance(p, a, b) - width / 2; };
}

Sdf Polygon(std::vector<Vec> points) {
    return [points = std::move(points)](Vec p) {
        float nearest = 1e30f;
        bool inside = false;
        for (std::size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
            Vec a = points[j], b = points[i];
            nearest = std::min(nearest, SegmentDistance(p, a, b));
            if ((b.y > p.y) != (a.y > p.y) && p.x < (a.x - b.x) * (p.y - b.y) / (a.y - b.y) + b.x) inside = !inside;
        }
        return inside ? -nearest : nearest;
    };
}

Sdf Union(Sdf a, Sdf b) {
    return [=](Vec p) { return std::min(a(p), b(p)); };
}

Sdf Intersect(Sdf a, Sdf b) {
    return [=](Vec p) { return std::max(a(p), b(p)); };
}

Sdf Subtract(Sdf a, Sdf b) {
    return [=](Vec p) { return std::max(a(p), -b(p)); };
}

Sdf Grow(Sdf shape, float amount) {
    return [=](Vec p) { return shape(p) - amount; };
}

}  // namespace Shape

Canvas::Canvas(int width, int height)
    : m_width(width), m_height(height), m_pixels(static_cast<std::size_t>(width) * height, Colour{0, 0, 0, 0}) {}

void Canvas::SetView(float originX, float originY, float scale) {
    m_originX = originX;
    m_originY = originY;
    m_scale = scale;
}

void Canvas::SetViewBox(float left, float top, float size, float units) { SetView(left, top, size / units); }

void Canvas::Paint(const Shader& shader) {
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x)
            m_pixels[static_cast<std::size_t>(y) * m_width + x] =
                shader({(x + 0.5f - m_originX) / m_scale, (y + 0.5f - m_originY) / m_scale});
}

void Canvas::Draw(const Sdf& shape, Colour colour) {
    Cover(shape, [colour](Vec) { return colour; });
}

void Canvas::Draw(const Sdf& shape, const Shader& shader) { Cover(shape, shader); }

void Canvas::DrawOutlined(const Sdf& shape, Colour fill, Colour outline, float width) {
    Draw(Shape::Grow(shape, width), outline);
    Draw(shape, fill);
}

void Canvas::SetRect(int left, int top, int right, int bottom, Colour colour) {
    for (int y = std::max(top, 0); y < std::min(bottom, m_height); ++y)
        for (int x = std::max(left, 0); x < std::min(right, m_width); ++x)
            m_pixels[static_cast<std::size_t>(y) * m_width + x] = colour;
}

void Canvas::DrawMask(const std::vector<std::uint8_t>& mask, int maskWidth, int x, int y, Colour colour) {
    int rows = maskWidth > 0 ? static_cast<int>(mask.size()) / maskWidth : 0;
    for (int my = 0; my < rows; ++my)
        for (int mx = 0; mx < maskWidth; ++mx) {
            int px = x + mx, py = y + my;
            std::uint8_t value = mask[static_cast<std::size_t>(my) * maskWidth + mx];
            if (px < 0 || py < 0 || px >= m_width || py >= m_height || value == 0) continue;
            Blend(m_pixels[static_cast<std::size_t>(py) * m_width + px], colour, value / 255.0f);
        }
}

void Canvas::Grain(float amount, std::uint32_t seed) {
    for (std::size_t i = 0; i < m_pixels.size(); ++i) {
        std::uint32_t h = static_cast<std::uint32_t>(i) * 2654435761u ^ seed * 40503u;
        h ^= h >> 15;
        h *= 2246822519u;
        h ^= h >> 13;
        float factor = 1.0f + amount * (static_cast<float>(h & 0xFFFF) / 32767.5f - 1.0f);
        Colour& c = m_pixels[i];
        c.r = Clamp01(c.r * factor);
        c.g = Clamp01(c.g * factor);
        c.b = Clamp01(c.b * factor);
    }
}

void Canvas::Cover(const Sdf& shape, const std::function<Colour(Vec)>& shader) {
    const float reach = kTile * 0.7072f + 1.0f;
    for (int ty = 0; ty < m_height; ty += kTile)
        for (int tx = 0; tx < m_width; tx += kTile) {
            Vec centre{(tx + kTile / 2.0f - m_originX) / m_scale, (ty + kTile / 2.0f - m_originY) / m_scale};
            float tileDistance = shape(centre) * m_scale;
            if (tileDistance > reach) continue;
            bool whole = tileDistance < -reach;
            for (int y = ty; y < std::min(ty + kTile, m_height); ++y)
                for (int x = tx; x < std::min(tx + kTile, m_width); ++x) {
                    Vec p{(x + 0.5f - m_originX) / m_scale, (y + 0.5f - m_originY) / m_scale};
                    float coverage = whole ? 1.0f : Clamp01(0.5f - shape(p) * m_scale);
                    if (coverage > 0) Blend(m_pixels[static_cast<std::size_t>(y) * m_width + x], shader(p), coverage);
                }
        }
}

void Canvas::Blend(Colour& under, Colour over, float coverage) {
    float a = over.a * coverage;
    float outA = a + under.a * (1 - a);
    if (outA <= 0) {
        under = {0, 0, 0, 0};
        return;
    }
    auto channel = [&](float o, float u) { return (o * a + u * under.a * (1 - a)) / outA; };
    under = {channel(over.r, under.r), channel(over.g, under.g), channel(over.b, under.b), outA};
}

std::vector<std::uint8_t> Canvas::ToRgba() const {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(m_pixels.size() * 4);
    auto byte = [](float v) { return static_cast<std::uint8_t>(std::lround(Clamp01(v) * 255.0f)); };
    for (const Colour& c : m_pixels) {
        bytes.push_back(byte(c.r));
        bytes.push_back(byte(c.g));
        bytes.push_back(byte(c.b));
        bytes.push_back(byte(c.a));
    }
    return bytes;
}

}  // namespace QuillmereTools
