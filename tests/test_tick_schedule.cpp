#include "app/tick_schedule.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Drives the loop's rule with a fake counter in microseconds and a tick that takes `cost(n)`.
// Returns the counter values at which ticks started.
template <typename Cost>
std::vector<int64_t> runLoop(int64_t until, Cost cost)
{
    TickSchedule s;
    tickScheduleStart(&s, 1000000, 0);
    std::vector<int64_t> starts;
    int64_t counter = 0;
    while (counter < until) {
        int64_t now = counter;
        if (tickDue(s, now)) {
            starts.push_back(now);
            counter += cost(starts.size() - 1);
            tickScheduleAdvance(&s, now);
        } else {
            counter += 100;  // one idle pass of the loop
        }
    }
    return starts;
}

} // namespace

TEST(TickSchedule, StartUsesAFiftiethOfTheFrequency)
{
    TickSchedule s;
    tickScheduleStart(&s, 10000000, 1234);
    EXPECT_EQ(s.tickPeriod, 200000u);
    EXPECT_EQ(s.nextTickTime, 1234);
    EXPECT_FALSE(tickDue(s, 1234));  // strictly greater
    EXPECT_TRUE(tickDue(s, 1235));
}

TEST(TickSchedule, UnreadableFrequencyKeepsFortyAndZero)
{
    TickSchedule s;
    tickScheduleStart(&s, 0, 999);
    EXPECT_EQ(s.tickPeriod, 40u);
    EXPECT_EQ(s.nextTickTime, 0);
}

TEST(TickSchedule, SteadyTwentyMillisecondRhythm)
{
    auto starts = runLoop(200000, [](size_t) { return 1000; });
    ASSERT_GE(starts.size(), 9u);
    for (size_t i = 2; i < starts.size(); ++i)
        EXPECT_NEAR(starts[i] - starts[i - 1], 20000, 100) << i;
}

TEST(TickSchedule, ALongTickIsFollowedByOneImmediateTickThenTheRhythm)
{
    // Tick 3 takes one second (a game load).
    auto starts = runLoop(1600000, [](size_t n) { return n == 3 ? 1000000 : 1000; });
    ASSERT_GE(starts.size(), 12u);
    const int64_t afterLoad = starts[3] + 1000000;
    EXPECT_EQ(starts[4], afterLoad);  // at once
    // Then one period after the counter read before the late tick, and 20 ms from there: no burst.
    for (size_t i = 5; i < starts.size(); ++i)
        EXPECT_GE(starts[i] - starts[i - 1], 19000) << i;
    int quick = 0;
    for (size_t i = 4; i < starts.size(); ++i)
        if (starts[i] - starts[i - 1] < 15000)
            ++quick;
    EXPECT_LE(quick, 1);
    // The second of the ticks in that second is absent: about 20 ticks over the 400 ms that follow.
    size_t after = 0;
    for (int64_t t : starts)
        if (t > afterLoad && t <= afterLoad + 400000)
            ++after;
    EXPECT_NEAR(static_cast<double>(after), 20.0, 1.0);
}
