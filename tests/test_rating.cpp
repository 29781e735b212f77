// The penalty rules and the verdict boundaries.
#include "sim/rating.h"
#include "sim/state.h"

#include <gtest/gtest.h>

#include <cmath>

class Rating : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetAllRunState();
        stops.atStop = 1;
    }
    static double rateAt(float total)
    {
        run.punishment = total;
        return rateDriving();
    }
};

TEST_F(Rating, VerdictBoundaries)
{
    struct Case {
        float total;
        const char* verdict;
        double points;
    };
    // In increasing order: between the ranges the previous verdict stays.
    const Case cases[] = {
        {0.0f, "great!!! you are super driver.", 0},
        {0.5f, "great!!! you are super driver.", 0},
        {1.0f, "not bad, but you need more concetrate", 1},
        {5.0f, "not bad, but you need more concetrate", 5},
        {5.5f, "not bad, but you need more concetrate", 5},
        {6.0f, "eh, more and more and more and more ... trenings.", 6},
        {10.0f, "eh, more and more and more and more ... trenings.", 10},
        {10.5f, "eh, more and more and more and more ... trenings.", 10},
        {11.0f, "You are terible driver, You discharge!!!", 11},
        {250.0f, "You are terible driver, You discharge!!!", 250},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(rateAt(c.total), c.points) << c.total;
        EXPECT_STREQ(run.verdictText, c.verdict) << c.total;
    }
}

TEST_F(Rating, SpeedingAboveSixtyFiveCostsOnePointASecond)
{
    vehicle.busSpeedAbs = 0.2927f;  // 64.98 km/h: just below the limit
    rateAt(0.0f);
    EXPECT_EQ(run.punishment, 0.0f);
    vehicle.busSpeedAbs = 0.2928f;  // 65.0016 km/h: just above it
    for (int i = 0; i < 50; ++i)
        rateDriving();
    EXPECT_NEAR(run.punishment, 1.0f, 1e-4);
}

TEST_F(Rating, ADoorOpenAwayFromAStopCosts)
{
    doors.door3Open = 1;
    rateAt(0.0f);
    EXPECT_EQ(run.punishment, 0.0f) << "at the stop it is free";
    stops.atStop = 0;
    rateDriving();
    EXPECT_NEAR(run.punishment, 0.02f, 1e-6);
}

TEST_F(Rating, ClosingTheDoorsOnPassengersCostsTen)
{
    stops.exchangeInProgress = 1;
    doors.door1Open = 1;
    rateAt(0.0f);
    EXPECT_EQ(run.punishment, 0.0f);
    doors.door1Open = 0;
    rateDriving();
    EXPECT_FLOAT_EQ(run.punishment, 10.0f);
    EXPECT_STREQ(run.verdictText, "eh, more and more and more and more ... trenings.");
}
