#include "fakemessagebox.h"
#include "fakeprinterdialog.h"
#include "mainwindow.h"
#include "marqueelabel.h"
#include "program.h"
#include "programfolder.h"
#include "ratetablefile.h"
#include "sheetwindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrintDialog>
#include <QProcess>
#include <QScreen>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>

// Reads what a window shows, after doing in it what a user would when asked to change it.
using WindowUse = std::function<QString(QWidget *, bool change)>;

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
    // The windows on show besides the main window, which must stay.
    QWidgetList others() const
    {
        QWidgetList shown = QApplication::topLevelWidgets();
        shown.removeIf([this](QWidget *window) { return !window->isVisible(); });
        return m->main.isVisible() && shown.removeAll(&m->main) == 1 ? shown
                                                                     : QWidgetList {nullptr};
    }

    // A user who answers every dialog: Yes or OK to a message, which is recorded, and printing
    // to a PDF file, chosen as the last printer entry and named in the file name box.
    static void answerDialogs(QStringList &messages, const QString &pdf)
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            messages << box->text();
            QAbstractButton *yes = box->button(QMessageBox::Yes);
            (yes ? yes : box->button(QMessageBox::Ok))->click();
        } else if (auto *dialog = qobject_cast<QPrintDialog *>(modal)) {
            if (auto *printers = dialog->findChild<QComboBox *>(u"printers"_qs))
                printers->setCurrentIndex(printers->count() - 1);
            if (auto *fileName = dialog->findChild<QLineEdit *>(u"filename"_qs))
                fileName->setText(pdf);
            dialog->accept();
        }
    }
    static void chooseFromMenu(MainWindow &main, const QString &item)
    {
        QMenuBar *bar = main.menuBar();
        auto *popup = main.findChild<QMenu *>(u"mymenu"_qs);
        QTest::mouseClick(
            bar, Qt::LeftButton, {}, bar->actionGeometry(popup->menuAction()).center());
        QTRY_VERIFY(popup->isVisible());
        auto *action = main.findChild<QAction *>(item);
        QTest::mouseClick(popup, Qt::LeftButton, {}, popup->actionGeometry(action).center());
    }
    static void click(QWidget *window, const QString &name)
    {
        QTest::mouseClick(window->findChild<QWidget *>(name), Qt::LeftButton);
    }
    // Clicks into each box and types its text, or clicks a button, from entries such as
    // "Text1=2003 Text2=2004 Command1".
    static void fill(QWidget *window, const QString &entries)
    {
        for (const QString &entry : entries.split(u' ')) {
            const QStringList boxAndText = entry.split(u'=');
            click(window, boxAndText[0]);
            QTest::keyClicks(window->findChild<QWidget *>(boxAndText[0]), boxAndText.value(1));
        }
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

    // The title page fills the window, with the title, the badge and the version on its middle,
    // and the line at the bottom.
    void titlePage()
    {
        const QWidget *page = m->main.centralWidget();
        QVERIFY(page);
        for (const QString &name : {u"Label1"_qs, u"Picture1"_qs, u"Label3"_qs, u"Label2"_qs}) {
            const auto *label = page->findChild<QLabel *>(name);
            QVERIFY2(label && label->isVisible()
                    && !(label->text().isEmpty() && label->pixmap().isNull()),
                qPrintable(name));
        }
        for (const QString &name : {u"Label1"_qs, u"Picture1"_qs, u"Label3"_qs}) {  // centred
            const int middle = page->findChild<QWidget *>(name)->geometry().center().x();
            QVERIFY2(qAbs(middle - page->width() / 2) <= 1, qPrintable(name));
        }
        QCOMPARE(m->main.findChild<QMenu *>(u"mymenu"_qs)->actions().size(), 4);
        action(u"myabt"_qs)->trigger();  // "&About us" does nothing
        QCOMPARE(others(), QWidgetList());
    }

    void opensOnceAndAnewAfterClose_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<WindowUse>("use");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("changed");
        QTest::addColumn<QString>("reopened");
        // Each reading moves the credits line one column, which goes on from where the closed
        // sheet left it, while the boxes and the year list start anew. Each return from the main
        // window adds the years to the list again.
        const WindowUse sheet = [](QWidget *window, bool change) {
            auto *form = qobject_cast<SheetWindow *>(window);
            if (change)
                QTest::keyClicks(form->findChild<QWidget *>(u"Text39"_qs), u"500"_qs);
            for (int tick = change ? 58 : 1; tick > 0; --tick)  // far from a new sweep
                form->Timer2_Timer();
            const QString line = form->findChild<MarqueeLabel *>(u"Label15"_qs)->text();
            return u"%1 years, '%2', column %3"_qs
                .arg(form->findChild<QComboBox *>(u"Combo1"_qs)->count())
                .arg(form->readBoxes()[Box::openingBalance])
                .arg(line.indexOf(line.trimmed()) + 1);
        };
        const WindowUse rates = [](QWidget *window, bool change) {
            auto *year = window->findChild<QLineEdit *>(u"Text1"_qs);
            if (change)
                QTest::keyClicks(year, u"2010"_qs);
            return year->text();
        };
        // A date the user moved to is lost on closing; the calendar opens on 23 September 2003.
        const WindowUse calendar = [](QWidget *window, bool change) {
            for (int week = 0; change && week < 2; ++week)
                QTest::keyClick(window->findChild<QTableView *>(), Qt::Key_Down);
            const auto *dates = window->findChild<QCalendarWidget *>();
            return dates->selectedDate().toString(Qt::ISODate) + u" in "_qs
                + QString::number(dates->monthShown());
        };
        QTest::newRow("sheet") << u"mycolenform"_qs << sheet << u"2 years, '', column 2"_qs
                               << u"6 years, '500', column 61"_qs << u"2 years, '', column 62"_qs;
        QTest::newRow("rate window")
            << u"mycustdet"_qs << rates << QString() << u"2010"_qs << QString();
        QTest::newRow("calendar") << u"mycal"_qs << calendar << u"2003-09-23 in 9"_qs
                                  << u"2003-10-07 in 10"_qs << u"2003-09-23 in 9"_qs;
    }

    // However often the menu item is chosen, one window of the kind shows and comes to the
    // front; after it closes, the next choice loads a new one.
    void opensOnceAndAnewAfterClose()
    {
        QFETCH(QString, item);
        QFETCH(WindowUse, use);
        QFETCH(QString, first);
        QFETCH(QString, changed);
        QFETCH(QString, reopened);
        const auto open = [&]() -> QWidget * {
            action(item)->trigger();
            const QWidgetList shown = others();
            for (QTimer *timer :
                shown.size() == 1 ? shown[0]->findChildren<QTimer *>() : QList<QTimer *>())
                timer->stop();  // the test moves the sheet's banners itself
            return shown.size() == 1 && QTest::qWaitForWindowActive(shown[0]) ? shown[0] : nullptr;
        };
        QPointer<QWidget> shown = open();
        QVERIFY(shown);
        QCOMPARE(use(shown, false), first);
        use(shown, true);
        for (int again = 0; again < 2; ++again) {
            m->main.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&m->main));
            QCOMPARE(open(), shown.data());
        }
        QCOMPARE(use(shown, false), changed);

        shown->close();
        QTRY_VERIFY(shown.isNull());
        QCOMPARE(others(), QWidgetList());
        shown = open();
        QVERIFY(shown);
        QCOMPARE(use(shown, false), reopened);
    }

    // The rate window and the calendar open in the middle of the screen, within a frame's width.
    void centred()
    {
        for (const QString &item : {u"mycustdet"_qs, u"mycal"_qs}) {
            action(item)->trigger();
            QWidget *shown = others().value(0);
            QVERIFY(shown && QTest::qWaitForWindowExposed(shown));
            const QPoint offset
                = shown->frameGeometry().center() - shown->screen()->availableGeometry().center();
            QVERIFY2(offset.manhattanLength() <= 4, qPrintable(item));
            shown->close();
        }
    }

    void missingOrDamagedTable_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QByteArray>("content");  // a null array for no table at all
        QTest::newRow("sheet, no table") << u"mycolenform"_qs << QByteArray();
        QTest::newRow("rate window, foreign bytes")
            << u"mycustdet"_qs << QByteArray("\x13\x37 no database \xff").repeated(300);
    }

    // The window that needs the table does not open, one message names the file, the file is
    // left as it was and the main window stays. The store's and the windows' own tests read
    // other damage and check the wording.
    void missingOrDamagedTable()
    {
        QFETCH(QString, item);
        QFETCH(QByteArray, content);
        QFile file(m->folder.tablePath());
        QVERIFY(file.remove());
        QVERIFY(content.isNull() || (file.open(QIODevice::WriteOnly) && file.write(content)));
        file.close();
        action(item)->trigger();
        QCOMPARE(m->messages.calls.size(), 1);
        QVERIFY(m->messages.calls[0].text.contains(file.fileName()));
        QCOMPARE(others(), QWidgetList());
        QCOMPARE(file.exists(), !content.isNull());
        if (file.open(QIODevice::ReadOnly))
            QCOMPARE(file.readAll(), content);
    }

    void darkDesktop_data()
    {
        QTest::addColumn<QString>("item");  // the menu item that opens the window, if any
        QTest::newRow("main window") << QString();
        QTest::newRow("sheet") << u"mycolenform"_qs;
        QTest::newRow("rate window") << u"mycustdet"_qs;
        QTest::newRow("calendar") << u"mycal"_qs;
    }

    // On a dark desktop every control paints with the same colours as on a light one: those
    // its form gives, and the classic light ones for the rest.
    void darkDesktop()
    {
        QFETCH(QString, item);
        const auto colours = [&] {
            if (!item.isEmpty())
                action(item)->trigger();
            const std::unique_ptr<QWidget> window(
                item.isEmpty() ? new MainWindow(m->program) : others().value(0));
            QStringList painted;
            for (const QWidget *control :
                window ? window->findChildren<QWidget *>() : QWidgetList()) {
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

    // The whole program as a user meets it, with real message boxes, the real printer dialog and
    // the real event loop, which must end when the last window closes. On an empty table made by
    // the build's own tool the user adds two years, works out the example at the second year's
    // rate, prints it and quits; the table then holds the two years.
    void wholeProgram()
    {
        m.reset();
        ProgramFolder folder(std::nullopt);
        const QString table = folder.tablePath();
        const QString pdf = folder.path(u"sheet.pdf"_qs);
        QVERIFY(folder.ready());
        QCOMPARE(QProcess::execute(QStringLiteral(NEW_STORE_TOOL), {table}), 0);
        Program program(folder.path());
        MainWindow main(program);
        main.show();
        QStringList messages;
        QTimer answerer;
        answerer.callOnTimeout(this, [&] { answerDialogs(messages, pdf); });
        answerer.start(20);
        const auto scenario = [&] {
            chooseFromMenu(main, u"mycustdet"_qs);
            QWidget *rates = program.rateWindow().window();
            QVERIFY(rates);
            fill(rates,
                u"Text1=2003 Text2=2004 Text3=9.5 Command1 Text1=2004 Text2=2005 Text3=8 Command1"_qs);
            QCOMPARE(messages.join(u'|'),
                u"Do you want to Save|One Record Applied and Saved|"
                u"Do you want to Save|One Record Applied and Saved"_qs);
            click(rates, u"Command2"_qs);
            QTRY_VERIFY(!program.rateWindow().window());

            chooseFromMenu(main, u"mycolenform"_qs);
            QWidget *sheet = program.sheet().window();
            QVERIFY(sheet);
            auto *yearList = sheet->findChild<QComboBox *>(u"Combo1"_qs);
            QTRY_COMPARE(yearList->count(), 2);
            QTest::mouseClick(yearList, Qt::LeftButton);
            QTest::keyClick(yearList, Qt::Key_Down);
            QTest::keyClick(yearList, Qt::Key_Down);
            fill(sheet,
                u"Text39=10000 Text1=1000 Text8=1000 Text11=1000 Text14=1000 Text17=1000 "
                u"Text20=1000 Text23=1000 Text26=1000 Text29=1000 Text32=1000 Text35=1000 "
                u"Text5=1000 Text12=600 Text25=5000"_qs);
            click(sheet, u"Command1"_qs);
            QStringList results;
            for (int box : {38, 44, 46})  // the year, the interest and the closing balance
                results << sheet->findChild<QLineEdit *>(u"Text%1"_qs.arg(box))->text();
            QCOMPARE(results.join(u' '), u"2004-2005 1160 18760"_qs);

            click(sheet, u"Command3"_qs);
            QFile printed(pdf);
            QVERIFY(printed.open(QIODevice::ReadOnly));
            QVERIFY(printed.readAll().startsWith("%PDF"));
            // "&Exit" closes the main window only; the program goes on until the sheet closes too.
            chooseFromMenu(main, u"myexit"_qs);
            QTRY_VERIFY(!main.isVisible());
            QVERIFY(sheet->isVisible());
            click(sheet, u"Command5"_qs);
        };
        QObject failsafe;
        QTimer::singleShot(60000, &failsafe, [] { QCoreApplication::exit(1); });
        QTimer::singleShot(0, this, [&] {
            scenario();
            if (QTest::currentTestFailed())
                std::ranges::for_each(QApplication::topLevelWidgets(), &QWidget::close);
        });
        QCOMPARE(QApplication::exec(), 0);  // the last window closed and the program ended
        QCOMPARE(RateTableFile::rows(table),
            (QList<RateTableFile::Row> {{2003.0, 2004.0, 9.5}, {2004.0, 2005.0, 8.0}}));
    }
};

QTEST_MAIN(MainWindowTest)
#include "mainwindow_test.moc"
