#include "sim/sim.h"

void simulationStep()
{
}
