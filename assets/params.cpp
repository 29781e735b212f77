#include "assets/params.h"

#include "core/game.h"
#include "platform/platform.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>

const char* const BUS_PARAMETERS_FILE_VOLVO = "Dane/Autobusy/Volvo7000/Parametry.busa";
const char* const BUS_PARAMETERS_FILE_URBINO = "Dane/Autobusy/Urbino12/Parametry.busa";
const char* const MISSION_PARAMETERS_FILE = "Dane/Rozklady/128/Parametry.misji";
const char* const STOPS_FILE = "Dane/Rozklady/128/Przystanki.roz";

namespace {

// A cursor over the file's text with the scanf-like conversions the formats use. Once a
// conversion fails the reader stays failed: every later read fails at the same place.
struct NumberReader {
    const char* pos;
    const char* end;
    bool failed = false;

    static bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

    void skipSpace()
    {
        while (pos < end && isSpace(*pos))
            ++pos;
    }

    // "%f": a decimal or exponent float in the C locale. Non-finite values fail.
    bool readFloat(float* out)
    {
        if (failed)
            return false;
        skipSpace();
        const char* start = pos;
        bool negative = false;
        if (start < end && (*start == '+' || *start == '-')) {
            negative = *start == '-';
            ++start;
        }
        // from_chars takes no sign of its own besides '-', and we put the sign back below.
        float value = 0.0f;
        const auto result = std::from_chars(start, end, value, std::chars_format::general);
        if (result.ec != std::errc() || !std::isfinite(value) || start == end || *start == '-' || *start == '+') {
            failed = true;
            return false;
        }
        pos = result.ptr;
        *out = negative ? -value : value;
        return true;
    }

    // "%d": an optionally signed decimal integer, saturated to the int range.
    bool readInt(int32_t* out)
    {
        if (failed)
            return false;
        skipSpace();
        const char* p = pos;
        bool negative = false;
        if (p < end && (*p == '+' || *p == '-')) {
            negative = *p == '-';
            ++p;
        }
        if (p == end || *p < '0' || *p > '9') {
            failed = true;
            return false;
        }
        int64_t value = 0;
        while (p < end && *p >= '0' && *p <= '9') {
            if (value < 10000000000LL)
                value = value * 10 + (*p - '0');
            ++p;
        }
        if (negative)
            value = -value;
        if (value > 2147483647LL)
            value = 2147483647LL;
        if (value < -2147483648LL)
            value = -2147483648LL;
        pos = p;
        *out = static_cast<int32_t>(value);
        return true;
    }
};

// Reads up to `count` floats into the fields in order; returns how many converted.
int32_t readFields(NumberReader& reader, float* const* fields, int32_t count)
{
    int32_t done = 0;
    for (int32_t i = 0; i < count; ++i) {
        float value;
        if (!reader.readFloat(&value))
            break;
        *fields[i] = value;
        ++done;
    }
    return done;
}

bool readWholeFile(const char* path, std::string* text)
{
    if (path == nullptr)
        return false;
    std::FILE* f = std::fopen(path, "rb");
    if (f == nullptr)
        return false;
    std::string data;
    char buffer[4096];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        data.append(buffer, got);
    const bool ok = std::ferror(f) == 0;
    std::fclose(f);
    if (!ok)
        return false;
    *text = std::move(data);
    return true;
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
    NumberReader reader{text, text + (text ? length : 0)};
    float* const fields[PARAMS_BUS_VALUE_COUNT] = {
        &params->topSpeed,          &params->accelStep,         &params->brakeStep,
        &params->fuelCapacity,      &geometry->frontLeftWheelZ, &geometry->frontRightWheelZ,
        &geometry->rearWheelsZ,     &geometry->door1LeafAZ,     &geometry->door1LeafBZ,
        &geometry->door2LeafAZ,     &geometry->door2LeafBZ,     &geometry->door3LeafAZ,
        &geometry->door3LeafBZ,
    };
    return readFields(reader, fields, PARAMS_BUS_VALUE_COUNT);
}

int32_t parseMissionParameters(const char* text, size_t length, MissionParameters* m)
{
    NumberReader reader{text, text + (text ? length : 0)};
    float* const fields[PARAMS_MISSION_VALUE_COUNT] = {
        &m->busX, &m->busZ, &m->busHeading, &m->fuel, &m->clockHours, &m->clockMinutes, &m->fuelPointX, &m->fuelPointZ,
    };
    return readFields(reader, fields, PARAMS_MISSION_VALUE_COUNT);
}

int32_t parseStops(const char* text, size_t length, RouteTable* table)
{
    NumberReader reader{text, text + (text ? length : 0)};
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
        float x;
        float z;
        if (!reader.readFloat(&x))
            break;
        table->stopX[i] = x;
        ++done;
        if (!reader.readFloat(&z))
            break;
        table->stopZ[i] = z;
        ++done;
    }
    return done;
}

bool readBusParametersFile(const char* path, VehicleParameters* params, BusGeometry* geometry)
{
    std::string text;
    if (!readWholeFile(path, &text))
        return false;
    parseBusParameters(text.data(), text.size(), params, geometry);
    return true;
}

bool readMissionParametersFile(const char* path, MissionParameters* mission)
{
    std::string text;
    if (!readWholeFile(path, &text))
        return false;
    parseMissionParameters(text.data(), text.size(), mission);
    return true;
}

bool readStopsFile(const char* path, RouteTable* table)
{
    std::string text;
    if (!readWholeFile(path, &text))
        return false;
    parseStops(text.data(), text.size(), table);
    return true;
}

void loadBusParameters()
{
    const char* path = busChoice == 1 ? BUS_PARAMETERS_FILE_VOLVO : BUS_PARAMETERS_FILE_URBINO;
    if (!readBusParametersFile(path, &vehicleParams, &busGeometry))
        reportUnreadable(path);
}

void loadMissionParameters()
{
    MissionParameters m = {vehicle.busX,           vehicle.busZ,           vehicle.busHeading, engine.fuel,
                           gameClock.clockHours,   gameClock.clockMinutes, route.fuelPointX,   route.fuelPointZ};
    if (!readMissionParametersFile(MISSION_PARAMETERS_FILE, &m)) {
        reportUnreadable(MISSION_PARAMETERS_FILE);
        return;
    }
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
    if (!readStopsFile(STOPS_FILE, &route))
        reportUnreadable(STOPS_FILE);
}
