#pragma once
// The poses of a figure: named positions that place some of its pieces, and
// animations that play a list of positions over time. A pose multiplies one piece's
// transform onto the top of the caller's matrix stack.

#include <array>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/data_file_reader.h"
#include "graphics/quaternion.h"
#include "platform/d3d9/d3d9_types.h"

namespace DRAVGraph {

// Row-vector matrices; the top is the last element.
using MatrixStack = std::deque<D3DMATRIX>;
using Vector3 = std::array<float, 3>;

class CPose {
public:
    virtual ~CPose() = default;
    // False, with the stack untouched, when the pose does not place the piece;
    // `scale` (or none) multiplies the offset component-wise.
    virtual bool GetNodeTransform(const std::string& piece, MatrixStack& stack, const Vector3* scale,
                                  double time) const = 0;
};

class CPositionNode {
public:
    // A piece name, an offset group or "0", then a rotation group x y z w or "0", or a
    // "<rot>" block of axis-angle groups (degrees) applied in the order written.
    explicit CPositionNode(DRAVCommon::CDataFileReader& reader);
    // A node placing the piece where its parent is.
    explicit CPositionNode(std::string name) : m_name(std::move(name)) {}

    // top := top x rotation, then top := top x translation(offset x scale).
    void Apply(MatrixStack& stack, const Vector3* scale) const;

    const std::string& GetName() const { return m_name; }
    const Vector3* GetOffset() const { return m_hasOffset ? &m_offset : nullptr; }
    const Quaternion* GetRotation() const { return m_hasRotation ? &m_rotation : nullptr; }

private:
    std::string m_name;
    bool m_hasOffset = false;
    Vector3 m_offset{};
    bool m_hasRotation = false;
    Quaternion m_rotation;
};

// Multiplies top x translation(offset), the offset scaled component-wise when a scale is given.
void ApplyOffset(MatrixStack& stack, const Vector3& offset, const Vector3* scale);

class CPosition : public CPose {
public:
    // Reads one "<position>" block.
    explicit CPosition(DRAVCommon::CDataFileReader& reader);
    // A position holding the one piece "anchor", neither moved nor turned.
    explicit CPosition(std::string id);

    bool GetNodeTransform(const std::string& piece, MatrixStack& stack, const Vector3* scale,
                          double time) const override;

    // Null when the node has none; a piece the position lacks is code 5.
    const Vector3* GetNodeOffset(const std::string& piece) const;
    const Quaternion* GetNodeRotation(const std::string& piece) const;
    bool HasNode(const std::string& piece) const { return m_nodes.count(piece) != 0; }

    const std::string& GetId() const { return m_id; }

private:
    const CPositionNode& Node(const std::string& piece) const;

    std::string m_id;
    std::map<std::string, std::shared_ptr<CPositionNode>> m_nodes;
};

using CPositionMap = std::map<std::string, std::shared_ptr<CPosition>>;

class CAnimation : public CPose {
public:
    // Reads the body of an "<animation>" block: its name, then pairs of a key time and
    // a position of `positions`. An unknown position, or key times that do not rise
    // from exactly 0 to exactly 1, is code 1.
    CAnimation(DRAVCommon::CDataFileReader& reader, const CPositionMap& positions);

    // Interpolates the two keys around fmod(time / length, 1).
    bool GetNodeTransform(const std::string& piece, MatrixStack& stack, const Vector3* scale,
                          double time) const override;

    const std::string& GetName() const { return m_name; }
    double GetLength() const { return m_length; }
    // A length that is not above zero is code 1 naming the animation.
    void SetLength(double length);

private:
    std::string m_name;
    double m_length = 1.0;
    std::vector<double> m_times;
    std::vector<std::shared_ptr<CPosition>> m_positions;
};

using CAnimationMap = std::map<std::string, std::shared_ptr<CAnimation>>;

}  // namespace DRAVGraph
