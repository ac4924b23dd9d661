#include "numbertext.h"

#include <array>
#include <charconv>
#include <cmath>

QString numberText(double value)
{
    if (value == 0.0)
        return QStringLiteral("0");  // also for negative zero
    if (!std::isfinite(value))
        return std::isnan(value) ? QStringLiteral("NaN")
                                 : (value < 0 ? QStringLiteral("-Inf") : QStringLiteral("Inf"));

    // The "general" form with precision 15 is exactly the rule: it switches to the exponent form
    // below 1E-04 and from 1E+15 on, and it drops trailing zeros and a bare point.
    std::array<char, 40> buffer {};
    const auto [end, error] = std::to_chars(
        buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::general, 15);
    if (error != std::errc())
        return QStringLiteral("NaN");
    QString text = QString::fromLatin1(buffer.data(), end - buffer.data());
    text.replace(u'e', u'E');
    return text;
}

QString numberText(const std::optional<double> &value)
{
    return value ? numberText(*value) : QString();
}
