// Readers of the two path files of a route: the bus lane ("Pas.trasy": "x z" per point, the lane
// the bus drives from its start through every stop; the autopilot drives it and the checker
// checks it, the game never reads it) and the second car's loop ("Samochod.trasa": "x z v" per
// point, optional; the new game's load hands it to the car). Points are in the stop file's
// convention (x = world X, z = the negative of world Z), speeds in units per tick.
//
// Format: line 1 the point count, then the points, numbers read as the other run files read
// them (assets/tokens.h, the "C" numeric locale). A file is taken whole or refused whole: a count
// out of range, a value that is not a finite number, too few values, a speed outside (0, 0.5] or
// two equal points in a row (round the car's loop, the last and the first too) refuse it, and
// the report says what and at which line.
#pragma once

#include "assets/params.h"
#include "sim/other_car.h"

#include <cstddef>
#include <cstdint>

// The files' paths, BUS_LANE_FILE and CAR_PATH_FILE, are with the other run files' paths.

constexpr int32_t BUS_LANE_MIN_POINTS = 2;
constexpr int32_t CAR_PATH_MIN_POINTS = 3;
// The car's target speeds lie above 0 and at most this (units per tick).
constexpr float CAR_PATH_MAX_SPEED = 0.5f;

enum PathFileError : int32_t {
    PATH_FILE_OK,
    PATH_FILE_UNREADABLE,   // missing, no regular file, too large
    PATH_FILE_BAD_COUNT,    // line 1 holds no whole number
    PATH_FILE_COUNT_RANGE,  // the count is outside the file's range
    PATH_FILE_BAD_NUMBER,   // a value that is no finite number
    PATH_FILE_SHORT,        // fewer values than the count needs
    PATH_FILE_BAD_SPEED,    // a target speed outside (0, CAR_PATH_MAX_SPEED]
    PATH_FILE_ZERO_STEP,    // a point equal to the one before it
};

// What a read found: the error, the line it was found at (the later point's line for a zero
// step) and the count line 1 declared.
struct PathFileReport {
    int32_t error;
    int32_t line;
    int32_t declared;
};

// The bus lane; lives where the caller keeps it (the tools keep one static record).
struct BusLane {
    int32_t pointCount;
    float x[MAX_PATH_POINTS];
    float z[MAX_PATH_POINTS];
};

// From text in memory. On success pointCount holds the count; on a refusal it is 0 and the points
// are left part written. The car path's active flag and target are the caller's.
PathFileReport parseBusLane(const char* text, size_t length, BusLane* lane);
PathFileReport parseCarPath(const char* text, size_t length, CarPath* path);
// From a file: PATH_FILE_UNREADABLE (line 0) when it cannot be read.
PathFileReport readBusLaneFile(const char* path, BusLane* lane);
PathFileReport readCarPathFile(const char* path, CarPath* carPathOut);

// The report as a sentence for the checker and the tools, e.g. "bad number at line 4".
void describePathFileReport(const PathFileReport& report, int32_t minPoints, char* out, size_t size);

// The new game's step: a good car path file puts the car on the path (the first time it is read;
// afterwards the car drives on from where it is, as the car is never reset); a missing one leaves
// the zones. A refused file counts as missing (velbrant-check names the fault).
void loadCarPath();
