// The stop reader on fuzzed ".roz" text: the count stays inside the table, every stop it fills
// is finite, the entries past what it read and the refuelling point are left alone; the file's
// checks name at most their capacity of problems, each a terminated message.
#include "assets/params.h"
#include "assets/params_check.h"
#include "fuzz/fuzz_support.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<char> text(data, data + size);
    constexpr float UNTOUCHED = 4242.0f;
    static RouteTable table;
    for (int i = 0; i < MAX_STOPS; ++i)
        table.stopX[i] = table.stopZ[i] = UNTOUCHED;
    table.stopCount = -99;
    table.fuelPointX = table.fuelPointZ = UNTOUCHED;

    const int32_t converted = parseStops(text.data(), text.size(), &table);
    FUZZ_CHECK(converted >= 0 && converted <= 1 + 2 * MAX_STOPS);
    if (converted == 0) {
        FUZZ_CHECK(table.stopCount == -99);
    } else {
        FUZZ_CHECK(table.stopCount >= 0 && table.stopCount <= MAX_STOPS);
        FUZZ_CHECK(converted <= 1 + 2 * table.stopCount);
    }
    // Values converted after the count: stop i's X is value 2i, its Z value 2i + 1.
    const int32_t values = converted > 0 ? converted - 1 : 0;
    for (int32_t i = 0; i < MAX_STOPS; ++i) {
        FUZZ_CHECK(std::isfinite(table.stopX[i]) && std::isfinite(table.stopZ[i]));
        if (2 * i >= values)
            FUZZ_CHECK(table.stopX[i] == UNTOUCHED);
        if (2 * i + 1 >= values)
            FUZZ_CHECK(table.stopZ[i] == UNTOUCHED);
    }
    FUZZ_CHECK(table.fuelPointX == UNTOUCHED && table.fuelPointZ == UNTOUCHED);

    static ParamsProblems problems;
    checkStopsText(text.data(), text.size(), &problems);
    FUZZ_CHECK(problems.count >= 0 && problems.count <= PARAMS_CHECK_MAX_PROBLEMS);
    for (int32_t i = 0; i < problems.count; ++i)
        FUZZ_CHECK(std::memchr(problems.messages[i], '\0', PARAMS_CHECK_MESSAGE_SIZE) != nullptr);
    return 0;
}
