// The real-second timers on a fake clock: the game clock, the frame counter, the traffic lights.
#include "tests/test_sim_fixture.h"

#include "sim/timers.h"

using Timers = SimTest;

TEST_F(Timers, ClockRollsOverAtMidnight)
{
    gameClock.clockHours = 23.0f;
    gameClock.clockMinutes = 59.0f;
    gameClock.clockSeconds = 59.0f;
    advanceClock();
    EXPECT_EQ(gameClock.clockHours, 0.0f);
    EXPECT_EQ(gameClock.clockMinutes, 0.0f);
    EXPECT_EQ(gameClock.clockSeconds, 0.0f);
}

TEST_F(Timers, FirstStepActsAtOnceThenOncePerSecond)
{
    fakeNowMs = 100000;
    tick();
    EXPECT_EQ(gameClock.clockSeconds, 1.0f);
    EXPECT_EQ(traffic.trafficSeconds, 1);
    ticks(49);  // to 100.980 s
    EXPECT_EQ(gameClock.clockSeconds, 1.0f);
    tick();  // 101.000 s
    EXPECT_EQ(gameClock.clockSeconds, 2.0f);
    EXPECT_EQ(traffic.trafficSeconds, 2);
}

TEST_F(Timers, TrafficLightCycle)
{
    struct Phase {
        int32_t second;
        uint8_t red, yellow, green;
    };
    const Phase phases[] = {{19, 1, 0, 0}, {20, 1, 1, 0}, {22, 1, 1, 0}, {23, 0, 0, 1},
                            {42, 0, 0, 1}, {43, 0, 1, 0}, {45, 0, 1, 0}, {46, 1, 0, 0}};
    fakeNowMs = 1000000;
    for (int32_t s = 1; s <= 46; ++s) {
        stepTrafficLights();
        fakeNowMs += 1000;
        for (const Phase& p : phases) {
            if (p.second != s)
                continue;
            EXPECT_EQ(traffic.trafficRed, p.red) << s;
            EXPECT_EQ(traffic.trafficYellow, p.yellow) << s;
            EXPECT_EQ(traffic.trafficGreen, p.green) << s;
        }
    }
    EXPECT_EQ(traffic.trafficSeconds, 0) << "the cycle starts again after 46 s";
}

TEST_F(Timers, APausedMinuteCostsTheClockOneSecond)
{
    fakeNowMs = 100000;
    tick();
    const float seconds = gameClock.clockSeconds;
    tick({VK_KEY_P});
    fakeNowMs += 60000;
    tick();
    tick({VK_KEY_P});
    EXPECT_EQ(gameClock.clockSeconds, seconds + 1.0f);
    ticks(10);
    EXPECT_EQ(gameClock.clockSeconds, seconds + 1.0f) << "no catching up";
}

TEST_F(Timers, TimersKeepGoingPastTheThirtyTwoBitMillisecondWrap)
{
    fakeNowMs = (uint64_t{1} << 32) - 1500;  // 49.7 days
    tick();
    const float before = gameClock.clockSeconds;
    ticks(150);  // crosses 2^32 ms
    EXPECT_EQ(gameClock.clockSeconds, before + 3.0f);
}
