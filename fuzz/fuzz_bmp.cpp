// The BMP decoder on fuzzed bytes held in memory: it never reads outside them, a refusal names
// one of its messages, and a picture it returns has every pixel its size promises.
#include "assets/bmp.h"
#include "fuzz/fuzz_support.h"

#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> bytes(data, data + size);
    const char* error = nullptr;
    ImageRecord* image = decodeBmp(bytes.data(), bytes.size(), &error);
    if (!image) {
        FUZZ_CHECK(error == BMP_MSG_FORMAT || error == BMP_MSG_CONVERSION || error == BMP_MSG_MEMORY);
        return 0;
    }
    FUZZ_CHECK(error == nullptr);
    FUZZ_CHECK(image->width > 0 && image->width <= BMP_MAX_SIDE);
    FUZZ_CHECK(image->height > 0 && image->height <= BMP_MAX_SIDE);
    FUZZ_CHECK(image->pixels != nullptr);
    // Touching the block across its whole length lets AddressSanitizer check it is as large as
    // the picture's size says.
    const size_t count = static_cast<size_t>(image->width) * static_cast<size_t>(image->height) * 3;
    uint32_t sum = 0;
    for (size_t i = 0; i < count; i += 1 + count / 65536)
        sum += image->pixels[i];
    sum += image->pixels[count - 1];
    (void)sum;
    freeImage(image);
    return 0;
}
