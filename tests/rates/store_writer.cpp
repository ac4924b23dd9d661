// Adds rows to the rate table beside it as fast as it can, and says so after each one is on disk.
// The store test kills it at random moments. Usage: store_writer DIRECTORY FIRST_YEAR [ROWS]

#include "sharedrates.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 3 && argc != 4)
        return 2;
    SharedRates rates(QString::fromLocal8Bit(argv[1]));
    if (const Failure failure = rates.openAfresh()) {
        std::fprintf(stderr, "%s\n", qPrintable(*failure));
        return 1;
    }
    const double firstYear = std::atof(argv[2]);
    const int rows = argc == 4 ? std::atoi(argv[3]) : 1000000;
    for (int i = 0; i < rows; ++i) {
        const double year = firstYear + i;
        const Result<RateStore::Added> added = rates.store()->add(year, year + 1, 8.5);
        if (!added || *added != RateStore::Added::Saved) {
            std::fprintf(stderr, "%s\n", added ? "already there" : qPrintable(added.error));
            return 1;
        }
        std::printf("done %.0f\n", year);
        std::fflush(stdout);
    }
    return 0;
}
