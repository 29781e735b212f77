// The real-second timers on a fake clock: the game clock, the frame counter, the traffic lights.
#include "tests/test_sim_fixture.h"

#include "sim/timers.h"

using Timers = SimTest;

TEST_F(Timers, ClockAndTrafficLights)
{
    gameClock.clockHours = 23.0f; gameClock.clockMinutes = gameClock.clockSeconds = 59.0f; advanceClock();
    EXPECT_EQ(gameClock.clockHours + gameClock.clockMinutes + gameClock.clockSeconds, 0.0f);
    tick();  // at 100.000 s the first step acts at once
    EXPECT_EQ(gameClock.clockSeconds, 1.0f); EXPECT_EQ(traffic.trafficSeconds, 1);
    ticks(49);  // to 100.980 s
    EXPECT_EQ(gameClock.clockSeconds, 1.0f);
    tick();
    EXPECT_EQ(gameClock.clockSeconds, 2.0f); EXPECT_EQ(traffic.trafficSeconds, 2);
    tick({VK_KEY_P});  // a paused minute costs the clock one second, with no catching up
    fakeNowMs += 60000; tick(); tick({VK_KEY_P}); ticks(10);
    EXPECT_EQ(gameClock.clockSeconds, 3.0f);
    fakeNowMs = (uint64_t{1} << 32) - 1500;  // 49.7 days: the timers go on past the 32-bit wrap
    tick(); const float before = gameClock.clockSeconds; ticks(150);
    EXPECT_EQ(gameClock.clockSeconds, before + 3.0f);
    SetUp();  // the traffic light cycle
    struct Phase { int32_t second; uint8_t red, yellow, green; };
    const Phase phases[] = {{19, 1, 0, 0}, {20, 1, 1, 0}, {22, 1, 1, 0}, {23, 0, 0, 1},
                            {42, 0, 0, 1}, {43, 0, 1, 0}, {45, 0, 1, 0}, {46, 1, 0, 0}};
    fakeNowMs = 1000000; int32_t s = 0;
    for (const Phase& p : phases) {
        for (; s < p.second; ++s, fakeNowMs += 1000) stepTrafficLights();
        EXPECT_EQ(traffic.trafficRed * 100 + traffic.trafficYellow * 10 + traffic.trafficGreen,
                  p.red * 100 + p.yellow * 10 + p.green) << s;
    }
    EXPECT_EQ(traffic.trafficSeconds, 0) << "the cycle starts again after 46 s";
}
