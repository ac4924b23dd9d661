// Adds rows to the rate table beside it as fast as it can, and says so after each one is on disk.
// The store test kills it at random moments. Usage: store_writer DIRECTORY FIRST_YEAR [ROWS]

#include "sharedrates.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 3 && arguments.size() != 4)
        qFatal("Usage: store_writer DIRECTORY FIRST_YEAR [ROWS]");
    SharedRates rates(arguments[1]);
    if (const Failure failure = rates.openAfresh())
        qFatal("%s", qPrintable(*failure));
    for (double year = arguments[2].toDouble(),
                end = year + arguments.value(3, QStringLiteral("1000000")).toDouble();
         year < end; ++year) {
        const Result<RateStore::Added> added = rates.store()->add(year, year + 1, 8.5);
        if (!added || *added != RateStore::Added::Saved)
            qFatal("%s", added ? "already there" : qPrintable(added.error));
        std::printf("done %.0f\n", year);
        std::fflush(stdout);
    }
}
