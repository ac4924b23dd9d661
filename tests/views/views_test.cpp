#include "mainwindow.h"
#include "sheetfields.h"
#include "testprogram.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QDir>
#include <QMessageBox>
#include <QMetaEnum>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyleFactory>

using namespace Qt::StringLiterals;

// What a user sees of each window, and what a screen reader reads of it, compared with the
// references kept beside this test: a picture pixel by pixel, and a text of every accessible
// object. With ZEL_WRITE_REFERENCES set the references are written afresh instead, for a change
// whose new looks were reviewed (scripts/render-references).
class ViewsTest : public QObject
{
    Q_OBJECT

    std::optional<TestProgram> m;  // on a table of two years
    std::optional<MainWindow> main;
    const QDir references {QStringLiteral(REFERENCES)};
    const QDir rendered {QStringLiteral(RENDERED)};
    const bool writing = qEnvironmentVariableIsSet("ZEL_WRITE_REFERENCES");
    QPalette light;  // the desktop's own

    // Types into boxes and presses buttons, from entries such as "Text1=2005 Command3"; a box is
    // emptied first.
    static void fill(QWidget *window, const QString &entries)
    {
        for (const QString &entry : entries.split(u' ')) {
            auto *control = window->findChild<QWidget *>(entry.section(u'=', 0, 0));
            if (auto *button = qobject_cast<QAbstractButton *>(control)) {
                button->click();
            } else {
                qobject_cast<QLineEdit *>(control)->clear();
                QTest::keyClicks(control, entry.section(u'=', 1));
            }
        }
    }
    // Chooses the year list's entries one after the other with the arrow key, as a user does.
    static void choose(QWidget *window, int presses)
    {
        auto *list = window->findChild<QComboBox *>(u"Combo1"_s);
        list->setFocus();
        for (int press = 0; press < presses; ++press)
            QTest::keyClick(list, Qt::Key_Down);
    }
    // The worked example: 10000 at the start, 1000 paid in every month, a refund of 600 in June
    // and a withdrawal of 5000 in October, at the 8 % of 2004-2005.
    static void workedExample(QWidget *sheet)
    {
        choose(sheet, 2);
        QString entries = u"Text%1=10000 Text%2=600 Text%3=5000"_s.arg(Box::openingBalance)
                              .arg(monthRows[2].refund)
                              .arg(monthRows[6].withdrawal);
        for (const MonthRow &month : monthRows)
            entries += u" Text%1=1000"_s.arg(month.subscription);
        fill(sheet, entries + u" Command1"_s);
    }

    // The window in the state named, active, as it stands still.
    QWidget *show(const QString &state)
    {
        QWidget *window = nullptr;
        if (state == u"main") {
            main.emplace(m->program);
            main->show();
            window = &*main;
        } else if (state.startsWith(u"sheet")) {
            window = m->program.sheet().open();
            // The title and the credits line stay where the sheet starts them.
            if (window)
                std::ranges::for_each(window->findChildren<QTimer *>(), &QTimer::stop);
        } else if (state.startsWith(u"rates")) {
            window = m->program.rateWindow().open();
        } else if (state == u"calendar") {
            window = m->program.calendar().open();
        }
        if (!window || !QTest::qWaitForWindowActive(window))
            return nullptr;
        if (state == u"sheet-example") {
            workedExample(window);
        } else if (state == u"sheet-overflow") {
            // June's balance leaves the range: April's and May's stand, the rest are emptied.
            workedExample(window);
            fill(window,
                u"Text%1=1.7E308 Text%2=1.7E308 Command1"_s.arg(Box::openingBalance)
                    .arg(monthRows[2].subscription));
        } else if (state == u"rates-add") {
            fill(window, u"Text1=2005 Text2=2006 Text3=8.25"_s);
        } else if (state == u"rates-edit") {
            fill(window, u"Command3"_s);
            choose(window, 1);
        } else if (auto *scroller = window->findChild<QScrollArea *>()) {
            scroller->verticalScrollBar()->setValue(scroller->verticalScrollBar()->maximum());
        }
        return window;
    }

