// Feeds arbitrary text to number reading and checks what must always hold: reading never
// crashes, the number text of a result is one of the two documented forms, and a value of at
// most 15 significant digits reads back from its number text unchanged. A text that is wholly a
// number is taken as one where only a number will do, and no other.

#include "numberreading.h"
#include "numbertext.h"

#include <QLocale>
#include <QRegularExpression>
#include <QString>

#include <cmath>
#include <cstdint>
#include <string>

using namespace Qt::StringLiterals;

namespace {

// The significant digits of a number text: those of its mantissa after any leading zeros.
qsizetype significantDigits(QStringView text)
{
    const qsizetype exponent = text.indexOf(u'e', 0, Qt::CaseInsensitive);
    qsizetype digits = 0;
    for (const QChar c : exponent < 0 ? text : text.first(exponent)) {
        if (c.isDigit() && (digits > 0 || c != u'0'))
            ++digits;
    }
    return digits;
}

// Ends the run with what did not hold, so that the fuzzer keeps the input.
void expect(bool holds, const char *what, const std::string &input, const QString &text = {})
{
    if (!holds)
        qFatal("%s: input \"%s\", number text \"%s\"", what, input.c_str(), qPrintable(text));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string input(reinterpret_cast<const char *>(data), size);
    const QString typed = QString::fromStdString(input);
    const NumberReading reading = readNumber(typed);
    // A text is a number where only a number will do exactly when it was read whole and fits.
    const bool number = reading.extent == NumberReading::Extent::Whole && reading.inRange;
    expect(readExactNumber(typed) == (number ? std::optional(reading.value) : std::nullopt),
        "taken as a number otherwise than it was read", input);
    expect((reading.extent == NumberReading::Extent::Blank)
            == (input.find_first_not_of(" \t\n") == std::string::npos),
        "blank otherwise than for blanks, tabs and line feeds", input);
    expect(reading.inRange || reading.value == 0.0, "out of range but not 0", input);
    expect(!reading.inRange || std::isfinite(reading.value), "in range but not finite", input);
    if (!reading.inRange)
        return 0;

    const QString text = numberText(reading.value);
    // [-]digits[.digits], with no leading zero but a lone one and no trailing zero after the
    // point; or [-]d[.digits]E(+|-)dd[d], with a mantissa from 1 to 9.99...
    static const QRegularExpression forms(QRegularExpression::anchoredPattern(
        u"-?(0|[1-9]\\d*)(\\.\\d*[1-9])?|-?[1-9](\\.\\d*[1-9])?E[+-]\\d\\d\\d?"_s));
    expect(forms.match(text).hasMatch(), "number text of neither form", input, text);
    expect(significantDigits(text) <= 15, "more than 15 significant digits", input, text);
    expect(text != u"-0", "negative zero written with its sign", input, text);
    // Read back when the shortest text that reads back exactly as the value has 15 digits at most.
    const QString shortest = QString::number(reading.value, 'e', QLocale::FloatingPointShortest);
    const NumberReading back = readNumber(text);
    expect(significantDigits(shortest) > 15 || (back.inRange && back.value == reading.value),
        "does not read back unchanged", input, text);
    return 0;
}
