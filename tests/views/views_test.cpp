#include "datafile.h"
#include "mainwindow.h"
#include "windowscenario.h"

#include <QAccessible>
#include <QAction>
#include <QLocale>
#include <QMessageBox>
#include <QPageLayout>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyleFactory>
#include <QWindow>

#include <csignal>

#include <sys/resource.h>

using namespace Qt::StringLiterals;

// What a user sees of each window, and what a screen reader reads of it, compared with the
// references kept beside this test: a picture pixel by pixel, and a text of every accessible
// object. With ZEL_WRITE_REFERENCES set the references are written afresh instead, for a change
// whose new looks were reviewed (scripts/render-references). Then what the windows show as a user
// works in them, step by step, and the desktop's own printer dialog. Last the main window's menu
// and the windows it opens, and the whole program with the desktop's own dialogs.
class ViewsTest : public QObject
{
    Q_OBJECT

    std::optional<TestProgram> m;  // on a table of two years
    std::optional<MainWindow> main;
    const QDir references {QStringLiteral(REFERENCES)}, rendered {QStringLiteral(RENDERED)};
    const bool writing = qEnvironmentVariableIsSet("ZEL_WRITE_REFERENCES");
    int raised = 0;  // times a watched window came to the front

    bool eventFilter(QObject *, QEvent *event) override
    {
        raised += event->type() == QEvent::ZOrderChange;
        return false;
    }

    // Chooses the menu item; gives the one window then on show besides the main window, once
    // active, with its timers stopped at once: the sheet's title and credits line stay where they
    // start.
    QWidget *open(const QString &item)
    {
        main->findChild<QAction *>(item)->trigger();
        QWidgetList shown = QApplication::topLevelWidgets();
        shown.removeIf(
            [this](QWidget *window) { return !window->isVisible() || window == &*main; });
        if (shown.size() != 1)
            return nullptr;
        std::ranges::for_each(shown[0]->findChildren<QTimer *>(), &QTimer::stop);
        return QTest::qWaitForWindowActive(shown[0]) ? shown[0] : nullptr;
    }

    // The main window shown and active, on a table of two years.
    void showMain()
    {
        QVERIFY(m.emplace().ready);
        main.emplace(m->program).show();
        QVERIFY(QTest::qWaitForWindowActive(&*main));
    }

    // Compares what is shown with its reference: a picture, or lines of text. What differs is
    // written into the build tree, with a picture of where it differs.
    void compare(const QImage &shown, const QString &name, bool dark)
    {
        const QString reference = references.filePath(u"pictures/%1.png"_s.arg(name));
        const QString actual = writing && !dark ? reference : rendered.filePath(name + u".png"_s);
        QImage difference = QImage(reference).convertToFormat(QImage::Format_RGB32);
        QVERIFY(shown.save(actual, nullptr, 0));  // the strongest compression
        if (actual == reference || shown == difference)
            return;
        QPainter painter(&difference);  // light where they differ
        painter.setCompositionMode(QPainter::CompositionMode_Difference);
        painter.drawImage(0, 0, shown);
        painter.end();
        QVERIFY(difference.save(rendered.filePath(name + u"-difference.png"_s)));
        QFAIL(qPrintable(u"%1 differs from %2"_s.arg(actual, reference)));
    }
    void compare(const QStringList &lines, const QString &name)
    {
        QFile reference(references.filePath(u"accessibility/%1.txt"_s.arg(name)));
        QFile actual(writing ? reference.fileName() : rendered.filePath(name + u".txt"_s));
        QVERIFY(actual.open(QIODevice::WriteOnly | QIODevice::Text)
            && actual.write((lines.join(u'\n') + u'\n').toUtf8()) > 0);
        if (writing)
            return;
        QVERIFY(reference.open(QIODevice::ReadOnly | QIODevice::Text));
        // The first line that differs.
        QCOMPARE(lines, QString::fromUtf8(reference.readAll()).chopped(1).split(u'\n'));
    }

