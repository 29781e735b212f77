#include "assets/tokens.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <system_error>

TextCursor textCursor(const char* text, size_t size)
{
    return TextCursor{text, text + size, 1};
}

bool isScanSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

void skipSpace(TextCursor& c)
{
    while (c.p < c.end && isScanSpace(*c.p)) {
        if (*c.p == '\n')
            ++c.line;
        ++c.p;
    }
}

namespace {

bool isDigit(char ch)
{
    return ch >= '0' && ch <= '9';
}

bool isHexDigit(char ch)
{
    return isDigit(ch) || (ch >= 'a' && ch <= 'f') || (ch >= 'A' && ch <= 'F');
}

char lower(char ch)
{
    return (ch >= 'A' && ch <= 'Z') ? static_cast<char>(ch - 'A' + 'a') : ch;
}

// Length of the longest prefix of s that matches the start of word, case-insensitively.
size_t matchWord(const char* s, const char* end, const char* word)
{
    size_t n = 0;
    while (word[n] && s + n < end && lower(s[n]) == word[n])
        ++n;
    return n;
}

size_t countDigits(const char* s, const char* end, bool hex)
{
    size_t n = 0;
    while (s + n < end && (hex ? isHexDigit(s[n]) : isDigit(s[n])))
        ++n;
    return n;
}

// For a number too far out even for a double: whether it is too small (it then reads as 0, like
// the library's underflow) rather than too large. Judged from the position of its first
// significant digit and its exponent.
bool tinyMagnitude(const char* s, const char* end, bool hex)
{
    int64_t place = 0;  // digit places of the first significant digit, before the point positive
    bool seen = false, point = false;
    for (; s < end && ((hex ? isHexDigit(*s) : isDigit(*s)) || *s == '.'); ++s) {
        if (*s == '.') {
            point = true;
        } else if (!seen && *s != '0') {
            seen = true;
            place = point ? place - 1 : 1;
        } else if (!seen && point) {
            --place;
        } else if (seen && !point && place < (int64_t{1} << 40)) {
            ++place;
        }
    }
    int64_t exponent = 0;
    bool negative = false;
    if (s < end) {
        ++s;  // the 'e' or 'p'
        if (s < end && (*s == '+' || *s == '-'))
            negative = *s++ == '-';
        for (; s < end && isDigit(*s); ++s)
            if (exponent < (int64_t{1} << 40))
                exponent = exponent * 10 + (*s - '0');
    }
    // A hex digit place is four binary ones; the exponent then counts binary places.
    const int64_t magnitude = (hex ? place * 4 : place) + (negative ? -exponent : exponent);
    return magnitude <= 0;
}

// The digits, fraction and exponent of a number starting at s; returns where they end. complete
// is false when they make no number: a lone ".", or an exponent marker without digits.
const char* numberEnd(const char* s, const char* end, bool hex, bool& complete)
{
    const size_t intDigits = countDigits(s, end, hex);
    s += intDigits;
    size_t fracDigits = 0;
    if (s < end && *s == '.') {
        ++s;
        fracDigits = countDigits(s, end, hex);
        s += fracDigits;
    }
    complete = intDigits + fracDigits > 0;
    const char marker = hex ? 'p' : 'e';
    if (complete && s < end && lower(*s) == marker) {
        const char* e = s + 1;
        if (e < end && (*e == '+' || *e == '-'))
            ++e;
        const size_t expDigits = countDigits(e, end, false);
        // "1e" or "1e+" is the prefix of a number but not one: the item fails there.
        complete = expDigits > 0;
        s = e + expDigits;
    }
    return s;
}

// Infinity and NaN convert in the library, so they are consumed whole, but never stored. A word
// that only starts like them ("in", "infin") is consumed and fails. Returns the length consumed;
// word says whether it was a whole one.
size_t notFiniteWordLength(const char* s, const char* end, bool& word)
{
    size_t n = matchWord(s, end, "infinity");
    word = n == 3 || n == 8;
    if (n >= 3)
        return n;
    n = matchWord(s, end, "nan");
    word = n == 3;
    if (word && s + 3 < end && s[3] == '(') {
        size_t k = 4;
        while (s + k < end && (isDigit(s[k]) || (lower(s[k]) >= 'a' && lower(s[k]) <= 'z') || s[k] == '_'))
            ++k;
        if (s + k < end && s[k] == ')')
            n = k + 1;
    }
    return n;
}

std::chars_format formatOf(bool hex)
{
    return hex ? std::chars_format::hex : std::chars_format::general;
}

// Stores a converted value with its sign, unless it is not finite.
int storeFinite(float value, bool negative, float& out)
{
    if (!std::isfinite(value))
        return SCAN_NOT_FINITE;
    out = negative ? -value : value;
    return SCAN_OK;
}

// A number beyond a float's range, read again as a double: too small even for that reads as 0,
// too large for a float is not finite, and the rest becomes 0 or a denormal.
int convertOutOfRange(const char* mantissa, const char* last, bool hex, bool negative, float& out)
{
    double wide = 0.0;
    const std::from_chars_result r = std::from_chars(mantissa, last, wide, formatOf(hex));
    if (r.ec == std::errc::result_out_of_range) {
        if (!tinyMagnitude(mantissa, last, hex))
            return SCAN_NOT_FINITE;
        out = negative ? -0.0f : 0.0f;
        return SCAN_OK;
    }
    if (r.ec != std::errc() || std::fabs(wide) > std::numeric_limits<float>::max())
        return SCAN_NOT_FINITE;
    return storeFinite(static_cast<float>(wide), negative, out);
}

// Converts the unsigned number text [mantissa, last) that numberEnd found complete.
int convertFloat(const char* mantissa, const char* last, bool hex, bool negative, float& out)
{
    float value = 0.0f;
    const std::from_chars_result r = std::from_chars(mantissa, last, value, formatOf(hex));
    if (r.ec == std::errc::result_out_of_range)
        return convertOutOfRange(mantissa, last, hex, negative, out);
    if (r.ec != std::errc() || r.ptr != last)
        return SCAN_MISMATCH;
    return storeFinite(value, negative, out);
}

} // namespace

