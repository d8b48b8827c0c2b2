#include "graphics/pose.h"

#include <cmath>

#include "common/exception.h"
#include "common/trace.h"
#include "graphics/matrix.h"

namespace DRAVGraph {

namespace {

constexpr float kDegreesToRadians = 0.017453292f;

D3DMATRIX Translation(const Vector3& offset) {
    D3DMATRIX m = Mat4Identity();
    m._41 = offset[0];
    m._42 = offset[1];
    m._43 = offset[2];
    return m;
}

}  // namespace

void ApplyOffset(MatrixStack& stack, const Vector3& offset, const Vector3* scale) {
    Vector3 o = offset;
    if (scale)
        for (int i = 0; i < 3; ++i) o[i] *= (*scale)[i];
    MatrixMultiplyInPlace(stack.back(), Translation(o));
}

CPositionNode::CPositionNode(DRAVCommon::CDataFileReader& reader) {
    m_name = reader.ReadWord();
    DRAV_TRACE(DRAVCommon::TRACE_LOW, "id = %s\n", m_name.c_str());
    if (reader.BeginGroup(3, true)) {
        m_hasOffset = true;
        for (float& value : m_offset) value = static_cast<float>(reader.ReadDouble());
    }
    if (reader.IsBlock("rot")) {
        m_hasRotation = true;
        reader.BeginBlock("rot");
        Quaternion q;
        while (reader.BeginGroup(4, true)) {
            const float ax = static_cast<float>(reader.ReadDouble());
            const float ay = static_cast<float>(reader.ReadDouble());
            const float az = static_cast<float>(reader.ReadDouble());
            const float degrees = static_cast<float>(reader.ReadDouble());
            q = QuaternionMultiply(QuaternionFromAxisAngle(ax, ay, az, degrees * kDegreesToRadians), q);
        }
        reader.EndBlock();
        m_rotation = q;
    } else if (reader.BeginGroup(4, true)) {
        double v[4];
        for (double& value : v) value = reader.ReadDouble();
        const double length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2] + v[3] * v[3]);
        // A zero quaternion turns nothing into a matrix of NaNs; it is no rotation at all.
        if (!(length > 0.0)) reader.Fail(DRAV_ERR_BAD_DATA, "piece \"" + m_name + "\" has a zero rotation");
        m_hasRotation = true;
        m_rotation = {static_cast<float>(v[0] / length), static_cast<float>(v[1] / length),
                      static_cast<float>(v[2] / length), static_cast<float>(v[3] / length)};
    }
}

void CPositionNode::Apply(MatrixStack& stack, const Vector3* scale) const {
    if (m_hasRotation) MatrixMultiplyInPlace(stack.back(), QuaternionToMatrix(m_rotation));
    if (m_hasOffset) ApplyOffset(stack, m_offset, scale);
}

CPosition::CPosition(DRAVCommon::CDataFileReader& reader) {
    reader.BeginBlock("position");
    m_id = reader.ReadWord();
    DRAV_TRACE(DRAVCommon::TRACE_LOW, "id=%s\n", m_id.c_str());
    while (!reader.AtBlockEnd()) {
        auto node = std::make_shared<CPositionNode>(reader);
        m_nodes[node->GetName()] = node;
    }
    reader.EndBlock();
}

CPosition::CPosition(std::string id) : m_id(std::move(id)) {
    m_nodes["anchor"] = std::make_shared<CPositionNode>("anchor");
}

bool CPosition::GetNodeTransform(const std::string& piece, MatrixStack& stack, const Vector3* scale,
                                 double /*time*/) const {
    auto found = m_nodes.find(piece);
    if (found == m_nodes.end()) return false;
    found->second->Apply(stack, scale);
    return true;
}

const CPositionNode& CPosition::Node(const std::string& piece) const {
    auto found = m_nodes.find(piece);
    if (found == m_nodes.end())
        throw CDRAVException(DRAV_ERR_DEVICE, "position \"" + m_id + "\" does not place \"" + piece + "\"");
    return *found->second;
}

const Vector3* CPosition::GetNodeOffset(const std::string& piece) const { return Node(piece).GetOffset(); }

const Quaternion* CPosition::GetNodeRotation(const std::string& piece) const { return Node(piece).GetRotation(); }

CAnimation::CAnimation(DRAVCommon::CDataFileReader& reader, const CPositionMap& positions) {
    m_name = reader.ReadWord();
    while (!reader.AtBlockEnd()) {
        const double time = reader.ReadDouble();
        const std::string id = reader.ReadWord();
        auto found = positions.find(id);
        if (found == positions.end())
            reader.Fail(DRAV_ERR_BAD_DATA, "animation \"" + m_name + "\" names the unknown position \"" + id + "\"");
        // Sampling divides by the gap between neighbouring keys and looks for the key
        // after the phase: key times must climb within 0..1.
        if (!(time >= 0.0 && time <= 1.0) || (!m_times.empty() && time < m_times.back()))
            reader.Fail(DRAV_ERR_BAD_DATA, "animation \"" + m_name + "\" has a key time out of order or outside 0..1");
        m_times.push_back(time);
        m_positions.push_back(found->second);
    }
    if (m_times.empty() || m_times.front() != 0.0 || m_times.back() != 1.0)
        reader.Fail(DRAV_ERR_BAD_DATA, "animation \"" + m_name + "\" must have keys from 0 to 1");
}

void CAnimation::SetLength(double length) {
    if (!(length > 0.0) || !std::isfinite(length))
        throw CDRAVException(DRAV_ERR_BAD_DATA, "animation \"" + m_name + "\" needs a length above zero");
    m_length = length;
}

bool CAnimation::GetNodeTransform(const std::string& piece, MatrixStack& stack, const Vector3* scale,
                                  double time) const {
    double t = std::fmod(time / m_length, 1.0);
    // Times before zero run the cycle backwards rather than off its first key.
    if (t < 0.0) t += 1.0;
    std::size_t i = 1;
    while (i < m_times.size() && !(m_times[i] > t)) ++i;
    // Only a phase that is not a number gets past the last key: show the last.
    if (i == m_times.size()) return m_positions.back()->GetNodeTransform(piece, stack, scale, time);
    const double t0 = m_times[i - 1], t1 = m_times[i];
    const CPosition& a = *m_positions[i - 1];
    const CPosition& b = *m_positions[i];
    if (t0 == t) return a.GetNodeTransform(piece, stack, scale, time);
    if (!a.HasNode(piece) || !b.HasNode(piece)) return false;
    const float f = static_cast<float>((t - t0) / (t1 - t0));

    const Quaternion* qa = a.GetNodeRotation(piece);
    const Quaternion* qb = b.GetNodeRotation(piece);
    if (qa || qb) {
        const Quaternion q = QuaternionSlerp(qa ? *qa : Quaternion{}, qb ? *qb : Quaternion{}, f, 0.0001f);
        MatrixMultiplyInPlace(stack.back(), QuaternionToMatrix(q));
    }
    const Vector3* oa = a.GetNodeOffset(piece);
    const Vector3* ob = b.GetNodeOffset(piece);
    if (oa || ob) {
        const Vector3 zero{};
        const Vector3& va = oa ? *oa : zero;
        const Vector3& vb = ob ? *ob : zero;
        ApplyOffset(stack, {va[0] * (1 - f) + vb[0] * f, va[1] * (1 - f) + vb[1] * f, va[2] * (1 - f) + vb[2] * f},
                    scale);
    }
    return true;
}

}  // namespace DRAVGraph
