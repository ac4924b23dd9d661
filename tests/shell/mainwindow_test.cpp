#include "datafile.h"
#include "mainwindow.h"
#include "testprogram.h"

#include <QAction>
#include <QMessageBox>
#include <QProcess>
#include <QWindow>

using namespace Qt::StringLiterals;

// The main window's menu and the windows it opens, on a table of two years with message boxes
// recorded; and the whole program with the desktop's own dialogs.
class MainWindowTest : public QObject
{
    Q_OBJECT

    std::optional<TestProgram> m;
    std::optional<MainWindow> main;
    int raised = 0;  // times a watched window came to the front

    bool eventFilter(QObject *, QEvent *event) override
    {
        raised += event->type() == QEvent::ZOrderChange;
        return false;
    }

    // Chooses the menu item; gives the one window then on show besides the main window, once
    // active.
    QWidget *open(const QString &item)
    {
        main->findChild<QAction *>(item)->trigger();
        QWidgetList shown = QApplication::topLevelWidgets();
        shown.removeIf(
            [this](QWidget *window) { return !window->isVisible() || window == &*main; });
        return shown.size() == 1 && QTest::qWaitForWindowActive(shown[0]) ? shown[0] : nullptr;
    }
private slots:
    void init()
    {
        main.reset();
        QVERIFY(m.emplace().ready);
        main.emplace(m->program).show();
        QVERIFY(QTest::qWaitForWindowActive(&*main));
    }

    void opensOnceAndAnewAfterClose_data()
    {
        DataFile::addRows(u"opened-windows.tsv"_s, {"item", "expected"});
    }

    // Chosen again, the menu item brings the one window of its kind to the front and makes it
    // active; after it closes, the next choice loads a new one.
    void opensOnceAndAnewAfterClose()
    {
        const QString item = DataFile::field("item");
        QPointer<QWidget> shown = open(item);
        QVERIFY(shown);
        const QPoint offset
            = shown->frameGeometry().center() - shown->screen()->availableGeometry().center();
        QCOMPARE(offset.manhattanLength() <= 4 ? u"yes" : u"no", DataFile::field("expected"));
        raised = 0;
        shown->installEventFilter(this);
        main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&*main));
        QCOMPARE(open(item), shown.data());
        QCOMPARE(raised, 1);
        shown->close();
        QTRY_VERIFY(shown.isNull());
        QVERIFY(open(item));
    }

    void maximize_data() { DataFile::addRows(u"maximized-windows.tsv"_s, {"item", "expected"}); }

    // Asked to maximize, as the title bar that Qt draws on Wayland asks, a window of fixed size
    // keeps its size and the program goes on; the main window, which can be resized, is maximized.
    void maximize()
    {
        const QString item = DataFile::field("item");
        QSize before, after;
        QTimer::singleShot(0, this, [&] {
            QWidget *window = item.isEmpty() ? QApplication::activeModalWidget() : open(item);
            window = window ? window : &*main;
            if (QTest::qWaitForWindowExposed(window)) {
                before = window->size();
                window->windowHandle()->setWindowStates(Qt::WindowMaximized);
                QTest::qWait(200);  // for the desktop's answer
                // A Wayland compositor checks the size it asked for on each frame.
                window->repaint();
                QTest::qWait(100);
                after = window->size();
            }
            if (item.isEmpty())
                window->close();
        });
        if (item.isEmpty())
            QtMessageBox().plain(&*main, u"Questions and suggestions"_s, u"HELP"_s);
        QTRY_VERIFY(after.isValid());
        QCOMPARE(after == before ? u"yes" : u"no", DataFile::field("expected"));
    }

    // The whole program as a user meets it, with the desktop's message boxes and printer dialog
    // and the real event loop, which must end when the last window closes. On an empty table made
    // by the build's own tool the user adds a year, presses O.K again on the emptied boxes, sees
    // the year in the sheet's year list, asks to print the sheet (the printer dialog proposes a PDF
    // file named after it, whatever the desktop), leaves the main window with Exit and closes the
    // sheet; the table then holds the year. On a dark desktop every dialog takes the windows'
    // classic light colours.
    void wholeProgram()
    {
        main.reset();
        m.reset();
        QTemporaryDir folder;
        const QString table = folder.filePath(u"zel.mdb"_s);
        QCOMPARE(QProcess::execute(QStringLiteral(NEW_STORE_TOOL), {table}), 0);
        QApplication::setPalette(QPalette(QColor(40, 40, 40)));  // a dark desktop theme
        Program program(folder.path());
        MainWindow window(program);
        window.show();
        // A user who answers each message with its default button and each printer dialog with
        // Cancel; each is recorded with its text or proposed file, marked when its colours are not
        // the windows' light ones.
        QStringList seen;
        QTimer answerer;
        answerer.callOnTimeout(this, [&] {
            if (QWidget *modal = QApplication::activeModalWidget()) {
                auto *box = qobject_cast<QMessageBox *>(modal);
                const QColor colour = modal->palette().color(QPalette::Window);
                seen << (colour == window.palette().color(QPalette::Window) ? QString()
                                                                            : u"dark: "_s)
                        + (box ? u"%1|%2|%3"_s.arg(box->windowTitle(), box->text(),
                               QVariant::fromValue(box->icon()).toString())
                               : modal->findChild<QLineEdit *>(u"filename"_s)->text());
                QTest::keyClick(modal, box ? Qt::Key_Return : Qt::Key_Escape);
            }
        });
        answerer.start(20);
        QTimer::singleShot(20000, &answerer, [] { QCoreApplication::exit(1); });  // a window stays
        QTimer::singleShot(0, this, [&] {
            window.findChild<QAction *>(u"mycustdet"_s)->trigger();
            // Types into each box and presses each button with Space.
            for (const QString &entry :
                u"Text1=2004 Text2=2005 Text3=8 Command1= Command1= Command2="_s.split(u' '))
                QTest::keyClicks(
                    program.rateWindow().window()->findChild<QWidget *>(entry.section(u'=', 0, 0)),
                    entry.section(u'=', 1).isEmpty() ? u" "_s : entry.section(u'=', 1));
            window.findChild<QAction *>(u"mycolenform"_s)->trigger();
            QWidget *sheet = program.sheet().window();
            QTRY_COMPARE(sheet->findChild<QComboBox *>(u"Combo1"_s)->count(), 1);
            QTest::keyClick(sheet->findChild<QWidget *>(u"Command3"_s), Qt::Key_Space);
            // "&Exit" closes the main window only; the program goes on until the sheet closes too.
            window.findChild<QAction *>(u"myexit"_s)->trigger();
            if (!window.isVisible())
                QTest::keyClick(sheet->findChild<QWidget *>(u"Command5"_s), Qt::Key_Space);
        });
        QCOMPARE(QApplication::exec(), 0);  // the last window closed and the program ended
        QCOMPARE(seen,
            QStringList({u"Confirmation|Do you want to Save|Question"_s,
                u"Save|One Record Applied and Saved|Information"_s,
                u"Warning!!!|Some fields are empty, check!!!|Critical"_s,
                QDir::home().filePath(u"ZEL Calculation - Interest sheet.pdf"_s)}));
        QCOMPARE(RateTableFile::text(table), u"2004 2005 8"_s);
    }
};

QTEST_MAIN(MainWindowTest)
#include "mainwindow_test.moc"
