// The GL-free half of a run tick, in a file of its own so the headless driver links no drawing.
#include "flow/frame.h"

#include "sim/rating.h"
#include "sim/sim.h"

void stepRunTick()
{
    simulationStep();
    rateFrame();
}
