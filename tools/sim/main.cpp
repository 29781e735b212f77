// velbrant-sim: the headless driver. Runs the game's simulation step without a window, from a
// key script or the autopilot, and prints the run state as CSV (see printUsage).
#include "core/game.h"
#include "core/keys.h"
#include "assets/load.h"
#include "platform/null/null_platform.h"
#include "flow/frame.h"
#include "sim/state.h"
#include "sound/sound.h"
#include "tools/sim/autopilot.h"
#include "tools/sim/report.h"
#include "tools/sim/script.h"
#include "tools/sim/sim_clock.h"
#include "tools/sim/soak.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// The autopilot gives up after this many ticks (about 33 minutes of driving).
constexpr int64_t SIM_AUTOPILOT_TICK_LIMIT = 100000;
// A soak drives one simulated hour unless told otherwise.
constexpr int64_t SIM_SOAK_TICKS = 180000;

struct Options {
    std::string dataDir;
    std::string scriptPath;
    std::string keysOut;
    std::string bus = "Volvo7000";
    int64_t ticks = -1;
    int64_t every = 1;
    bool autopilot = false;
    bool soak = false;
};

void printUsage(std::FILE* out)
{
    std::fprintf(out,
                 "usage: velbrant-sim [--data DIR] [--bus Volvo7000|Urbino12] [--ticks N] [--every K]\n"
                 "                    (SCRIPT | --autopilot [--soak] [--keys-out FILE])\n"
                 "  Runs the simulation step headless, 20 ms of clock per tick, and prints CSV:\n"
                 "  %s\n"
                 "  SCRIPT ('-' = standard input): lines 'FROM TO KEY...' hold the keys from tick FROM up to,\n"
                 "  not including, TO; '#' starts a comment; key names as xdotool takes them (Up, Down, Left,\n"
                 "  Right, Escape, Return, space, Delete, End, Next, Prior, Insert, Home, F1..F12, KP_1..KP_9,\n"
                 "  period, comma, Scroll_Lock, a..z, 0..9).\n"
                 "  --data DIR   the data tree (default: the current directory)\n"
                 "  --ticks N    run N ticks (default: to the script's last tick; autopilot: until the run ends)\n"
                 "  --every K    print every K-th tick (default 1); the last tick is always printed\n"
                 "  --autopilot  drive the route to the final stop along the tree's bus lane (Dane/Rozklady/128/Pas.trasy;\n"
                 "               without it the generated loop's); --keys-out FILE writes its keys as a SCRIPT\n"
                 "  --soak       with --autopilot: after each finished run press Escape and start a new game, as\n"
                 "               from the menu, for --ticks (default 180000, one hour); every tick checks that the\n"
                 "               run state's floats are finite and its counters bounded; a summary goes to stderr\n"
                 "  engine: 0 off, 1 cranking, 2 caught (S still down), 3 running, 4 stopping (S still down)\n",
                 csvHeader().c_str());
}

bool parseCount(const char* text, int64_t* out)
{
    char* end = nullptr;
    const long long value = std::strtoll(text, &end, 10);
    if (end == text || *end != '\0' || value < 0)
        return false;
    *out = value;
    return true;
}

// 0: parsed; 1: asked for help; 2: bad arguments.
int parseArguments(int argc, char** argv, Options* o)
{
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (a == "--help" || a == "-h")
            return 1;
        if (a == "--autopilot") {
            o->autopilot = true;
        } else if (a == "--soak") {
            o->soak = true;
        } else if (a == "--data" && hasValue) {
            o->dataDir = argv[++i];
        } else if (a == "--bus" && hasValue) {
            o->bus = argv[++i];
            if (o->bus != "Volvo7000" && o->bus != "Urbino12")
                return 2;
        } else if (a == "--keys-out" && hasValue) {
            o->keysOut = argv[++i];
        } else if (a == "--ticks" && hasValue) {
            if (!parseCount(argv[++i], &o->ticks))
                return 2;
        } else if (a == "--every" && hasValue) {
            if (!parseCount(argv[++i], &o->every) || o->every == 0)
                return 2;
        } else if ((a.size() > 1 && a[0] == '-' && a != "-") || !o->scriptPath.empty()) {
            return 2;
        } else {
            o->scriptPath = a;
        }
    }
    if (o->autopilot == !o->scriptPath.empty())
        return 2;
    if (!o->keysOut.empty() && !o->autopilot)
        return 2;
    if (o->soak && !o->autopilot)
        return 2;
    return 0;
}

