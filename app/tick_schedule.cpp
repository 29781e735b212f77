#include "app/tick_schedule.h"

void tickScheduleStart(TickSchedule* schedule, int64_t frequency, int64_t now)
{
    if (frequency <= 0)
        return;
    schedule->counterFrequency = frequency;
    schedule->tickPeriod = static_cast<uint32_t>(frequency / 50);  // low 32 bits kept
    schedule->nextTickTime = now;
}

bool tickDue(const TickSchedule& schedule, int64_t now)
{
    return now > schedule.nextTickTime;
}

void tickScheduleAdvance(TickSchedule* schedule, int64_t counterNow)
{
    schedule->nextTickTime += static_cast<int64_t>(schedule->tickPeriod);
    if (schedule->nextTickTime < counterNow)
        schedule->nextTickTime = counterNow + static_cast<int64_t>(schedule->tickPeriod);
}
