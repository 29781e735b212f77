// The headless driver's CSV: one header line, then one row per printed tick.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The header: tick,speed,kmh,heading,x,z,gear,engine,fuel,doors,sounds,stop,onboard,penalty,
// finished,verdict,clock,lights,carx,carz,freq (freq: the engine-sound frequency).
std::string csvHeader();

// The engine state number: 0 off, 1 cranking (S held, not yet caught), 2 caught with S still
// down, 3 running, 4 stopping with S still down.
int32_t engineStateNumber();

// The traffic-light phase of head A: "red", "red-yellow", "green" or "yellow".
const char* trafficPhaseName();

// A row of the current run state; `sounds` are the sound calls raised in this tick.
std::string csvRow(int64_t tick, const std::vector<std::string>& sounds);

// A CSV field, quoted when it holds a comma, a quote or a space.
std::string csvField(const std::string& text);
