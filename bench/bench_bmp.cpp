// The BMP loader (file read and decode) against SDL's own BMP loader on the same files. Goal: at
// least as fast. Beside it, how fast the decoder refuses a picture bomb and decodes the largest
// compact run-length picture. SDL keeps 24-bit pictures as they are stored and 8-bit ones indexed, so it is also
// measured with a conversion to packed RGB, which is what the game's loader hands out.
// SDL is opened at run time: benchmarks of this name link only the game's own libraries.
#include "assets/bmp.h"

#include <SDL2/SDL.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <string>
#include <vector>

namespace {

struct SdlCalls {
    decltype(&SDL_RWFromFile) rwFromFile = nullptr;
    decltype(&SDL_LoadBMP_RW) loadBmp = nullptr;
    decltype(&SDL_ConvertSurfaceFormat) convert = nullptr;
    decltype(&SDL_FreeSurface) freeSurface = nullptr;
};

const SdlCalls* sdl()
{
    static SdlCalls calls;
    static bool tried = false;
    if (!tried) {
        tried = true;
        void* lib = dlopen("libSDL2-2.0.so.0", RTLD_NOW);
        if (lib) {
            calls.rwFromFile = reinterpret_cast<decltype(calls.rwFromFile)>(dlsym(lib, "SDL_RWFromFile"));
            calls.loadBmp = reinterpret_cast<decltype(calls.loadBmp)>(dlsym(lib, "SDL_LoadBMP_RW"));
            calls.convert = reinterpret_cast<decltype(calls.convert)>(dlsym(lib, "SDL_ConvertSurfaceFormat"));
            calls.freeSurface = reinterpret_cast<decltype(calls.freeSurface)>(dlsym(lib, "SDL_FreeSurface"));
        }
    }
    return calls.loadBmp && calls.rwFromFile && calls.convert && calls.freeSurface ? &calls : nullptr;
}

void put16(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t v)
{
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

// A side x side picture of the given depth (24, or 8 with a 256-grey table), noisy enough that
// nothing is trivially uniform.
std::string writePicture(int side, int bits)
{
    const uint32_t stride = ((static_cast<uint32_t>(side) * bits + 31) / 32) * 4;
    const uint32_t table = bits == 8 ? 1024 : 0;
    std::vector<uint8_t> f;
    f.push_back('B');
    f.push_back('M');
    put32(f, 54 + table + stride * side);
    put32(f, 0);
    put32(f, 54 + table);
    put32(f, 40);
    put32(f, side);
    put32(f, side);
    put16(f, 1);
    put16(f, bits);
    put32(f, 0);
    put32(f, stride * side);
    put32(f, 2835);
    put32(f, 2835);
    put32(f, 0);
    put32(f, 0);
    for (uint32_t i = 0; i < table / 4; ++i) {
        f.push_back(static_cast<uint8_t>(i));
        f.push_back(static_cast<uint8_t>(255 - i));
        f.push_back(static_cast<uint8_t>(i * 7));
        f.push_back(0);
    }
    uint32_t state = 12345;
    for (int y = 0; y < side; ++y)
        for (uint32_t x = 0; x < stride; ++x) {
            state = state * 1664525u + 1013904223u;
            f.push_back(static_cast<uint8_t>(state >> 24));
        }
    const std::string path = "/tmp/velbrant-bench-" + std::to_string(side) + "-" + std::to_string(bits) + ".bmp";
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out) {
        std::fwrite(f.data(), 1, f.size(), out);
        std::fclose(out);
    }
    return path;
}

void ours(benchmark::State& state, int side, int bits)
{
    const std::string path = writePicture(side, bits);
    char message[256];
    for (auto _ : state) {
        ImageRecord* image = loadBmpImageQuiet(path.c_str(), message, sizeof message);
        if (!image) {
            state.SkipWithError(message);
            break;
        }
        benchmark::DoNotOptimize(image->pixels);
        freeImage(image);
    }
    state.SetBytesProcessed(state.iterations() * side * side * 3);
}

void sdlLoad(benchmark::State& state, int side, int bits, bool toRgb)
{
    const SdlCalls* s = sdl();
    if (!s) {
        state.SkipWithError("libSDL2 not found");
        return;
    }
    const std::string path = writePicture(side, bits);
    for (auto _ : state) {
        SDL_Surface* surface = s->loadBmp(s->rwFromFile(path.c_str(), "rb"), 1);
        if (!surface) {
            state.SkipWithError("SDL refused the picture");
            break;
        }
        if (toRgb) {
            SDL_Surface* rgb = s->convert(surface, SDL_PIXELFORMAT_RGB24, 0);
            benchmark::DoNotOptimize(rgb);
            s->freeSurface(rgb);
        }
        benchmark::DoNotOptimize(surface->pixels);
        s->freeSurface(surface);
    }
    state.SetBytesProcessed(state.iterations() * side * side * 3);
}

// A run-length file of one end-of-picture mark that declares side x side pixels: 1 KB whatever
// the side. At 16384 a side it is the picture bomb, refused before anything is allocated; at
// 8192, the largest picture a texture can use, it decodes to a black picture. Goal: milliseconds.
std::vector<uint8_t> compactRunLength(int side)
{
    std::vector<uint8_t> f;
    put32(f, 40);
    put32(f, side);
    put32(f, side);
    put16(f, 1);
    put16(f, 8);
    put32(f, 1);  // 8-bit run length
    put32(f, 2);
    put32(f, 2835);
    put32(f, 2835);
    put32(f, 0);
    put32(f, 0);
    f.resize(f.size() + 256 * 4, 0);  // the colour table, all black
    f.push_back(0);
    f.push_back(1);
    return f;
}

void compact(benchmark::State& state, int side, bool decodes)
{
    const std::vector<uint8_t> file = compactRunLength(side);
    for (auto _ : state) {
        const char* error = nullptr;
        ImageRecord* image = decodeBmp(file.data(), file.size(), &error);
        if ((image != nullptr) != decodes) {
            state.SkipWithError(decodes ? "the largest compact picture was refused" : "the bomb was decoded");
            freeImage(image);
            break;
        }
        benchmark::DoNotOptimize(image);
        freeImage(image);
    }
}

} // namespace

BENCHMARK_CAPTURE(compact, bomb_16384, 16384, false);
BENCHMARK_CAPTURE(compact, largest_8192, 8192, true);
BENCHMARK_CAPTURE(ours, rgb24_512, 512, 24);
BENCHMARK_CAPTURE(sdlLoad, rgb24_512, 512, 24, false);
BENCHMARK_CAPTURE(sdlLoad, rgb24_512_to_rgb, 512, 24, true);
BENCHMARK_CAPTURE(ours, indexed8_512, 512, 8);
BENCHMARK_CAPTURE(sdlLoad, indexed8_512, 512, 8, false);
BENCHMARK_CAPTURE(sdlLoad, indexed8_512_to_rgb, 512, 8, true);
BENCHMARK_CAPTURE(ours, rgb24_64, 64, 24);
BENCHMARK_CAPTURE(sdlLoad, rgb24_64, 64, 24, false);
BENCHMARK_CAPTURE(sdlLoad, rgb24_64_to_rgb, 64, 24, true);

BENCHMARK_MAIN();
