// The second car: its first tick, the ramps' carried state, the length of its loop and its zones.
#include "sim/other_car.h"
#include "sim/state.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <vector>

TEST(OtherCar, FirstTicksTheLoopAndTheHeadingRamp)
{
    resetAllRunState(); updateOtherCar();
    EXPECT_FLOAT_EQ(otherCar.otherCarZ, -20.1f);
    EXPECT_EQ(std::make_pair(otherCar.otherCarX, otherCar.otherCarHeading), std::make_pair(4.2f, 180.0f));
    // Count ticks between successive passes down through z = -20 on the east side.
    std::vector<int64_t> passes;
    float previousZ = otherCar.otherCarZ;
    for (int64_t t = 1; t <= 30000 && passes.size() < 3; ++t) {
        updateOtherCar();
        EXPECT_TRUE(t != 599 || std::fabs(otherCar.otherCarSpeed - 0.283f) < 0.002f) << "out of zone 1";
        if (otherCar.otherCarX > -10.0f && previousZ > -20.0f && otherCar.otherCarZ <= -20.0f)
            passes.push_back(t);
        previousZ = otherCar.otherCarZ;
    }
    ASSERT_EQ(passes.size(), 3u);
    EXPECT_NEAR(static_cast<double>(passes[2] - passes[1]), 7690.0, 40.0);
    EXPECT_NEAR(otherCar.otherCarX, 4.1f, 0.2f) << "back on the first straight";
    resetAllRunState();  // the heading ramp wraps at 360, a turn left early keeps its step
    otherCar.turnRampValue = 359.0f; otherCar.turnRampStep = 88.5f;
    EXPECT_EQ(rampHeading(271.0f, 0.0f), 0.0f) << "271 + 89 = 360 becomes 0";
    EXPECT_EQ(otherCar.turnRampStep, 89.0f);
    EXPECT_EQ(rampHeading(271.0f, 0.0f), 0.0f);
    EXPECT_EQ(otherCar.turnRampStep, 0.0f) << "cleared on the next call";
    rampHeading(181.0f, 269.0f); rampHeading(181.0f, 269.0f);
    EXPECT_EQ(otherCar.turnRampValue, 182.0f);
    EXPECT_EQ(rampHeading(271.0f, 0.0f), 272.5f) << "its own start plus the carried 1.0 plus 0.5";
}

// Every zone bound a hundredth either side, against the rules' zone table applied in order to a stopped car.
TEST(OtherCar, TheThirteenZonesBoundByBound)
{
    constexpr float OPEN = -1e9f, NONE = -1.0f, KEEP = 12345.0f;
    // Strict bounds; NONE: no speed ramp, no heading set; a turn ramp when turnStart is not NONE.
    struct Zone { float x0, x1, z0, z1, speedStart, speedTarget, setHeading, turnStart, turnTarget; };
    const Zone zones[13] = {
        {-5, 7, -70, -50, 0.2f, 0.3f, NONE, NONE, 0},         {-5, 7, -260, -250, NONE, 0, 179, NONE, 0},
        {-5, 7, OPEN, -310, NONE, 0, 180, NONE, 0},           {-5, 7, OPEN, -390, NONE, 0, 181, NONE, 0},
        {-15, 10, OPEN, -447, 0.1f, 0.05f, NONE, 181, 269},
        {-110, -90, -465, -455, 0.1f, 0.3f, 271.2f, NONE, 0},
        {-420, -405, -470, -430, 0.1f, 0.05f, NONE, 271, 0},
        {-420, -405, -430, -380, 0.1f, 0.4f, 0, NONE, 0},
        {-430, -390, -56, -40, 0.1f, 0.2f, NONE, 0, 10},      {-430, -387, 53, 60, 0.1f, 0.03f, NONE, 10, 44},
        {-389, -360, 40, 77, 0.05f, 0.32f, NONE, 44, 90},     {-55, -10, 30, 77, 0.32f, 0.2f, NONE, 90, 151},
        {-10, 15, -15, 8.7f, NONE, 0, NONE, 151, 180},
    };
    int checked = 0;
    for (const Zone& q : zones) {
        const float midX = (q.x0 + q.x1) / 2, midZ = q.z0 == OPEN ? q.z1 - 2.0f : (q.z0 + q.z1) / 2;
        std::vector<std::pair<float, float>> points;
        for (float d : {-0.01f, 0.01f}) {
            points.insert(points.end(), {{q.x0 + d, midZ}, {q.x1 + d, midZ}, {midX, q.z1 + d}});
            if (q.z0 != OPEN) points.push_back({midX, q.z0 + d});
        }
        for (const auto& [x, z] : points) {
            float speed = 0.0f, heading = KEEP, speedStep = 0.0f, turnValue = 0.0f, turnStep = 0.0f;
            for (const Zone& r : zones) {
                if (!(x > r.x0 && x < r.x1 && z > r.z0 && z < r.z1)) continue;
                if (r.speedStart != NONE)
                    speed = r.speedStart <= r.speedTarget ? r.speedStart + (speedStep += 0.001f)
                                                          : (speedStep = 0.0f, r.speedStart);
                heading = r.setHeading != NONE ? r.setHeading : heading;
                if (r.turnStart != NONE && turnValue != r.turnTarget)
                    turnValue = std::fmod(r.turnStart + (turnStep += 0.5f), 360.0f);
                else if (r.turnStart != NONE)
                    turnStep = 0.0f;
                heading = r.turnStart != NONE ? turnValue : heading;
            }
            resetAllRunState(); otherCar.otherCarX = x; otherCar.otherCarZ = z; otherCar.otherCarSpeed = 0.0f;
            otherCar.otherCarHeading = KEEP; updateOtherCar();
            SCOPED_TRACE(testing::Message() << "at " << x << ", " << z);
            ++checked;
            EXPECT_FLOAT_EQ(otherCar.otherCarSpeed, speed);
            EXPECT_FLOAT_EQ(otherCar.otherCarHeading, heading);
        }
    }
    EXPECT_EQ(checked, 13 * 8 - 3 * 2);
}

