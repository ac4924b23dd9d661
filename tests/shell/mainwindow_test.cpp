#include "formcontrols.h"
#include "mainwindow.h"
#include "qtmessagebox.h"
#include "testprogram.h"

#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QIcon>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrintDialog>
#include <QProcess>
#include <QWindow>

using namespace Qt::StringLiterals;

class MainWindowTest : public QObject
{
    Q_OBJECT

    struct Fixture : TestProgram  // on a table of two years
    {
        MainWindow main {program};
    };
    std::optional<Fixture> m;

    // Chooses the menu item, and gives the one window then on show besides the main window once
    // it is active.
    QWidget *open(const QString &item)
    {
        m->main.findChild<QAction *>(item)->trigger();
        QWidgetList shown = QApplication::topLevelWidgets();
        shown.removeIf(
            [this](QWidget *window) { return !window->isVisible() || window == &m->main; });
        return m->main.isVisible() && shown.size() == 1 && QTest::qWaitForWindowActive(shown[0])
            ? shown[0]
            : nullptr;
    }
    static void chooseFromMenu(MainWindow &main, const QString &item)
    {
        QMenuBar *bar = main.menuBar();
        auto *popup = main.findChild<QMenu *>(u"mymenu"_s);
        QTest::mouseClick(
            bar, Qt::LeftButton, {}, bar->actionGeometry(popup->menuAction()).center());
        QTRY_VERIFY(popup->isVisible());
        auto *action = main.findChild<QAction *>(item);
        QTest::mouseClick(popup, Qt::LeftButton, {}, popup->actionGeometry(action).center());
    }
    // Clicks into each control and types its text, or clicks a button, from entries such as
    // "Text1=2003 Text2=2004 Command1".
    static void fill(QWidget *window, const QString &entries)
    {
        for (const QString &entry : entries.split(u' ')) {
            auto *control = window->findChild<QWidget *>(entry.section(u'=', 0, 0));
            QTest::mouseClick(control, Qt::LeftButton);
            QTest::keyClicks(control, entry.section(u'=', 1));
        }
    }

private slots:
    // The main window on a table of two years, with message boxes recorded.
    void init()
    {
        m.emplace();
        QVERIFY(m->ready);
        m->main.show();
        QVERIFY(QTest::qWaitForWindowActive(&m->main));
    }

