// The whole load sequence on the generated tree against only reading the bytes it reads.
// One run each (a new game runs it once); the ratio is reported as a counter. Goals: under 1 s,
// at most 3 times the plain reading.
#include "core/game.h"
#include "core/options.h"
#include "platform/services/file_read.h"
#include "assets/ids.h"
#include "assets/load.h"
#include "flow/load.h"
#include "assets/model.h"
#include "assets/textures.h"

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

std::string treeDir;
double loadSeconds = 0.0;
double readSeconds = 0.0;

bool ownTree = false;

// VELBRANT_BENCH_TREE names an existing tree to load instead of generating one.
bool makeTree()
{
    if (const char* given = std::getenv("VELBRANT_BENCH_TREE")) {
        treeDir = given;
        return true;
    }
    ownTree = true;
    char pattern[] = "/tmp/velbrant-bench-XXXXXX";
    if (!mkdtemp(pattern))
        return false;
    treeDir = pattern;
    const std::string command = std::string("'") + VELBRANT_BIN_DIR + "/velbrant-data' '" + treeDir + "' >/dev/null";
    return std::system(command.c_str()) == 0;
}

bool makeContext()
{
    if (!std::getenv("DISPLAY"))
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        return false;
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_Window* window = SDL_CreateWindow("bench", 0, 0, 64, 64, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (!window)
        return false;
    SDL_GLContext context = SDL_GL_CreateContext(window);
    return context && SDL_GL_MakeCurrent(window, context) == 0;
}

// Every file the load reads (the radio's tracks are only listed), in the chosen quality and bus.
std::vector<std::string> filesTheLoadReads()
{
    std::vector<std::string> files;
    const char* lists[5] = {options.routeTextureList, options.busTextureList, options.carTextureList, GAUGES_TEXTURE_LIST,
                            TIMETABLE_TEXTURE_LIST};
    for (const char* list : lists) {
        files.push_back(list);
        FileBytes bytes;
        if (!readFileBytes(list, bytes))
            continue;
        TextureListReader reader;
        beginTextureList(reader, bytes.text(), bytes.size);
        char name[TEXTURE_NAME_SIZE];
        for (int32_t i = 0; i < reader.count && nextTextureName(reader, name) == SCAN_OK; ++i)
            files.push_back(name);
    }
    for (const ModelFile& f : modelFiles)
        files.push_back(f.inBusFolder ? std::string(busFolder()) + f.name : std::string(f.name));
    files.push_back(std::string(busFolder()) + "Parametry.busa");
    files.push_back("Dane/Rozklady/128/Parametry.misji");
    files.push_back(FONT_IMAGE_FILE);
    files.push_back("Dane/Rozklady/128/Przystanki.roz");
    return files;
}

double secondsOf(void (*work)())
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

size_t bytesRead = 0;

void readEverything()
{
    bytesRead = 0;
    for (const std::string& path : filesTheLoadReads()) {
        FileBytes bytes;
        if (readFileBytes(path.c_str(), bytes))
            bytesRead += bytes.size;
        benchmark::DoNotOptimize(bytes.data);
    }
}

void BM_LoadAssets(benchmark::State& state)
{
    for (auto _ : state) {
        loadSeconds = secondsOf(loadAssets);
        state.SetIterationTime(loadSeconds);
    }
    if (game.quitRequested)
        state.SkipWithError("the load asked for a shutdown");
}

void BM_ReadTheSameBytes(benchmark::State& state)
{
    for (auto _ : state) {
        readSeconds = secondsOf(readEverything);
        state.SetIterationTime(readSeconds);
    }
    state.counters["bytes"] = static_cast<double>(bytesRead);
    if (readSeconds > 0.0)
        state.counters["load_over_read"] = loadSeconds / readSeconds;
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (!makeTree() || chdir(treeDir.c_str()) != 0 || !makeContext()) {
        std::fprintf(stderr, "bench_gl_load: no generated tree or no GL context\n");
        return 1;
    }
    game.busChoice = 1;
    readOptionsFrom("Opcje.ini");
    // One warm-up load, so both runs meet the files in the page cache.
    loadAssets();
    benchmark::RegisterBenchmark("LoadAssets", BM_LoadAssets)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("ReadTheSameBytes", BM_ReadTheSameBytes)
        ->Iterations(1)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (ownTree && std::system(("rm -rf '" + treeDir + "'").c_str()) != 0)
        return 1;
    return 0;
}
