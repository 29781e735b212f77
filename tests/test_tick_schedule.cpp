// The main loop's tick rule on a fake counter in microseconds.
#include "app/tick_schedule.h"

#include <gtest/gtest.h>

#include <vector>

TEST(TickSchedule, StartUsesAFiftiethOfTheFrequencyOrFortyAndZeroWhenUnreadable)
{
    TickSchedule s;
    tickScheduleStart(&s, 10000000, 1234);
    EXPECT_EQ(s.tickPeriod, 200000u);
    EXPECT_FALSE(tickDue(s, 1234)) << "strictly greater";
    EXPECT_TRUE(tickDue(s, 1235));
    TickSchedule u;
    tickScheduleStart(&u, 0, 999);
    EXPECT_EQ(u.tickPeriod, 40u);
    EXPECT_EQ(u.nextTickTime, 0);
}

// Ticks of 1 ms but tick 3 takes a second: one tick at once, then the 20 ms rhythm, with no burst.
TEST(TickSchedule, SteadyRhythmAndALongTick)
{
    TickSchedule s;
    tickScheduleStart(&s, 1000000, 0);
    std::vector<int64_t> starts;
    for (int64_t counter = 0; counter < 1600000;) {
        if (!tickDue(s, counter)) {
            counter += 100;  // one idle pass of the loop
            continue;
        }
        starts.push_back(counter);
        counter += starts.size() == 4 ? 1000000 : 1000;
        tickScheduleAdvance(&s, starts.back());
    }
    ASSERT_GE(starts.size(), 12u);
    for (size_t i = 2; i < 4; ++i) EXPECT_NEAR(starts[i] - starts[i - 1], 20000, 100) << i;
    const int64_t afterLoad = starts[3] + 1000000;
    EXPECT_EQ(starts[4], afterLoad) << "at once";
    for (size_t i = 5; i < starts.size(); ++i) EXPECT_GE(starts[i] - starts[i - 1], 19000) << i;
    size_t after = 0;
    for (int64_t t : starts) after += t > afterLoad && t <= afterLoad + 400000 ? 1 : 0;
    EXPECT_NEAR(static_cast<double>(after), 20.0, 1.0);
}
