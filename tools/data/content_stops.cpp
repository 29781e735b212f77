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

// Set by the importer before painting; lives for the whole run of the generator.
ImportedLine imported;
uint8_t importedSet = 0;

}  // namespace

void setImportedLine(const ImportedLine& line)
{
    imported = line;
    importedSet = 1;
}

const std::string& lineRef()
{
    static const std::string GENERATED_REF = "128";
    return importedSet ? imported.ref : GENERATED_REF;
}

std::string lineDestination(const char* generatedText)
{
    return importedSet ? imported.destination : std::string(generatedText);
}

std::vector<std::string> lineStopNames()
{
    if (importedSet)
        return imported.names;
    std::vector<std::string> out;
    const size_t n = routeStops().size();
    for (size_t i = 0; i < n; ++i)
        out.push_back(i + 1 == n ? std::string("Zajezdnia") : std::string(NAMES[i % (NAME_COUNT - 1)]));
    return out;
}

std::vector<TimetableRow> lineTimetable(int runs, int headwayMinutes)
{
    if (importedSet) {
        std::vector<TimetableRow> rows;
        float elapsed = FIRST_STOP_AFTER;
        for (size_t i = 0; i < imported.names.size(); ++i) {
            if (i > 0)
                elapsed += (imported.along[i] - imported.along[i - 1]) / AVERAGE_UNITS_PER_MINUTE + DWELL_MINUTES;
            TimetableRow row{imported.names[i], {}};
            for (int r = 0; r < runs; ++r)
                row.times.push_back(imported.startMinutes + static_cast<int>(std::lround(elapsed)) + r * headwayMinutes);
            rows.push_back(row);
        }
        return rows;
    }
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
