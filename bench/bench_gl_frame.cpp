// One whole run tick (simulation step, main view, both mirrors, dashboard, texts, swap) on the
// generated data tree, in the cab view, at 640 x 480 and 1024 x 768. Reports the median and the
// 99th percentile of the tick in milliseconds; the tick has 20 ms, the frame should take under 10.
#include "app/app.h"
#include "app/gl_setup.h"
#include "app/options.h"
#include "assets/load.h"
#include "platform/window.h"
#include "render/font.h"
#include "render/scene.h"
#include "sim/state.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// A data tree generated once per process into a temporary folder; empty when that fails.
const std::string& benchTree()
{
    static std::string path;
    static bool tried = false;
    if (tried)
        return path;
    tried = true;
    char pattern[] = "/tmp/velbrant-bench-XXXXXX";
    if (!mkdtemp(pattern))
        return path;
    const std::string dir = pattern;
    const std::string command =
        std::string("'") + VELBRANT_BIN_DIR + "/velbrant-data' '" + dir + "' >/dev/null 2>&1";
    if (std::system(command.c_str()) == 0)
        path = dir;
    std::atexit([] {
        std::error_code ec;
        if (!path.empty())
            std::filesystem::remove_all(path, ec);
    });
    return path;
}

// The fixed GL state the game sets once at start, with blending as the generated options ask.
void fixedGlState()
{
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glShadeModel(GL_FLAT);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    if (optAlphaFunc == 0) {
        glAlphaFunc(GL_GREATER, 0.5f);
        glEnable(GL_ALPHA_TEST);
    } else {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }
    glEnable(GL_TEXTURE_2D);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    glFrontFace(GL_CCW);
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT, GL_AMBIENT_AND_DIFFUSE);
    setupLighting();
}

// Opens a window of the size, loads the run into it and puts the bus in the cab view with both
// mirrors. False when there is no display or no data.
bool startRun(int width, int height)
{
    // A failing load must report and go on, not wait for someone to close a dialog.
    setenv("VELBRANT_NO_DIALOGS", "1", 1);
    quitRequested = 0;
    shutdownRequested = 0;
    const std::string& tree = benchTree();
    if (tree.empty() || chdir(tree.c_str()) != 0)
        return false;
    currentDir = tree;
    busChoice = 1;
    readOptions();
    screenWidth = width;
    screenHeight = height;
    if (!platformCreateWindow("Velbrant frame bench", width, height, 32))
        return false;
    platformShowWindow();
    inGame = 1;
    resetAllRunState();
    fixedGlState();
    loadAssets();
    if (quitRequested != 0)
        return false;
    glViewport(0, 0, width, height);
    view.viewportCount = 3;
    view.cameraAtFront = 1;  // loadAssets leaves the cab camera
    lights.headlightsOn = 1;
    return true;
}

void stopRun()
{
    killFont();
    platformDestroyWindow();
}

void BM_RunTick(benchmark::State& state)
{
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    if (!startRun(width, height)) {
        stopRun();
        state.SkipWithError("no GL window or no generated data tree");
        return;
    }
    for (int i = 0; i < 20; ++i)  // warm the caches and the driver
        drawRunFrame();
    glFinish();

    std::vector<double> ms;
    ms.reserve(4096);
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        drawRunFrame();
        glFinish();
        const auto end = std::chrono::steady_clock::now();
        const double elapsed = std::chrono::duration<double>(end - start).count();
        state.SetIterationTime(elapsed);
        ms.push_back(elapsed * 1000.0);
    }
    std::sort(ms.begin(), ms.end());
    if (!ms.empty()) {
        state.counters["median_ms"] = ms[ms.size() / 2];
        state.counters["p99_ms"] = ms[std::min(ms.size() - 1, ms.size() * 99 / 100)];
    }
    stopRun();
}

BENCHMARK(BM_RunTick)
    ->Args({640, 480})
    ->Args({1024, 768})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->MinTime(5.0);

} // namespace

BENCHMARK_MAIN();
