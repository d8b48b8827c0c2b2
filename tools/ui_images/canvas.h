#pragma once
// A small RGBA painting surface for the generated interface images: shapes are
// signed-distance functions in a local unit space (an icon's 32 x 32 grid, say),
// mapped onto any box of the canvas, so one pictogram serves a 16-pixel badge, a
// 64-pixel button and a figure inside a help picture alike. Edges are antialiased
// from the distance; everything is plain arithmetic, so the pixels are the same
// on every run.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace QuillmereTools {

struct Vec {
    float x = 0, y = 0;
};

// Straight (not premultiplied) colour, components 0 to 1.
struct Colour {
    float r = 0, g = 0, b = 0, a = 1;
};

// From the ARGB form the palette header uses.
Colour FromArgb(std::uint32_t argb);
Colour WithAlpha(Colour colour, float alpha);
// t = 0 gives a, t = 1 gives b.
Colour Mix(Colour a, Colour b, float t);

// Signed distance in local units: negative inside, positive outside.
using Sdf = std::function<float(Vec)>;
// Colour at a local point, for shapes that are not flat.
using Shader = std::function<Colour(Vec)>;

// Distance functions of the shapes the pictograms are made of.
namespace Shape {
Sdf Circle(Vec centre, float radius);
Sdf Ellipse(Vec centre, float rx, float ry);
Sdf Ring(Vec centre, float radius, float width);
// The part of a ring from angle `from` to `to` (radians, clockwise on screen from +x), round ends.
Sdf Arc(Vec centre, float radius, float width, float from, float to);
Sdf Box(float left, float top, float right, float bottom, float cornerRadius = 0);
// A thick line with round ends.
Sdf Segment(Vec a, Vec b, float width);
// Any simple polygon.
Sdf Polygon(std::vector<Vec> points);
Sdf Union(Sdf a, Sdf b);
Sdf Intersect(Sdf a, Sdf b);
Sdf Subtract(Sdf a, Sdf b);
// Grows (positive) or shrinks the shape by `amount`.
Sdf Grow(Sdf shape, float amount);
}  // namespace Shape

class Canvas {
public:
    Canvas(int width, int height);

    int Width() const { return m_width; }
    int Height() const { return m_height; }

    struct View {
        float originX = 0, originY = 0, scale = 1;
    };

    // Local units: pixel = origin + local * scale.
    void SetView(float originX, float originY, float scale);
    void SetView(View view) { SetView(view.originX, view.originY, view.scale); }
    View GetView() const { return {m_originX, m_originY, m_scale}; }
    // A `units` x `units` grid stretched over the pixel box.
    void SetViewBox(float left, float top, float size, float units);
    void ResetView() { SetView(0, 0, 1); }

    // Every pixel, from a shader in local units (no blending).
    void Paint(const Shader& shader);
    // The shape over what is there, antialiased at its edge.
    void Draw(const Sdf& shape, Colour colour);
    void Draw(const Sdf& shape, const Shader& shader);
    // Shape filled in `fill` with an `outline` of `width` local units around it.
    void DrawOutlined(const Sdf& shape, Colour fill, Colour outline, float width);
    // Pixels of a rectangle set exactly (whole pixels, no blending).
    void SetRect(int left, int top, int right, int bottom, Colour colour);
    // An 8-bit coverage mask (rendered text, say) of `maskWidth` columns laid at
    // pixel (x, y) in `colour`.
    void DrawMask(const std::vector<std::uint8_t>& mask, int maskWidth, int x, int y, Colour colour);
    // Scales brightness by a deterministic grain of +-`amount`, from `seed`.
    void Grain(float amount, std::uint32_t seed);

    Colour At(int x, int y) const { return m_pixels[static_cast<std::size_t>(y) * m_width + x]; }

    // 8-bit RGBA rows, as the image writers take them.
    std::vector<std::uint8_t> ToRgba() const;

private:
    void Cover(const Sdf& shape, const std::function<Colour(Vec)>& shader);
    static void Blend(Colour& under, Colour over, float coverage);

    int m_width, m_height;
    float m_originX = 0, m_originY = 0, m_scale = 1;
    std::vector<Colour> m_pixels;
};

}  // namespace QuillmereTools
