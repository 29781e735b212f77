// The line's stops as the passengers know them: a name for every stop of the generated route and
// the timetable of line 128 computed from the distances along the bus lane. Shared by the stop
// name plates of the route scene and the timetable board. An imported route replaces all of it
// (its ref, destination, names and distances) with setImportedLine before the pictures are painted.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TimetableRow {
    std::string name;        // UTF-8
    std::vector<int> times;  // departure times of the day's runs, minutes after midnight
};

// A line from an imported map: what the boards and plates show instead of the generated line's.
struct ImportedLine {
    std::string ref;                // painted where the generated line shows "128"
    std::string destination;        // the final stop, on the destination display and timetable
    std::vector<std::string> names; // one per stop, in the order served
    std::vector<float> along;       // each stop's distance along the bus lane from the start
    int startMinutes;               // the game clock's start, minutes after midnight
};

// The line the generator paints: set once before generating an imported tree, then read by the
// painters for the rest of the run; unset, everything is the generated line's.
void setImportedLine(const ImportedLine& line);
// The route's number ("128" unless imported) and destination (generatedText unless imported).
const std::string& lineRef();
std::string lineDestination(const char* generatedText);

// Names of the stops of routeStops(), in the order they are served.
std::vector<std::string> lineStopNames();
// One row per stop: the run the mission starts (departing the first stop shortly after the
// game clock's start) and the runs after it, every headway minutes.
std::vector<TimetableRow> lineTimetable(int runs, int headwayMinutes);