    // Compares the picture with its reference; a different one is written into the build tree
    // with a picture of where it differs, in red.
    void comparePicture(const QImage &shown, const QString &name, bool dark)
    {
        const QString reference = references.filePath(u"pictures/%1.png"_s.arg(name));
        if (writing && !dark) {
            QVERIFY(shown.save(reference, nullptr, 0));  // the strongest compression
            return;
        }
        const QImage expected = QImage(reference).convertToFormat(QImage::Format_RGB32);
        if (shown == expected)
            return;
        QImage difference = shown.convertToFormat(QImage::Format_Grayscale8)
                                .convertToFormat(QImage::Format_RGB32);
        int differing = 0;
        for (int y = 0; y < shown.height(); ++y) {
            for (int x = 0; x < shown.width(); ++x) {
                if (!expected.valid(x, y) || expected.pixel(x, y) != shown.pixel(x, y)) {
                    difference.setPixel(x, y, qRgb(255, 0, 0));
                    ++differing;
                }
            }
        }
        const QString actual = rendered.filePath(name + u".png"_s);
        const QString marked = rendered.filePath(name + u"-difference.png"_s);
        shown.save(actual);
        difference.save(marked);
        QFAIL(qPrintable(u"%1 differs from %2 in %3 pixels, marked in %4"_s.arg(
            actual, reference, QString::number(differing), marked)));
    }

    // Every accessible object in tree order, indented by depth: its role, name, description,
    // the states that matter and the labels that name it; then where Tab takes the focus from
    // the control that has it, round to that control again.
    static QStringList screenReader(QWidget *window)
    {
        QStringList lines;
        const std::function<void(QAccessibleInterface *, int)> describe
            = [&](QAccessibleInterface *node, int depth) {
                  QString line = QString(depth * 2, u' ')
                      + QString::fromLatin1(
                          QMetaEnum::fromType<QAccessible::Role>().valueToKey(node->role()))
                      + u" \"%1\""_s.arg(node->text(QAccessible::Name));
                  if (const QString about = node->text(QAccessible::Description); !about.isEmpty())
                      line += u" about \"%1\""_s.arg(about);
                  const QAccessible::State state = node->state();
                  const std::pair<bool, QString> flags[] = {{state.focusable, u"focusable"_s},
                      {state.disabled, u"disabled"_s}, {state.invisible, u"invisible"_s},
                      {state.readOnly, u"read-only"_s}, {state.checked, u"checked"_s},
                      {state.defaultButton, u"default"_s}, {state.hasPopup, u"pop-up"_s}};
                  for (const auto &[set, flag] : flags) {
                      if (set)
                          line += u' ' + flag;
                  }
                  for (const auto &[label, relation] : node->relations(QAccessible::Label))
                      line += u" labelled \"%1\""_s.arg(label->text(QAccessible::Name));
                  lines << line;
                  for (int child = 0; child < node->childCount(); ++child)
                      describe(node->child(child), depth + 1);
              };
        describe(QAccessible::queryAccessibleInterface(window), 0);

        const auto spoken = [](QWidget *control) {
            const QString name
                = QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name);
            return name.isEmpty() ? control->objectName() : name;
        };
        QWidget *first = QApplication::focusWidget();
        for (int press = 0; first && press < 100; ++press) {
            lines << u"tab "_s + spoken(QApplication::focusWidget());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            if (QApplication::focusWidget() == first)
                break;
        }
        return lines;
    }

    void compareText(const QStringList &lines, const QString &name)
    {
        QFile reference(references.filePath(u"accessibility/%1.txt"_s.arg(name)));
        if (writing) {
            QVERIFY(reference.open(QIODevice::WriteOnly | QIODevice::Text));
            reference.write((lines.join(u'\n') + u'\n').toUtf8());
            return;
        }
        QVERIFY(reference.open(QIODevice::ReadOnly | QIODevice::Text));
        const QStringList expected = QString::fromUtf8(reference.readAll()).chopped(1).split(u'\n');
        QFile actual(rendered.filePath(name + u".txt"_s));
        if (actual.open(QIODevice::WriteOnly | QIODevice::Text))
            actual.write((lines.join(u'\n') + u'\n').toUtf8());
        if (lines != expected)
            qWarning(
                "diff -u %s %s", qPrintable(reference.fileName()), qPrintable(actual.fileName()));
        QCOMPARE(lines, expected);  // the first line that differs
    }

