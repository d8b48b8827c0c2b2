#pragma once
// The two vertex layouts of the meshes, byte for byte as the vertex buffers hold them.

#include <cstddef>
#include <cstdint>

namespace DRAVGraph {

// Position, normal and one texture coordinate (FVF 0x112).
struct LitVertex {
    float x, y, z;
    float nx, ny, nz;
    float u, v;
};

// Position, an A8R8G8B8 colour and one texture coordinate (FVF 0x142).
struct ColouredVertex {
    float x, y, z;
    std::uint32_t diffuse;
    float u, v;
};

inline constexpr std::uint32_t LIT_VERTEX_FVF = 0x112;
inline constexpr std::uint32_t COLOURED_VERTEX_FVF = 0x142;

// Indices are 16-bit and every part is drawn with base vertex 0, so a mesh can
// address no more vertices than this.
inline constexpr std::size_t MAX_MESH_VERTICES = 65536;

static_assert(sizeof(LitVertex) == 32);
static_assert(offsetof(LitVertex, nx) == 12);
static_assert(offsetof(LitVertex, u) == 24);
static_assert(sizeof(ColouredVertex) == 24);
static_assert(offsetof(ColouredVertex, diffuse) == 12);
static_assert(offsetof(ColouredVertex, u) == 16);

}  // namespace DRAVGraph
