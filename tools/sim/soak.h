// The headless driver's long-run checks (--soak): every real quantity and counter of the run
// state, looked at after each tick, and a digest of them all so two runs can be compared.
// No state of its own beyond the largest counter seen, which lives for the process.
#pragma once

#include <cstdint>
#include <string>

// Empty while every float of the run state is finite and every counter is inside
// SOAK_COUNTER_LIMIT; otherwise the name of the first field that is not ("vehicle.busX").
std::string soakFirstBadField();

// A counter further from 0 than this is running away (one simulated hour is 180 000 ticks).
constexpr int64_t SOAK_COUNTER_LIMIT = 1000000;

// The largest |value| any counter held at a check so far, and its name.
int64_t soakLargestCounter(std::string* name);

// FNV-1a over the bytes of every checked field, in a fixed order.
uint64_t soakStateDigest();
