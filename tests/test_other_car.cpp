// The second car: its first tick, the ramps' carried state and the length of its loop.
#include "sim/other_car.h"
#include "sim/state.h"

#include <gtest/gtest.h>

#include <cmath>

class OtherCar : public ::testing::Test {
protected:
    void SetUp() override { resetAllRunState(); }
};

TEST_F(OtherCar, FirstTickGoesStraightDownZ)
{
    updateOtherCar();
    EXPECT_FLOAT_EQ(otherCar.otherCarZ, -20.1f);
    EXPECT_EQ(otherCar.otherCarX, 4.2f);
    EXPECT_EQ(otherCar.otherCarHeading, 180.0f);
}

TEST_F(OtherCar, LeavesTheFirstSpeedZoneAtAbout0283)
{
    for (int i = 0; i < 600; ++i)
        updateOtherCar();
    EXPECT_NEAR(otherCar.otherCarSpeed, 0.283f, 0.002f);
    EXPECT_LT(otherCar.otherCarZ, -70.0f);
}

TEST_F(OtherCar, SpeedRampAcceleratesWithoutLimitAndDeceleratesAtOnce)
{
    EXPECT_FLOAT_EQ(rampSpeed(0.2f, 0.3f), 0.201f);
    EXPECT_FLOAT_EQ(rampSpeed(0.2f, 0.3f), 0.202f);
    for (int i = 0; i < 200; ++i)
        rampSpeed(0.2f, 0.3f);
    EXPECT_GT(rampSpeed(0.2f, 0.3f), 0.3f) << "no stop at the target";
    EXPECT_FLOAT_EQ(rampSpeed(0.1f, 0.05f), 0.1f);
    EXPECT_EQ(otherCar.speedRampStep, 0.0f);
}

TEST_F(OtherCar, HeadingRampWrapsAt360AndClearsOnTheNextCall)
{
    otherCar.turnRampValue = 359.0f;
    otherCar.turnRampStep = 88.5f;
    EXPECT_EQ(rampHeading(271.0f, 0.0f), 0.0f) << "271 + 89 = 360 becomes 0";
    EXPECT_EQ(otherCar.turnRampStep, 89.0f);
    EXPECT_EQ(rampHeading(271.0f, 0.0f), 0.0f);
    EXPECT_EQ(otherCar.turnRampStep, 0.0f);
}

TEST_F(OtherCar, ATurnLeftEarlyKeepsItsStepForTheNextTurn)
{
    rampHeading(181.0f, 269.0f);
    rampHeading(181.0f, 269.0f);
    EXPECT_EQ(otherCar.turnRampValue, 182.0f);
    // Next zone: its own start plus the carried 1.0 plus 0.5.
    EXPECT_EQ(rampHeading(271.0f, 0.0f), 272.5f);
}

TEST_F(OtherCar, ClosesItsLoopInAbout7690Ticks)
{
    // Count ticks between successive passes down through z = -20 on the east side.
    int64_t passes[3] = {};
    int found = 0;
    float previousZ = otherCar.otherCarZ;
    for (int64_t t = 1; t <= 30000 && found < 3; ++t) {
        updateOtherCar();
        if (otherCar.otherCarX > -10.0f && previousZ > -20.0f && otherCar.otherCarZ <= -20.0f)
            passes[found++] = t;
        previousZ = otherCar.otherCarZ;
    }
    ASSERT_EQ(found, 3);
    EXPECT_NEAR(static_cast<double>(passes[2] - passes[1]), 7690.0, 40.0);
    EXPECT_NEAR(otherCar.otherCarX, 4.1f, 0.2f) << "back on the first straight";
}

TEST_F(OtherCar, StaysWithinTheRouteRectangle)
{
    for (int t = 0; t < 16000; ++t) {
        updateOtherCar();
        ASSERT_GT(otherCar.otherCarX, -425.0f);
        ASSERT_LT(otherCar.otherCarX, 10.0f);
        ASSERT_GT(otherCar.otherCarZ, -465.0f);
        ASSERT_LT(otherCar.otherCarZ, 72.0f);
        ASSERT_TRUE(std::isfinite(otherCar.otherCarHeading));
    }
}
