// The route importer on fuzzed extracts (OSM XML when the input starts with '<', else OPL): it
// lists the routes and lays out each of the first few, or refuses with a message; a laid-out
// route always has 2 to 100 stops, a lane of finite points and a closed car loop with speeds.
#include "fuzz/fuzz_support.h"
#include "tools/osm/osm_import.h"
#include "tools/osm/osm_read.h"

#include <cmath>
#include <cstdint>
#include <exception>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const OsmSource source{"", text.data(), text.size(), !text.empty() && text[0] == '<' ? "osm" : "opl"};
    OsmExtract routes;
    try {
        listRoutes(source);
        readRoutes(source, routes);
    } catch (const std::exception&) {
        return 0;
    }
    for (size_t i = 0; i < routes.routes.size() && i < 3; ++i) {
        OsmExtract ex;
        try {
            const OsmPlan plan = importPlan(source, OsmOptions{routes.routes[i].id, 0, 0, 360}, ex);
            FUZZ_CHECK(plan.stops.size() >= 2 && plan.stops.size() <= static_cast<size_t>(OSM_MAX_STOPS));
            FUZZ_CHECK(plan.stopNames.size() == plan.stops.size());
            FUZZ_CHECK(plan.lane.points.size() >= 2);
            for (const RoutePoint& p : plan.lane.points)
                FUZZ_CHECK(std::isfinite(p.x) && std::isfinite(p.z));
            FUZZ_CHECK(plan.carSpeed.size() == plan.carLoop.size());
            for (float v : plan.carSpeed)
                FUZZ_CHECK(v > 0.0f && v <= 0.5f);
        } catch (const std::exception&) {
        }
    }
    return 0;
}
