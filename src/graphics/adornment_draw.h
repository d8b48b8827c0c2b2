#pragma once
// The flat coloured markers drawn on the ground each frame: selection and hover
// rings, hatched rectangles under trapped objects, and the arrows and crosses of
// queued orders. Everything added goes into one vertex and one index list just
// above the ground and is drawn by Flush in one call, over the ground whatever
// its depth.

#include <cstdint>
#include <vector>

#include "graphics/mesh_vertex.h"
#include "graphics/xp_device.h"
#include "platform/d3d9/d3d9_types.h"

namespace DRAVGraph {

class CAdornmentDraw {
public:
    CAdornmentDraw();
    ~CAdornmentDraw();

    // One band around (x, z) from radius to radius + 0.15; emphasised, a second
    // band 0.15 outside it.
    void AddRing(float x, float z, float radius, const D3DCOLOR& colour, bool emphasised);
    // The outline of the rectangle centred on (x, z), hatched at 45 degrees.
    void AddHatchedRect(float x, float halfWidth, float z, float halfDepth, const D3DCOLOR& colour);
    // A 0.2 wide shaft with a head at the second point. From a point to itself
    // there is no direction: nothing is added.
    void AddArrow(float fromX, float fromZ, float toX, float toZ, const D3DCOLOR& colour);
    // An X of four spikes centred on (x, z).
    void AddCross(float x, float z, const D3DCOLOR& colour);
    // A 0.2 wide line between two ground points; nothing for a line of no length.
    void AddGroundLine(const D3DVECTOR& from, const D3DVECTOR& to, const D3DCOLOR& colour);

    // Draws the batch unlit and untextured, passing the depth test everywhere,
    // and empties it; an empty batch draws nothing and changes no state. A failed
    // world transform or mesh keeps the batch.
    void Flush(DRAVCommon::CXPDevice* device);

    const std::vector<ColouredVertex>& GetVertices() const { return m_vertices; }
    const std::vector<std::uint16_t>& GetIndices() const { return m_indices; }

private:
    void AddVertex(float x, float z, D3DCOLOR colour);
    // Indices b .. b + count - 1 for the `count` vertices just added.
    void AddSequentialIndices(std::size_t count);

    std::vector<ColouredVertex> m_vertices;
    std::vector<std::uint16_t> m_indices;
};

}  // namespace DRAVGraph
