#include "tools/osm/osm_text.h"

#include "platform/services/text1250.h"

#include <cstdint>
#include <vector>

namespace {

// The base letter of each character from U+00C0 to U+017F.
const char BASE_LETTERS[] = "AAAAAAACEEEEIIIIDNOOOOOxOUUUUYTsaaaaaaaceeeeiiiidnooooo/ouuuuytyAaAaAaCcCcCcCcDdDdEeEeEeEeEeGgGgGgGgHhHhIiIiIiIiIiJjJjKkkLlLlLlLlLlNnNnNnnNnOoOoOoOoRrRrRrSsSsSsSsTtTtTtUuUuUuUuUuUuWwYyYZzZzZzs";

std::vector<uint32_t> decode(const std::string& s)
{
    std::vector<uint32_t> out;
    for (size_t i = 0; i < s.size();) {
        const uint8_t b = static_cast<uint8_t>(s[i]);
        const int len = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
        uint32_t c = len == 1 ? b : len == 2 ? b & 0x1Fu : len == 3 ? b & 0x0Fu : b & 0x07u;
        bool ok = len > 0 && i + len <= s.size();
        for (int k = 1; ok && k < len; ++k) {
            const uint8_t t = static_cast<uint8_t>(s[i + k]);
            ok = (t >> 6) == 2;
            c = (c << 6) | (t & 0x3Fu);
        }
        out.push_back(ok ? c : '?');
        i += ok ? static_cast<size_t>(len) : 1;
    }
    return out;
}

void encode(std::string& out, uint32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

std::string transliterate(const std::string& utf8)
{
    std::string out;
    for (uint32_t c : decode(utf8)) {
        if (c < 0x20 || c == 0x7F || c == 0xA0 || c == ' ') {
            if (!out.empty() && out.back() != ' ')
                out += ' ';
            continue;
        }
        if (byteIn1250(c) >= 0)
            encode(out, c);
        else if (c >= 0xC0 && c < 0x180)
            out += BASE_LETTERS[c - 0xC0];
        else
            out += '?';
    }
    while (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

std::string toWindows1250(const std::string& utf8)
{
    std::string out;
    for (uint32_t c : decode(utf8)) {
        const int b = byteIn1250(c);
        out += static_cast<char>(b >= 0 ? b : '?');
    }
    return out;
}
