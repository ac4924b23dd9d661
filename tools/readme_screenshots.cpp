// Renders the README's pictures: the main window, the interest sheet after the worked example at
// the rate of 2004-2005, the rate maintenance window and the calendar. Typed and clicked as a
// user would, on a table of its own.
// Usage: readme_screenshots OUTPUT_DIR

#include "mainwindow.h"
#include "program.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

namespace {

bool makeTable(const QString &path)
{
    bool ok = false;
    {
        QSqlDatabase db
            = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("make"));
        db.setDatabaseName(path);
        QSqlQuery query(db);
        ok = db.open()
            && query.exec(
                QStringLiteral("CREATE TABLE zel (yearfrom REAL, yearto REAL, rate REAL)"))
            && query.exec(
                QStringLiteral("INSERT INTO zel VALUES (2003, 2004, 9.5), (2004, 2005, 8)"));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("make"));
    return ok;
}

void type(QWidget *window, const QString &box, const QString &text)
{
    QTest::keyClicks(window->findChild<QLineEdit *>(box), text);
}

bool save(QWidget *window, const QString &path)
{
    QTest::qWait(100);  // let the last paint settle
    const bool saved = window->grab().save(path);
    std::printf("%s %s\n", saved ? "wrote" : "could not write", qPrintable(path));
    return saved;
}

}  // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QDir output(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs"));
    QTemporaryDir dir;
    Program program(dir.path());
    if (!makeTable(program.rates().filePath()))
        return 1;

    MainWindow main(program);
    main.show();
    if (!QTest::qWaitForWindowExposed(&main)
        || !save(&main, output.filePath(QStringLiteral("main-window.png"))))
        return 1;

    QWidget *sheet = program.sheet().open();
    if (!sheet || !QTest::qWaitForWindowExposed(sheet))
        return 1;
    auto *years = sheet->findChild<QComboBox *>(QStringLiteral("Combo1"));
    years->setFocus();
    QTest::keyClick(years, Qt::Key_Down);
    QTest::keyClick(years, Qt::Key_Down);  // 2004-2005, rate 8
    type(sheet, QStringLiteral("Text39"), QStringLiteral("10000"));
    for (const char *box : {"Text1", "Text8", "Text11", "Text14", "Text17", "Text20", "Text23",
             "Text26", "Text29", "Text32", "Text35", "Text5"})
        type(sheet, QString::fromLatin1(box), QStringLiteral("1000"));
    type(sheet, QStringLiteral("Text12"), QStringLiteral("600"));
    type(sheet, QStringLiteral("Text25"), QStringLiteral("5000"));
    QTest::mouseClick(
        sheet->findChild<QAbstractButton *>(QStringLiteral("Command1")), Qt::LeftButton);
    if (!save(sheet, output.filePath(QStringLiteral("sheet.png"))))
        return 1;

    QWidget *rates = program.rateWindow().open();
    if (!rates || !QTest::qWaitForWindowExposed(rates))
        return 1;
    type(rates, QStringLiteral("Text1"), QStringLiteral("2005"));
    type(rates, QStringLiteral("Text2"), QStringLiteral("2006"));
    type(rates, QStringLiteral("Text3"), QStringLiteral("8.25"));
    if (!save(rates, output.filePath(QStringLiteral("rate-window.png"))))
        return 1;

    QWidget *calendar = program.calendar().open();
    if (!calendar || !QTest::qWaitForWindowExposed(calendar))
        return 1;
    return save(calendar, output.filePath(QStringLiteral("calendar.png"))) ? 0 : 1;
}
