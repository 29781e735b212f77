#include "sim/rating.h"

#include "sim/equipment.h"
#include "sim/state.h"

#include <cmath>

const char* const VERDICT_GREAT = "great!!! you are super driver.";
const char* const VERDICT_NOT_BAD = "not bad, but you need more concetrate";
const char* const VERDICT_PRACTISE = "eh, more and more and more and more ... trenings.";
const char* const VERDICT_TERRIBLE = "You are terible driver, You discharge!!!";

double rateDriving()
{
    RunState& r = run;
    const bool anyDoorOpen = openDoorCount() > 0;
    // A paused run stands still: nothing is being done wrong, so nothing is charged.
    if (r.paused == 0) {
        if (vehicle.busSpeedAbs * static_cast<double>(SIM_KMH_PER_SPEED) > 65)
            r.punishment = static_cast<float>(r.punishment + 0.02);
        if (stops.atStop == 0 && anyDoorOpen)
            r.punishment = static_cast<float>(r.punishment + 0.02);
        if (stops.exchangeInProgress == 1 && !anyDoorOpen)
            r.punishment += 10.0f;
    }

    // Between the ranges the previous verdict stays.
    const float p = r.punishment;
    if (p == 0)
        r.verdictText = VERDICT_GREAT;
    if (p >= 1 && p <= 5)
        r.verdictText = VERDICT_NOT_BAD;
    if (p >= 6 && p <= 10)
        r.verdictText = VERDICT_PRACTISE;
    if (p >= 11)
        r.verdictText = VERDICT_TERRIBLE;
    return std::floor(static_cast<double>(p));
}

FrameRating frameRating = {0.0, nullptr, 0.0};

void rateFrame()
{
    if (run.runFinished == 1) {
        frameRating.endPoints = rateDriving();
        frameRating.endVerdict = run.verdictText;
    }
    frameRating.punishment = rateDriving();
}
