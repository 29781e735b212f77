// The second car: its first ticks, the length of its loop, both ramps and its thirteen zones.
#include "sim/other_car.h"
#include "sim/state.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <vector>

TEST(OtherCar, TheFirstTickMovesItDownTheEastSide)
{
    resetAllRunState();
    updateOtherCar();
    EXPECT_FLOAT_EQ(otherCar.z, -20.1f);
    EXPECT_EQ(std::make_pair(otherCar.x, otherCar.heading), std::make_pair(4.2f, 180.0f));
}

TEST(OtherCar, ALoopTakes7690TicksBackOntoTheFirstStraight)
{
    resetAllRunState();
    // Count ticks between successive passes down through z = -20 on the east side.
    std::vector<int64_t> passes;
    float previousZ = otherCar.z;
    for (int64_t t = 1; t <= 30000 && passes.size() < 3; ++t) {
        updateOtherCar();
        if (otherCar.x > -10.0f && previousZ > -20.0f && otherCar.z <= -20.0f)
            passes.push_back(t);
        previousZ = otherCar.z;
    }
    ASSERT_EQ(passes.size(), 3u);
    EXPECT_NEAR(static_cast<double>(passes[2] - passes[1]), 7690.0, 40.0);
    EXPECT_NEAR(otherCar.x, 4.1f, 0.2f);
}

TEST(OtherCar, TheSpeedRampAddsAGrowingStepUpToTheTargetAndClearsItAbove)
{
    resetAllRunState();
    otherCar.speedRampStep = 0.004f;
    EXPECT_FLOAT_EQ(rampSpeed(0.2f, 0.2f), 0.205f);
    EXPECT_FLOAT_EQ(rampSpeed(0.3f, 0.2f), 0.3f);
    EXPECT_EQ(otherCar.speedRampStep, 0.0f);
}

TEST(OtherCar, TheHeadingRampWrapsAt360AndClearsItsStepOnceThere)
{
    resetAllRunState();
    otherCar.turnRampValue = 359.0f;
    otherCar.turnRampStep = 88.5f;
    EXPECT_EQ(rampHeading(271.0f, 0.0f), 0.0f) << "271 + 89 = 360 becomes 0";
    EXPECT_EQ(otherCar.turnRampStep, 89.0f);
    EXPECT_EQ(rampHeading(271.0f, 0.0f), 0.0f);
    EXPECT_EQ(otherCar.turnRampStep, 0.0f) << "cleared on the next call";
}

TEST(OtherCar, ATurnLeftEarlyKeepsItsStepIntoTheNext)
{
    resetAllRunState();
    rampHeading(181.0f, 269.0f);
    rampHeading(181.0f, 269.0f);
    EXPECT_EQ(otherCar.turnRampValue, 182.0f);
    EXPECT_EQ(rampHeading(271.0f, 0.0f), 272.5f) << "its own start plus the carried 1.0 plus 0.5";
}

