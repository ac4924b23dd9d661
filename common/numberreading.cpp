#include "numberreading.h"

#include <charconv>
#include <string>

namespace {

bool isIgnored(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The characters that count, in plain ASCII; anything else ends the number anyway.
std::string significantCharacters(QStringView text)
{
    std::string chars;
    chars.reserve(static_cast<size_t>(text.size()));
    for (const QChar c : text) {
        if (isIgnored(c))
            continue;
        chars.push_back(c.unicode() < 128 ? static_cast<char>(c.unicode()) : '\x7f');
    }
    return chars;
}

// True when a number that std::from_chars found out of range is too large rather than too small:
// its first significant digit then stands left of the decimal point's own place.
bool isTooLarge(std::string_view mantissa, long long exponent)
{
    long long digitPlace = 0;  // decimal exponent of the first non-zero digit, before the exponent
    bool seenPoint = false;
    long long integerDigits = 0;
    long long leadingFractionZeros = 0;
    for (const char c : mantissa) {
        if (c == '.') {
            seenPoint = true;
            continue;
        }
        if (!seenPoint) {
            if (integerDigits > 0 || c != '0')
                ++integerDigits;
        } else if (integerDigits == 0) {
            if (c != '0') {
                digitPlace = -(leadingFractionZeros + 1);
                return exponent + digitPlace > 0;
            }
            ++leadingFractionZeros;
        }
    }
    digitPlace = integerDigits - 1;
    return exponent + digitPlace > 0;
}

}  // namespace

NumberReading readNumber(QStringView text)
{
    const std::string chars = significantCharacters(text);
    size_t pos = 0;
    bool negative = false;
    if (pos < chars.size() && (chars[pos] == '+' || chars[pos] == '-')) {
        negative = chars[pos] == '-';
        ++pos;
    }

    const size_t mantissaStart = pos;
    bool seenPoint = false;
    bool seenDigit = false;
    for (; pos < chars.size(); ++pos) {
        if (isDigit(chars[pos]))
            seenDigit = true;
        else if (chars[pos] == '.' && !seenPoint)
            seenPoint = true;
        else
            break;
    }
    if (!seenDigit)
        return {
            0.0, true, chars.empty() ? NumberReading::Extent::Blank : NumberReading::Extent::Part};
    const std::string_view mantissa(chars.data() + mantissaStart, pos - mantissaStart);

    // An exponent counts only when at least one digit follows its letter and sign.
    std::string_view exponentDigits;
    bool negativeExponent = false;
    if (pos < chars.size()) {
        const char letter = chars[pos];
        if (letter == 'E' || letter == 'e' || letter == 'D' || letter == 'd') {
            size_t p = pos + 1;
            if (p < chars.size() && (chars[p] == '+' || chars[p] == '-')) {
                negativeExponent = chars[p] == '-';
                ++p;
            }
            const size_t digitsStart = p;
            while (p < chars.size() && isDigit(chars[p]))
                ++p;
            exponentDigits = std::string_view(chars.data() + digitsStart, p - digitsStart);
            if (!exponentDigits.empty())
                pos = p;
        }
    }
    const auto extent
        = pos == chars.size() ? NumberReading::Extent::Whole : NumberReading::Extent::Part;

    std::string number(mantissa);
    if (!exponentDigits.empty()) {
        number += negativeExponent ? "e-" : "e";
        number += exponentDigits;
    }

    double value = 0.0;
    const auto [end, error] = std::from_chars(
        number.data(), number.data() + number.size(), value, std::chars_format::general);
    (void)end;
    if (error == std::errc::result_out_of_range) {
        // Only the exponent's size and sign matter here; saturate instead of overflowing.
        long long exponent = 0;
        for (const char digit : exponentDigits) {
            exponent = exponent * 10 + (digit - '0');
            if (exponent > 1'000'000)
                break;
        }
        if (negativeExponent)
            exponent = -exponent;
        if (isTooLarge(mantissa, exponent))
            return {0.0, false, extent};
        value = 0.0;  // too small for a double: it reads as zero
    }
    return {negative ? -value : value, true, extent};
}

double numberValue(QStringView text)
{
    return readNumber(text).value;
}

std::optional<double> readExactNumber(QStringView text, Unit unit)
{
    if (unit == Unit::Percent) {
        // The sign may stand after the number, blanks and all: '9.5 %' is 9.5.
        qsizetype end = text.size();
        while (end > 0 && isIgnored(text[end - 1]))
            --end;
        if (end > 0 && text[end - 1] == u'%')
            text = text.first(end - 1);
    }
    const NumberReading reading = readNumber(text);
    if (reading.extent != NumberReading::Extent::Whole || !reading.inRange)
        return std::nullopt;
    return reading.value;
}
