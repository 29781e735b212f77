// The cost of one simulation step (goal: under 100 us, 0.5 % of the 20 ms tick), on a bus
// driving with the engine running, a door cycle, indicators and the second car.
#include "core/game.h"
#include "core/keys.h"
#include "platform/null/null_platform.h"
#include "sim/sim.h"
#include "sim/state.h"
#include "sound/sound.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <vector>

namespace {

void prepareRun()
{
    resetAllRunState();
    fakeSysReset();
    sndRecordReset();
    initSound();
    vehicleParams = {0.36f, 0.00045f, 0.0018f, 250.0f};
    engine.fuel = 200.0f;
    route.stopCount = 10;
    for (int i = 0; i < 10; ++i) {
        route.stopX[i] = 0.0f;
        route.stopZ[i] = -50.0f * i;
    }
    game.inGame = 1;
    fakeNowMs = 100000;
}

// A scripted tick: the keys a driver would hold at this point of a 1000-tick cycle.
void setKeys(int64_t t)
{
    std::memset(keyState, 0, sizeof keyState);
    const int64_t phase = t % 1000;
    if (t < 40)
        keyState[VK_KEY_S] = 1;
    else if (t == 40)
        keyState[VK_KEY_Q] = 1;
    else if (phase < 500)
        keyState[VK_UP] = 1;
    else if (phase < 700)
        keyState[VK_DOWN] = 1;
    if (phase % 97 < 30)
        keyState[VK_RIGHT] = 1;
    if (phase == 750)
        keyState[VK_DELETE] = 1;
    if (phase == 900)
        keyState[VK_INSERT] = 1;
    if (phase == 100)
        keyState[VK_OEM_PERIOD] = 1;
}

void BM_SimulationStep(benchmark::State& state)
{
    prepareRun();
    int64_t t = 0;
    for (auto _ : state) {
        state.PauseTiming();
        setKeys(t++);
        fakeNowMs += 20;
        if ((t & 1023) == 0)
            sndRecordTake();  // keep the recording's list short
        state.ResumeTiming();
        simulationStep();
        benchmark::ClobberMemory();
    }
}

// Each step timed on its own over a long drive: the median and the 99th percentile of one step.
void BM_SimulationStepPercentiles(benchmark::State& state)
{
    constexpr int64_t STEPS = 20000;
    std::vector<double> times(STEPS);
    for (auto _ : state) {
        prepareRun();
        for (int64_t t = 0; t < STEPS; ++t) {
            setKeys(t);
            fakeNowMs += 20;
            if ((t & 1023) == 0)
                sndRecordTake();
            const auto start = std::chrono::steady_clock::now();
            simulationStep();
            const auto end = std::chrono::steady_clock::now();
            times[static_cast<size_t>(t)] = std::chrono::duration<double, std::micro>(end - start).count();
        }
    }
    std::sort(times.begin(), times.end());
    state.counters["median_us"] = times[times.size() / 2];
    state.counters["p99_us"] = times[static_cast<size_t>(0.99 * static_cast<double>(times.size() - 1))];
    state.counters["max_us"] = times.back();
}

}  // namespace

BENCHMARK(BM_SimulationStepPercentiles)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SimulationStep)->Repetitions(20)->ComputeStatistics("p99", [](const std::vector<double>& v) {
    std::vector<double> sorted = v;
    std::sort(sorted.begin(), sorted.end());
    return sorted[static_cast<size_t>(0.99 * static_cast<double>(sorted.size() - 1))];
})->ReportAggregatesOnly(true);

BENCHMARK_MAIN();
