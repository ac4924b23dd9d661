#include "fakemessagebox.h"
#include "fakeprinterdialog.h"
#include "mainwindow.h"
#include "marqueelabel.h"
#include "program.h"
#include "programfolder.h"
#include "sheetwindow.h"

#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

using WindowAction = std::function<void(QWidget *)>;
using WindowState = std::function<QString(QWidget *)>;

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
    };
    std::optional<Fixture> m;

    QAction *action(const QString &name) const { return m->main.findChild<QAction *>(name); }
    // The windows on show, by name, in alphabetical order.
    static QString shownWindows()
    {
        QStringList names;
        for (const QWidget *window : QApplication::topLevelWidgets()) {
            if (window->isVisible())
                names << window->objectName();
        }
        names.sort();
        return names.join(u' ');
    }
    static QWidgetList windowsNamed(const QString &name)
    {
        QWidgetList found;
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (window->objectName() == name)
                found << window;
        }
        return found;
    }

private slots:
    // The main window on a table of two years, with message boxes recorded.
    void init()
    {
        m.emplace();
        QVERIFY(m->folder.ready());
        m->main.show();
        QVERIFY(QTest::qWaitForWindowActive(&m->main));
    }
    void cleanup() { m.reset(); }

    // The title page fills the window, with the title, the badge, the version and the bottom line.
    void titlePage()
    {
        const QWidget *page = m->main.centralWidget();
        QVERIFY(page);
        for (const QString &name : {u"Label1"_qs, u"Label3"_qs, u"Label2"_qs}) {
            const auto *label = page->findChild<QLabel *>(name);
            QVERIFY2(label && label->isVisible() && !label->text().isEmpty(), qPrintable(name));
        }
        const auto *badge = page->findChild<QLabel *>(u"Picture1"_qs);
        QVERIFY(badge && !badge->pixmap().isNull());
        QCOMPARE(m->main.findChild<QMenu *>(u"mymenu"_qs)->actions().size(), 4);
        action(u"myabt"_qs)->trigger();  // "&About us" does nothing
        QCOMPARE(shownWindows(), u"Form5"_qs);
    }

    void opensOnceAndAnewAfterClose_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("window");
        QTest::addColumn<WindowAction>("change");  // what a user does in the window
        QTest::addColumn<WindowState>("state");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("changed");
        QTest::addColumn<QString>("reopened");
        // Each reading moves the credits line one column, which goes on from where the closed
        // sheet left it, while the boxes and the year list start anew. Each return from the main
        // window adds the years to the list again.
        const auto sheetState = [](QWidget *window) {
            auto *sheet = qobject_cast<SheetWindow *>(window);
            sheet->Timer2_Timer();
            const QString line = sheet->findChild<MarqueeLabel *>(u"Label15"_qs)->text();
            return u"%1 years, '%2', column %3"_qs
                .arg(sheet->findChild<QComboBox *>(u"Combo1"_qs)->count())
                .arg(sheet->readBoxes()[Box::openingBalance])
                .arg(line.indexOf(line.trimmed()) + 1);
        };
        const auto sheetChange = [](QWidget *window) {
            QTest::keyClicks(window->findChild<QWidget *>(u"Text39"_qs), u"500"_qs);
            for (int tick = 0; tick < 58; ++tick)  // on the way right, far from a new sweep
                qobject_cast<SheetWindow *>(window)->Timer2_Timer();
        };
        QTest::newRow("sheet") << u"mycolenform"_qs << u"Form1"_qs << WindowAction(sheetChange)
                               << WindowState(sheetState) << u"2 years, '', column 2"_qs
                               << u"6 years, '500', column 61"_qs << u"2 years, '', column 62"_qs;
        QTest::newRow("rate window")
            << u"mycustdet"_qs << u"Form2"_qs << WindowAction([](QWidget *window) {
                   QTest::keyClicks(window->findChild<QLineEdit *>(u"Text1"_qs), u"2010"_qs);
               })
            << WindowState([](QWidget *window) {
                   return window->findChild<QLineEdit *>(u"Text1"_qs)->text();
               })
            << QString() << u"2010"_qs << QString();
        // A date the user moved to is lost on closing; the calendar opens on 23 September 2003.
        QTest::newRow("calendar")
            << u"mycal"_qs << u"calender"_qs << WindowAction([](QWidget *window) {
                   QTest::keyClick(window->findChild<QTableView *>(), Qt::Key_Down);
                   QTest::keyClick(window->findChild<QTableView *>(), Qt::Key_Down);
               })
            << WindowState([](QWidget *window) {
                   const auto *calendar = window->findChild<QCalendarWidget *>();
                   return calendar->selectedDate().toString(Qt::ISODate) + u" in "_qs
                       + QString::number(calendar->monthShown());
               })
            << u"2003-09-23 in 9"_qs << u"2003-10-07 in 10"_qs << u"2003-09-23 in 9"_qs;
    }

    // However often the menu item is chosen, one window of the kind shows and comes to the
    // front; after it closes, the next choice loads a new one.
    void opensOnceAndAnewAfterClose()
    {
        QFETCH(QString, item);
        QFETCH(QString, window);
        QFETCH(WindowAction, change);
        QFETCH(WindowState, state);
        QFETCH(QString, first);
        QFETCH(QString, changed);
        QFETCH(QString, reopened);
        const auto open = [&]() -> QWidget * {
            action(item)->trigger();
            const QWidgetList found = windowsNamed(window);
            if (found.size() != 1)
                return nullptr;
            for (QTimer *timer : found.first()->findChildren<QTimer *>())
                timer->stop();  // the test moves the sheet's banners itself
            return QTest::qWaitForWindowActive(found.first()) ? found.first() : nullptr;
        };
        QPointer<QWidget> shown = open();
        QVERIFY(shown);
        QCOMPARE(state(shown), first);
        change(shown);
        for (int again = 0; again < 2; ++again) {
            m->main.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&m->main));
            QCOMPARE(open(), shown.data());
        }
        QCOMPARE(state(shown), changed);

        shown->close();
        QTRY_VERIFY(shown.isNull());
        QCOMPARE(shownWindows(), u"Form5"_qs);
        shown = open();
        QVERIFY(shown);
        QCOMPARE(state(shown), reopened);
    }

    void missingOrDamagedTable_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QByteArray>("content");  // a null array for no table at all
        const QByteArray foreign = QByteArray("\x13\x37 no database \xff").repeated(300);
        QTest::newRow("sheet, no table") << u"mycolenform"_qs << QByteArray();
        QTest::newRow("sheet, foreign bytes") << u"mycolenform"_qs << foreign;
        QTest::newRow("rate window, no table") << u"mycustdet"_qs << QByteArray();
        QTest::newRow("rate window, empty file") << u"mycustdet"_qs << QByteArray("");
    }

    // The window that needs the table does not open, one message names the file, the file is
    // left as it was and the main window stays.
    void missingOrDamagedTable()
    {
        QFETCH(QString, item);
        QFETCH(QByteArray, content);
        const QString table = m->folder.tablePath();
        QFile file(table);
        QVERIFY(file.remove());
        if (!content.isNull()) {
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
            file.close();
        }
        action(item)->trigger();
        QCOMPARE(m->messages.calls.size(), 1);  // the windows' own tests check its wording
        QVERIFY2(m->messages.calls[0].text.contains(table), qPrintable(m->messages.calls[0].text));
        QCOMPARE(shownWindows(), u"Form5"_qs);
        QCOMPARE(file.exists(), !content.isNull());
        if (file.open(QIODevice::ReadOnly))
            QCOMPARE(file.readAll(), content);
    }

    void darkDesktop_data()
    {
        QTest::addColumn<std::function<QWidget *()>>("make");
        QTest::newRow("main window")
            << std::function<QWidget *()>([this] { return new MainWindow(m->program); });
        QTest::newRow("sheet") << std::function<QWidget *()>(
            [this] { return m->program.sheet().open(); });
        QTest::newRow("rate window")
            << std::function<QWidget *()>([this] { return m->program.rateWindow().open(); });
        QTest::newRow("calendar") << std::function<QWidget *()>(
            [this] { return m->program.calendar().open(); });
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
