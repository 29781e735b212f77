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

    FUZZ_CHECK(std::memchr(mp3Folder, '\0', sizeof mp3Folder) != nullptr);
    FUZZ_CHECK((screenWidth == 640 && screenHeight == 480) || (screenWidth == 800 && screenHeight == 600) ||
               (screenWidth == 1024 && screenHeight == 768));
    FUZZ_CHECK(screenBits == 16 || screenBits == 32);
    FUZZ_CHECK(textureMinFilter == 0 || textureMinFilter == 0x2601 || textureMinFilter == 0x2701);
    FUZZ_CHECK(clearSky == 0 || clearSky == 1);
    FUZZ_CHECK((routeTextureList == nullptr) == (optTextureQuality != 0 && optTextureQuality != 1));
    FUZZ_CHECK((busTextureList == nullptr) == (routeTextureList == nullptr));

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
