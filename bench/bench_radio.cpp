// The radio's cost: the folder scan at each new game (it runs inside the load, so it should stay
// well under a frame even for a full folder) and the step that runs every tick.
#include "core/keys.h"
#include "platform/platform.h"
#include "platform/null/null_platform.h"
#include "sim/state.h"
#include "sim/controls.h"
#include "sound/radio.h"
#include "sound/sound.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

std::string makeFolder(int files)
{
    const std::string dir = (std::filesystem::temp_directory_path() / ("velbrant-bench-radio-" + std::to_string(files))).string();
    std::filesystem::create_directories(dir);
    for (int i = 0; i < files; ++i) {
        const std::string path = dir + "/track" + std::to_string(i) + (i % 3 ? ".mp3" : ".txt");
        if (FILE* f = std::fopen(path.c_str(), "w"))
            std::fclose(f);
    }
    return dir + "/";
}

void BM_ScanFullFolder(benchmark::State& state)
{
    const std::string folder = makeFolder(static_cast<int>(state.range(0)));
    sndRecordReset();
    sndOpenDevice(0, SOUND_MIX_RATE, SOUND_CHANNEL_COUNT);
    for (auto _ : state) {
        scanRadioFolder(folder.c_str());
        sndRecordTake();
        sndRecordTakeLog();
    }
    state.counters["tracks"] = radioLastTrack - RADIO_FIRST_TRACK + 1;
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_ScanFullFolder)->Arg(30)->Arg(300);

void BM_RadioStepPerTick(benchmark::State& state)
{
    const std::string folder = makeFolder(30);
    sndRecordReset();
    sndOpenDevice(0, SOUND_MIX_RATE, SOUND_CHANNEL_COUNT);
    scanRadioFolder(folder.c_str());
    int tick = 0;
    for (auto _ : state) {
        keyState[0x34] = (tick++ % 8) < 4 ? 1 : 0;  // key 4 tapped every 8 ticks
        radioStep();
        if (tick % 64 == 0) {
            sndRecordTake();
            sndRecordTakeLog();
        }
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_RadioStepPerTick);

} // namespace

BENCHMARK_MAIN();
