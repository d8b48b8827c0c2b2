#include <gtest/gtest.h>

#include "common/effect_params.h"
#include "common/graphic_colors.h"
#include "common/rect_scale.h"
#include "support/expect_drav.h"
#include "support/sample_module.h"
#include "support/temp_dir.h"

using DRAVCommon::CDataFileReader;
using DRAVGraph::CGraphicColors;

namespace {

CDataFileReader Reader(const std::string& text) {
    return CDataFileReader(QuillmereTest::TextStream(text), "colors.drav");
}

}  // namespace

TEST(GraphicColors, IndexFromName) {
    EXPECT_EQ(CGraphicColors::IndexFromName("HAIR"), CGraphicColors::HAIR);
    EXPECT_EQ(CGraphicColors::IndexFromName("SKIN"), CGraphicColors::SKIN);
    EXPECT_EQ(CGraphicColors::IndexFromName("TRIM"), CGraphicColors::TRIM);
    EXPECT_DRAV_CODE(CGraphicColors::IndexFromName("hair"), 2);
}

TEST(GraphicColors, ReadsOnlyTheListedEntries) {
    CDataFileReader reader = Reader("<color> TRIM (10 20 30) </color>");
    CGraphicColors colors(reader);
    EXPECT_EQ(colors.GetColor(CGraphicColors::HAIR), 0u);
    EXPECT_EQ(colors.GetColor(CGraphicColors::SKIN), 0u);
    EXPECT_EQ(colors.GetColor(CGraphicColors::TRIM), 0x000A141Eu);
    EXPECT_TRUE(reader.AtEnd());
}

TEST(GraphicColors, GreyNumbersAndRepeatedEntries) {
    CDataFileReader reader = Reader("<color> SKIN 200 HAIR ( 1 2 3 ) HAIR 5 </color>");
    CGraphicColors colors(reader);
    EXPECT_EQ(colors.GetColor(CGraphicColors::SKIN), 0x00C8C8C8u);
    EXPECT_EQ(colors.GetColor(CGraphicColors::HAIR), 0x00050505u);  // the last one counts
}

TEST(GraphicColors, UnknownNameIsCode2NamingFileAndToken) {
    CDataFileReader reader = Reader("<color> hair 5 </color>");
    auto caught = QuillmereTest::CatchDrav([&] { CGraphicColors colors(reader); });
    ASSERT_TRUE(caught);
    EXPECT_EQ(caught->GetCode(), 2);
    EXPECT_NE(caught->GetMessage().find("colors.drav"), std::string::npos) << caught->GetMessage();
    EXPECT_NE(caught->GetMessage().find("hair"), std::string::npos) << caught->GetMessage();

    CDataFileReader unclosed = Reader("<color> HAIR 5");
    EXPECT_DRAV_CODE(CGraphicColors colors(unclosed), 1);
}

TEST(GraphicColors, SaveReadsBackEqual) {
    CGraphicColors colors;
    colors.SetColor(CGraphicColors::HAIR, 0x00FF0001u);
    colors.SetColor(CGraphicColors::SKIN, 0x00123456u);
    colors.SetColor(CGraphicColors::TRIM, 0x00FFFFFFu);
    QuillmereTest::TempDir dir;
    std::string path = dir / "colors.drav";
    {
        DRAVCommon::CDataFileWriter writer(path);
        writer.BeginBlock("actor");
        colors.Save(writer);
        writer.EndBlock();
        writer.Finish();
    }
    std::string text = QuillmereTest::ReadTextFile(path);
    EXPECT_NE(text.find("  HAIR\n  (\n  255\n  0\n  1\n  )\n"), std::string::npos) << text;
    CDataFileReader reader(path);
    reader.BeginBlock("actor");
    CGraphicColors back(reader);
    reader.EndBlock();
    EXPECT_EQ(back, colors);
}

TEST(EffectParams, ScaleThenWords) {
    CDataFileReader reader = Reader("<params> 1.5 0 glow </params>");
    DRAVGraph::CEffectParams params(reader);
    EXPECT_DOUBLE_EQ(params.GetScale(), 1.5);
    EXPECT_EQ(params.GetWords(), (std::vector<std::string>{"", "glow"}));

    CDataFileReader bare = Reader("<params> 2 </params>");
    DRAVGraph::CEffectParams noWords(bare);
    EXPECT_TRUE(noWords.GetWords().empty());

    CDataFileReader bad = Reader("<params> big </params>");
    EXPECT_DRAV_CODE(DRAVGraph::CEffectParams p(bad), 1);
}

TEST(RectScale, PercentOfEachCoordinate) {
    RECT rect{10, 20, 110, 220};
    ScaleRectPercent(rect, 50);
    EXPECT_EQ(rect.left, 5);
    EXPECT_EQ(rect.top, 10);
    EXPECT_EQ(rect.right, 55);
    EXPECT_EQ(rect.bottom, 110);

    RECT odd{3, 0, 7, 1};
    ScaleRectPercent(odd, 33);
    EXPECT_EQ(odd.left, 0);  // truncated
    EXPECT_EQ(odd.right, 2);
    EXPECT_EQ(odd.bottom, 0);

    // Left of and above the origin: rounded down, so the size stays that of the
    // same rectangle anywhere else.
    RECT edge{-14, -3, 34, 1};
    ScaleRectPercent(edge, 150);
    EXPECT_EQ(edge.left, -21);
    EXPECT_EQ(edge.top, -5);
    EXPECT_EQ(edge.right, 51);
    EXPECT_EQ(edge.bottom, 1);

    // Far coordinates are held to the range instead of wrapping.
    RECT far{-2000000000, 0, 2000000000, 10};
    ScaleRectPercent(far, 200);
    EXPECT_EQ(far.left, INT32_MIN);
    EXPECT_EQ(far.right, INT32_MAX);
    EXPECT_EQ(ScaleCoordinate(-7, 100, 0), -700);  // no division by zero
}
