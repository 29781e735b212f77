#include "flow/diagnostics.h"

#include "assets/ids.h"
#include "render/font.h"
#include "sim/state.h"

#include <GL/gl.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

int32_t loadCount = 0;

// GL hands out names counting up, so every live one lies below the newest plus a margin.
constexpr uint32_t DIAG_NAME_MARGIN = 4096;

uint32_t newestTextureName()
{
    uint32_t newest = 0;
    for (int group = 0; group < TEXTURE_GROUP_COUNT; ++group) {
        const uint32_t* table = textureGroupTable(group);
        for (int slot = 0; table && slot < textureGroupSize(group); ++slot)
            newest = table[slot] > newest ? table[slot] : newest;
    }
    return newest;
}

long residentKiB()
{
    std::FILE* f = std::fopen("/proc/self/statm", "r");
    if (!f)
        return -1;
    long size = 0, resident = 0;
    const int got = std::fscanf(f, "%ld %ld", &size, &resident);
    std::fclose(f);
    return got == 2 ? resident * (sysconf(_SC_PAGESIZE) / 1024) : -1;
}

} // namespace

void diagnosticsAfterLoad()
{
    const char* path = std::getenv("VELBRANT_DIAG_FILE");
    if (!path || !*path)
        return;
    ++loadCount;
    int32_t textures = 0;
    const uint32_t textureEnd = newestTextureName() + DIAG_NAME_MARGIN;
    for (uint32_t name = 1; name <= textureEnd; ++name)
        textures += glIsTexture(name) ? 1 : 0;
    int32_t lists = 0;
    const uint32_t listEnd = fontBase + 256 + DIAG_NAME_MARGIN;
    for (uint32_t list = 1; list <= listEnd; ++list)
        lists += glIsList(list) ? 1 : 0;
    std::FILE* f = std::fopen(path, "a");
    if (!f)
        return;
    std::fprintf(f, "load=%d textures=%d lists=%d rss=%ld\n", loadCount, textures, lists, residentKiB());
    std::fclose(f);
}

void diagnosticsAfterTick()
{
    static const char* path = std::getenv("VELBRANT_DIAG_FILE");
    static int32_t lastSecond = -1;
    if (!path || !*path || gameClock.fpsLastSecond == lastSecond)
        return;
    const bool first = lastSecond < 0;
    lastSecond = gameClock.fpsLastSecond;
    if (first)
        return;  // the first figure counts only part of a second
    if (std::FILE* f = std::fopen(path, "a")) {
        std::fprintf(f, "fps=%d\n", gameClock.framesPerSecond);
        std::fclose(f);
    }
}
