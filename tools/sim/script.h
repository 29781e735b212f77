// Key scripts of the headless driver: lines "FROM TO KEY..." hold the keys from tick FROM up to,
// not including, tick TO; '#' starts a comment; a line with no keys only lengthens the run.
// Key names are X11 key names as xdotool takes them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ScriptSpan {
    int64_t from;
    int64_t to;
    std::vector<uint8_t> keys;  // virtual-key codes
};

struct Script {
    std::vector<ScriptSpan> spans;
    int64_t lastTick = 0;  // the largest TO
};

// The virtual-key code of an X11 key name, or 0 when the name is not one the game reads.
uint8_t keyCodeOfName(const std::string& name);
// The X11 name written for a virtual-key code (the first name that maps to it), or "".
std::string keyNameOfCode(uint8_t code);

// Parses a script; on a bad line returns false with a message naming it.
bool parseScript(const std::string& text, Script* script, std::string* error);

// Plays a script tick by tick: which keys are held at each tick, in order from tick 0.
struct ScriptPlayer {
    struct Edge {
        int64_t tick;
        uint8_t code;
        int8_t delta;  // +1 at FROM, -1 at TO
    };
    std::vector<Edge> edges;  // sorted by tick
    size_t next = 0;
    int32_t holds[256] = {};
};

void startScript(const Script& script, ScriptPlayer* player);
// Applies the edges up to `tick` (call with 0, 1, 2, ...) and fills held[256] with 0/1.
void keysHeldAt(ScriptPlayer* player, int64_t tick, uint8_t* held);
