#include "tools/data/content_stops.h"

#include "sim/state.h"
#include "tools/common/route_layout.h"

#include <cmath>

namespace {

const char* const NAMES[] = {
    "Kwiatowa", "Plac Targowy", "Szkolna", "Park Miejski", "Ogrodowa", "Szpital Miejski",
    "Dworzec", "Centrum", "Lipowa", "Zajezdnia", "Polna", "Łąkowa", "Młyńska", "Kościelna",
    "Żeromskiego", "Słoneczna",
};
constexpr int NAME_COUNT = static_cast<int>(sizeof NAMES / sizeof NAMES[0]);
// A city bus averages about 20 km/h between stops and waits half a minute at each.
constexpr float AVERAGE_UNITS_PER_MINUTE = 20.0f / SIM_KMH_PER_SPEED * 50.0f * 60.0f;
constexpr float DWELL_MINUTES = 0.5f;
// The first stop is served this long after the clock starts at the depot.
constexpr float FIRST_STOP_AFTER = 3.0f;

}  // namespace

std::vector<std::string> lineStopNames()
{
    std::vector<std::string> out;
    const size_t n = routeStops().size();
    for (size_t i = 0; i < n; ++i)
        out.push_back(i + 1 == n ? std::string("Zajezdnia") : std::string(NAMES[i % (NAME_COUNT - 1)]));
    return out;
}

std::vector<TimetableRow> lineTimetable(int runs, int headwayMinutes)
{
    const std::vector<RouteStop>& stops = routeStops();
    const RouteRoad& lane = routeBusLane();
    const float total = routeLength(lane);
    const RouteStart start = routeStart();
    const float startMinutes = start.clockHours * 60.0f + start.clockMinutes + FIRST_STOP_AFTER;
    const std::vector<std::string> names = lineStopNames();
    std::vector<TimetableRow> rows;
    float elapsed = 0.0f;
    float previous = 0.0f;
    for (size_t i = 0; i < stops.size(); ++i) {
        const float along = routeProject(lane, stops[i].x, stops[i].z).along;
        if (i > 0) {
            float d = along - previous;
            if (d < 0.0f)
                d += total;
            elapsed += d / AVERAGE_UNITS_PER_MINUTE + DWELL_MINUTES;
        }
        previous = along;
        TimetableRow row{names[i], {}};
        for (int r = 0; r < runs; ++r)
            row.times.push_back(static_cast<int>(std::lround(startMinutes + elapsed)) + r * headwayMinutes);
        rows.push_back(row);
    }
    return rows;
}