private slots:
    void initTestCase()
    {
        QApplication::setStyle(QStyleFactory::create(u"Fusion"_s));
        QApplication::setFont(QFont(u"DejaVu Sans"_s, 9));
        QApplication::setCursorFlashTime(0);  // the text cursor shows without blinking
        light = QApplication::palette();
    }

    void cleanup()
    {
        main.reset();
        m.reset();
        QApplication::setPalette(light);
    }

    void windows_data()
    {
        QTest::addColumn<QString>("state");
        QTest::addColumn<bool>("dark");  // on a dark desktop, which must change nothing
        QTest::addColumn<bool>("read");  // the screen reader's text compared too
        // On a 1920 x 1080 screen at 150 %, 1280 x 720 of room: the sheet scrolls its whole form
        // inside a window of the room's height, here scrolled to its end; the rate window fits.
        if (QGuiApplication::primaryScreen()->name() == u"small") {
            QTest::newRow("sheet") << u"sheet-small-screen"_s << false << false;
            QTest::newRow("rate window") << u"rates-small-screen"_s << false << false;
            return;
        }
        const QString states[] = {u"main"_s, u"sheet"_s, u"sheet-example"_s, u"sheet-overflow"_s,
            u"rates-add"_s, u"rates-edit"_s, u"calendar"_s};
        for (const QString &state : states) {
            const bool read = !state.startsWith(u"sheet-");  // the sheet reads alike in each
            QTest::newRow(qPrintable(state)) << state << false << read;
        }
        for (const QString &state : states)
            QTest::newRow(qPrintable(state + u" on dark"_s)) << state << true << false;
    }

    // Each window in its key states looks as its reference, on a light or a dark desktop alike,
    // and reads as its reference to a screen reader.
    void windows()
    {
        QFETCH(QString, state);
        QFETCH(bool, dark);
        QFETCH(bool, read);
        if (dark)
            QApplication::setPalette(QPalette(QColor(40, 40, 40)));
        m.emplace();
        QVERIFY(m->ready);
        QWidget *window = show(state);
        QVERIFY(window);
        comparePicture(window->grab().toImage().convertToFormat(QImage::Format_RGB32), state, dark);
        if (read)
            compareText(screenReader(window), state);
    }

    void messageBox_data()
    {
        QTest::addColumn<int>("icon");  // as MessageBox asks for it
        QTest::addColumn<bool>("yesNo");
        QTest::addColumn<int>("press");     // the button the user presses
        QTest::addColumn<QString>("seen");  // icon, buttons and default as shown, then the answer
        const int ok = QMessageBox::Ok;
        QTest::newRow("plain") << int(MessageBox::Icon::None) << false << ok
                               << u"NoIcon Ok NoButton Ok"_s;
        QTest::newRow("stop") << int(MessageBox::Icon::Stop) << false << ok
                              << u"Critical Ok NoButton Ok"_s;
        QTest::newRow("information")
            << int(MessageBox::Icon::Information) << false << ok << u"Information Ok NoButton Ok"_s;
        QTest::newRow("question, Yes") << int(MessageBox::Icon::Question) << true
                                       << int(QMessageBox::Yes) << u"Question No+Yes Yes Yes"_s;
        QTest::newRow("question, No") << int(MessageBox::Icon::Question) << true
                                      << int(QMessageBox::No) << u"Question No+Yes Yes No"_s;
    }

    // The desktop's message box shows the title, text, icon and buttons asked for, and answers
    // with the button the user pressed.
    void messageBox()
    {
        QFETCH(int, icon);
        QFETCH(bool, yesNo);
        QFETCH(int, press);
        QFETCH(QString, seen);
        QStringList shown;
        QTimer answerer;
        answerer.callOnTimeout(this, [&] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                const auto key = [](int button) {
                    return QString::fromLatin1(
                        QMetaEnum::fromType<QMessageBox::StandardButtons>().valueToKey(button));
                };
                QStringList buttons;
                for (QAbstractButton *button : box->buttons())
                    buttons << key(box->standardButton(button));
                buttons.sort();
                shown << box->windowTitle() + u'|' + box->text()
                      << QString::fromLatin1(
                             QMetaEnum::fromType<QMessageBox::Icon>().valueToKey(box->icon()))
                      << buttons.join(u'+') << key(box->standardButton(box->defaultButton()));
                box->button(QMessageBox::StandardButton(press))->click();
            }
        });
        answerer.start(10);
        QtMessageBox messages;
        const MessageBox::Answer answer = messages.show(nullptr, u"Do you want to Save"_s,
            u"Confirmation"_s, MessageBox::Icon(icon),
            yesNo ? MessageBox::Buttons::YesNo : MessageBox::Buttons::Ok);
        const char16_t *answers[] = {u"Ok", u"Yes", u"No"};
        shown << QString::fromUtf16(answers[int(answer)]);
        QCOMPARE(shown.join(u' '), u"Confirmation|Do you want to Save "_s + seen);
    }

    // The desktop's printer dialog, answered with its PDF printer and a file name, is given the
    // document's name and prints the window on one landscape page under that title; cancelled,
    // it prints nothing. The page is compared as a picture too.
    void printerDialog()
    {
        m.emplace();
        QWidget *sheet = show(u"sheet"_s);
        QVERIFY(sheet);
        const QString pdf = m->folder.filePath(u"sheet.pdf"_s);
        QString named;
        bool accept = true;
        QTimer answerer;
        answerer.callOnTimeout(this, [&] {
            if (auto *dialog = qobject_cast<QPrintDialog *>(QApplication::activeModalWidget())) {
                named = dialog->printer()->docName();
                auto *printers = dialog->findChild<QComboBox *>(u"printers"_s);
                printers->setCurrentIndex(printers->count() - 1);
                dialog->findChild<QLineEdit *>(u"filename"_s)->setText(pdf);
                accept ? dialog->accept() : dialog->reject();
            }
        });
        answerer.start(20);
        QtPrinterDialog printer;
        QCOMPARE(printer.print(sheet, u"Interest sheet"_s).outcome, PrinterDialog::Printed);
        QProcess info;
        info.start(u"pdfinfo"_s, {pdf});
        QVERIFY(info.waitForFinished());
        const QString read = QString::fromUtf8(info.readAllStandardOutput());
        const auto field = [&read](const QString &name) {
            return QRegularExpression(
                u"^%1: +(.*)$"_s.arg(name), QRegularExpression::MultilineOption)
                .match(read)
                .captured(1);
        };
        const QStringList page = field(u"Page size"_s).split(u' ');
        QVERIFY2(page.size() > 2 && page[0].toDouble() > page[2].toDouble(), qPrintable(read));
        QCOMPARE(named + u'|' + field(u"Title"_s) + u'|' + field(u"Pages"_s),
            u"Interest sheet|Interest sheet|1"_s);
        // The page as a viewer shows it: the sheet centred, as large as fits.
        QCOMPARE(QProcess::execute(
                     u"pdftoppm"_s, {u"-r"_s, u"30"_s, u"-png"_s, u"-singlefile"_s, pdf, pdf}),
            0);
        comparePicture(
            QImage(pdf + u".png"_s).convertToFormat(QImage::Format_RGB32), u"printed"_s, false);

        accept = false;
        QVERIFY(QFile::remove(pdf));
        QCOMPARE(printer.print(sheet, u"Interest sheet"_s).outcome, PrinterDialog::Cancelled);
        QVERIFY(!QFile::exists(pdf));
    }
};

QTEST_MAIN(ViewsTest)
#include "views_test.moc"
