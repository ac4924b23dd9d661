#include "yearchoice.h"

#include "numberreading.h"
#include "numbertext.h"

std::optional<QString> rateTextForLabel(const QString &label, const QList<RateRecord> &rows)
{
    const double firstYear = numberValue(QStringView(label).left(4));
    const double secondYear = numberValue(QStringView(label).mid(5, 9));
    std::optional<QString> rate;
    for (const RateRecord &row : rows) {
        if (row.yearFrom && row.yearTo && *row.yearFrom == firstYear && *row.yearTo == secondYear)
            rate = numberText(row.rate);
    }
    return rate;
}

QStringList yearLabels(const QList<RateRecord> &rows)
{
    QStringList labels;
    labels.reserve(rows.size());
    for (const RateRecord &row : rows)
        labels.append(yearLabel(row));
    return labels;
}
