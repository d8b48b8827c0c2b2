#pragma once
// A model built from flat-shaded faces and written as a text DirectX file: one mesh,
// one material per part in the order the parts were made, every face with its own
// normal. Coordinates are the game's model space (right-handed, +y up); faces are
// listed counter-clockwise seen from outside; v = 0 is the top of a texture.

#include <cstdint>
#include <string>
#include <vector>

namespace QuillmereTools {

struct V3 {
    float x = 0, y = 0, z = 0;
};

struct UV {
    float u = 0, v = 0;
};

class XModel {
public:
    // A new part and its material; `texture` names the image the part is meant to take
    // ("" for a plain colour). Returns the part's index.
    int AddPart(const std::string& name, std::uint32_t rgb, const std::string& texture = "", float alpha = 1.0f,
                std::uint32_t emissiveRgb = 0);

    // A polygon of 3 or more corners, counter-clockwise from outside, with its normal from
    // the first three corners.
    void AddFace(int part, const std::vector<V3>& corners, const std::vector<UV>& uvs);
    // Four corners, the image stretched over them (u right, v down from the first corner).
    void AddQuad(int part, V3 a, V3 b, V3 c, V3 d);

    // An axis-aligned box; each side shows the whole image.
    void AddBox(int part, V3 low, V3 high);
    // An upright prism of `sides` around the y axis through `base`, from base.y up
    // `height`, radius `bottom` at the foot and `top` at the head (0 makes a cone); the
    // image wraps once around; caps where the radius is not 0.
    void AddPrism(int part, V3 base, float bottom, float top, float height, int sides);

    std::string ToText() const;

private:
    struct Material {
        std::string name;
        std::uint32_t rgb;
        float alpha;
        std::uint32_t emissive;
        std::string texture;
    };
    struct Face {
        int part;
        std::vector<V3> corners;
        std::vector<UV> uvs;
        V3 normal;
    };
    std::vector<Material> m_materials;
    std::vector<Face> m_faces;
};

}  // namespace QuillmereTools
