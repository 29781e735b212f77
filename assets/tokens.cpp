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
    const char* const start = c.p;
    const char* const end = c.end;
    const char* s = start;
    bool negative = false;
    if (*s == '+' || *s == '-') {
        negative = *s == '-';
        ++s;
    }
    const char* mantissa = s;
    bool hex = false;
    bool complete = false;
    if (s + 1 < end && s[0] == '0' && lower(s[1]) == 'x') {
        hex = true;
        s += 2;
        mantissa = s;
    }
    if (s < end && (isDigit(*s) || *s == '.' || (hex && isHexDigit(*s)))) {
        size_t intDigits = countDigits(s, end, hex);
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
    } else if (hex) {
        complete = false;  // "0x" with nothing after it
    } else if (s < end && (lower(*s) == 'i' || lower(*s) == 'n')) {
        // Infinity and NaN convert in the library, so they are consumed whole, but never stored.
        // A word that only starts like them ("in", "infin") is consumed and fails.
        size_t n = matchWord(s, end, "infinity");
        bool word = n == 3 || n == 8;
        if (n < 3) {
            n = matchWord(s, end, "nan");
            word = n == 3;
            if (word && s + 3 < end && s[3] == '(') {
                size_t k = 4;
                while (s + k < end && (isDigit(s[k]) || (lower(s[k]) >= 'a' && lower(s[k]) <= 'z') || s[k] == '_'))
                    ++k;
                if (s + k < end && s[k] == ')')
                    n = k + 1;
            }
        }
        c.p = s + n;
        return word ? SCAN_NOT_FINITE : SCAN_MISMATCH;
    }
    c.p = s;
    if (!complete)
        return SCAN_MISMATCH;

    float value = 0.0f;
    const std::chars_format format = hex ? std::chars_format::hex : std::chars_format::general;
    std::from_chars_result r = std::from_chars(mantissa, s, value, format);
    if (r.ec == std::errc::result_out_of_range) {
        double wide = 0.0;
        std::from_chars_result rd = std::from_chars(mantissa, s, wide, format);
        if (rd.ec == std::errc::result_out_of_range)
            return tinyMagnitude(mantissa, s, hex) ? (out = negative ? -0.0f : 0.0f, SCAN_OK) : SCAN_NOT_FINITE;
        if (rd.ec != std::errc() || std::fabs(wide) > std::numeric_limits<float>::max())
            return SCAN_NOT_FINITE;
        value = static_cast<float>(wide);  // too small for a float: 0 or a denormal
    } else if (r.ec != std::errc() || r.ptr != s) {
        return SCAN_MISMATCH;
    }
    if (!std::isfinite(value))
        return SCAN_NOT_FINITE;
    out = negative ? -value : value;
    return SCAN_OK;
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
