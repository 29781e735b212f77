// Where each viewport pass sits and how its camera follows the bus (the view count: GL scene test).
#include "render/views.h"
#include "sim/state.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

TEST(ViewPasses, ViewportsAtEachResolutionNoInfiniteAspectAndOnlyTheMainViewNods)
{
    resetAllRunState();
    struct Row { int pass, width, height, x, y, w, h; };
    const Row rows[] = {
        {VIEW_MAIN, 640, 480, 0, 0, 640, 480},            {VIEW_LEFT_MIRROR, 1024, 768, 0, 384, 256, 384},
        {VIEW_RIGHT_MIRROR, 1024, 768, 769, 384, 769, 384}, {VIEW_RIGHT_MIRROR, 800, 600, 601, 300, 601, 300},
        {VIEW_LEFT_MIRROR, 801, 601, 0, 300, 200, 300},
    };
    for (const Row& r : rows) {
        const ViewPass p = viewPassFor(r.pass, r.width, r.height, vehicle, view);
        EXPECT_EQ((std::array<int, 4>{p.x, p.y, p.width, p.height}),
                  (std::array<int, 4>{r.x, r.y, r.w, r.h}))
            << r.pass << " at " << r.width;
    }
    EXPECT_DOUBLE_EQ(viewPassFor(VIEW_MAIN, 640, 480, vehicle, view).aspect, 640.0 / 480.0);
    for (int v = 0; v < VIEW_PASS_MAX; ++v) {
        const ViewPass p = viewPassFor(v, 640, 0, vehicle, view);
        EXPECT_GT(p.aspect, 0.0) << v;
        EXPECT_TRUE(std::isfinite(p.aspect)) << v;
    }
    view.cameraLookX = 0.25f;
    const ViewPass still = viewPassFor(VIEW_MAIN, 640, 480, vehicle, view);
    const ViewPass mirror = viewPassFor(VIEW_LEFT_MIRROR, 640, 480, vehicle, view);
    vehicle.pitchSway = 0.125f;
    EXPECT_DOUBLE_EQ(viewPassFor(VIEW_MAIN, 640, 480, vehicle, view).centreY - still.centreY, 0.25)
        << "twice the pitch";
    EXPECT_DOUBLE_EQ(viewPassFor(VIEW_LEFT_MIRROR, 640, 480, vehicle, view).centreY, mirror.centreY);
}
