// The model reader on fuzzed ".qx" text held in memory: the count stays inside the record, the
// report adds up, no non-finite number lands in the record, and every display list's span and
// texture lookup stays inside its tables.
#include "assets/model.h"
#include "fuzz/fuzz_support.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // An exact copy, so reading one byte past the text is caught.
    std::vector<char> text(data, data + size);
    Model& model = modelWew;  // the record split into the most lists
    ModelReport report;
    std::memset(&report, 0x5a, sizeof report);
    parseModel(model, text.data(), text.size(), &report);

    FUZZ_CHECK(model.triangleCount >= 0 && model.triangleCount <= MAX_MODEL_TRIANGLES);
    FUZZ_CHECK(report.countRead == 0 || report.countRead == 1);
    FUZZ_CHECK(report.recordsRead >= 0 && report.recordsMissing >= 0 && report.badRecords >= 0);
    FUZZ_CHECK(report.recordsRead + report.recordsMissing + report.badRecords == model.triangleCount);
    FUZZ_CHECK(std::memchr(report.label, '\0', sizeof report.label) != nullptr);
    for (int32_t i = 0; i < model.triangleCount; ++i) {
        for (float v : model.vertices[i])
            FUZZ_CHECK(std::isfinite(v));
        for (float t : model.texCoords[i])
            FUZZ_CHECK(std::isfinite(t));
    }

    for (const ModelList& entry : modelLists) {
        int32_t begin = -1, end = -1;
        modelListSpan(entry, &begin, &end);
        FUZZ_CHECK(begin >= 0 && end <= MAX_MODEL_TRIANGLES);
        for (int32_t i = begin; i < end; ++i)
            (void)textureNameFor(entry.group, entry.model->textureIndex[i]);
    }
    return 0;
}
