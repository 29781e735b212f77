// Formatted reading of the game's text files from memory, the way the C library's formatted input
// reads them in the "C" number format, whatever the user's locale: "%d", "%f", "%s", white-space
// directives and the skipping of a line. No state beyond the cursor the caller holds.
#pragma once

#include <cstddef>
#include <cstdint>

// A position in a text held in memory; line counts from 1 and follows every "\n" passed.
struct TextCursor {
    const char* p;
    const char* end;
    int32_t line;
};

TextCursor textCursor(const char* text, size_t size);

// Results of one conversion.
constexpr int SCAN_OK = 1;
constexpr int SCAN_MISMATCH = 0;  // characters there, but no number (they are consumed as "%d" would)
constexpr int SCAN_END = -1;      // the text ended before any character of the item

bool isScanSpace(char c);
// A white-space directive: skips every white-space character, line ends included.
void skipSpace(TextCursor& c);
// "%d": a decimal integer, optionally signed; out is written only on success. Values beyond the
// 32-bit range saturate.
int scanInt(TextCursor& c, int32_t& out);
// "%f" of the "C" locale, whatever the process's locale: leading white space, an optional sign, a
// decimal or hexadecimal ("0x", "p" exponent) number with optional fraction and exponent. out is
// written only on SCAN_OK. Infinity, NaN and values too large for a float are numbers to the
// library, so they are consumed whole and the next item reads on, but they are never stored
// (SCAN_NOT_FINITE); values too small become 0 or a denormal, as the library makes them.
constexpr int SCAN_NOT_FINITE = 3;
int scanFloat(TextCursor& c, float& out);
// "%s": the next run of non-blank characters. Copies it with its terminator when it fits in
// size bytes; a longer word is consumed whole and reported as too long (buffer left empty).
constexpr int SCAN_WORD_TOO_LONG = 2;
int scanWord(TextCursor& c, char* buffer, size_t size);
// Consumes the rest of the current line, its "\n" included, however long it is. False at the end.
bool skipLine(TextCursor& c);
