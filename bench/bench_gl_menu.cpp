// One menu tick (logic, background, four buttons, back button, an open panel, swap) with the
// generated menu pictures, at 640 x 480 and 1024 x 768. Reports the median and the 99th
// percentile in milliseconds; the tick has 20 ms.
#include "core/game.h"
#include "core/options.h"
#include "assets/ids.h"
#include "assets/load.h"
#include "assets/textures.h"
#include "flow/menu.h"
#include "platform/platform.h"

#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

const char* const MENU_FILES[13] = {
    "Dane/Menu/logo.gfx",          "Dane/Menu/tlo.gfx",          "Dane/Menu/nowagra_gora.gfx",
    "Dane/Menu/nowagra_dol.gfx",   "Dane/Menu/autobusy_gora.gfx", "Dane/Menu/autobusy_dol.gfx",
    "Dane/Menu/ogrze_gora.gfx",    "Dane/Menu/ogrze_dol.gfx",    "Dane/Menu/wyjscie_gora.gfx",
    "Dane/Menu/wyjscie_dol.gfx",   "Dane/Menu/ogrze.gfx",        "Dane/Menu/autobusy.gfx",
    "Dane/Menu/nowagra.gfx",
};

const std::string& benchTree()
{
    static std::string path;
    static bool tried = false;
    if (tried)
        return path;
    tried = true;
    char pattern[] = "/tmp/velbrant-bench-menu-XXXXXX";
    if (!mkdtemp(pattern))
        return path;
    const std::string dir = pattern;
    const std::string command = std::string("'") + VELBRANT_BIN_DIR + "/velbrant-data' '" + dir + "' >/dev/null 2>&1";
    if (std::system(command.c_str()) == 0)
        path = dir;
    std::atexit([] {
        std::error_code ec;
        if (!path.empty())
            std::filesystem::remove_all(path, ec);
    });
    return path;
}

bool startMenu(int width, int height)
{
    const std::string& tree = benchTree();
    if (tree.empty() || chdir(tree.c_str()) != 0)
        return false;
    setCurrentDir(tree.c_str());
    readOptions();
    if (!platformCreateWindow("Velbrant menu bench", width, height, 32))
        return false;
    platformShowWindow();
    for (int slot = 0; slot < 13; ++slot)
        loadTexture(MENU_FILES[slot], slot, TEX_MENU);
    buildMenuLists();
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glAlphaFunc(GL_GREATER, 0.5f);
    glEnable(GL_ALPHA_TEST);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_CULL_FACE);
    glViewport(0, 0, width, height);
    // The about panel open over the background, the back button in: the fullest menu picture.
    resetMenuState();
    game.inGame = 0;
    menuState.introActive = 0;
    menuState.buttonsEntering = 0;
    menuState.fadeLevel = 0.995f;
    menuState.fadeRising = 0;
    menuState.buttonsOffset = 0.24f;
    menuState.backButtonOffset = 1.26f;
    menuState.panelOffset = 1.995f;
    menuState.showAboutPanel = 1;
    menuState.menuCursor = MENU_ITEM_BACK;
    menuState.menuCursorMin = 4;
    menuState.menuCursorLimit = 5;
    glColor3f(0.995f, 0.995f, 0.995f);
    return true;
}

void BM_MenuTick(benchmark::State& state)
{
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    if (!startMenu(width, height)) {
        platformDestroyWindow();
        state.SkipWithError("no GL window or no generated data tree");
        return;
    }
    for (int i = 0; i < 20; ++i)
        menuFrame();
    glFinish();
    std::vector<double> ms;
    ms.reserve(4096);
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        menuFrame();
        glFinish();
        const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(elapsed);
        ms.push_back(elapsed * 1000.0);
    }
    std::sort(ms.begin(), ms.end());
    if (!ms.empty()) {
        state.counters["median_ms"] = ms[ms.size() / 2];
        state.counters["p99_ms"] = ms[std::min(ms.size() - 1, ms.size() * 99 / 100)];
    }
    platformDestroyWindow();
}

BENCHMARK(BM_MenuTick)->Args({640, 480})->Args({1024, 768})->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(3.0);

} // namespace

BENCHMARK_MAIN();
