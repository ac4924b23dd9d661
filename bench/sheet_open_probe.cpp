// Times opening the interest sheet on the largest rate table (32,767 rows): from the menu's
// open-a-window operation to the first painted frame with the year list filled. Runs on the
// current platform (Xvfb, or offscreen): sheet_open_probe [runs]

#include "program.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEvent>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int largestTable = 32767;

bool makeTable(const QString &path)
{
    bool ok = false;
    {
        QSqlDatabase db
            = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("make"));
        db.setDatabaseName(path);
        ok = db.open();
        QSqlQuery query(db);
        ok = ok
            && query.exec(
                QStringLiteral("CREATE TABLE zel (yearfrom REAL, yearto REAL, rate REAL)"));
        ok = ok && db.transaction();
        query.prepare(QStringLiteral("INSERT INTO zel VALUES (?, ?, ?)"));
        for (int row = 0; ok && row < largestTable; ++row) {
            query.addBindValue(1000.0 + row);
            query.addBindValue(1001.0 + row);
            query.addBindValue(8.5);
            ok = query.exec();
        }
        ok = ok && db.commit();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("make"));
    return ok;
}

class PaintSeen : public QObject
{
public:
    bool seen = false;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            seen = true;
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    QTemporaryDir dir;
    Program program(dir.path());
    if (!makeTable(program.rates().filePath())) {
        std::fprintf(stderr, "cannot make the table\n");
        return 1;
    }

    std::vector<double> times;
    for (int run = 0; run <= runs; ++run) {
        PaintSeen paints;
        QElapsedTimer timer;
        timer.start();
        QWidget *sheet = program.sheet().open();
        if (!sheet)
            return 1;
        sheet->installEventFilter(&paints);
        auto *years = sheet->findChild<QComboBox *>(QStringLiteral("Combo1"));
        while (!paints.seen || years->count() < largestTable) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            if (timer.elapsed() > 10000) {
                std::fprintf(stderr, "the sheet did not open within 10 s\n");
                return 1;
            }
        }
        if (run > 0)  // the first run warms caches and plugins
            times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        sheet->removeEventFilter(&paints);
        sheet->close();
        QCoreApplication::processEvents();
    }
    std::sort(times.begin(), times.end());
    std::printf("open the sheet on %d rows, first activation and frame included: median %.1f ms "
                "(min %.1f, max %.1f) over %d runs\n",
        largestTable, times[times.size() / 2], times.front(), times.back(), runs);
    return 0;
}
