// Stops and passengers: the vector to the next stop, the passenger exchange, the end of stop
// service and of the run, and the body rocking while passengers move. The penalty rules and
// the verdict are sim/rating.h. sim/step.cpp calls them in their order.
#pragma once

// The bus serves a stop standing within this many units of it.
constexpr float STOP_REACH = 5.0f;

// StopDX, stopDZ, stopBearing, stopDistance, atStop for the current stop.
void updateStopGeometry();
// Passenger exchange, end of run, end of stop service.
void servePassengers();
// The body rocks while a door was opened at the stop.
void rockBodyAtStop();
