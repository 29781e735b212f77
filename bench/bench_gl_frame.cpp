// One whole run tick (simulation step, main view, both mirrors, dashboard, texts, swap) on the
// generated data tree, in the cab view, at 640 x 480 and 1024 x 768. Reports the median and the
// 99th percentile of the tick in milliseconds; the tick has 20 ms, the frame should take under 10.
// Each figure comes in the plain order too (every route piece, plain:1), and on the route tiled
// to 4 and 16 times its area (tiles:4, tiles:16), a file the benchmark writes and the game loads.
#include "core/game.h"
#include "app/gl_setup.h"
#include "core/options.h"
#include "assets/load.h"
#include "flow/load.h"
#include "platform/platform.h"
#include "assets/model.h"
#include "assets/route_pieces.h"
#include "render/font.h"
#include "render/route_cull.h"
#include "render/scene.h"
#include "sim/state.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <ctime>
#include <unistd.h>
#include <vector>

namespace {

// A data tree generated once per process into a temporary folder, or the one named by
// VELBRANT_BENCH_TREE; empty when that fails.
const std::string& benchTree()
{
    static std::string path;
    static bool tried = false;
    if (tried)
        return path;
    tried = true;
    if (const char* given = std::getenv("VELBRANT_BENCH_TREE")) {
        path = given;
        return path;
    }
    char pattern[] = "/tmp/velbrant-bench-XXXXXX";
    if (!mkdtemp(pattern))
        return path;
    const std::string dir = pattern;
    const std::string command =
        std::string("'") + VELBRANT_BIN_DIR + "/velbrant-data' '" + dir + "' >/dev/null 2>&1";
    std::error_code ec;
    if (std::system(command.c_str()) != 0) {
        std::filesystem::remove_all(dir, ec);
        return path;
    }
    path = dir;
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    });
    return path;
}

double processCpuMs()
{
    timespec ts;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) * 1000.0 + static_cast<double>(ts.tv_nsec) / 1e6;
}

constexpr const char* ROUTE_FILE = "Dane/Trasy/Test/Plansza.qx";

// Writes the tree's route file as the generated route laid tiles times side by side on a square
// (1, 4, 16), each copy shifted by the route's extent: the same density over a bigger town.
void writeTiledRoute(int tiles)
{
    static std::string original;
    if (original.empty()) {
        std::ifstream in(ROUTE_FILE, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        original = text.str();
    }
    std::ofstream(ROUTE_FILE, std::ios::binary | std::ios::trunc) << original;
    if (tiles <= 1)
        return;
    const std::string side = tiles == 16 ? "4x4" : "2x2";
    const std::string command =
        std::string("'") + VELBRANT_SOURCE_DIR + "/scripts/tile-route.sh' " + ROUTE_FILE + " " + side;
    if (std::system(command.c_str()) != 0)
        std::fprintf(stderr, "the route was not tiled: %s\n", command.c_str());
}

// Opens a window of the size, loads the run into it and puts the bus in the cab view with both
// mirrors (views 3) or without them (views 1). False when there is no display or no data.
bool startRun(int width, int height, int views, int tiles)
{
    // A failing load must report and go on, not wait for someone to close a dialog.
    setenv("VELBRANT_NO_DIALOGS", "1", 1);
    game.quitRequested = 0;
    game.shutdownRequested = 0;
    const std::string& tree = benchTree();
    if (tree.empty() || chdir(tree.c_str()) != 0)
        return false;
    setCurrentDir(tree.c_str());
    writeTiledRoute(tiles);
    game.busChoice = 1;
    readOptions();
    options.screenWidth = width;
    options.screenHeight = height;
    if (!platformCreateWindow("Velbrant frame bench", width, height, 32))
        return false;
    platformShowWindow();
    game.inGame = 1;
    resetAllRunState();
    setFixedGLState();
    setupLighting();
    loadAssets();
    if (game.quitRequested != 0)
        return false;
    glViewport(0, 0, width, height);
    view.viewportCount = views;
    view.cameraAtFront = 1;  // loadAssets leaves the cab camera
    lights.headlightsOn = 1;
    return true;
}

// With VELBRANT_BENCH_SHOT=folder, keeps the measured picture as a PPM for people to look at.
void saveShot(int width, int height, int views)
{
    const char* folder = std::getenv("VELBRANT_BENCH_SHOT");
    if (!folder)
        return;
    std::vector<unsigned char> rgb(static_cast<size_t>(width) * height * 3);
    glReadBuffer(GL_BACK);  // the swap keeps the back buffer's picture on this driver
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    const std::string path = std::string(folder) + "/frame_" + std::to_string(width) + "x" +
                             std::to_string(height) + "_" + std::to_string(views) + ".ppm";
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fprintf(f, "P6 %d %d 255\n", width, height);
        for (int y = height - 1; y >= 0; --y)
            std::fwrite(&rgb[static_cast<size_t>(y) * width * 3], 1, static_cast<size_t>(width) * 3, f);
        std::fclose(f);
    }
}

