// The bus-parameter reader on fuzzed ".busa" text: it converts at most its 13 values, in order,
// leaves the rest as they were, and lets no non-finite number through.
#include "assets/params.h"
#include "fuzz/fuzz_support.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<char> text(data, data + size);
    constexpr float UNTOUCHED = 12345.0f;
    VehicleParameters params{UNTOUCHED, UNTOUCHED, UNTOUCHED, UNTOUCHED};
    BusGeometry geometry{UNTOUCHED, UNTOUCHED, UNTOUCHED,
                         {{UNTOUCHED, UNTOUCHED}, {UNTOUCHED, UNTOUCHED}, {UNTOUCHED, UNTOUCHED}}};
    const int32_t converted = parseBusParameters(text.data(), text.size(), &params, &geometry);
    FUZZ_CHECK(converted >= 0 && converted <= PARAMS_BUS_VALUE_COUNT);

    float values[PARAMS_BUS_VALUE_COUNT];
    static_assert(sizeof params + sizeof geometry == sizeof values, "13 floats");
    std::memcpy(values, &params, sizeof params);
    std::memcpy(values + 4, &geometry, sizeof geometry);
    for (int32_t i = 0; i < PARAMS_BUS_VALUE_COUNT; ++i) {
        FUZZ_CHECK(std::isfinite(values[i]));
        if (i >= converted)
            FUZZ_CHECK(values[i] == UNTOUCHED);
    }
    return 0;
}
