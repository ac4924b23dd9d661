#include "raterecord.h"

#include "numbertext.h"

#include <QString>

QString yearLabel(const RateRecord &record)
{
    return numberText(record.yearFrom) + u'-' + numberText(record.yearTo);
}