void stopRun()
{
    writeTiledRoute(1);
    killFont();
    platformDestroyWindow();
}

void BM_RunTick(benchmark::State& state)
{
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    const int views = static_cast<int>(state.range(2));
    frameSwitches.plainOrder = static_cast<uint8_t>(state.range(3));
    const int tiles = static_cast<int>(state.range(4));
    if (!startRun(width, height, views, tiles)) {
        stopRun();
        state.SkipWithError("no GL window or no generated data tree");
        return;
    }
    for (int i = 0; i < 20; ++i)  // warm the caches and the driver
        drawRunFrame();
    glFinish();
    saveShot(width, height, views);

    // Wall time per tick, and the processor time of all the process's threads (the driver
    // rasterises on threads of its own), which a busy machine does not inflate.
    std::vector<double> ms;
    ms.reserve(4096);
    double processMs = 0.0;
    frameSwitches.piecesCalled = 0;
    for (auto _ : state) {
        const double cpuStart = processCpuMs();
        const auto start = std::chrono::steady_clock::now();
        drawRunFrame();
        glFinish();
        const auto end = std::chrono::steady_clock::now();
        processMs += processCpuMs() - cpuStart;
        const double elapsed = std::chrono::duration<double>(end - start).count();
        state.SetIterationTime(elapsed);
        ms.push_back(elapsed * 1000.0);
    }
    std::sort(ms.begin(), ms.end());
    if (!ms.empty()) {
        state.counters["median_ms"] = ms[ms.size() / 2];
        state.counters["p99_ms"] = ms[std::min(ms.size() - 1, ms.size() * 99 / 100)];
        state.counters["process_cpu_ms"] = processMs / static_cast<double>(ms.size());
        state.counters["route_triangles"] = modelPlansza.triangleCount;
        state.counters["route_pieces"] = routePieces.pieceCount;
        state.counters["pieces_per_tick"] = frameSwitches.piecesCalled / static_cast<double>(ms.size());
    }
    stopRun();
}

BENCHMARK(BM_RunTick)
    ->ArgNames({"width", "height", "views", "plain", "tiles"})
    ->Args({640, 480, 3, 0, 1})
    ->Args({640, 480, 3, 1, 1})
    ->Args({1024, 768, 3, 0, 1})
    ->Args({1024, 768, 3, 1, 1})
    ->Args({1024, 768, 1, 0, 1})  // the main view alone, to see what the mirrors cost
    ->Args({64, 48, 3, 0, 1})     // next to no pixels: what the geometry alone costs
    ->Args({640, 480, 3, 0, 4})   // a town of 4 and 16 times the area: the frame follows the view
    ->Args({640, 480, 3, 0, 16})
    ->Args({640, 480, 3, 1, 16})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->MinTime(3.0);

} // namespace

BENCHMARK_MAIN();
