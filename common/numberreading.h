#pragma once

// Numbers and their texts: every box of the program holds text, and every handler that needs a
// number reads it with readNumber() and writes it back with numberText(). Both are plain functions
// on the standard library, independent of the locale.

#include <QString>
#include <QStringView>

#include <optional>

struct NumberReading
{
    double value = 0.0;
    // False when the text forms a number too large for a double ('1E400'); value is then 0.
    bool inRange = true;
};

// Reads the number at the start of a text the way a user's entry is read: blanks, tabs and line
// feeds are ignored wherever they stand, then an optional sign, digits with at most one point and
// an optional exponent (E or D) are taken as far as they fit. A text without digits there is 0.
NumberReading readNumber(QStringView text);

// The value of readNumber(), for callers that treat an out-of-range text like any other.
double numberValue(QStringView text);

// A text that must be a number and nothing else: blanks, tabs and line feeds around it allowed,
// the full stop as decimal point, an exponent with E allowed. nullopt for any other text, and for
// a number beyond the double range.
std::optional<double> readExactNumber(const QString &text);
