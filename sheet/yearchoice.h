#pragma once

#include "raterecord.h"

#include <QList>
#include <QString>

#include <optional>

// The rate text for a chosen year label: the label's years are read back by position (characters
// 1 to 4 and from the 6th, at most 9), so only a four-digit year from finds its own row. Every row
// is looked at and the last match wins; nullopt when no row matches.
std::optional<QString> rateTextForLabel(const QString &label, const QList<RateRecord> &rows);

// The year list's labels for the rows, in their order.
QStringList yearLabels(const QList<RateRecord> &rows);
