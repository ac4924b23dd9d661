#include "datafile.h"
#include "windowscenario.h"

#include <QLocale>

// What a user does in the sheet and the rate window, opened as the menu opens them on a table of
// two years, and what they then show: the rows of sheet.tsv and rate-window.tsv, whose heads say
// how the steps are written. How the windows look and what a screen reader finds in them are
// views_test's.
class ScenariosTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German)); }  // reads no number

    void scenarios_data()
    {
        DataFile::addRows(u"sheet.tsv"_s, {"steps", "seen"});
        DataFile::addRows(u"rate-window.tsv"_s);
    }

    void scenarios()
    {
        TestProgram m;
        QVERIFY(m.ready);
        const QStringList seen = WindowScenario(m).run(DataFile::field("steps"));
        QCOMPARE(seen, DataFile::field("seen").split(u'\n'));
    }
};

QTEST_MAIN(ScenariosTest)
#include "scenarios_test.moc"
