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
// "%f": a decimal or hexadecimal number with optional sign, fraction and exponent. out is written
// only on success. Infinity, NaN and values too large for a float do not convert, so they never
// reach the drawing; values too small become 0.
int scanFloat(TextCursor& c, float& out);
// "%s": the next run of non-blank characters. Copies it with its terminator when it fits in
// size bytes; a longer word is consumed whole and reported as too long (buffer left empty).
constexpr int SCAN_WORD_TOO_LONG = 2;
int scanWord(TextCursor& c, char* buffer, size_t size);
// Consumes the rest of the current line, its "\n" included, however long it is. False at the end.
bool skipLine(TextCursor& c);
