#include "datafile.h"
#include "mainwindow.h"
#include "windowscenario.h"

#include <QAccessible>
#include <QLocale>
#include <QPageLayout>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyleFactory>

using namespace Qt::StringLiterals;

// What a user sees of each window, and what a screen reader reads of it, compared with the
// references kept beside this test: a picture pixel by pixel, and a text of every accessible
// object. With ZEL_WRITE_REFERENCES set the references are written afresh instead, for a change
// whose new looks were reviewed (scripts/render-references). Then what the windows show as a user
// works in them, step by step, and the desktop's own printer dialog.
class ViewsTest : public QObject
{
    Q_OBJECT

    std::optional<TestProgram> m;  // on a table of two years
    std::optional<MainWindow> main;
    const QDir references {QStringLiteral(REFERENCES)}, rendered {QStringLiteral(RENDERED)};
    const bool writing = qEnvironmentVariableIsSet("ZEL_WRITE_REFERENCES");

    // The window shown, active and standing still: the sheet's title and credits line stay where
    // they start.
    static QWidget *still(QWidget *window)
    {
        window->show();
        std::ranges::for_each(window->findChildren<QTimer *>(), &QTimer::stop);
        return QTest::qWaitForWindowActive(window) ? window : nullptr;
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
        QApplication::setCursorFlashTime(0);            // the text cursor shows without blinking
        // The icon theme of a dark desktop, whose arrows are drawn light.
        QIcon::setThemeSearchPaths(QIcon::themeSearchPaths() << references.filePath(u"icons"_s));
    }

    void cleanup()
    {
        main.reset();
        m.reset();
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
        QVERIFY(m.emplace().ready);
        QWidget *shown = window == u"main" ? &main.emplace(m->program)
            : window == u"sheet"           ? m->program.sheet().open()
            : window == u"rates"           ? m->program.rateWindow().open()
                                           : m->program.calendar().open();
        QVERIFY(still(shown));
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
        QWidget *sheet = m.emplace().ready ? still(m->program.sheet().open()) : nullptr;
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
        QWidget empty;  // nothing to draw is no printout, and no file
        empty.resize(0, 0);
        QVERIFY(
            !PrinterDialog::writePdf(pdf, {}, 72, &empty, name).isEmpty() && !QFile::exists(pdf));
    }
};

QTEST_MAIN(ViewsTest)
#include "views_test.moc"