// A 40-unit square at 0.2 units a tick: 100 ticks up the first side, the corner cut round within
// 3 units of it, a lap of about 150 units (750 ticks), then on round again.
TEST(OtherCarPath, DrivesRoundASquareTurningGradually)
{
    resetAllRunState();
    const float square[4][2] = {{0, 0}, {0, 40}, {40, 40}, {40, 0}};
    for (int32_t i = 0; i < 4; ++i) {
        carPath.x[i] = square[i][0];
        carPath.z[i] = square[i][1];
        carPath.speed[i] = 0.2f;
    }
    carPath.pointCount = 4;
    startOtherCarOnPath();
    const auto drive = [](int ticks) { for (int t = 0; t < ticks; ++t) updateOtherCar(); };
    drive(100);
    EXPECT_EQ(std::make_tuple(otherCar.otherCarX, otherCar.otherCarHeading), std::make_tuple(0.0f, 0.0f));
    EXPECT_NEAR(otherCar.otherCarZ, 20.0f, 0.01f);
    drive(200);
    EXPECT_NEAR(otherCar.otherCarX, 20.0f, 5.0f) << "along the second side";
    EXPECT_NEAR(otherCar.otherCarZ, 40.0f, 2.0f);
    EXPECT_NEAR(otherCar.otherCarHeading, 90.0f, 10.0f);
    drive(600);
    EXPECT_NEAR(otherCar.otherCarX, 0.0f, 2.0f) << "up the first side again";
    EXPECT_NEAR(otherCar.otherCarZ, 25.0f, 10.0f);
    EXPECT_EQ(carPath.target, 1);
    resetAllRunState();
}

// 0.3 down a 100-unit side into a corner of 0.05: braking planned at 0.002 a tick from 0.3 to 0.05
// takes about 22 units, ending 3 units before the corner, so the car is at full speed 70 units up.
TEST(OtherCarPath, SlowsToTheCornersTargetSpeed)
{
    resetAllRunState();
    const float points[4][3] = {{0, 0, 0.3f}, {0, 100, 0.05f}, {100, 100, 0.3f}, {100, 0, 0.3f}};
    for (int32_t i = 0; i < 4; ++i) {
        carPath.x[i] = points[i][0];
        carPath.z[i] = points[i][1];
        carPath.speed[i] = points[i][2];
    }
    carPath.pointCount = 4;
    startOtherCarOnPath();
    while (otherCar.otherCarZ <= 70.0f)
        updateOtherCar();
    EXPECT_EQ(otherCar.otherCarSpeed, 0.3f);
    float slowest = otherCar.otherCarSpeed;
    for (int t = 0; t < 400; ++t) {  // about 150 to the corner, then 100 to speed up by 0.2
        updateOtherCar();
        slowest = std::fmin(slowest, otherCar.otherCarSpeed);
    }
    EXPECT_NEAR(slowest, 0.05f, 0.002f);
    EXPECT_GT(otherCar.otherCarSpeed, 0.2f) << "speeding up out of the corner";
    resetAllRunState();
}
