// The line's stops as the passengers know them: a name for every stop of the generated route and
// the timetable of line 128 computed from the distances along the bus lane. Shared by the stop
// name plates of the route scene and the timetable board.
#pragma once

#include <string>
#include <vector>

struct TimetableRow {
    std::string name;        // UTF-8
    std::vector<int> times;  // departure times of the day's runs, minutes after midnight
};

// Names of the stops of routeStops(), in the order they are served.
std::vector<std::string> lineStopNames();
// One row per stop: the run the mission starts (departing the first stop shortly after the
// game clock's start) and the runs after it, every headway minutes.
std::vector<TimetableRow> lineTimetable(int runs, int headwayMinutes);
