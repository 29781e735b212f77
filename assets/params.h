// Readers of the run's three small text files: the bus parameters (".busa"), the mission
// (".misji") and the stops (".roz"). They run at every new game, from the load sequence.
//
// Format: whitespace-separated decimal numbers with no labels, read the way "%f\n" / "%d\n"
// reads them (the shared reader of assets/tokens.h), always in the "C" numeric locale: a value that
// fails to convert leaves its field and every later field of that file unchanged; a file with
// fewer values leaves the rest unchanged; values may share lines. A number that is not finite
// ("nan", "inf", or out of the float range) is read past but leaves its own field unchanged, so
// no NaN reaches the run and the later fields still read. The stop count is taken as at most
// MAX_STOPS (100) and at least 0.
//
// Three layers, so the game, the data-tree checker, tests and fuzz targets share one parser:
//   parse*  from text in memory (no file, no message);
//   read*File from an explicit path: false when the file cannot be opened or is no regular file
//             of a sane size (fields unchanged);
//   load*   the game's: fixed paths relative to the working directory, writing the run state;
//           a file that cannot be opened shows a "B\xb3\xb9d" message naming it, marks the
//           process as failed and asks for shutdown (the run cannot be played without it).
#pragma once

#include "sim/state.h"

#include <cstddef>
#include <cstdint>

constexpr int32_t PARAMS_BUS_VALUE_COUNT = 13;
constexpr int32_t PARAMS_MISSION_VALUE_COUNT = 8;

// The paths the game reads, relative to the working directory.
extern const char* const BUS_PARAMETERS_FILE_VOLVO;   // game.busChoice 1
extern const char* const BUS_PARAMETERS_FILE_URBINO;  // any other game.busChoice
extern const char* const MISSION_PARAMETERS_FILE;
extern const char* const STOPS_FILE;
// The route's two path files (read by assets/path_files.h): the bus lane, the second car's loop.
extern const char* const BUS_LANE_FILE;
extern const char* const CAR_PATH_FILE;

// The mission file's eight values, in file order (the start Z is world Z; the refuelling
// point's second value is stored as the negative of world Z).
struct MissionParameters {
    float busX;
    float busZ;
    float busHeading;
    float fuel;
    float clockHours;
    float clockMinutes;
    float fuelPointX;
    float fuelPointZ;
};

// Each returns how many values it read (stored or, when not finite, passed over) before the text
// ended or a value failed.
// parseBusParameters: 0..13, fields 1-4 into params, 5-13 into geometry.
int32_t parseBusParameters(const char* text, size_t length, VehicleParameters* params, BusGeometry* geometry);
// parseMissionParameters: 0..8.
int32_t parseMissionParameters(const char* text, size_t length, MissionParameters* mission);
// parseStops: the count (1 if it converted, 0 if not) plus two per full pair read into
// stopX/stopZ/stopCount of the table (its refuelling point is untouched). The count is clamped
// to 0..MAX_STOPS before the pairs are read; exactly that many pair reads are made.
int32_t parseStops(const char* text, size_t length, RouteTable* table);

// The same from a file; false (and nothing changed) when it cannot be opened or read.
bool readBusParametersFile(const char* path, VehicleParameters* params, BusGeometry* geometry);
bool readMissionParametersFile(const char* path, MissionParameters* mission);
bool readStopsFile(const char* path, RouteTable* table);

// The game's readers: write vehicleParams and busGeometry; the mission values into vehicle,
// engine, gameClock and route; the stops into route.
// Each prints the problems of assets/params_check.h on standard error and plays on.
void loadBusParameters();      // picks the file by game.busChoice
void loadMissionParameters();
void loadStops();
