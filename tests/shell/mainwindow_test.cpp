#include "calendarwindow.h"
#include "fakemessagebox.h"
#include "fakeprinterdialog.h"
#include "mainwindow.h"
#include "marqueelabel.h"
#include "program.h"
#include "programfolder.h"
#include "ratetablefile.h"
#include "ratewindow.h"
#include "sheetwindow.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

class MainWindowTest : public QObject
{
    Q_OBJECT

    struct Fixture
    {
        ProgramFolder folder;
        FakeMessageBox messages;
        FakePrinterDialog printer;
        Program program {folder.path(), messages, printer};
        MainWindow main {program};
        ActivationWatch activation;
        Marquee marquee;
    };
    std::optional<Fixture> m;

    QString table() const { return m->folder.tablePath(); }
    QAction *action(const QString &name) const { return m->main.findChild<QAction *>(name); }
    // Opens the sheet from the menu; the test drives the banner's ticks itself.
    SheetWindow *openSheet()
    {
        action(u"mycolenform"_qs)->trigger();
        auto *sheet = qobject_cast<SheetWindow *>(m->program.sheet().window());
        for (QTimer *timer : sheet ? sheet->findChildren<QTimer *>() : QList<QTimer *>())
            timer->stop();
        return sheet && QTest::qWaitForWindowActive(sheet) ? sheet : nullptr;
    }

private slots:
    // The main window on a table of two years, with message boxes recorded.
    void init()
    {
        m.emplace();
        QVERIFY(m->folder.ready());
        m->main.show();
    }
    void cleanup() { m.reset(); }

    // The menu as " name=caption", a menu's items in brackets after it, a separator as "-".
    void titleAndMenu()
    {
        QCOMPARE(m->main.windowTitle(), u"ZEL Calculation"_qs);
        QCOMPARE(m->main.cursor().shape(), Qt::CrossCursor);
        QString items;
        for (const QAction *top : m->main.menuBar()->actions()) {
            items += u" %1=%2"_qs.arg(top->objectName(), top->text());
            for (const QAction *item : top->menu() ? top->menu()->actions() : QList<QAction *>())
                items += u" [%1=%2]"_qs.arg(
                    item->objectName(), item->isSeparator() ? u"-"_qs : item->text());
        }
        QCOMPARE(items,
            u" mymenu=&Forms [mycustdet=&Add new %] [mycolenform=&ZEL Calculation] [mysep=-] "
            u"[myexit=&Exit] mycal=&Calender myabt=&About us"_qs);

        const QWidgetList before = QApplication::topLevelWidgets();
        action(u"myabt"_qs)->trigger();
        QCOMPARE(QApplication::topLevelWidgets(), before);
        QVERIFY(m->main.isVisible());
    }

    // Choosing the sheet again only raises it. After "&Exit" the next choice loads a new sheet:
    // initial texts, each year once, the title flash from its start, while the credits text goes
    // on from the column where the closed sheet left it, in the same direction.
    void sheetOpensOnceAndAnewAfterExit()
    {
        const auto state = [](SheetWindow *sheet) {
            const QString line = sheet->findChild<MarqueeLabel *>(u"Label15"_qs)->text();
            return u"%1 years, title '%2', column %3, '%4'"_qs
                .arg(sheet->findChild<QComboBox *>(u"Combo1"_qs)->count())
                .arg(sheet->windowTitle())
                .arg(line.indexOf(line.trimmed()) + 1)
                .arg(sheet->readBoxes()[Box::openingBalance]);
        };
        SheetWindow *sheet = openSheet();
        QVERIFY(sheet);
        sheet->Timer1_Timer();
        for (int tick = 0; tick < 59; ++tick)  // on the way right, far from a new sweep's start
            sheet->Timer2_Timer();
        QCOMPARE(openSheet(), sheet);
        QTest::keyClicks(sheet->findChild<QWidget *>(u"Text39"_qs), u"500"_qs);
        QCOMPARE(state(sheet), u"2 years, title '', column 60, '500'"_qs);

        QPointer<QWidget> closing = sheet;
        QTest::mouseClick(sheet->findChild<QWidget *>(u"Command5"_qs), Qt::LeftButton);
        QTRY_VERIFY(closing.isNull());
        QVERIFY(m->main.isVisible());
        sheet = openSheet();
        QVERIFY(sheet);
        sheet->Timer2_Timer();
        QCOMPARE(state(sheet), u"2 years, title '-', column 61, ''"_qs);
    }

    void missingTableKeepsProgramRunning()
    {
        QVERIFY(QFile::remove(table()));
        QCOMPARE(openSheet(), nullptr);
        QCOMPARE(m->messages.calls.size(), 1);  // the sheet test checks its wording
        QVERIFY(m->main.isVisible());
    }

    // The real event loop goes on after "&Exit" while the sheet is open, and ends when it closes.
    void exitKeepsOtherWindows()
    {
        QPointer<QWidget> sheet = openSheet();
        bool sheetOpenAfterExit = false;
        QTimer::singleShot(0, this, [&] { action(u"myexit"_qs)->trigger(); });
        QTimer::singleShot(100, this, [&] {
            sheetOpenAfterExit = !m->main.isVisible() && sheet && sheet->isVisible();
            sheet->close();
        });
        QObject failsafe;
        QTimer::singleShot(5000, &failsafe, [] { QCoreApplication::exit(1); });
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(sheetOpenAfterExit);
    }

    void darkDesktop_data()
    {
        QTest::addColumn<std::function<QWidget *()>>("make");
        QTest::newRow("main window")
            << std::function<QWidget *()>([this] { return new MainWindow(m->program); });
        QTest::newRow("sheet") << std::function<QWidget *()>([this] {
            return new SheetWindow(
                m->program.rates(), m->messages, m->printer, m->activation, m->marquee);
        });
        QTest::newRow("rate window") << std::function<QWidget *()>(
            [this] { return new RateWindow(m->program.rates(), m->messages); });
        QTest::newRow("calendar") << std::function<QWidget *()>([] { return new CalendarWindow; });
    }

    // On a dark desktop every control paints with the same colours as on a light one: those
    // its form gives, and the classic light ones for the rest.
    void darkDesktop()
    {
        QFETCH(std::function<QWidget *()>, make);
        const auto colours = [&make] {
            const std::unique_ptr<QWidget> window(make());
            QStringList painted;
            for (const QWidget *control : window->findChildren<QWidget *>()) {
                for (const auto group : {QPalette::Active, QPalette::Disabled}) {
                    for (const auto role : {QPalette::Window, QPalette::WindowText, QPalette::Base,
                             QPalette::Text, QPalette::Button, QPalette::ButtonText})
                        painted << control->palette().color(group, role).name();
                }
            }
            return painted;
        };
        const QPalette light = QApplication::palette();
        const QStringList onLight = colours();
        QPalette dark(QColor(50, 50, 50), QColor(40, 40, 40));
        dark.setColor(QPalette::Base, QColor(35, 35, 35));
        dark.setColor(QPalette::Text, QColor(240, 240, 240));
        dark.setColor(QPalette::Disabled, QPalette::Text, QColor(90, 90, 90));
        QApplication::setPalette(dark);
        const QStringList onDark = colours();
        QApplication::setPalette(light);
        QVERIFY(onLight.size() > 10);
        QCOMPARE(onDark, onLight);
    }
};

QTEST_MAIN(MainWindowTest)
#include "mainwindow_test.moc"
