#include "datafile.h"
#include "marqueelabel.h"
#include "sheetwindow.h"
#include "testprogram.h"

#include <QAction>
#include <QDialog>
#include <QPageLayout>
#include <QRegularExpression>

#include <csignal>

#include <sys/resource.h>

using namespace Qt::StringLiterals;

// The sheet as the menu opens it, through what a user does; how it looks and what a screen
// reader finds in it are views_test's.
class SheetWindowTest : public QObject
{
    Q_OBJECT

    std::optional<TestProgram> m;  // on a table of two years
    SheetWindow *sheet = nullptr;  // opened as the menu does
    QStringList last;              // the sheet at the last look

    // What changed since the last look: the messages shown, the focus, the year list, each box
    // with its text, each mark's tool tip and what a screen reader reads about it; the printouts.
    QStringList look()
    {
        QStringList now {u"focus "_s + sheet->focusWidget()->accessibleName(), u"years"_s};
        for (int item = 0; item < sheet->findChild<QComboBox *>()->count(); ++item)
            now[1] += u' ' + sheet->findChild<QComboBox *>()->itemText(item);
        for (auto *box : sheet->findChildren<QLineEdit *>(QRegularExpression(u"^Text"_s))) {
            QString line = box->accessibleName() + u'=' + box->text();
            for (const QAction *mark : box->findChildren<QAction *>())
                line += u" [%1]"_s.arg(mark->icon().isNull() ? u"no icon"_s : mark->toolTip());
            now << (line + u' ' + box->accessibleDescription()).trimmed();
        }
        QStringList out = std::exchange(m->messages.shown, {});
        std::ranges::copy_if(now, std::back_inserter(out),
            [was = std::exchange(last, now)](auto l) { return !was.contains(l); });
        for (const auto &[window, name] : std::exchange(m->printer.printed, {}))
            out << u"printed %1 as %2"_s.arg(window->objectName(), name);
        return out.isEmpty() ? QStringList {u"nothing new"_s} : out;
    }

private slots:
    void init()
    {
        QVERIFY(m.emplace().ready);
        sheet = qobject_cast<SheetWindow *>(m->program.sheet().open());
        QCOMPARE(sheet ? sheet->windowTitle() : QString(), u"-"_s);  // until the title first ticks
        QVERIFY(QTest::qWaitForWindowActive(sheet));
        look();  // what the sheet shows as it opens is views_test's
    }

    void scenarios_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("seen");
        DataFile::addRows(u"scenarios.tsv"_s);
    }

    // What a user does, step by step, and what the sheet shows at each look: rows of
    // scenarios.tsv, whose head says what the steps mean.
    void scenarios()
    {
        QFETCH(QString, steps);
        QFETCH(QString, seen);
        QStringList looks;
        const auto *credits = sheet->findChild<MarqueeLabel *>();
        const auto shown = [&] { return QStringList {sheet->windowTitle(), credits->text()}; };
        for (const QString &step : steps.split(u'|')) {
            QWidget *control = nullptr;  // the one a screen reader names as the step does
            for (QWidget *widget : sheet->findChildren<QWidget *>())
                control = widget->accessibleName() == step.section(u'=', 0, 0) ? widget : control;
            if (step == u"?") {
                looks << look();
            } else if (step == u"tick") {
                sheet->Timer1_Timer();
                looks << sheet->windowTitle() + u'/' + sheet->windowHandle()->title();
            } else if (step == u"load") {
                looks << (sheet->Form_Load() ? u"loaded"_s : u"not loaded"_s);
            } else if (step.startsWith(u"table=")) {
                QVERIFY(RateTableFile::exec(m->table, {step.section(u'=', 1)}));
            } else if (step == u"pdf") {
                // The sheet written over an older file on a full disk, and into a folder gone.
                QFile older(m->folder.filePath(u"sheet.pdf"_s));
                QVERIFY(older.open(QIODevice::WriteOnly) && older.write("older") && older.flush());
                rlimit previous {};
                getrlimit(RLIMIT_FSIZE, &previous);
                std::signal(SIGXFSZ, SIG_IGN);  // a write past the limit fails, as on a full disk
                const rlimit full {4096, previous.rlim_max};
                setrlimit(RLIMIT_FSIZE, &full);
                for (const QString &file : {u"sheet.pdf"_s, u"gone/sheet.pdf"_s})
                    looks << PrinterDialog::writePdf(m->folder.filePath(file), {}, 1200, sheet, {});
                setrlimit(RLIMIT_FSIZE, &previous);
                looks << u"older file of %1 bytes"_s.arg(QFileInfo(older).size());
            } else if (step == u"wait") {  // until both move, for a second at most
                const QStringList was = shown();
                const bool both = QTest::qWaitFor(
                    [&] { return shown()[0] != was[0] && shown()[1] != was[1]; }, 1000);
                looks << (both ? u"moving"_s : shown() == was ? u"resting"_s : u"one moving"_s);
            } else if (sheet->metaObject()->indexOfSlot(qPrintable(step + u"()"_s)) >= 0) {
                QMetaObject::invokeMethod(sheet, qPrintable(step));  // hide, showMinimized, ...
                QTest::qWait(20);
            } else if (step == u"window" || step == u"dialog") {
                QWidget other;  // another window of the program
                QDialog dialog(sheet);
                for (QWidget *window : QWidgetList {step == u"dialog" ? &dialog : &other, sheet}) {
                    window->show();
                    window->activateWindow();
                    QTRY_COMPARE(QApplication::activeWindow(), window);
                }
            } else if (auto *button = qobject_cast<QAbstractButton *>(control)) {
                m->printer.outcome = PrinterDialog::Outcome(step.section(u'=', 1).toInt());
                button->click();
            } else if (control) {  // typing replaces the text
                control->setFocus();
                QTest::keyClick(control, Qt::Key_A, Qt::ControlModifier);
                QTest::keyClicks(control, step.section(u'=', 1));
            } else {
                QTest::keySequence(QApplication::focusWidget(), QKeySequence(step));
                QTest::qWait(step.startsWith(u"Alt+") ? 200 : 0);  // an access key clicks later
            }
        }
        QCOMPARE(looks.join(u'\n').replace(m->folder.path(), u"FOLDER"_s).split(u'\n'),
            seen.split(u'\n'));
    }
};

QTEST_MAIN(SheetWindowTest)
#include "sheetwindow_test.moc"
