// The path files' readers: good files whole, every refusal with its line, on hostile text.
#include "assets/path_files.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

TEST(PathFiles, EachFileIsTakenWholeOrRefusedAtItsLine)
{
    static BusLane lane;
    static CarPath car;
    struct Row { bool isCar; std::string text; int32_t error, line, points; };
    const std::string many = std::to_string(MAX_PATH_POINTS + 1);
    const Row rows[] = {
        {false, "2\r\n1.5 -2\r\n3 4\r\n", PATH_FILE_OK, 3, 2},
        {true, "3\n0 0 0.5\n0 9 0.1\n9 9 1e-3\n", PATH_FILE_OK, 4, 3},
        {false, "", PATH_FILE_BAD_COUNT, 1, 0},
        {false, "two\n1 2\n3 4\n", PATH_FILE_BAD_COUNT, 1, 0},
        {false, "1\n1 2\n", PATH_FILE_COUNT_RANGE, 1, 0},
        {true, "2\n0 0 0.1\n1 1 0.1\n", PATH_FILE_COUNT_RANGE, 1, 0},
        {false, many + "\n", PATH_FILE_COUNT_RANGE, 1, 0},
        {false, "-3\n", PATH_FILE_COUNT_RANGE, 1, 0},
        {false, "2\n1 2\n3 nan\n", PATH_FILE_BAD_NUMBER, 3, 0},
        {false, "2\n1 2\n1e39 4\n", PATH_FILE_BAD_NUMBER, 3, 0},
        {false, "2\n1 2\n3,5 4\n", PATH_FILE_BAD_NUMBER, 3, 0},
        {false, "3\n1 2\n3 4\n", PATH_FILE_SHORT, 4, 0},
        {true, "3\n0 0 0.1\n0 9 0.1\n9 9\n", PATH_FILE_SHORT, 5, 0},
        {true, "3\n0 0 0.1\n0 9 0\n9 9 0.1\n", PATH_FILE_BAD_SPEED, 3, 0},
        {true, "3\n0 0 0.1\n0 9 0.51\n9 9 0.1\n", PATH_FILE_BAD_SPEED, 3, 0},
        {true, "3\n0 0 -0.1\n0 9 0.1\n9 9 0.1\n", PATH_FILE_BAD_SPEED, 2, 0},
        {false, "3\n1 2\n1 2\n3 4\n", PATH_FILE_ZERO_STEP, 3, 0},
        {true, "3\n0 0 0.1\n0 9 0.1\n0 0 0.1\n", PATH_FILE_ZERO_STEP, 4, 0},
    };
    for (const Row& r : rows) {
        const PathFileReport got = r.isCar ? parseCarPath(r.text.data(), r.text.size(), &car)
                                           : parseBusLane(r.text.data(), r.text.size(), &lane);
        const int32_t points = r.isCar ? car.pointCount : lane.pointCount;
        EXPECT_EQ(std::make_tuple(got.error, got.line, points), std::make_tuple(r.error, r.line, r.points)) << r.text;
    }
    parseBusLane(rows[0].text.data(), rows[0].text.size(), &lane);
    EXPECT_EQ(std::make_tuple(lane.x[0], lane.z[0], lane.x[1], lane.z[1]), std::make_tuple(1.5f, -2.0f, 3.0f, 4.0f));
    EXPECT_EQ(readBusLaneFile("no/such/Pas.trasy", &lane).error, PATH_FILE_UNREADABLE);
}
