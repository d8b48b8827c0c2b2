// Figure poses: positions read from text, animations sampled between keys, and the
// finder's variants and fallbacks; malformed animations refused when read.

#include <gtest/gtest.h>

#include <cmath>

#include "common/data_file_reader.h"
#include "graphics/animation_finder.h"
#include "graphics/matrix.h"
#include "support/expect_drav.h"
#include "support/sample_module.h"

namespace {

using namespace DRAVGraph;

DRAVCommon::CDataFileReader Reader(const std::string& text) {
    return DRAVCommon::CDataFileReader(QuillmereTest::TextStream(text), "pose test");
}

// A finder over position blocks, then animation bodies, as a figure file orders them.
CAnimationFinder Finder(const std::string& positions, const std::vector<std::string>& animations) {
    CAnimationFinder finder;
    auto reader = Reader(positions);
    while (reader.IsBlock("position")) {
        auto position = std::make_shared<CPosition>(reader);
        (*finder.GetPositions())[position->GetId()] = position;
    }
    for (const std::string& body : animations) {
        auto animationReader = Reader("<animation> " + body + " </animation>");
        animationReader.BeginBlock("animation");
        auto animation = std::make_shared<CAnimation>(animationReader, *finder.GetPositions());
        (*finder.GetAnimations())[animation->GetName()] = animation;
    }
    finder.GroupAnimations();
    return finder;
}

D3DMATRIX Place(const CPose& pose, const std::string& piece, double time, const Vector3* scale = nullptr) {
    MatrixStack stack{Mat4Identity()};
    EXPECT_TRUE(pose.GetNodeTransform(piece, stack, scale, time));
    return stack.back();
}

void ExpectRotationY(const D3DMATRIX& m, float degrees) {
    const float r = degrees * 0.017453292f;
    // A row vector (1, 0, 0) turned about +y by r ends at (cos r, 0, -sin r).
    EXPECT_NEAR(m._11, std::cos(r), 1e-5f);
    EXPECT_NEAR(m._13, -std::sin(r), 1e-5f);
    EXPECT_NEAR(m._22, 1.0f, 1e-5f);
}

const char* const kPositions = R"(
<position> turned arm ( 2 0 0 ) <rot> ( 0 1 0 90 ) </rot> </position>
<position> straight arm ( 0 4 0 ) 0 </position>
<position> cast_pose arm 0 ( 0 0 0 2 ) </position>
)";

TEST(PoseTest, NodesReadOffsetsAndBothRotationForms) {
    CAnimationFinder finder = Finder(kPositions, {});
    const CPosition& turned = *finder.GetPositions()->at("turned");
    const Quaternion* q = turned.GetNodeRotation("arm");
    ASSERT_NE(q, nullptr);
    EXPECT_NEAR(q->y, std::sin(0.7853982f), 1e-6f);
    EXPECT_NEAR(q->w, std::cos(0.7853982f), 1e-6f);
    // A group of four is normalised; "0" is no offset.
    const CPosition& cast = *finder.GetPositions()->at("cast_pose");
    EXPECT_EQ(cast.GetNodeOffset("arm"), nullptr);
    EXPECT_FLOAT_EQ(cast.GetNodeRotation("arm")->w, 1.0f);
    EXPECT_DRAV_CODE(cast.GetNodeOffset("leg"), DRAV_ERR_DEVICE);

    // Rotation first, then the offset scaled by the parent's scale.
    const Vector3 scale{0.5f, 1.0f, 1.0f};
    const D3DMATRIX m = Place(turned, "arm", 0.0, &scale);
    ExpectRotationY(m, 90.0f);
    EXPECT_FLOAT_EQ(m._41, 1.0f);
    MatrixStack stack{Mat4Identity()};
    EXPECT_FALSE(turned.GetNodeTransform("leg", stack, nullptr, 0.0));
    EXPECT_FLOAT_EQ(stack.back()._11, 1.0f);
}

TEST(PoseTest, AnimationInterpolatesBetweenKeysAndWraps) {
    CAnimationFinder finder = Finder(kPositions, {"swing 0 turned 1.0 straight"});
    const CPose& swing = *finder.Find("swing", 0);
    // Half-way: 90 degrees to none is 45, and the offset is half of each.
    const D3DMATRIX half = Place(swing, "arm", 0.5);
    ExpectRotationY(half, 45.0f);
    EXPECT_NEAR(half._41, 1.0f, 1e-5f);
    EXPECT_NEAR(half._42, 2.0f, 1e-5f);
    // A key's own time shows that key exactly; the full length wraps to the first.
    ExpectRotationY(Place(swing, "arm", 0.0), 90.0f);
    ExpectRotationY(Place(swing, "arm", 1.0), 90.0f);

    auto& animation = *finder.GetAnimations()->at("swing");
    animation.SetLength(4.0);
    ExpectRotationY(Place(swing, "arm", 2.0), 45.0f);
    ExpectRotationY(Place(swing, "arm", -1.0), 22.5f);  // before zero runs backwards from the end
    EXPECT_DRAV_CODE(animation.SetLength(0.0), DRAV_ERR_BAD_DATA);
}

TEST(PoseTest, FinderGroupsVariantsAndBorrowsMissingActions) {
    CAnimationFinder finder = Finder(kPositions, {"_attack1 0 turned 1 straight", "_attack2 0 straight 1 turned",
                                                  "attack 0 turned 1 turned", "cast 0 straight 1 straight"});
    const CAnimationMap& animations = *finder.GetAnimations();
    EXPECT_EQ(finder.Find("attack", 0), animations.at("_attack1").get());
    EXPECT_EQ(finder.Find("attack", 2), animations.at("attack").get());
    EXPECT_EQ(finder.Find("attack", 4), animations.at("_attack2").get());
    EXPECT_EQ(finder.Find("attack", -1), animations.at("attack").get());
    EXPECT_EQ(finder.Find("_attack2", 0), animations.at("_attack2").get());
    EXPECT_EQ(finder.Find("drink", 0), animations.at("cast").get());
    EXPECT_EQ(finder.Find("wand", 7), animations.at("cast").get());
    // The fast attack borrows only the first variant.
    EXPECT_EQ(finder.Find("attack-fast", 1), animations.at("_attack1").get());
    EXPECT_EQ(finder.Find("straight", 0), finder.GetPositions()->at("straight").get());
    EXPECT_EQ(finder.Find("swim", 0), nullptr);

    // A figure that has its own "drink" keeps it.
    CAnimationFinder own = Finder(kPositions, {"cast 0 turned 1 turned", "drink 0 straight 1 straight"});
    EXPECT_EQ(own.Find("drink", 0), own.GetAnimations()->at("drink").get());
}

TEST(PoseTest, MalformedPosesAreRefusedWhenRead) {
    for (const char* body : {"empty", "late 0.2 turned 1 straight", "short 0 turned 0.5 straight",
                             "beyond 0 turned 1.5 straight 1 turned", "backwards 0 turned 0.6 straight 0.4 turned 1 turned",
                             "unknown 0 turned 1 missing"}) {
        auto caught = QuillmereTest::CatchDrav([&] { Finder(kPositions, {body}); });
        ASSERT_TRUE(caught) << body;
        EXPECT_EQ(caught->GetCode(), DRAV_ERR_BAD_DATA) << body;
        EXPECT_NE(caught->GetMessage().find("pose test"), std::string::npos) << caught->GetMessage();
    }
    EXPECT_DRAV_CODE(Finder("<position> flat arm 0 ( 0 0 0 0 ) </position>", {}), DRAV_ERR_BAD_DATA);
}

}  // namespace
