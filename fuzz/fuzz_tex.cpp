// The texture-list reader on fuzzed ".tex" text: every name it hands out fits the name buffer,
// is one word, and the reader always moves on, so a list of any count ends.
#include "assets/textures.h"
#include "fuzz/fuzz_support.h"

#include <cstdint>
#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<char> text(data, data + size);
    TextureListReader reader;
    beginTextureList(reader, text.data(), text.size());
    FUZZ_CHECK(reader.countRead == 0 || reader.countRead == 1);
    if (reader.countRead == 0)
        FUZZ_CHECK(reader.count == 0);

    char name[TEXTURE_NAME_SIZE];
    // Past the largest group; the text holds at most size words, so the loop must end by then.
    for (size_t calls = 0;; ++calls) {
        FUZZ_CHECK(calls <= size + 1);
        const char* before = reader.cursor.p;
        std::memset(name, 0x7f, sizeof name);
        const int result = nextTextureName(reader, name);
        FUZZ_CHECK(reader.cursor.p >= before && reader.cursor.p <= reader.cursor.end);
        if (result == SCAN_END)
            break;
        FUZZ_CHECK(reader.cursor.p > before);
        FUZZ_CHECK(reader.word >= text.data() && reader.word + reader.wordLength <= text.data() + text.size());
        FUZZ_CHECK(reader.wordLength > 0);
        if (result == SCAN_OK) {
            // The whole word and its terminator, inside the buffer (a NUL byte in the file simply
            // ends the name early for the image loader).
            FUZZ_CHECK(reader.wordLength < TEXTURE_NAME_SIZE);
            FUZZ_CHECK(std::memcmp(name, reader.word, reader.wordLength) == 0);
            FUZZ_CHECK(name[reader.wordLength] == '\0');
        } else {
            FUZZ_CHECK(result == SCAN_WORD_TOO_LONG);
            FUZZ_CHECK(name[0] == '\0');
            FUZZ_CHECK(reader.wordLength >= TEXTURE_NAME_SIZE);
        }
        // A name never holds a blank: "%s" stops at the first.
        for (size_t i = 0; i < reader.wordLength; ++i)
            FUZZ_CHECK(!isScanSpace(reader.word[i]));
    }
    return 0;
}
