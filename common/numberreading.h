#pragma once

// Numbers and their texts: every box of the program holds text, and every handler that needs a
// number reads it with readNumber() and writes it back with numberText(). Both are plain functions
// on the standard library, independent of the locale.

#include <QString>
#include <QStringView>

#include <optional>

struct NumberReading
{
    // How much of the text the reading took.
    enum class Extent
    {
        Blank,  // nothing but blanks, tabs and line feeds: 0, as for an empty box
        Whole,  // every other character belongs to the number
        Part,   // the reading stopped before the end ('1,000', '12abc', 'abc')
    };

    double value = 0.0;
    // False when the text forms a number too large for a double ('1E400'); value is then 0.
    bool inRange = true;
    Extent extent = Extent::Blank;
};

// Reads the number at the start of a text the way a user's entry is read: blanks, tabs and line
// feeds are ignored wherever they stand, then an optional sign, digits with at most one point and
// an optional exponent (E or D) are taken as far as they fit. A text without digits there is 0.
NumberReading readNumber(QStringView text);

// The value of readNumber(), for callers that treat an out-of-range text like any other.
double numberValue(QStringView text);

// A text that must be a number and nothing else, read as readNumber() reads it: it is a number
// when the reading took every character but the blanks, tabs and line feeds and found a digit
// ('1 000', '2D2', '1e3', ' 8 '), and not otherwise ('8,25', 'abc', '1.2.3', ''). A rate may also
// end in a percent sign ('9.5%'). nullopt when it is no number, or beyond the double range.
enum class Unit
{
    Plain,
    Percent,  // a trailing '%' is allowed
};
std::optional<double> readExactNumber(QStringView text, Unit unit = Unit::Plain);
