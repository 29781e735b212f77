#include "tools/sim/script.h"

#include "platform/platform.h"

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
    {"Up", VK_UP}, {"Down", VK_DOWN}, {"Left", VK_LEFT}, {"Right", VK_RIGHT}, {"Escape", VK_ESCAPE},
    {"Return", VK_RETURN}, {"space", VK_SPACE}, {"Delete", VK_DELETE}, {"End", VK_END},
    {"Next", VK_NEXT}, {"Prior", VK_PRIOR}, {"Insert", VK_INSERT}, {"Home", VK_HOME},
    {"Page_Down", VK_NEXT}, {"Page_Up", VK_PRIOR}, {"period", VK_OEM_PERIOD},
    {"comma", VK_OEM_COMMA}, {"Scroll_Lock", VK_SCROLL}, {"KP_0", VK_NUMPAD0}, {"KP_1", VK_NUMPAD1},
    {"KP_2", VK_NUMPAD2}, {"KP_3", VK_NUMPAD3}, {"KP_4", VK_NUMPAD4}, {"KP_5", VK_NUMPAD5},
    {"KP_6", VK_NUMPAD6}, {"KP_7", VK_NUMPAD7}, {"KP_8", VK_NUMPAD8}, {"KP_9", VK_NUMPAD9},
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
            return static_cast<uint8_t>(VK_KEY_A + (c - 'a'));
        if (c >= '0' && c <= '9')
            return static_cast<uint8_t>(VK_KEY_0 + (c - '0'));
    }
    if (name.size() >= 2 && name[0] == 'F') {
        char* end = nullptr;
        const long n = std::strtol(name.c_str() + 1, &end, 10);
        if (*end == '\0' && n >= 1 && n <= 12)
            return static_cast<uint8_t>(VK_F1 + n - 1);
    }
    return 0;
}

std::string keyNameOfCode(uint8_t code)
{
    for (const KeyName& k : KEY_NAMES)
        if (k.code == code)
            return k.name;
    if (code >= VK_KEY_A && code <= VK_KEY_Z)
        return std::string(1, static_cast<char>('a' + (code - VK_KEY_A)));
    if (code >= VK_KEY_0 && code <= VK_KEY_0 + 9)
        return std::string(1, static_cast<char>('0' + (code - VK_KEY_0)));
    if (code >= VK_F1 && code <= VK_F12)
        return "F" + std::to_string(code - VK_F1 + 1);
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
