// Small helpers shared by the parts of the simulation step.
#pragma once

#include "platform/platform.h"

#include <cmath>
#include <cstdint>
#include <limits>

// Float-to-int conversion truncating toward zero, clamped to the int range first (an
// out-of-range conversion is undefined; odd parameter files can reach it). NaN gives 0.
inline int32_t truncToInt(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= 2147483647.0)
        return std::numeric_limits<int32_t>::max();
    if (value <= -2147483648.0)
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

// The whole second of the millisecond clock that the real-second timers compare with their last
// action, kept in the int range.
inline int32_t wholeSecondNow()
{
    const uint64_t seconds = platformNowMs() / 1000u;
    if (seconds > static_cast<uint64_t>(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(seconds);
}

// True once at least one whole second has passed since `last` (64-bit difference, no overflow).
inline bool secondPassed(int32_t now, int32_t last)
{
    return static_cast<int64_t>(now) - static_cast<int64_t>(last) >= 1;
}
