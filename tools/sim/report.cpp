#include "tools/sim/report.h"

#include "core/keys.h"
#include "sim/sim_util.h"
#include "sim/state.h"

#include <cmath>
#include <cstdio>

std::string csvHeader()
{
    return "tick,speed,kmh,heading,x,z,gear,engine,fuel,doors,sounds,stop,onboard,penalty,finished,verdict,"
           "clock,lights,carx,carz,freq";
}

int32_t engineStateNumber()
{
    const EngineState& e = engine;
    if (e.engineOff == 1)
        return e.engineKeyLatch == 0 ? 2 : (keyState[VK_KEY_S] ? 1 : 0);
    return e.throttleLocked == 0 ? 3 : 4;
}

const char* trafficPhaseName()
{
    if (traffic.red && traffic.yellow)
        return "red-yellow";
    if (traffic.red)
        return "red";
    if (traffic.green)
        return "green";
    if (traffic.yellow)
        return "yellow";
    return "off";
}

std::string csvField(const std::string& text)
{
    if (text.find_first_of(", \"") == std::string::npos)
        return text;
    std::string out = "\"";
    for (char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
    return out;
}

std::string csvRow(int64_t tick, const std::vector<std::string>& sounds)
{
    std::string joined;
    for (const std::string& s : sounds) {
        if (!joined.empty())
            joined += ' ';
        joined += s;
    }
    char doorsText[64];
    std::snprintf(doorsText, sizeof doorsText, "%.2f/%.2f/%.2f", doors.swing[0], doors.swing[1], doors.swing[2]);
    char clockText[32];
    std::snprintf(clockText, sizeof clockText, "%02d:%02d", truncToInt(gameClock.clockHours),
                  truncToInt(gameClock.clockMinutes));

    char head[256];
    std::snprintf(head, sizeof head, "%lld,%.5f,%.1f,%.3f,%.3f,%.3f,%d,%d,%.3f,%s,", static_cast<long long>(tick),
                  vehicle.busSpeed, std::fabs(vehicle.busSpeed) * static_cast<double>(SIM_KMH_PER_SPEED), vehicle.busHeading, vehicle.busX,
                  vehicle.busZ, vehicle.gear, engineStateNumber(), engine.fuel, doorsText);
    char middle[128];
    std::snprintf(middle, sizeof middle, ",%d,%.2f,%.2f,%d,", stops.currentStop, stops.passengersOnBoard,
                  run.punishment, run.runFinished);
    char tail[128];
    std::snprintf(tail, sizeof tail, ",%s,%s,%.3f,%.3f,%d", clockText, trafficPhaseName(), otherCar.x,
                  otherCar.z, engine.engineFreq);
    return std::string(head) + csvField(joined) + middle + csvField(run.verdictText ? run.verdictText : "") + tail;
}
