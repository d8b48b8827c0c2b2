#pragma once
// What the auto-tile builders share: reading and checking the numbers, the atlas tile,
// appending quads and triangles, and closing parts.

#include <array>
#include <cstddef>

#include "graphics/autotile/auto_tile.h"

namespace DRAVGraph::AutoTile {

inline constexpr float HALF_CELL = 1.25f;    // a map cell is 2.5 units square
inline constexpr float WALL_HEIGHT = 10.0f;  // a full wall; upright images span it once

// Code 1 unless the count of numbers is within [least, most].
void RequireCount(const CSubModelInfo& info, std::size_t least, std::size_t most);
inline constexpr std::size_t ANY_COUNT = static_cast<std::size_t>(-1);

// Number i, converted to single precision before any arithmetic.
float Number(const CSubModelInfo& info, std::size_t i);

// One column (or row) of a texture atlas: [index / count, index / count + 1 / count].
struct AtlasSpan {
    float low;
    float high;
};
// A zero count is code 1: it would spread non-finite coordinates over the mesh.
AtlasSpan Atlas(float count, float index);

struct Corner {
    float x, y, z;
    float u, v;
};
struct Normal {
    float x, y, z;
};

// The two ways a quad's corners 0 to 3 are split into triangles.
enum class QuadOrder {
    Floor,  // (0, 2, 1), (0, 3, 2)
    Wall,   // (0, 1, 2), (0, 2, 3)
};

// Appends four vertices sharing one normal and the quad's two triangles.
void AddQuad(AutoTileGeometry& geometry, QuadOrder order, Normal normal,
             const std::array<Corner, 4>& corners);
// The two triangles of the last four vertices appended.
void AddQuadIndices(AutoTileGeometry& geometry, QuadOrder order);
// Appends three vertices sharing one normal and their triangle, in the order given.
void AddTriangle(AutoTileGeometry& geometry, Normal normal, const std::array<Corner, 3>& corners);

// A level quad facing up, x in [-halfX, halfX] and z in [-halfZ, halfZ], the atlas tile
// (u, v) upright seen from above with -z at the top; floor order.
void AddGroundQuad(AutoTileGeometry& geometry, float halfX, float halfZ, float y, AtlasSpan u,
                   AtlasSpan v);
// The lid of an upright mesh at height y, the whole image once; wall order.
void AddCapQuad(AutoTileGeometry& geometry, float halfX, float halfZ, float y);

enum class PartKind {
    Textured,  // white, drawn with the sub-model's texture entry
    BlackCap,  // opaque black, no texture
};
// Makes a part of every vertex and triangle appended since the previous part.
void ClosePart(AutoTileGeometry& geometry, PartKind kind);

}  // namespace DRAVGraph::AutoTile
