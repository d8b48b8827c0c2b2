// Ground markers: the shapes of rings, hatching, arrows, crosses and lines, and the
// one draw that puts them over the ground.

#include <gtest/gtest.h>

#include <cmath>

#include "graphics/adornment_draw.h"
#include "platform/d3d9/recording_device.h"
#include "support/expect_drav.h"

namespace {

using namespace DRAVGraph;
using D3D9Layer::CRecordingDevice;

constexpr D3DCOLOR kGreen = 0xFF00FF00u;

class AdornmentTest : public ::testing::Test {
protected:
    AdornmentTest() { m_device->BeginScene(); }

    // The hatch and edge lines of a batch as (from x, from z, to x, to z): a ground
    // line's second and third vertices are its start, its first and fourth its end.
    std::vector<std::array<float, 4>> Lines() const {
        std::vector<std::array<float, 4>> lines;
        const auto& v = m_batch.GetVertices();
        for (std::size_t i = 0; i + 5 < v.size(); i += 6)
            lines.push_back({(v[i + 1].x + v[i + 2].x) / 2, (v[i + 1].z + v[i + 2].z) / 2, (v[i].x + v[i + 3].x) / 2,
                             (v[i].z + v[i + 3].z) / 2});
        return lines;
    }

    D3DPtr<CRecordingDevice> m_device = CRecordingDevice::Create(640, 480);
    DRAVCommon::CXPDevice m_wrapper{m_device.get()};
    CAdornmentDraw m_batch;
};

TEST_F(AdornmentTest, RingIsAClosedBandAndAnEmphasisedRingTwo) {
    m_batch.AddRing(0, 0, 1, kGreen, false);
    const auto& v = m_batch.GetVertices();
    ASSERT_EQ(v.size(), 32u);
    EXPECT_EQ(m_batch.GetIndices().size(), 96u);
    EXPECT_FLOAT_EQ(v[0].z, 1);
    EXPECT_FLOAT_EQ(v[1].z, 1.15f);
    EXPECT_NEAR(v[8].x, 1, 1e-6);  // the fifth segment's inner vertex
    EXPECT_NEAR(v[8].z, 0, 1e-6);
    for (const auto& vertex : v) {
        EXPECT_EQ(vertex.y, 0.1f);
        EXPECT_EQ(vertex.diffuse, kGreen);
    }
    // The last segment joins back to the first pair.
    const auto& i = m_batch.GetIndices();
    EXPECT_EQ(std::vector<std::uint16_t>(i.end() - 6, i.end()), (std::vector<std::uint16_t>{30, 31, 0, 31, 1, 0}));

    m_batch.AddRing(5, 5, 2, kGreen, true);
    ASSERT_EQ(v.size(), 96u);
    EXPECT_EQ(i.size(), 96u + 192u);
    EXPECT_EQ(i[96 + 96], 32 + 32);  // the second band's indices start 32 further on
    EXPECT_FLOAT_EQ(v[64].z, 5 + 2.3f);
}

TEST_F(AdornmentTest, HatchedSquareHasFourEdgesAndThreeDiagonals) {
    m_batch.AddHatchedRect(0, 2.5f, 0, 2.5f, kGreen);
    const std::vector<std::array<float, 4>> expected = {
        {-2.5f, -2.5f, 2.5f, -2.5f}, {2.5f, -2.5f, 2.5f, 2.5f}, {2.5f, 2.5f, -2.5f, 2.5f}, {-2.5f, 2.5f, -2.5f, -2.5f},
        {0, 2.5f, -2.5f, 0},         {2.5f, 2.5f, -2.5f, -2.5f}, {2.5f, 0, 0, -2.5f}};
    auto lines = Lines();
    ASSERT_EQ(lines.size(), expected.size());
    for (std::size_t n = 0; n < lines.size(); ++n)
        for (int k = 0; k < 4; ++k) EXPECT_NEAR(lines[n][k], expected[n][k], 1e-5) << n << "," << k;
}

TEST_F(AdornmentTest, HatchedRectangleHalfAsDeepHasTwoDiagonals) {
    m_batch.AddHatchedRect(0, 2.5f, 0, 1.25f, kGreen);
    auto lines = Lines();
    ASSERT_EQ(lines.size(), 6u);
    const std::array<float, 4> first = {0, 1.25f, -2.5f, -1.25f}, second = {2.5f, 1.25f, 0, -1.25f};
    for (int k = 0; k < 4; ++k) {
        EXPECT_NEAR(lines[4][k], first[k], 1e-5);
        EXPECT_NEAR(lines[5][k], second[k], 1e-5);
    }
}

TEST_F(AdornmentTest, ArrowHasAShaftAndAHeadAtItsTarget) {
    m_batch.AddArrow(0, 0, 10, 0, kGreen);
    const auto& v = m_batch.GetVertices();
    ASSERT_EQ(v.size(), 9u);
    EXPECT_EQ(m_batch.GetIndices(), (std::vector<std::uint16_t>{0, 1, 2, 3, 4, 5, 6, 7, 8}));
    for (int n = 0; n < 6; ++n) EXPECT_FLOAT_EQ(std::fabs(v[n].z), 0.1f);
    EXPECT_FLOAT_EQ(v[6].x, 10);
    EXPECT_FLOAT_EQ(v[6].z, 0);
    EXPECT_FLOAT_EQ(v[7].x, 7.5f);
    EXPECT_FLOAT_EQ(v[7].z, -0.625f);
    EXPECT_FLOAT_EQ(v[8].x, 7.5f);
    EXPECT_FLOAT_EQ(v[8].z, 0.625f);
}

TEST_F(AdornmentTest, GroundLineIsPointTwoWide) {
    m_batch.AddGroundLine({0, 0, 0}, {10, 0, 0}, kGreen);
    const auto& v = m_batch.GetVertices();
    ASSERT_EQ(v.size(), 6u);
    const float corners[4][2] = {{10, -0.1f}, {0, -0.1f}, {0, 0.1f}, {10, 0.1f}};
    for (int n = 0; n < 4; ++n) {
        EXPECT_FLOAT_EQ(v[n].x, corners[n][0]);
        EXPECT_FLOAT_EQ(v[n].z, corners[n][1]);
    }
}

TEST_F(AdornmentTest, CrossHasFourSpikesFromItsCentre) {
    m_batch.AddCross(1, 2, kGreen);
    const auto& v = m_batch.GetVertices();
    ASSERT_EQ(v.size(), 12u);
    for (int spike = 0; spike < 4; ++spike) {
        EXPECT_EQ(v[3 * spike].x, 1);
        EXPECT_EQ(v[3 * spike].z, 2);
        // The base's midpoint is a corner of the square of half-size 1.581.
        EXPECT_NEAR(std::fabs((v[3 * spike + 1].x + v[3 * spike + 2].x) / 2 - 1), 1.581f, 1e-5);
        EXPECT_NEAR(std::fabs((v[3 * spike + 1].z + v[3 * spike + 2].z) / 2 - 2), 1.581f, 1e-5);
    }
}

TEST_F(AdornmentTest, ZeroLengthArrowsAndLinesAddNothing) {
    m_batch.AddArrow(3, 4, 3, 4, kGreen);
    m_batch.AddGroundLine({1, 0, 1}, {1, 0, 1}, kGreen);
    m_batch.AddHatchedRect(0, 0, 0, 0, kGreen);
    EXPECT_TRUE(m_batch.GetVertices().empty());
    EXPECT_TRUE(m_batch.GetIndices().empty());
}

TEST_F(AdornmentTest, FlushDrawsOnceUnlitOverAnyDepthAndEmptiesTheBatch) {
    m_batch.AddRing(0, 0, 1, kGreen, false);
    m_batch.AddCross(4, 4, kGreen);
    m_device->ClearRecord();
    m_batch.Flush(&m_wrapper);
    ASSERT_EQ(m_device->Draws().size(), 1u);
    const auto& draw = m_device->Draws()[0];
    EXPECT_EQ(draw.vertexCount, 44u);
    EXPECT_EQ(draw.primitiveCount, 36u);
    EXPECT_EQ(draw.fvf, COLOURED_VERTEX_FVF);
    EXPECT_EQ(draw.textureSerial, 0u);
    EXPECT_EQ(draw.renderStates.at(D3DRS_LIGHTING), 0u);
    EXPECT_EQ(draw.renderStates.at(D3DRS_ZFUNC), static_cast<DWORD>(D3DCMP_ALWAYS));
    EXPECT_EQ(draw.renderStates.at(D3DRS_ALPHABLENDENABLE), 0u);
    EXPECT_EQ(m_device->RenderState(D3DRS_LIGHTING), 1u);
    EXPECT_EQ(m_device->RenderState(D3DRS_ZFUNC), static_cast<DWORD>(D3DCMP_LESSEQUAL));
    EXPECT_TRUE(m_batch.GetVertices().empty());

    m_device->ClearRecord();
    m_batch.Flush(&m_wrapper);
    EXPECT_TRUE(m_device->Draws().empty());
    EXPECT_TRUE(m_device->Calls().empty());
}

TEST_F(AdornmentTest, FailedDrawKeepsTheBatchAndRestoresTheStates) {
    m_batch.AddCross(0, 0, kGreen);
    m_device->FailCall("DrawIndexedPrimitive", D3DERR_INVALIDCALL);
    EXPECT_DRAV_CODE(m_batch.Flush(&m_wrapper), DRAV_ERR_DEVICE);
    EXPECT_EQ(m_batch.GetVertices().size(), 12u);
    EXPECT_EQ(m_device->RenderState(D3DRS_LIGHTING), 1u);
    EXPECT_EQ(m_device->RenderState(D3DRS_ZFUNC), static_cast<DWORD>(D3DCMP_LESSEQUAL));
}

}  // namespace
