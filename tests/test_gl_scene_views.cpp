// Where each viewport pass sits, its projection and its camera (pure arithmetic; no context).
#include "render/views.h"
#include "sim/state.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class ViewPasses : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetAllRunState();
        resetCamera();
        view.cameraLookX = 0.25f;
    }
};

TEST_F(ViewPasses, MainViewFillsTheScreen)
{
    ViewPass p = viewPassFor(VIEW_MAIN, 640, 480, vehicle, view);
    EXPECT_EQ(p.x, 0);
    EXPECT_EQ(p.y, 0);
    EXPECT_EQ(p.width, 640);
    EXPECT_EQ(p.height, 480);
    EXPECT_DOUBLE_EQ(p.fovy, 45.0);
    EXPECT_DOUBLE_EQ(p.aspect, 640.0 / 480.0);
    EXPECT_DOUBLE_EQ(p.zNear, 0.1);
    EXPECT_DOUBLE_EQ(p.zFar, 440.0);
}

TEST_F(ViewPasses, LeftMirrorIsTheUpperLeftQuarterOfTheWidth)
{
    ViewPass p = viewPassFor(VIEW_LEFT_MIRROR, 640, 480, vehicle, view);
    EXPECT_EQ(p.x, 0);
    EXPECT_EQ(p.y, 240);
    EXPECT_EQ(p.width, 160);
    EXPECT_EQ(p.height, 240);
    EXPECT_DOUBLE_EQ(p.aspect, 640.0 * 0.6666666666666666 / 480.0);
    EXPECT_DOUBLE_EQ(p.zNear, 0.10000000149011612);
    EXPECT_DOUBLE_EQ(p.zFar, 500.0);
}

TEST_F(ViewPasses, RightMirrorStartsAndIsAsWideAsR)
{
    ViewPass p = viewPassFor(VIEW_RIGHT_MIRROR, 640, 480, vehicle, view);
    EXPECT_EQ(p.x, 481);
    EXPECT_EQ(p.y, 240);
    EXPECT_EQ(p.width, 481);
    EXPECT_EQ(p.height, 240);
    EXPECT_DOUBLE_EQ(p.aspect, 640.0 / (480.0 * 0.625));
    EXPECT_DOUBLE_EQ(p.zNear, 0.10000000149011612);
    EXPECT_DOUBLE_EQ(p.zFar, 500.0);
}

TEST_F(ViewPasses, OtherResolutionsUseIntegerHalvesAndTruncatedR)
{
    ViewPass left = viewPassFor(VIEW_LEFT_MIRROR, 1024, 768, vehicle, view);
    EXPECT_EQ(left.width, 256);
    EXPECT_EQ(left.y, 384);
    ViewPass right = viewPassFor(VIEW_RIGHT_MIRROR, 1024, 768, vehicle, view);
    EXPECT_EQ(right.x, 769);  // 769.92 truncated
    EXPECT_EQ(right.width, 769);
    right = viewPassFor(VIEW_RIGHT_MIRROR, 800, 600, vehicle, view);
    EXPECT_EQ(right.x, 601);  // 601.5 truncated
    left = viewPassFor(VIEW_LEFT_MIRROR, 801, 601, vehicle, view);
    EXPECT_EQ(left.width, 200);
    EXPECT_EQ(left.y, 300);
    EXPECT_EQ(left.height, 300);
}

TEST_F(ViewPasses, MainCameraComesFromTheViewAndNodsWithThePitch)
{
    vehicle.pitchSway = 0.125f;
    vehicle.busZ = 1000.0f;
    ViewPass p = viewPassFor(VIEW_MAIN, 640, 480, vehicle, view);
    EXPECT_DOUBLE_EQ(p.eyeX, -0.75f);
    EXPECT_DOUBLE_EQ(p.eyeY, 1.6f);
    EXPECT_DOUBLE_EQ(p.eyeZ, -1e-7f * 1000.0f);
    EXPECT_DOUBLE_EQ(p.centreX, 0.25f);
    EXPECT_DOUBLE_EQ(p.centreY, 0.25f);
    EXPECT_DOUBLE_EQ(p.centreZ, -40.0f);
    EXPECT_FLOAT_EQ(p.offsetZ, 5.0f);
}

TEST_F(ViewPasses, MirrorsLookBackFromTheFrontCorners)
{
    vehicle.busZ = -500.0f;
    vehicle.pitchSway = 3.0f;  // mirrors do not nod
    ViewPass l = viewPassFor(VIEW_LEFT_MIRROR, 640, 480, vehicle, view);
    EXPECT_DOUBLE_EQ(l.eyeX, -1.8f);
    EXPECT_DOUBLE_EQ(l.eyeY, 1.6f);
    EXPECT_DOUBLE_EQ(l.eyeZ, -1e-7f * -500.0f);
    EXPECT_DOUBLE_EQ(l.centreX, 5.0);
    EXPECT_DOUBLE_EQ(l.centreY, -2.0);
    EXPECT_DOUBLE_EQ(l.centreZ, 100.0);
    EXPECT_FLOAT_EQ(l.offsetZ, 7.0f);
    ViewPass r = viewPassFor(VIEW_RIGHT_MIRROR, 640, 480, vehicle, view);
    EXPECT_DOUBLE_EQ(r.eyeX, 1.8f);
    EXPECT_DOUBLE_EQ(r.eyeY, 2.0);
    EXPECT_DOUBLE_EQ(r.centreX, -50.0);
    EXPECT_DOUBLE_EQ(r.centreY, -20.0);
    EXPECT_DOUBLE_EQ(r.centreZ, 100.0);
    EXPECT_FLOAT_EQ(r.offsetZ, 7.0f);
}

TEST_F(ViewPasses, AZeroHeightNeverGivesAnInfiniteAspect)
{
    for (int v = 0; v < VIEW_PASS_MAX; ++v) {
        ViewPass p = viewPassFor(v, 640, 0, vehicle, view);
        EXPECT_TRUE(std::isfinite(p.aspect)) << v;
        EXPECT_GT(p.aspect, 0.0) << v;
    }
}

TEST_F(ViewPasses, PassCountStaysWithinTheThreeViews)
{
    view.viewportCount = 1;
    EXPECT_EQ(viewPassCount(view), 1);
    view.viewportCount = 2;
    EXPECT_EQ(viewPassCount(view), 2);
    view.viewportCount = 3;
    EXPECT_EQ(viewPassCount(view), 3);
    view.viewportCount = 4;
    EXPECT_EQ(viewPassCount(view), 3);
    view.viewportCount = 1000000;
    EXPECT_EQ(viewPassCount(view), 3);
    view.viewportCount = 0;
    EXPECT_EQ(viewPassCount(view), 1);
    view.viewportCount = -7;
    EXPECT_EQ(viewPassCount(view), 1);
}

} // namespace