int scanInt(TextCursor& c, int32_t& out)
{
    skipSpace(c);
    if (c.p >= c.end)
        return SCAN_END;
    const char* s = c.p;
    bool negative = false;
    if (*s == '+' || *s == '-') {
        negative = *s == '-';
        ++s;
    }
    const size_t digits = countDigits(s, c.end, false);
    if (digits == 0) {
        c.p = s;  // a lone sign is consumed, as the library's input item would be
        return SCAN_MISMATCH;
    }
    int64_t value = 0;
    for (size_t i = 0; i < digits; ++i) {
        if (value < (int64_t{1} << 40))
            value = value * 10 + (s[i] - '0');
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<int32_t>::max())
        value = std::numeric_limits<int32_t>::max();
    if (value < std::numeric_limits<int32_t>::min())
        value = std::numeric_limits<int32_t>::min();
    out = static_cast<int32_t>(value);
    c.p = s + digits;
    return SCAN_OK;
}

int scanFloat(TextCursor& c, float& out)
{
    skipSpace(c);
    if (c.p >= c.end)
        return SCAN_END;
    const char* const end = c.end;
    const char* s = c.p;
    bool negative = false;
    if (*s == '+' || *s == '-') {
        negative = *s == '-';
        ++s;
    }
    const bool hex = s + 1 < end && s[0] == '0' && lower(s[1]) == 'x';
    if (hex)
        s += 2;
    const char* const mantissa = s;
    bool complete = false;  // "0x" with nothing after it stays incomplete
    if (s < end && (isDigit(*s) || *s == '.' || (hex && isHexDigit(*s)))) {
        s = numberEnd(s, end, hex, complete);
    } else if (!hex && s < end && (lower(*s) == 'i' || lower(*s) == 'n')) {
        bool word = false;
        c.p = s + notFiniteWordLength(s, end, word);
        return word ? SCAN_NOT_FINITE : SCAN_MISMATCH;
    }
    c.p = s;
    if (!complete)
        return SCAN_MISMATCH;
    return convertFloat(mantissa, s, hex, negative, out);
}

int scanWord(TextCursor& c, char* buffer, size_t size)
{
    skipSpace(c);
    if (c.p >= c.end)
        return SCAN_END;
    const char* s = c.p;
    while (c.p < c.end && !isScanSpace(*c.p))
        ++c.p;
    const size_t length = static_cast<size_t>(c.p - s);
    if (length + 1 > size) {
        if (size > 0)
            buffer[0] = '\0';
        return SCAN_WORD_TOO_LONG;
    }
    std::memcpy(buffer, s, length);
    buffer[length] = '\0';
    return SCAN_OK;
}

bool skipLine(TextCursor& c)
{
    if (c.p >= c.end)
        return false;
    const void* nl = std::memchr(c.p, '\n', static_cast<size_t>(c.end - c.p));
    if (nl) {
        c.p = static_cast<const char*>(nl) + 1;
        ++c.line;
    } else {
        c.p = c.end;
    }
    return true;
}
