#pragma once

#include <QtGlobal>

#include <optional>

// One row of the rate table: a financial year from April of yearFrom to March of yearTo, and its
// rate of interest in percent a year. A column may be empty (null) in a table made elsewhere.
struct RateRecord
{
    std::optional<double> yearFrom;
    std::optional<double> yearTo;
    std::optional<double> rate;
    qint64 row = 0;  // where the row stands in the table, for changing it
};

class QString;

// The label the year list shows: year from, "-", year to, each as its number text ('2003-2004').
// An empty year gives no characters.
QString yearLabel(const RateRecord &record);
