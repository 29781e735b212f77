// The game's texts are Windows-1250; the desktop and terminals want UTF-8.
#pragma once

#include <cstdint>
#include <string>

std::string utf8From1250(const std::string& text);
// The Windows-1250 byte of a Unicode code point, or -1 when the code page has none.
int byteIn1250(uint32_t codePoint);