bool readScriptText(const std::string& path, std::string* text)
{
    if (path == "-") {
        *text = std::string(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
        return true;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    *text = std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

// What the load sequence does for a new game, without the GL parts.
void loadRun(bool volvo)
{
    game.busChoice = volvo ? 1 : 0;
    game.inGame = 1;
    game.escapeQuits = 1;
    loadRunFiles();
}

// Records the autopilot's key presses as spans, for --keys-out.
struct KeyRecorder {
    int64_t downSince[256];
    std::vector<ScriptSpan> spans;
    KeyRecorder()
    {
        for (int64_t& d : downSince)
            d = -1;
    }
    void tick(int64_t t, const uint8_t* held)
    {
        for (int k = 0; k < 256; ++k) {
            if (held[k] && downSince[k] < 0)
                downSince[k] = t;
            if (!held[k] && downSince[k] >= 0) {
                spans.push_back({downSince[k], t, {static_cast<uint8_t>(k)}});
                downSince[k] = -1;
            }
        }
    }
    std::string finish(int64_t end)
    {
        for (int k = 0; k < 256; ++k)
            if (downSince[k] >= 0)
                spans.push_back({downSince[k], end, {static_cast<uint8_t>(k)}});
        std::multimap<int64_t, const ScriptSpan*> byStart;
        for (const ScriptSpan& s : spans)
            byStart.emplace(s.from, &s);
        std::ostringstream out;
        out << "# velbrant-sim autopilot keys\n";
        for (const auto& entry : byStart)
            out << entry.second->from << ' ' << entry.second->to << ' ' << keyNameOfCode(entry.second->keys[0]) << '\n';
        out << "0 " << end << "  # the run's length\n";
        return out.str();
    }
};

// Reads and parses the key script of a script run; says why on standard error when it cannot.
bool loadScript(const std::string& path, Script* script)
{
    std::string text;
    std::string error;
    if (!readScriptText(path, &text)) {
        std::fprintf(stderr, "velbrant-sim: cannot read %s\n", path.c_str());
        return false;
    }
    if (!parseScript(text, script, &error)) {
        std::fprintf(stderr, "velbrant-sim: %s: %s\n", path.c_str(), error.c_str());
        return false;
    }
    return true;
}

// The keys held and the CSV written, shared by every mode; lives for one run of the program.
struct SimLoop {
    uint8_t held[256];
    uint8_t wasHeld[256];
    std::string out;
    int64_t every;
    int64_t ticks;
    KeyRecorder* recorder;  // only with --keys-out
};

// Key-down and key-up events: entries the game set itself (an empty tank holds S) stay as they
// are until the key's own event arrives.
void sendKeyEvents(SimLoop& loop)
{
    for (int k = 0; k < 256; ++k) {
        if (loop.held[k] != loop.wasHeld[k])
            keyState[k] = loop.held[k];
        loop.wasHeld[k] = loop.held[k];
    }
}

// After the step: the tick's row when it is due or the last, then the clock. True when the tick
// was the last: the tick count reached, the game quit or the mode ended the run.
bool finishTick(SimLoop& loop, int64_t t, bool modeEnds)
{
    const std::vector<std::string> sounds = sndRecordTake();
    const bool last = t + 1 == loop.ticks || game.quitRequested || modeEnds;
    if (t % loop.every == 0 || last)
        loop.out += csvRow(t, sounds) + "\n";
    fakeNowMs += SIM_TICK_MS;
    if (loop.out.size() > (1u << 20)) {
        std::fwrite(loop.out.data(), 1, loop.out.size(), stdout);
        loop.out.clear();
    }
    return last;
}

// Plays the key script; returns the ticks run.
int64_t runScript(SimLoop& loop, const Script& script)
{
    ScriptPlayer player;
    startScript(script, &player);
    for (int64_t t = 0; t < loop.ticks; ++t) {
        keysHeldAt(&player, t, loop.held);
        sendKeyEvents(loop);
        stepRunTick();
        if (finishTick(loop, t, false))
            return t + 1;
    }
    return loop.ticks;
}

// The autopilot drives until the run ends; returns the ticks run.
int64_t runAutopilot(SimLoop& loop)
{
    Autopilot pilot;
    for (int64_t t = 0; t < loop.ticks; ++t) {
        autopilotKeys(&pilot, loop.held);
        if (loop.recorder)
            loop.recorder->tick(t, loop.held);
        sendKeyEvents(loop);
        stepRunTick();
        if (finishTick(loop, t, run.runFinished != 0))
            return t + 1;
    }
    return loop.ticks;
}

// What a soak found: runs finished and the first field out of range, if any.
struct SoakResult {
    int64_t runsFinished;
    std::string badField;
};

// The autopilot drives run after run, back through the menu after each; every tick checks the
// run state. Returns the ticks run.
int64_t runSoak(SimLoop& loop, bool volvo, SoakResult& soak)
{
    Autopilot pilot;
    for (int64_t t = 0; t < loop.ticks; ++t) {
        const bool leaveRun = run.runFinished == 1;
        if (leaveRun) {
            std::fill(loop.held, loop.held + 256, 0);
            loop.held[VK_ESCAPE] = 1;
        } else {
            autopilotKeys(&pilot, loop.held);
        }
        if (loop.recorder)
            loop.recorder->tick(t, loop.held);
        sendKeyEvents(loop);
        stepRunTick();
        if (leaveRun) {
            // Back in the menu: a new game loads the run again and the driver starts afresh.
            ++soak.runsFinished;
            loadRun(volvo);
            game.escapeQuits = 0;
            pilot = Autopilot();
        }
        soak.badField = soakFirstBadField();
        if (finishTick(loop, t, !soak.badField.empty()))
            return t + 1;
    }
    return loop.ticks;
}

// The soak's summary on standard error; returns the exit status.
int reportSoak(int64_t t, const SoakResult& soak)
{
    std::string counter;
    const int64_t largest = soakLargestCounter(&counter);
    std::fprintf(stderr, "velbrant-sim: soak: ticks=%lld runs=%lld digest=%016llx largest-counter=%s:%lld\n",
                 static_cast<long long>(t), static_cast<long long>(soak.runsFinished),
                 static_cast<unsigned long long>(soakStateDigest()), counter.c_str(),
                 static_cast<long long>(largest));
    if (!soak.badField.empty()) {
        std::fprintf(stderr, "velbrant-sim: soak: %s is out of range at tick %lld\n", soak.badField.c_str(),
                     static_cast<long long>(t - 1));
        return 1;
    }
    return game.exitStatus;
}

}  // namespace

int main(int argc, char** argv)
{
    Options o;
    const int parsed = parseArguments(argc, argv, &o);
    if (parsed == 1) {
        printUsage(stdout);
        return 0;
    }
    if (parsed == 2) {
        printUsage(stderr);
        return 2;
    }

    Script script;
    if (!o.autopilot && !loadScript(o.scriptPath, &script))
        return 2;
    std::FILE* keysOut = nullptr;
    if (!o.keysOut.empty()) {
        keysOut = std::fopen(o.keysOut.c_str(), "wb");
        if (keysOut == nullptr) {
            std::fprintf(stderr, "velbrant-sim: cannot write %s\n", o.keysOut.c_str());
            return 2;
        }
    }
    if (!o.dataDir.empty() && chdir(o.dataDir.c_str()) != 0) {
        std::fprintf(stderr, "velbrant-sim: no data folder %s\n", o.dataDir.c_str());
        return 2;
    }

    if (o.autopilot) {
        const PathFileReport lane = autopilotLoadLane();
        if (lane.error != PATH_FILE_OK && lane.error != PATH_FILE_UNREADABLE) {
            char message[160];
            describePathFileReport(lane, BUS_LANE_MIN_POINTS, message, sizeof message);
            std::fprintf(stderr, "velbrant-sim: %s: %s\n", BUS_LANE_FILE, message);
            return 2;
        }
    }
    fakeNowMs = SIM_CLOCK_START_MS;
    fakeMessagesToStderr = 1;
    initSound();
    loadRun(o.bus == "Volvo7000");
    if (o.soak)
        game.escapeQuits = 0;  // Escape goes back to the menu, as in a game started from it
    sndRecordTake();
    if (game.quitRequested) {
        if (keysOut)
            std::fclose(keysOut);
        return game.exitStatus != 0 ? game.exitStatus : 1;
    }

    KeyRecorder recorder;
    SimLoop loop = {};
    loop.out = csvHeader() + "\n";
    loop.every = o.every;
    loop.ticks = o.ticks;
    if (loop.ticks < 0)
        loop.ticks = o.soak ? SIM_SOAK_TICKS : o.autopilot ? SIM_AUTOPILOT_TICK_LIMIT : script.lastTick;
    loop.recorder = keysOut ? &recorder : nullptr;
    SoakResult soak = {0, ""};
    int64_t t = 0;
    if (o.soak)
        t = runSoak(loop, o.bus == "Volvo7000", soak);
    else if (o.autopilot)
        t = runAutopilot(loop);
    else
        t = runScript(loop, script);

    std::fwrite(loop.out.data(), 1, loop.out.size(), stdout);
    if (keysOut) {
        const std::string text = recorder.finish(t);
        std::fwrite(text.data(), 1, text.size(), keysOut);
        std::fclose(keysOut);
    }
    if (o.soak)
        return reportSoak(t, soak);
    if (o.autopilot && !run.runFinished) {
        std::fprintf(stderr, "velbrant-sim: the autopilot did not finish the run in %lld ticks\n",
                     static_cast<long long>(loop.ticks));
        return 1;
    }
    return game.exitStatus;
}