    // Every accessible object in tree order, indented by depth: its role, name, description,
    // the states that matter and the labels that name it.
    static void describe(QAccessibleInterface *node, QStringList &lines, int depth = 0)
    {
        QString line = u"%1%2 \"%3\""_s.arg(QString(depth * 2, u' '),
            QString::fromLatin1(QMetaEnum::fromType<QAccessible::Role>().valueToKey(node->role())),
            node->text(QAccessible::Name));
        if (const QString about = node->text(QAccessible::Description); !about.isEmpty())
            line += u" about \"%1\""_s.arg(about);
        const QAccessible::State state = node->state();
        const quint64 set[] = {state.focusable, state.disabled, state.invisible, state.readOnly,
            state.checked, state.defaultButton, state.hasPopup};
        const QStringList flags
            = u"focusable disabled invisible read-only checked default pop-up"_s.split(u' ');
        for (int flag = 0; flag < flags.size(); ++flag)
            line += set[flag] ? u' ' + flags[flag] : QString();
        for (const auto &[label, relation] : node->relations(QAccessible::Label))
            line += u" labelled \"%1\""_s.arg(label->text(QAccessible::Name));
        lines << line;
        for (int child = 0; child < node->childCount(); ++child)
            describe(node->child(child), lines, depth + 1);
    }
    // What a screen reader finds in the window, then where Tab takes the focus from the control
    // that has it, round to that control again.
    static QStringList screenReader(QWidget *window)
    {
        QStringList lines;
        describe(QAccessible::queryAccessibleInterface(window), lines);
        QWidget *first = QApplication::focusWidget();
        for (QWidget *focus = first; focus && lines.size() < 1000;) {
            const QString name
                = QAccessible::queryAccessibleInterface(focus)->text(QAccessible::Name);
            lines << u"tab "_s + (name.isEmpty() ? focus->objectName() : name);
            QTest::keyClick(focus, Qt::Key_Tab);
            focus = QApplication::focusWidget() == first ? nullptr : QApplication::focusWidget();
        }
        return lines;
    }

private slots:
    void initTestCase()
    {
        QApplication::setStyle(QStyleFactory::create(u"Fusion"_s));
        QApplication::setFont(QFont(u"DejaVu Sans"_s, 9));
        QApplication::setCursorFlashTime(0);  // the text cursor shows without blinking
        // The icon theme of a dark desktop, whose arrows are drawn light.
        QIcon::setThemeSearchPaths(QIcon::themeSearchPaths() << references.filePath(u"icons"_s));
    }

    void cleanup()
    {
        main.reset();
        m.reset();
        QLocale::setDefault(QLocale::system());
    }

    void windows_data()
    {
        // The rows for the screen of the run, named "desktop" or "small".
        DataFile::addRows(u"windows-%1.tsv"_s.arg(QGuiApplication::primaryScreen()->name()),
            {"state", "desktop", "read", "window", "entries"});
    }

    // Each window in its key states looks as its reference, on a light or a dark desktop alike,
    // and reads as its reference to a screen reader.
    void windows()
    {
        const QString state = DataFile::field("state"), window = DataFile::field("window");
        const bool dark = DataFile::field("desktop") == u"dark";
        QApplication::setPalette(dark ? QPalette(QColor(40, 40, 40)) : QApplication::palette());
        QIcon::setThemeName(dark ? u"light"_s : QString());
        showMain();
        QWidget *shown = window == u"main" ? &*main : open(window);
        QVERIFY(shown);
        WindowScenario(*m).run(DataFile::field("entries"), shown);
        if (auto *scroller = shown->findChild<QScrollArea *>())
            scroller->verticalScrollBar()->setValue(scroller->verticalScrollBar()->maximum());
        compare(shown->grab().toImage().convertToFormat(QImage::Format_RGB32), state, dark);
        if (DataFile::field("read") == u"yes")
            compare(screenReader(shown), state);
    }

    void scenarios_data()
    {
        DataFile::addRows(u"sheet-scenarios.tsv"_s, {"steps", "seen"});
        DataFile::addRows(u"rate-window-scenarios.tsv"_s);
    }

    // What a user does in the sheet and the rate window, opened as the menu opens them, and what
    // they then show.
    void scenarios()
    {
        QLocale::setDefault(QLocale(QLocale::German));  // which must change no number read
        QVERIFY(m.emplace().ready);
        const QStringList seen = WindowScenario(*m).run(DataFile::field("steps"));
        QCOMPARE(seen, DataFile::field("seen").split(u'\n'));
    }