namespace {

constexpr float KEEP = 12345.0f;  // a heading no zone sets
// A stopped car put at (x, z) with fresh ramps and a heading ramp at turnFrom, and what one tick
// leaves of its speed and heading. The points lie a hundredth inside or outside a zone's bounds.
struct ZonePoint { float x, z, speed = 0.0f, heading = KEEP, turnFrom = -1.0f; };

const ZonePoint ZONE_POINTS[] = {
    // 1: speed up from 0.2 down the first straight.
    {-4.99f, -69.99f, 0.201f}, {6.99f, -50.01f, 0.201f},
    {-5.01f, -69.99f}, {-4.99f, -70.01f}, {7.01f, -50.01f}, {6.99f, -49.99f},
    // 2 to 4: the heading nudged to 179, 180 (open to the south), 181 (inside 3).
    {-4.99f, -259.99f, 0, 179}, {6.99f, -250.01f, 0, 179},
    {-5.01f, -259.99f}, {-4.99f, -260.01f}, {7.01f, -250.01f}, {6.99f, -249.99f},
    {-4.99f, -310.01f, 0, 180}, {6.99f, -310.01f, 0, 180},
    {-5.01f, -310.01f}, {7.01f, -310.01f}, {1, -309.99f},
    {-4.99f, -390.01f, 0, 181}, {6.99f, -390.01f, 0, 181}, {-5.01f, -390.01f}, {7.01f, -390.01f},
    {1, -389.99f, 0, 180},
    // 5: the first corner, open to the south: 0.1, the turn from 181 begun.
    {-14.99f, -447.01f, 0.1f, 181.5f}, {9.99f, -447.01f, 0.1f, 181.5f}, {-15.01f, -447.01f},
    {10.01f, -447.01f}, {1, -446.99f, 0, 181},
    // 6: out of it westwards at 271.2.
    {-109.99f, -464.99f, 0.101f, 271.2f}, {-90.01f, -455.01f, 0.101f, 271.2f},
    {-110.01f, -464.99f}, {-109.99f, -465.01f}, {-89.99f, -455.01f}, {-90.01f, -454.99f},
    // 7 and 8: the second corner from 271, then north at 0 (they share z = -430).
    {-419.99f, -469.99f, 0.1f, 271.5f}, {-405.01f, -430.01f, 0.1f, 271.5f},
    {-420.01f, -469.99f}, {-419.99f, -470.01f}, {-404.99f, -430.01f}, {-405.01f, -429.99f, 0.101f, 0},
    {-419.99f, -429.99f, 0.101f, 0}, {-405.01f, -380.01f, 0.101f, 0},
    {-420.01f, -429.99f}, {-419.99f, -430.01f, 0.1f, 271.5f}, {-404.99f, -380.01f}, {-405.01f, -379.99f},
    // 9: the bend's first stage from 0.
    {-429.99f, -55.99f, 0.101f, 0.5f}, {-390.01f, -40.01f, 0.101f, 0.5f},
    {-430.01f, -55.99f}, {-429.99f, -56.01f}, {-389.99f, -40.01f}, {-390.01f, -39.99f},
    // 10 and 11: from 10 slowly, then from 44; where they overlap both ramps act in turn.
    {-429.99f, 53.01f, 0.1f, 10.5f}, {-387.01f, 59.99f, 0.051f, 45.0f},
    {-430.01f, 53.01f}, {-429.99f, 52.99f},
    {-386.99f, 59.99f, 0.051f, 44.5f}, {-387.01f, 60.01f, 0.051f, 44.5f},
    {-388.99f, 40.01f, 0.051f, 44.5f}, {-360.01f, 76.99f, 0.051f, 44.5f},
    {-389.01f, 40.01f}, {-388.99f, 39.99f}, {-359.99f, 76.99f}, {-360.01f, 77.01f},
    // 12: east along the top from 90 at 0.32.
    {-54.99f, 30.01f, 0.32f, 90.5f}, {-10.01f, 76.99f, 0.32f, 90.5f},
    {-55.01f, 30.01f}, {-54.99f, 29.99f}, {-9.99f, 76.99f}, {-10.01f, 77.01f},
    // 13: back south from 151, the speed left alone.
    {-9.99f, -14.99f, 0, 151.5f}, {14.99f, 8.69f, 0, 151.5f},
    {-10.01f, -14.99f}, {-9.99f, -15.01f}, {15.01f, 8.69f}, {14.99f, 8.71f},
    // Each turn that has reached its target holds there.
    {-14.99f, -447.01f, 0.1f, 269, 269},
    {-419.99f, -469.99f, 0.1f, 0, 0}, {-429.99f, -55.99f, 0.101f, 10, 10},
    {-429.99f, 53.01f, 0.1f, 44, 44}, {-388.99f, 40.01f, 0.051f, 90, 90}, {-54.99f, 30.01f, 0.32f, 151, 151},
    {-9.99f, -14.99f, 0, 180, 180},
};

}  // namespace

TEST(OtherCar, EachZoneSetsOrRampsSpeedAndHeadingWithinItsBounds)
{
    for (const ZonePoint& p : ZONE_POINTS) {
        resetAllRunState();
        otherCar.x = p.x;
        otherCar.z = p.z;
        otherCar.speed = 0.0f;
        otherCar.heading = KEEP;
        otherCar.turnRampValue = p.turnFrom;
        updateOtherCar();
        SCOPED_TRACE(testing::Message() << "at " << p.x << ", " << p.z << " turning from " << p.turnFrom);
        EXPECT_FLOAT_EQ(otherCar.speed, p.speed);
        EXPECT_FLOAT_EQ(otherCar.heading, p.heading);
    }
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
    EXPECT_EQ(std::make_tuple(otherCar.x, otherCar.heading), std::make_tuple(0.0f, 0.0f));
    EXPECT_NEAR(otherCar.z, 20.0f, 0.01f);
    drive(200);
    EXPECT_NEAR(otherCar.x, 20.0f, 5.0f) << "along the second side";
    EXPECT_NEAR(otherCar.z, 40.0f, 2.0f);
    EXPECT_NEAR(otherCar.heading, 90.0f, 10.0f);
    drive(600);
    EXPECT_NEAR(otherCar.x, 0.0f, 2.0f) << "up the first side again";
    EXPECT_NEAR(otherCar.z, 25.0f, 10.0f);
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
    while (otherCar.z <= 70.0f)
        updateOtherCar();
    EXPECT_EQ(otherCar.speed, 0.3f);
    float slowest = otherCar.speed;
    for (int t = 0; t < 400; ++t) {  // about 150 to the corner, then 100 to speed up by 0.2
        updateOtherCar();
        slowest = std::fmin(slowest, otherCar.speed);
    }
    EXPECT_NEAR(slowest, 0.05f, 0.002f);
    EXPECT_GT(otherCar.speed, 0.2f) << "speeding up out of the corner";
    resetAllRunState();
}
