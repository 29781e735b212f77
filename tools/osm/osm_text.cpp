#include "tools/osm/osm_text.h"

#include <cstdint>
#include <vector>

namespace {

// The characters of bytes 0x80 to 0xFF of Windows-1250; 0 where a byte has none.
const uint16_t HIGH_HALF[128] = {
    0x20AC, 0x0000, 0x201A, 0x0000, 0x201E, 0x2026, 0x2020, 0x2021,
    0x0000, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,
    0x0000, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0000, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};
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

int byteOf(uint32_t c)
{
    if (c < 0x80)
        return static_cast<int>(c);
    for (int i = 0; i < 128; ++i)
        if (HIGH_HALF[i] == c)
            return 0x80 + i;
    return -1;
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
        if (byteOf(c) >= 0)
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
        const int b = byteOf(c);
        out += static_cast<char>(b >= 0 ? b : '?');
    }
    return out;
}
