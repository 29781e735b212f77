// The penalty rules and the verdict boundaries.
#include "sim/rating.h"
#include "sim/state.h"

#include <gtest/gtest.h>

#include <cmath>

class Rating : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetAllRunState(); stops.atStop = 1;
    }
};

TEST_F(Rating, VerdictBoundariesAndPenalties)
{
    const char *great = "great!!! you are super driver.", *notBad = "not bad, but you need more concetrate",
               *more = "eh, more and more and more and more ... trenings.",
               *terrible = "You are terible driver, You discharge!!!";
    // In increasing order: between the ranges the previous verdict stays.
    const std::pair<float, const char*> verdicts[] = {
        {0.0f, great}, {0.5f, great},  {1.0f, notBad}, {5.0f, notBad},    {5.5f, notBad},
        {6.0f, more},  {10.0f, more}, {10.5f, more},   {11.0f, terrible}, {250.0f, terrible}};
    for (const auto& [total, verdict] : verdicts) {
        run.punishment = total;
        EXPECT_EQ(rateDriving(), std::floor(total)) << total; EXPECT_STREQ(run.verdictText, verdict) << total;
    }
    // Speeding, a door away from a stop and closing on passengers.
    struct Row { float speed; uint8_t atStop, doorOpen, exchange; int ticks; float cost; };
    // 0.2927 is 64.98 km/h, just below 65; 0.2928 is 65.0016 km/h: a point a second above it.
    const Row rows[] = {{0.2927f, 1, 0, 0, 50, 0.0f}, {0.2928f, 1, 0, 0, 50, 1.0f}, {0, 1, 1, 0, 1, 0.0f},
                        {0, 0, 1, 0, 1, 0.02f},      {0, 1, 1, 1, 1, 0.0f},        {0, 1, 0, 1, 1, 10.0f}};
    for (const Row& r : rows) {
        SetUp(); vehicle.busSpeedAbs = r.speed; stops.atStop = r.atStop; doors.door3Open = r.doorOpen;
        stops.exchangeInProgress = r.exchange;
        for (int i = 0; i < r.ticks; ++i) rateDriving();
        EXPECT_NEAR(run.punishment, r.cost, 1e-4) << r.speed << " door " << int(r.doorOpen) << " exchange "
                                                  << int(r.exchange);
    }
}
