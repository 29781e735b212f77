#include "assets/path_files.h"

#include "assets/tokens.h"
#include "platform/services/file_read.h"

#include <cstdio>

namespace {

// The columns of one file: where its points go and how many values a point has.
struct PathColumns {
    float* x;
    float* z;
    float* speed;  // null for the bus lane
    int32_t minPoints;
    uint8_t closed;  // 1: the last point joins the first
};

PathFileReport refuse(int32_t error, int32_t line, int32_t declared)
{
    return PathFileReport{error, line, declared};
}

PathFileReport parsePath(const char* text, size_t length, const PathColumns& columns, int32_t* pointCount)
{
    *pointCount = 0;
    TextCursor c = textCursor(text ? text : "", text ? length : 0);
    int32_t count = 0;
    if (scanInt(c, count) != SCAN_OK)
        return refuse(PATH_FILE_BAD_COUNT, 1, 0);
    if (count < columns.minPoints || count > MAX_PATH_POINTS)
        return refuse(PATH_FILE_COUNT_RANGE, 1, count);
    const int32_t valuesPerPoint = columns.speed ? 3 : 2;
    for (int32_t i = 0; i < count; ++i) {
        float values[3] = {};
        for (int32_t v = 0; v < valuesPerPoint; ++v) {
            skipSpace(c);
            const int32_t line = c.line;
            const int result = scanFloat(c, values[v]);
            if (result == SCAN_END)
                return refuse(PATH_FILE_SHORT, line, count);
            if (result != SCAN_OK)
                return refuse(PATH_FILE_BAD_NUMBER, line, count);
            if (v == 2 && !(values[2] > 0.0f && values[2] <= CAR_PATH_MAX_SPEED))
                return refuse(PATH_FILE_BAD_SPEED, line, count);
        }
        if (i > 0 && values[0] == columns.x[i - 1] && values[1] == columns.z[i - 1])
            return refuse(PATH_FILE_ZERO_STEP, c.line, count);
        columns.x[i] = values[0];
        columns.z[i] = values[1];
        if (columns.speed)
            columns.speed[i] = values[2];
    }
    if (columns.closed && columns.x[count - 1] == columns.x[0] && columns.z[count - 1] == columns.z[0])
        return refuse(PATH_FILE_ZERO_STEP, c.line, count);
    *pointCount = count;
    return refuse(PATH_FILE_OK, c.line, count);
}

PathFileReport readPath(const char* path, const PathColumns& columns, int32_t* pointCount)
{
    FileBytes bytes;
    if (!readFileBytes(path, bytes)) {
        *pointCount = 0;
        return refuse(PATH_FILE_UNREADABLE, 0, 0);
    }
    return parsePath(bytes.text(), bytes.size, columns, pointCount);
}

PathColumns laneColumns(BusLane* lane)
{
    return PathColumns{lane->x, lane->z, nullptr, BUS_LANE_MIN_POINTS, 0};
}

PathColumns carColumns(CarPath* path)
{
    return PathColumns{path->x, path->z, path->speed, CAR_PATH_MIN_POINTS, 1};
}

}  // namespace

PathFileReport parseBusLane(const char* text, size_t length, BusLane* lane)
{
    return parsePath(text, length, laneColumns(lane), &lane->pointCount);
}

PathFileReport parseCarPath(const char* text, size_t length, CarPath* path)
{
    return parsePath(text, length, carColumns(path), &path->pointCount);
}

PathFileReport readBusLaneFile(const char* path, BusLane* lane)
{
    return readPath(path, laneColumns(lane), &lane->pointCount);
}

PathFileReport readCarPathFile(const char* path, CarPath* carPathOut)
{
    return readPath(path, carColumns(carPathOut), &carPathOut->pointCount);
}

void describePathFileReport(const PathFileReport& r, int32_t minPoints, char* out, size_t size)
{
    switch (r.error) {
    case PATH_FILE_OK:
        std::snprintf(out, size, "%d points", r.declared);
        break;
    case PATH_FILE_UNREADABLE:
        std::snprintf(out, size, "cannot be read");
        break;
    case PATH_FILE_BAD_COUNT:
        std::snprintf(out, size, "bad number at line 1: the count of points");
        break;
    case PATH_FILE_COUNT_RANGE:
        std::snprintf(out, size, "count %d out of range (%d..%d)", r.declared, minPoints, MAX_PATH_POINTS);
        break;
    case PATH_FILE_BAD_NUMBER:
        std::snprintf(out, size, "bad number at line %d", r.line);
        break;
    case PATH_FILE_SHORT:
        std::snprintf(out, size, "the file ends at line %d before its %d points", r.line, r.declared);
        break;
    case PATH_FILE_BAD_SPEED:
        std::snprintf(out, size, "speed out of range at line %d (above 0, at most 0.5)", r.line);
        break;
    default:
        std::snprintf(out, size, "zero-length step at line %d: a point equal to the one before", r.line);
        break;
    }
}

void loadCarPath()
{
    const uint8_t wasActive = carPath.active;
    if (readCarPathFile(CAR_PATH_FILE, &carPath).error != PATH_FILE_OK) {
        carPath.active = 0;
        return;
    }
    if (!wasActive)
        startOtherCarOnPath();
}
