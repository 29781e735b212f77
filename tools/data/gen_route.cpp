// The run's text files: the stops, the mission and both buses' parameters, all from the route
// layout and the bus specs shared with the scenery and bus models.
#include "tools/common/bus_designs.h"
#include "tools/common/route_layout.h"
#include "tools/data/gen.h"
#include "tools/data/writers.h"

#include "assets/path_files.h"
#include "sim/stops.h"

#include <charconv>
#include <cmath>
#include <string>

namespace {

// The bus lane file runs on this far past the final stop.
constexpr float BUS_LANE_TAIL = 20.0f;

// The shortest fixed-point text that reads back as the same float: the lane file's points are
// the compiled-in lane's own.
void appendExact(std::string& out, float value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    out.append(buffer, result.ptr);
}

// The closed bus lane unrolled from the bus's start through every stop in order to
// BUS_LANE_TAIL past the final one.
std::string busLaneText()
{
    const RouteRoad& loop = routeBusLane();
    const RouteStart start = routeStart();
    const RouteProjection at = routeProject(loop, start.worldX, -start.worldZ);
    const size_t n = loop.points.size();
    RouteRoad unrolled = {{{start.worldX, -start.worldZ}}, loop.halfWidth, false};
    for (size_t i = 1; i <= 2 * n; ++i)
        unrolled.points.push_back(loop.points[(static_cast<size_t>(at.segment) + i) % n]);
    float along = 0.0f;
    for (const RouteStop& s : routeStops())
        along = routeFirstPass(unrolled, s.x, s.z, along, STOP_REACH).along;
    const float end = along + BUS_LANE_TAIL;
    RouteRoad lane = {{}, loop.halfWidth, false};
    float covered = 0.0f;
    for (size_t i = 0; i < unrolled.points.size() && covered < end; ++i) {
        if (i > 0)
            covered += std::hypot(unrolled.points[i].x - unrolled.points[i - 1].x,
                                  unrolled.points[i].z - unrolled.points[i - 1].z);
        lane.points.push_back(covered <= end ? unrolled.points[i] : routePointAt(unrolled, end));
    }
    std::string text = std::to_string(lane.points.size()) + "\n";
    for (const RoutePoint& p : lane.points) {
        appendExact(text, p.x);
        text += ' ';
        appendExact(text, p.z);
        text += '\n';
    }
    return text;
}

// Fuel in the tank at the start of a run: less than either tank holds, so the pump is useful.
constexpr float ROUTE_START_FUEL = 120.0f;

void appendLine(std::string& out, float value, int decimals = 5)
{
    appendFixed(out, value, decimals);
    out += '\n';
}

std::string busFile(const float (&values)[13])
{
    std::string text;
    for (float v : values)
        appendLine(text, v);
    return text;
}

}  // namespace

void writeRunFiles(const std::string& dir, const std::vector<RouteStop>& stops, const RouteStart& start,
                   const RoutePoint& fuel)
{
    std::string stopText = std::to_string(stops.size()) + "\n";
    for (const RouteStop& s : stops) {
        appendFixed(stopText, s.x, 3);
        stopText += ' ';
        appendFixed(stopText, s.z, 3);
        stopText += '\n';
    }
    writeTextFile(dir + "/Dane/Rozklady/128/Przystanki.roz", stopText);

    std::string mission;
    appendLine(mission, start.worldX, 3);
    appendLine(mission, start.worldZ, 3);
    appendLine(mission, start.heading, 3);
    appendLine(mission, ROUTE_START_FUEL, 3);
    appendLine(mission, start.clockHours, 0);
    appendLine(mission, start.clockMinutes, 0);
    appendLine(mission, fuel.x, 3);
    appendLine(mission, fuel.z, 3);  // model z: the negative of world Z
    writeTextFile(dir + "/Dane/Rozklady/128/Parametry.misji", mission);
}

void genRouteFiles(const std::string& dir)
{
    writeRunFiles(dir, routeStops(), routeStart(), routeFuelPoint());
    writeTextFile(dir + "/" + BUS_LANE_FILE, busLaneText());
    genBusParameters(dir);
}

void genBusParameters(const std::string& dir)
{
    const float volvo[13] = {
        VOLVO_TOP_SPEED,          VOLVO_ACCEL_STEP,          VOLVO_BRAKE_STEP,     VOLVO_FUEL_CAPACITY,
        VOLVO_FRONT_LEFT_WHEEL_Z, VOLVO_FRONT_RIGHT_WHEEL_Z, VOLVO_REAR_WHEELS_Z,  VOLVO_DOOR1_LEAF_A_Z,
        VOLVO_DOOR1_LEAF_B_Z,     VOLVO_DOOR2_LEAF_A_Z,      VOLVO_DOOR2_LEAF_B_Z, VOLVO_DOOR3_LEAF_A_Z,
        VOLVO_DOOR3_LEAF_B_Z,
    };
    const float urbino[13] = {
        URBINO_TOP_SPEED,          URBINO_ACCEL_STEP,          URBINO_BRAKE_STEP,     URBINO_FUEL_CAPACITY,
        URBINO_FRONT_LEFT_WHEEL_Z, URBINO_FRONT_RIGHT_WHEEL_Z, URBINO_REAR_WHEELS_Z,  URBINO_DOOR1_LEAF_A_Z,
        URBINO_DOOR1_LEAF_B_Z,     URBINO_DOOR2_LEAF_A_Z,      URBINO_DOOR2_LEAF_B_Z, URBINO_DOOR3_LEAF_A_Z,
        URBINO_DOOR3_LEAF_B_Z,
    };
    writeTextFile(dir + "/Dane/Autobusy/Volvo7000/Parametry.busa", busFile(volvo));
    writeTextFile(dir + "/Dane/Autobusy/Urbino12/Parametry.busa", busFile(urbino));
}
