#include "assets/params.h"

#include "core/game.h"
#include "platform/services/file_read.h"
#include "assets/params_check.h"
#include "assets/tokens.h"
#include "platform/platform.h"

#include <cstdio>

const char* const BUS_PARAMETERS_FILE_VOLVO = "Dane/Autobusy/Volvo7000/Parametry.busa";
const char* const BUS_PARAMETERS_FILE_URBINO = "Dane/Autobusy/Urbino12/Parametry.busa";
const char* const MISSION_PARAMETERS_FILE = "Dane/Rozklady/128/Parametry.misji";
const char* const STOPS_FILE = "Dane/Rozklady/128/Przystanki.roz";
const char* const BUS_LANE_FILE = "Dane/Rozklady/128/Pas.trasy";
const char* const CAR_PATH_FILE = "Dane/Trasy/Test/Samochod.trasa";

namespace {

// The file's text with the conversions the formats use (the shared "%f" / "%d" of assets/tokens.h).
// Once a conversion fails the reader stays failed: every later read fails at the same place, as
// the library's reads stop at the character they could not take. A number that is not finite
// (infinity, NaN, out of the float range) is consumed like any number and leaves only its own
// field unchanged.
struct NumberReader {
    TextCursor cursor;
    bool failed = false;

    // 1: stored; 0: consumed but not finite (field kept); -1: failed here.
    int readFloat(float* out)
    {
        if (failed)
            return -1;
        const int result = scanFloat(cursor, *out);
        if (result == SCAN_OK)
            return 1;
        if (result == SCAN_NOT_FINITE)
            return 0;
        failed = true;
        return -1;
    }

    bool readInt(int32_t* out)
    {
        if (failed)
            return false;
        if (scanInt(cursor, *out) == SCAN_OK)
            return true;
        failed = true;
        return false;
    }
};

NumberReader numberReader(const char* text, size_t length)
{
    return NumberReader{textCursor(text ? text : "", text ? length : 0)};
}

// Reads up to `count` floats into the fields in order; returns how many numbers it read.
int32_t readFields(NumberReader& reader, float* const* fields, int32_t count)
{
    int32_t done = 0;
    for (int32_t i = 0; i < count; ++i) {
        if (reader.readFloat(fields[i]) < 0)
            break;
        ++done;
    }
    return done;
}

void reportUnreadable(const char* path)
{
    char message[512];
    std::snprintf(message, sizeof message, "Nie mog\xea za\xb3" "adowa\xe6 pliku '%s'.", path);
    platformMessageBox(message, "B\xb3\xb9" "d");
    markFailure();
    shutdownApp();
}

}  // namespace

int32_t parseBusParameters(const char* text, size_t length, VehicleParameters* params, BusGeometry* geometry)
{
    NumberReader reader = numberReader(text, length);
    float* const fields[PARAMS_BUS_VALUE_COUNT] = {
        &params->topSpeed,          &params->accelStep,         &params->brakeStep,
        &params->fuelCapacity,      &geometry->frontLeftWheelZ, &geometry->frontRightWheelZ,
        &geometry->rearWheelsZ,     &geometry->leafZ[0][0],     &geometry->leafZ[0][1],
        &geometry->leafZ[1][0],     &geometry->leafZ[1][1],     &geometry->leafZ[2][0],
        &geometry->leafZ[2][1],
    };
    return readFields(reader, fields, PARAMS_BUS_VALUE_COUNT);
}

int32_t parseMissionParameters(const char* text, size_t length, MissionParameters* m)
{
    NumberReader reader = numberReader(text, length);
    float* const fields[PARAMS_MISSION_VALUE_COUNT] = {
        &m->busX, &m->busZ, &m->busHeading, &m->fuel, &m->clockHours, &m->clockMinutes, &m->fuelPointX, &m->fuelPointZ,
    };
    return readFields(reader, fields, PARAMS_MISSION_VALUE_COUNT);
}

int32_t parseStops(const char* text, size_t length, RouteTable* table)
{
    NumberReader reader = numberReader(text, length);
    int32_t count = 0;
    if (!reader.readInt(&count))
        return 0;
    // The table holds MAX_STOPS entries; a negative count means none.
    if (count > MAX_STOPS)
        count = MAX_STOPS;
    if (count < 0)
        count = 0;
    table->stopCount = count;
    int32_t done = 1;
    for (int32_t i = 0; i < count; ++i) {
        if (reader.readFloat(&table->stopX[i]) < 0)
            break;
        ++done;
        if (reader.readFloat(&table->stopZ[i]) < 0)
            break;
        ++done;
    }
    return done;
}

bool readBusParametersFile(const char* path, VehicleParameters* params, BusGeometry* geometry)
{
    FileBytes bytes;
    if (!readFileBytes(path, bytes))
        return false;
    parseBusParameters(bytes.text(), bytes.size, params, geometry);
    return true;
}

bool readMissionParametersFile(const char* path, MissionParameters* mission)
{
    FileBytes bytes;
    if (!readFileBytes(path, bytes))
        return false;
    parseMissionParameters(bytes.text(), bytes.size, mission);
    return true;
}

bool readStopsFile(const char* path, RouteTable* table)
{
    FileBytes bytes;
    if (!readFileBytes(path, bytes))
        return false;
    parseStops(bytes.text(), bytes.size, table);
    return true;
}

void loadBusParameters()
{
    const char* path = game.busChoice == 1 ? BUS_PARAMETERS_FILE_VOLVO : BUS_PARAMETERS_FILE_URBINO;
    FileBytes bytes;
    if (!readFileBytes(path, bytes)) {
        reportUnreadable(path);
        return;
    }
    parseBusParameters(bytes.text(), bytes.size, &vehicleParams, &busGeometry);
    ParamsProblems problems;
    checkBusParametersText(bytes.text(), bytes.size, &problems);
    printParamsProblems(path, problems);
}

void loadMissionParameters()
{
    MissionParameters m = {vehicle.busX,           vehicle.busZ,           vehicle.busHeading, engine.fuel,
                           gameClock.clockHours,   gameClock.clockMinutes, route.fuelPointX,   route.fuelPointZ};
    FileBytes bytes;
    if (!readFileBytes(MISSION_PARAMETERS_FILE, bytes)) {
        reportUnreadable(MISSION_PARAMETERS_FILE);
        return;
    }
    parseMissionParameters(bytes.text(), bytes.size, &m);
    ParamsProblems problems;
    checkMissionParametersText(bytes.text(), bytes.size, &problems);
    printParamsProblems(MISSION_PARAMETERS_FILE, problems);
    vehicle.busX = m.busX;
    vehicle.busZ = m.busZ;
    vehicle.busHeading = m.busHeading;
    engine.fuel = m.fuel;
    gameClock.clockHours = m.clockHours;
    gameClock.clockMinutes = m.clockMinutes;
    route.fuelPointX = m.fuelPointX;
    route.fuelPointZ = m.fuelPointZ;
}

void loadStops()
{
    FileBytes bytes;
    if (!readFileBytes(STOPS_FILE, bytes)) {
        reportUnreadable(STOPS_FILE);
        return;
    }
    parseStops(bytes.text(), bytes.size, &route);
    ParamsProblems problems;
    checkStopsText(bytes.text(), bytes.size, &problems);
    printParamsProblems(STOPS_FILE, problems);
}
