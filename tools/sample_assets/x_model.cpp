#include "sample_assets/x_model.h"

#include <cmath>
#include <cstdio>
#include <numbers>
#include <stdexcept>

namespace QuillmereTools {
namespace {

V3 Sub(V3 a, V3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
V3 Cross(V3 a, V3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
V3 Normalise(V3 v) {
    const float length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    return length > 0 ? V3{v.x / length, v.y / length, v.z / length} : V3{0, 1, 0};
}

std::string Number(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.4f", static_cast<double>(value));
    return text;
}

std::string Channels(std::uint32_t rgb) {
    return Number(static_cast<float>(rgb >> 16 & 0xFF) / 255.0f) + ";" +
           Number(static_cast<float>(rgb >> 8 & 0xFF) / 255.0f) + ";" + Number(static_cast<float>(rgb & 0xFF) / 255.0f);
}

// Items of a list joined by ",\n" and closed with ";".
std::string List(const std::vector<std::string>& items) {
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i) text += "  " + items[i] + (i + 1 < items.size() ? ",\n" : ";\n");
    return text;
}

}  // namespace

int XModel::AddPart(const std::string& name, std::uint32_t rgb, const std::string& texture, float alpha,
                    std::uint32_t emissiveRgb) {
    m_materials.push_back({name, rgb, alpha, emissiveRgb, texture});
    return static_cast<int>(m_materials.size()) - 1;
}

void XModel::AddFace(int part, const std::vector<V3>& corners, const std::vector<UV>& uvs) {
    if (corners.size() < 3 || corners.size() != uvs.size()) throw std::logic_error("a face needs 3 or more corners");
    m_faces.push_back({part, corners, uvs, Normalise(Cross(Sub(corners[1], corners[0]), Sub(corners[2], corners[0])))});
}

void XModel::AddQuad(int part, V3 a, V3 b, V3 c, V3 d) {
    // a is the top-left corner seen from outside, then counter-clockwise: bottom-left,
    // bottom-right, top-right.
    AddFace(part, {a, b, c, d}, {{0, 0}, {0, 1}, {1, 1}, {1, 0}});
}

void XModel::AddBox(int part, V3 l, V3 h) {
    AddQuad(part, {l.x, h.y, h.z}, {l.x, l.y, h.z}, {h.x, l.y, h.z}, {h.x, h.y, h.z});  // +z
    AddQuad(part, {h.x, h.y, l.z}, {h.x, l.y, l.z}, {l.x, l.y, l.z}, {l.x, h.y, l.z});  // -z
    AddQuad(part, {h.x, h.y, h.z}, {h.x, l.y, h.z}, {h.x, l.y, l.z}, {h.x, h.y, l.z});  // +x
    AddQuad(part, {l.x, h.y, l.z}, {l.x, l.y, l.z}, {l.x, l.y, h.z}, {l.x, h.y, h.z});  // -x
    AddQuad(part, {l.x, h.y, l.z}, {l.x, h.y, h.z}, {h.x, h.y, h.z}, {h.x, h.y, l.z});  // +y
    AddQuad(part, {l.x, l.y, h.z}, {l.x, l.y, l.z}, {h.x, l.y, l.z}, {h.x, l.y, h.z});  // -y
}

void XModel::AddPrism(int part, V3 base, float bottom, float top, float height, int sides) {
    const auto at = [&](int k, float radius, float y) {
        const float angle = 2.0f * std::numbers::pi_v<float> * static_cast<float>(k) / static_cast<float>(sides);
        return V3{base.x + radius * std::cos(angle), base.y + y, base.z - radius * std::sin(angle)};
    };
    for (int k = 0; k < sides; ++k) {
        const float u0 = static_cast<float>(k) / static_cast<float>(sides);
        const float u1 = static_cast<float>(k + 1) / static_cast<float>(sides);
        // Seen from outside, corner k + 1 lies to the right of corner k.
        if (top > 0)
            AddFace(part, {at(k, top, height), at(k, bottom, 0), at(k + 1, bottom, 0), at(k + 1, top, height)},
                    {{u0, 0}, {u0, 1}, {u1, 1}, {u1, 0}});
        else
            AddFace(part, {at(k, bottom, 0), at(k + 1, bottom, 0), {base.x, base.y + height, base.z}},
                    {{u0, 1}, {u1, 1}, {(u0 + u1) / 2, 0}});
    }
    std::vector<V3> cap;
    std::vector<UV> uvs;
    const auto circle = [&](float radius, float y, bool upward) {
        cap.clear();
        uvs.clear();
        for (int i = 0; i < sides; ++i) {
            const int k = upward ? i : sides - i;
            const float angle = 2.0f * std::numbers::pi_v<float> * static_cast<float>(k) / static_cast<float>(sides);
            cap.push_back(at(k, radius, y));
            uvs.push_back({0.5f + 0.5f * std::cos(angle), 0.5f + 0.5f * std::sin(angle)});
        }
        AddFace(part, cap, uvs);
    };
    if (top > 0) circle(top, height, true);
    if (bottom > 0) circle(bottom, 0, false);
}

std::string XModel::ToText() const {
    std::string text = "xof 0303txt 0032\n# Made by sample_assets for the Reedwater sample module.\n\n";
    for (const Material& m : m_materials) {
        text += "Material " + m.name + " {\n  " + Channels(m.rgb) + ";" + Number(m.alpha) + ";;\n  0.0;\n  0.0;0.0;0.0;;\n  " +
                Channels(m.emissive) + ";;\n";
        if (!m.texture.empty()) text += "  TextureFilename { \"" + m.texture + "\"; }\n";
        text += "}\n";
    }
    std::vector<std::string> positions, normals, uvs, faces, faceNormals, faceMaterials;
    int next = 0;
    for (std::size_t f = 0; f < m_faces.size(); ++f) {
        const Face& face = m_faces[f];
        std::string corners = std::to_string(face.corners.size()) + ";";
        std::string normalCorners = corners;
        for (std::size_t c = 0; c < face.corners.size(); ++c) {
            const V3& p = face.corners[c];
            positions.push_back(Number(p.x) + ";" + Number(p.y) + ";" + Number(p.z) + ";");
            uvs.push_back(Number(face.uvs[c].u) + ";" + Number(face.uvs[c].v) + ";");
            corners += (c ? "," : "") + std::to_string(next++);
            normalCorners += (c ? "," : "") + std::to_string(f);
        }
        faces.push_back(corners + ";");
        faceNormals.push_back(normalCorners + ";");
        normals.push_back(Number(face.normal.x) + ";" + Number(face.normal.y) + ";" + Number(face.normal.z) + ";");
        faceMaterials.push_back(std::to_string(face.part));
    }
    text += "\nMesh Model {\n  " + std::to_string(positions.size()) + ";\n" + List(positions) + "  " +
            std::to_string(faces.size()) + ";\n" + List(faces);
    text += "  MeshMaterialList {\n  " + std::to_string(m_materials.size()) + ";\n  " +
            std::to_string(faceMaterials.size()) + ";\n" + List(faceMaterials);
    for (const Material& m : m_materials) text += "  { " + m.name + " }\n";
    text += "  }\n  MeshNormals {\n  " + std::to_string(normals.size()) + ";\n" + List(normals) + "  " +
            std::to_string(faceNormals.size()) + ";\n" + List(faceNormals) + "  }\n";
    text += "  MeshTextureCoords {\n  " + std::to_string(uvs.size()) + ";\n" + List(uvs) + "  }\n}\n";
    return text;
}

}  // namespace QuillmereTools
