// The mission reader on fuzzed ".misji" text: at most its 8 values, in order, the rest left as
// they were, and no non-finite number reaching the run.
#include "assets/params.h"
#include "fuzz/fuzz_support.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<char> text(data, data + size);
    constexpr float UNTOUCHED = -777.0f;
    MissionParameters mission{UNTOUCHED, UNTOUCHED, UNTOUCHED, UNTOUCHED,
                              UNTOUCHED, UNTOUCHED, UNTOUCHED, UNTOUCHED};
    const int32_t converted = parseMissionParameters(text.data(), text.size(), &mission);
    FUZZ_CHECK(converted >= 0 && converted <= PARAMS_MISSION_VALUE_COUNT);

    float values[PARAMS_MISSION_VALUE_COUNT];
    static_assert(sizeof mission == sizeof values, "8 floats");
    std::memcpy(values, &mission, sizeof mission);
    for (int32_t i = 0; i < PARAMS_MISSION_VALUE_COUNT; ++i) {
        FUZZ_CHECK(std::isfinite(values[i]));
        if (i >= converted)
            FUZZ_CHECK(values[i] == UNTOUCHED);
    }
    return 0;
}
