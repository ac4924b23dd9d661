// Feeds arbitrary text to number reading and checks what must always hold: reading never
// crashes, the number text of a result is one of the two documented forms, and a value of at
// most 15 significant digits reads back from its number text unchanged. A text that is wholly a
// number is taken as one where only a number will do, and no other.

#include "numberreading.h"
#include "numbertext.h"

#include <QString>

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// [-]digits[.digits]: no leading zero but a lone one, no trailing zero after the point.
bool isPlain(std::string_view text)
{
    if (!text.empty() && text.front() == '-')
        text.remove_prefix(1);
    const size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    if (whole.empty() || (whole.size() > 1 && whole.front() == '0'))
        return false;
    for (const char c : whole) {
        if (!isDigit(c))
            return false;
    }
    if (point == std::string_view::npos)
        return true;
    const std::string_view fraction = text.substr(point + 1);
    if (fraction.empty() || fraction.back() == '0')
        return false;
    for (const char c : fraction) {
        if (!isDigit(c))
            return false;
    }
    return true;
}

// [-]d[.digits]E(+|-)dd[d]: a mantissa from 1 to 9.99..., at least two exponent digits.
bool isExponent(std::string_view text)
{
    const size_t e = text.find('E');
    if (e == std::string_view::npos || e + 4 > text.size())
        return false;
    std::string_view mantissa = text.substr(0, e);
    if (!mantissa.empty() && mantissa.front() == '-')
        mantissa.remove_prefix(1);
    if (mantissa.empty() || mantissa.front() == '0' || !isPlain(mantissa)
        || (mantissa.size() > 1 && mantissa[1] != '.'))
        return false;
    const std::string_view exponent = text.substr(e + 1);
    if (exponent.front() != '+' && exponent.front() != '-')
        return false;
    const std::string_view digits = exponent.substr(1);
    if (digits.size() < 2 || digits.size() > 3)
        return false;
    for (const char c : digits) {
        if (!isDigit(c))
            return false;
    }
    return true;
}

int significantDigits(std::string_view text)
{
    int digits = 0;
    bool leading = true;
    for (const char c : text) {
        if (c == 'E')
            break;
        if (!isDigit(c) || (leading && c == '0'))
            continue;
        leading = false;
        ++digits;
    }
    return digits;
}

// Digits of the shortest text that reads back exactly as the value.
int shortestDigits(double value)
{
    std::array<char, 64> buffer {};
    const auto end = std::to_chars(
        buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::scientific)
                         .ptr;
    std::string_view text(buffer.data(), static_cast<size_t>(end - buffer.data()));
    const size_t e = text.find('e');
    int digits = 0;
    for (const char c : text.substr(0, e))
        digits += isDigit(c) ? 1 : 0;
    return digits;
}

[[noreturn]] void fail(const char *what, const std::string &input, const QString &text)
{
    std::fprintf(stderr, "%s: input \"%s\", number text \"%s\"\n", what, input.c_str(),
        text.toStdString().c_str());
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string input(reinterpret_cast<const char *>(data), size);
    const QString typed = QString::fromUtf8(input.data(), static_cast<qsizetype>(size));
    const NumberReading reading = readNumber(typed);
    // A text is a number where only a number will do exactly when it was read whole and fits.
    const bool number = reading.extent == NumberReading::Extent::Whole && reading.inRange;
    if (readExactNumber(typed) != (number ? std::optional(reading.value) : std::nullopt))
        fail("taken as a number otherwise than it was read", input, {});
    if ((reading.extent == NumberReading::Extent::Blank)
        != (input.find_first_not_of(" \t\n") == std::string::npos))
        fail("blank otherwise than for blanks, tabs and line feeds", input, {});
    if (!reading.inRange) {
        if (reading.value != 0.0)
            fail("out of range but not 0", input, {});
        return 0;
    }
    if (!std::isfinite(reading.value))
        fail("in range but not finite", input, {});

    const QString text = numberText(reading.value);
    const std::string plain = text.toStdString();
    if (!isPlain(plain) && !isExponent(plain))
        fail("number text of neither form", input, text);
    if (significantDigits(plain) > 15)
        fail("more than 15 significant digits", input, text);
    if (plain == "-0")
        fail("negative zero written with its sign", input, text);

    if (shortestDigits(reading.value) <= 15) {
        const NumberReading back = readNumber(text);
        if (!back.inRange || back.value != reading.value)
            fail("does not read back unchanged", input, text);
    }
    return 0;
}
