// The path readers on fuzzed text, each input read as a bus lane and as a car's loop: a file is
// taken whole (count in range, every value finite, no zero-length step, speeds in range) or
// refused with no points.
#include "assets/path_files.h"
#include "fuzz/fuzz_support.h"

#include <cmath>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<char> text(data, data + size);
    static BusLane lane;
    static CarPath car;
    const PathFileReport l = parseBusLane(text.data(), text.size(), &lane);
    FUZZ_CHECK((l.error == PATH_FILE_OK) == (lane.pointCount > 0));
    FUZZ_CHECK(lane.pointCount == 0 || (lane.pointCount >= BUS_LANE_MIN_POINTS && lane.pointCount <= MAX_PATH_POINTS));
    for (int32_t i = 0; i < lane.pointCount; ++i) {
        FUZZ_CHECK(std::isfinite(lane.x[i]) && std::isfinite(lane.z[i]));
        FUZZ_CHECK(i == 0 || lane.x[i] != lane.x[i - 1] || lane.z[i] != lane.z[i - 1]);
    }
    const PathFileReport c = parseCarPath(text.data(), text.size(), &car);
    FUZZ_CHECK((c.error == PATH_FILE_OK) == (car.pointCount > 0));
    FUZZ_CHECK(car.pointCount == 0 || (car.pointCount >= CAR_PATH_MIN_POINTS && car.pointCount <= MAX_PATH_POINTS));
    for (int32_t i = 0; i < car.pointCount; ++i) {
        const int32_t before = i > 0 ? i - 1 : car.pointCount - 1;
        FUZZ_CHECK(std::isfinite(car.x[i]) && std::isfinite(car.z[i]));
        FUZZ_CHECK(car.speed[i] > 0.0f && car.speed[i] <= CAR_PATH_MAX_SPEED);
        FUZZ_CHECK(car.x[i] != car.x[before] || car.z[i] != car.z[before]);
    }
    return 0;
}
