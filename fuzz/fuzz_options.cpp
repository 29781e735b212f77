// The options reader on a fuzzed "Opcje.ini": the profile reader takes a path, so the bytes go
// to a scratch file first. Whatever the file holds, the derived values stay in their sets.
#include "core/options.h"
#include "fuzz/fuzz_support.h"
#include "platform/services/profile.h"

#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::string path = fuzzScratchDir() + "/Opcje.ini";
    fuzzWriteFile(path, data, size);
    readOptionsFrom(path);

    FUZZ_CHECK(std::memchr(options.mp3Folder, '\0', sizeof options.mp3Folder) != nullptr);
    FUZZ_CHECK((options.screenWidth == 640 && options.screenHeight == 480) || (options.screenWidth == 800 && options.screenHeight == 600) ||
               (options.screenWidth == 1024 && options.screenHeight == 768));
    FUZZ_CHECK(options.screenBits == 16 || options.screenBits == 32);
    FUZZ_CHECK(options.textureMinFilter == 0 || options.textureMinFilter == 0x2601 || options.textureMinFilter == 0x2701);
    FUZZ_CHECK(options.clearSky == 0 || options.clearSky == 1);
    FUZZ_CHECK((options.routeTextureList == nullptr) == (options.textureQuality != 0 && options.textureQuality != 1));
    FUZZ_CHECK((options.busTextureList == nullptr) == (options.routeTextureList == nullptr));

    // A string read into a buffer of every small size stays inside it and terminated.
    char small[8];
    for (size_t n = 1; n <= sizeof small; ++n) {
        std::memset(small, 0x7f, sizeof small);
        const size_t copied = profileReadString("Opcje", "FolderMp3", "Dane/Radio/", small, n, path.c_str());
        FUZZ_CHECK(copied < n);
        FUZZ_CHECK(small[copied] == '\0');
        for (size_t i = n; i < sizeof small; ++i)
            FUZZ_CHECK(small[i] == 0x7f);
    }
    return 0;
}