    void opensOnceAndAnewAfterClose_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<bool>("centred");  // in the middle of the screen, within a frame's width
        QTest::newRow("sheet") << u"mycolenform"_s << false;
        QTest::newRow("rate window") << u"mycustdet"_s << true;
        QTest::newRow("calendar") << u"mycal"_s << true;
    }

    // However often the menu item is chosen, one window of the kind shows and comes to the
    // front; after it closes, the next choice loads a new one. (How each looks, also on a dark
    // desktop, is for views_test.)
    void opensOnceAndAnewAfterClose()
    {
        QFETCH(QString, item);
        QFETCH(bool, centred);
        struct : QObject
        {
            int raised = 0;
            bool eventFilter(QObject *, QEvent *event) override
            {
                raised += event->type() == QEvent::ZOrderChange;
                return false;
            }
        } counter;
        QPointer<QWidget> shown = open(item);
        QVERIFY(shown);
        const QPoint offset
            = shown->frameGeometry().center() - shown->screen()->availableGeometry().center();
        QCOMPARE(offset.manhattanLength() <= 4, centred);
        shown->setProperty("used", true);
        shown->installEventFilter(&counter);
        for (int again = 0; again < 2; ++again) {
            m->main.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&m->main));
            QCOMPARE(open(item), shown.data());
        }
        QCOMPARE(counter.raised, 2);
        shown->close();
        QTRY_VERIFY(shown.isNull());
        shown = open(item);
        QVERIFY(shown && !shown->property("used").isValid());
    }

    // The calendar's month arrows stand out from its light blue title, at least 3 : 1, also where
    // the desktop's icon theme draws its arrows light, for a dark desktop.
    void calendarArrows()
    {
        QTemporaryDir icons;
        QImage light(16, 16, QImage::Format_RGB32);
        light.fill(QColor(238, 238, 236));
        const QString previousTheme = QIcon::themeName();
        const QStringList previousPaths = QIcon::themeSearchPaths();
        QIcon::setThemeSearchPaths({icons.path()});
        QIcon::setThemeName(u"light"_s);
        QFile index(icons.filePath(u"light/index.theme"_s));
        QVERIFY(QDir(icons.path()).mkpath(u"light/16"_s) && index.open(QIODevice::WriteOnly)
            && index.write("[Icon Theme]\nDirectories=16\n[16]\nSize=16\n")
            && light.save(icons.filePath(u"light/16/go-previous.png"_s))
            && light.save(icons.filePath(u"light/16/go-next.png"_s)));
        index.close();
        QWidget *calendar = open(u"mycal"_s);
        QIcon::setThemeName(previousTheme);
        QIcon::setThemeSearchPaths(previousPaths);
        QVERIFY(calendar);
        const auto luminance = [](QColor colour) {
            float sum = 0.05f;
            for (const auto &[c, weight] : {std::pair {colour.redF(), 0.2126f},
                     {colour.greenF(), 0.7152f}, {colour.blueF(), 0.0722f}})
                sum += weight
                    * (c <= 0.03928f ? c / 12.92f : std::pow((c + 0.055f) / 1.055f, 2.4f));
            return sum;
        };
        for (const QString &name : {u"qt_calendar_prevmonth"_s, u"qt_calendar_nextmonth"_s}) {
            const QImage drawn = calendar->findChild<QWidget *>(name)->grab().toImage();
            float darkest = 1.05f;
            for (int y = 0; y < drawn.height(); ++y) {
                for (int x = 0; x < drawn.width(); ++x)
                    darkest = std::min(darkest, luminance(drawn.pixelColor(x, y)));
            }
            QVERIFY2(luminance(Form::lightBlue) >= 3 * darkest, qPrintable(name));
        }
    }

    void maximize_data()
    {
        QTest::addColumn<QString>("item");  // the menu item, or none for a message box
        QTest::addColumn<bool>("fixed");
        QTest::newRow("rate window") << u"mycustdet"_s << true;
        QTest::newRow("sheet") << u"mycolenform"_s << true;
        QTest::newRow("calendar") << u"mycal"_s << true;
        QTest::newRow("message box") << QString() << true;
        QTest::newRow("main window, with About us") << u"myabt"_s << false;
    }

    // Asked to maximize, as the title bar that Qt draws on Wayland asks, a window of fixed size
    // keeps its size and what was typed into it, and the program goes on; the main window, which
    // can be resized, is maximized.
    void maximize()
    {
        QFETCH(QString, item);
        QFETCH(bool, fixed);
        QString typed;
        QList<QSize> sizes;  // before and after
        const auto maximize = [&](QWidget *window) {
            auto *box = window->findChild<QLineEdit *>(u"Text1"_s);
            if (box)
                box->insert(u"1000"_s);  // as typed; Wayland without a keyboard takes no keys
            sizes << window->size();
            QWindow *handle = window->windowHandle();
            handle->setWindowStates(handle->windowStates() ^ Qt::WindowMaximized);
            QTest::qWait(200);  // for the desktop's answer
            window->repaint();  // a Wayland compositor checks the size it asked for on each frame
            QTest::qWait(100);
            typed = box ? box->text() : u"1000"_s;
            sizes << window->size();
        };
        if (item.isEmpty()) {
            QTimer::singleShot(0, this, [&] {
                QWidget *box = QApplication::activeModalWidget();
                if (QTest::qWaitForWindowExposed(box))
                    maximize(box);
                box->close();
            });
            QtMessageBox().plain(&m->main, u"Questions and suggestions"_s, u"HELP"_s);
        } else {
            m->main.findChild<QAction *>(item)->trigger();
            QWidget *window = &m->main;
            for (QWidget *shown : QApplication::topLevelWidgets())
                window = shown->isVisible() && shown != &m->main ? shown : window;
            QVERIFY(QTest::qWaitForWindowExposed(window));
            maximize(window);
        }
        QCOMPARE(typed, u"1000"_s);
        QCOMPARE(sizes.size(), 2);
        QCOMPARE(sizes[1] == sizes[0], fixed);
    }

    // The whole program as a user meets it, with real message boxes, the real printer dialog and
    // the real event loop, which must end when the last window closes. On an empty table made by
    // the build's own tool the user adds a year, sees it in the sheet's year list, prints the
    // sheet (the printer dialog proposes a PDF file named after it, whatever the desktop) and
    // quits; the table then holds the year. On a dark desktop every dialog takes the classic
    // light colours of the windows.
    void wholeProgram()
    {
        m.reset();
        QTemporaryDir folder;
        const QString table = folder.filePath(u"zel.mdb"_s);
        const QString pdf = folder.filePath(u"sheet.pdf"_s);
        QCOMPARE(QProcess::execute(QStringLiteral(NEW_STORE_TOOL), {table}), 0);
        const QPalette desktop = QApplication::palette();
        QApplication::setPalette(QPalette(QColor(40, 40, 40)));  // a dark desktop theme
        Program program(folder.path());
        MainWindow main(program);
        main.show();
        // A user who answers every dialog: Yes or OK to a message, which is recorded, and printing
        // to a PDF file, chosen as the last printer entry and named in the file name box.
        QStringList messages;
        QString proposed;  // the PDF file that the printer dialog proposed
        const auto colours = [](const QPalette &palette) {
            QStringList names;
            for (const auto role : {QPalette::Window, QPalette::WindowText, QPalette::Base,
                     QPalette::Text, QPalette::Button, QPalette::ButtonText})
                names << palette.color(role).name();
            return names.join(u' ');
        };
        QSet<QString> looks;  // the colours of every dialog
        QTimer answerer;
        answerer.callOnTimeout(this, [&] {
            QWidget *modal = QApplication::activeModalWidget();
            if (modal)
                looks << colours(modal->palette());
            if (auto *box = qobject_cast<QMessageBox *>(modal)) {
                messages << box->text();
                QAbstractButton *yes = box->button(QMessageBox::Yes);
                (yes ? yes : box->button(QMessageBox::Ok))->click();
            } else if (auto *dialog = qobject_cast<QPrintDialog *>(modal)) {
                if (auto *printers = dialog->findChild<QComboBox *>(u"printers"_s))
                    printers->setCurrentIndex(printers->count() - 1);
                if (auto *fileName = dialog->findChild<QLineEdit *>(u"filename"_s)) {
                    proposed = fileName->text();
                    fileName->setText(pdf);
                }
                dialog->accept();
            }
        });
        answerer.start(20);
        const auto scenario = [&] {
            chooseFromMenu(main, u"mycustdet"_s);
            QWidget *rates = program.rateWindow().window();
            QVERIFY(rates);
            fill(rates, u"Text1=2004 Text2=2005 Text3=8 Command1 Command2"_s);
            QCOMPARE(messages.join(u'|'), u"Do you want to Save|One Record Applied and Saved"_s);
            QTRY_VERIFY(!program.rateWindow().window());

            chooseFromMenu(main, u"mycolenform"_s);
            QWidget *sheet = program.sheet().window();
            QVERIFY(sheet);
            QTRY_COMPARE(sheet->findChild<QComboBox *>(u"Combo1"_s)->count(), 1);
            fill(sheet, u"Command3"_s);
            QFile printed(pdf);
            QVERIFY(printed.open(QIODevice::ReadOnly) && printed.read(4) == "%PDF");
            QCOMPARE(proposed, QDir::home().filePath(u"ZEL Calculation - Interest sheet.pdf"_s));
            // "&Exit" closes the main window only; the program goes on until the sheet closes too.
            chooseFromMenu(main, u"myexit"_s);
            QTRY_VERIFY(!main.isVisible());
            QVERIFY(sheet->isVisible());
            fill(sheet, u"Command5"_s);
        };
        QObject failsafe;
        QTimer::singleShot(60000, &failsafe, [] { QCoreApplication::exit(1); });
        QTimer::singleShot(0, this, [&] {
            scenario();
            if (QTest::currentTestFailed())
                std::ranges::for_each(QApplication::topLevelWidgets(), &QWidget::close);
        });
        QCOMPARE(QApplication::exec(), 0);  // the last window closed and the program ended
        QCOMPARE(RateTableFile::rows(table), (QList<RateTableFile::Row> {{2004.0, 2005.0, 8.0}}));
        QCOMPARE(looks, QSet {colours(Form::classicPalette())});
        QApplication::setPalette(desktop);
    }
};

QTEST_MAIN(MainWindowTest)
#include "mainwindow_test.moc"
