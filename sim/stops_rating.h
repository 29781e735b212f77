// Stops and passengers: the vector to the next stop, the passenger exchange, the end of stop
// service and of the run, and the body rocking while passengers move. The penalty rules and
// the verdict are sim/rating.h. Each function is one place in the step's order.
#pragma once

// Step 11: stopDX, stopDZ, stopBearing, stopDistance, atStop for the current stop.
void updateStopGeometry();
// Step 21: passenger exchange, end of run, end of stop service.
void servePassengers();
// Step 23: the body rocks while a door was opened at the stop.
void rockBodyAtStop();
