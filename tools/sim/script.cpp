#include "tools/sim/script.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>

namespace {

struct KeyName {
    const char* name;
    uint8_t code;
};

// Names first in the table are the ones written back.
constexpr KeyName KEY_NAMES[] = {
    {"Up", 0x26},         {"Down", 0x28},       {"Left", 0x25},      {"Right", 0x27},   {"Escape", 0x1B},
    {"Return", 0x0D},     {"space", 0x20},      {"Delete", 0x2E},    {"End", 0x23},     {"Next", 0x22},
    {"Prior", 0x21},      {"Insert", 0x2D},     {"Home", 0x24},      {"Page_Down", 0x22}, {"Page_Up", 0x21},
    {"period", 0xBE},     {"comma", 0xBC},      {"Scroll_Lock", 0x91}, {"KP_0", 0x60},  {"KP_1", 0x61},
    {"KP_2", 0x62},       {"KP_3", 0x63},       {"KP_4", 0x64},      {"KP_5", 0x65},    {"KP_6", 0x66},
    {"KP_7", 0x67},       {"KP_8", 0x68},       {"KP_9", 0x69},
};

bool parseTick(const std::string& word, int64_t* out)
{
    if (word.empty())
        return false;
    char* end = nullptr;
    const long long value = std::strtoll(word.c_str(), &end, 10);
    if (*end != '\0' || value < 0)
        return false;
    *out = value;
    return true;
}

}  // namespace

uint8_t keyCodeOfName(const std::string& name)
{
    for (const KeyName& k : KEY_NAMES)
        if (name == k.name)
            return k.code;
    if (name.size() == 1) {
        const char c = name[0];
        if (c >= 'a' && c <= 'z')
            return static_cast<uint8_t>(c - 'a' + 'A');
        if (c >= '0' && c <= '9')
            return static_cast<uint8_t>(c);
    }
    if (name.size() >= 2 && name[0] == 'F') {
        char* end = nullptr;
        const long n = std::strtol(name.c_str() + 1, &end, 10);
        if (*end == '\0' && n >= 1 && n <= 12)
            return static_cast<uint8_t>(0x70 + n - 1);
    }
    return 0;
}

std::string keyNameOfCode(uint8_t code)
{
    for (const KeyName& k : KEY_NAMES)
        if (k.code == code)
            return k.name;
    if (code >= 'A' && code <= 'Z')
        return std::string(1, static_cast<char>(code - 'A' + 'a'));
    if (code >= '0' && code <= '9')
        return std::string(1, static_cast<char>(code));
    if (code >= 0x70 && code <= 0x7B)
        return "F" + std::to_string(code - 0x70 + 1);
    return "";
}

bool parseScript(const std::string& text, Script* script, std::string* error)
{
    std::istringstream lines(text);
    std::string line;
    int lineNumber = 0;
    while (std::getline(lines, line)) {
        ++lineNumber;
        const size_t hash = line.find('#');
        if (hash != std::string::npos)
            line.erase(hash);
        std::istringstream words(line);
        std::string first;
        if (!(words >> first))
            continue;
        std::string second;
        ScriptSpan span;
        if (!(words >> second) || !parseTick(first, &span.from) || !parseTick(second, &span.to) || span.to < span.from) {
            *error = "line " + std::to_string(lineNumber) + ": expected FROM TO KEY... with FROM <= TO";
            return false;
        }
        std::string name;
        while (words >> name) {
            const uint8_t code = keyCodeOfName(name);
            if (code == 0) {
                *error = "line " + std::to_string(lineNumber) + ": unknown key '" + name + "'";
                return false;
            }
            span.keys.push_back(code);
        }
        if (span.to > script->lastTick)
            script->lastTick = span.to;
        script->spans.push_back(span);
    }
    return true;
}

void startScript(const Script& script, ScriptPlayer* player)
{
    player->edges.clear();
    for (const ScriptSpan& span : script.spans) {
        if (span.to == span.from)
            continue;
        for (uint8_t code : span.keys) {
            player->edges.push_back({span.from, code, +1});
            player->edges.push_back({span.to, code, -1});
        }
    }
    std::stable_sort(player->edges.begin(), player->edges.end(),
                     [](const ScriptPlayer::Edge& a, const ScriptPlayer::Edge& b) { return a.tick < b.tick; });
    player->next = 0;
    for (int32_t& h : player->holds)
        h = 0;
}

void keysHeldAt(ScriptPlayer* player, int64_t tick, uint8_t* held)
{
    while (player->next < player->edges.size() && player->edges[player->next].tick <= tick) {
        const ScriptPlayer::Edge& e = player->edges[player->next++];
        player->holds[e.code] += e.delta;
    }
    for (int i = 0; i < 256; ++i)
        held[i] = player->holds[i] > 0 ? 1 : 0;
}
