// Names from the map in the game's character set: the game's files and font are Windows-1250, so a
// letter outside it is written as its base letter ("è" as "e") and anything else as '?'.
#pragma once

#include <string>

// UTF-8 in, UTF-8 out, every character representable in Windows-1250; runs of spaces and
// control characters become one space, and the ends are trimmed.
std::string transliterate(const std::string& utf8);
// UTF-8 (already transliterated) to Windows-1250 bytes.
std::string toWindows1250(const std::string& utf8);