    // The desktop's printer dialog, answered with its PDF printer and a file name, is given the
    // document's name and prints the window on one page under that title, the page as a viewer
    // shows it landscape with the sheet centred, as large as fits; cancelled, it prints nothing.
    void printerDialog()
    {
        showMain();
        QWidget *sheet = open(u"mycolenform"_s);
        QVERIFY(sheet);
        const QString pdf = m->folder.filePath(u"sheet.pdf"_s);
        const QString name = u"Interest sheet"_s;
        bool accept = true;
        QTimer answerer;  // the user, once the dialog shows
        answerer.callOnTimeout([&] {
            auto *dialog = qobject_cast<QPrintDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            QCOMPARE(dialog->printer()->docName(), name);
            auto *printers = dialog->findChild<QComboBox *>(u"printers"_s);
            printers->setCurrentIndex(printers->count() - 1);
            dialog->findChild<QLineEdit *>(u"filename"_s)->setText(pdf);
            accept ? dialog->accept() : dialog->reject();
        });
        answerer.start(10);
        QCOMPARE(QtPrinterDialog().print(sheet, name).outcome, PrinterDialog::Printed);
        QProcess info;
        info.start(u"pdfinfo"_s, {pdf});
        const QRegularExpression fields(
            u"(?ms)^Title: +Interest sheet$.*^Creator: +ZEL Calculation$.*^Pages: +1$"_s);
        QVERIFY(info.waitForFinished()
            && fields.match(QString::fromUtf8(info.readAllStandardOutput())).hasMatch());
        const QStringList page = u"-r 30 -png -singlefile"_s.split(u' ') << pdf << pdf;
        QCOMPARE(QProcess::execute(u"pdftoppm"_s, page), 0);  // the page at 30 dots an inch
        compare(QImage(pdf + u".png"_s).convertToFormat(QImage::Format_RGB32), u"printed"_s, false);

        accept = false;
        QVERIFY(QFile::remove(pdf));
        QCOMPARE(QtPrinterDialog().print(sheet, name).outcome, PrinterDialog::Cancelled);
        QVERIFY(!QFile::exists(pdf));
        // Printed while the user types in a box, the page is as above, without the text cursor
        // and the focus frame, and the box keeps the focus.
        QWidget *box = sheet->findChild<QWidget *>(u"Text39"_s);
        sheet->activateWindow();
        box->setFocus();
        QPrinter printer(QPrinter::HighResolution);
        printer.setPageOrientation(QPageLayout::Landscape);
        QVERIFY(QTest::qWaitForWindowActive(sheet) && box->hasFocus()
            && PrinterDialog::writePdf(pdf, printer.pageLayout(), printer.resolution(), sheet, name)
                   .isEmpty()
            && box->hasFocus());
        QCOMPARE(QProcess::execute(u"pdftoppm"_s, page), 0);
        compare(QImage(pdf + u".png"_s).convertToFormat(QImage::Format_RGB32), u"printed"_s, false);

        // Nothing to draw, a disk that takes no file past 4096 bytes and a folder gone are each no
        // printout, and leave the file printed before as it was.
        QWidget empty;
        empty.resize(0, 0);
        QFile before(pdf);
        QVERIFY(before.open(QIODevice::ReadOnly));
        const QByteArray printed = before.readAll();
        rlimit previous {};
        getrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, SIG_IGN);  // a write past the limit fails, as on a full disk
        const rlimit full {4096, previous.rlim_max};
        setrlimit(RLIMIT_FSIZE, &full);
        QStringList failures;
        const QString gone = m->folder.filePath(u"gone/sheet.pdf"_s);
        for (const auto &[file, window] : {std::pair(pdf, &empty), {pdf, sheet}, {gone, sheet}})
            failures << PrinterDialog::writePdf(file, printer.pageLayout(), 1200, window, name);
        setrlimit(RLIMIT_FSIZE, &previous);
        QCOMPARE(failures.join(u'\n').replace(m->folder.path(), u"FOLDER"_s),
            u"FOLDER/sheet.pdf: Writing canceled by application\nFOLDER/sheet.pdf: File too large\n"
            u"FOLDER/gone/sheet.pdf: No such file or directory"_s);
        QFile after(pdf);
        QVERIFY(after.open(QIODevice::ReadOnly) && after.readAll() == printed);
    }

    void opensOnceAndAnewAfterClose_data()
    {
        DataFile::addRows(u"opened-windows.tsv"_s, {"item", "expected"});
    }

    // Chosen again, the menu item brings the one window of its kind to the front and makes it
    // active; after it closes, the next choice loads a new one.
    void opensOnceAndAnewAfterClose()
    {
        showMain();
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
        showMain();
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

QTEST_MAIN(ViewsTest)
#include "views_test.moc"
