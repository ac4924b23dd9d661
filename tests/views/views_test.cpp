#include "datafile.h"
#include "mainwindow.h"
#include "testprogram.h"

#include <QAccessible>
#include <QMessageBox>
#include <QPainter>
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

    // Types into boxes, presses buttons and presses Down in lists, from entries such as
    // "Combo1=2 Text1=2005 Command3"; a box is emptied first.
    static void fill(QWidget *window, const QString &entries)
    {
        for (const QString &entry : entries.split(u' ', Qt::SkipEmptyParts)) {
            auto *control = window->findChild<QWidget *>(entry.section(u'=', 0, 0));
            const QString text = entry.section(u'=', 1);
            if (auto *button = qobject_cast<QAbstractButton *>(control)) {
                button->click();
            } else if (qobject_cast<QComboBox *>(control)) {
                control->setFocus();
                for (int press = 0; press < text.toInt(); ++press)
                    QTest::keyClick(control, Qt::Key_Down);
            } else {
                qobject_cast<QLineEdit *>(control)->clear();
                QTest::keyClicks(control, text);
            }
        }
    }

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
        if (writing && !dark) {
            QVERIFY(shown.save(reference, nullptr, 0));  // the strongest compression
            return;
        }
        QImage difference = QImage(reference).convertToFormat(QImage::Format_RGB32);
        if (shown == difference)
            return;
        QPainter painter(&difference);  // light where they differ
        painter.setCompositionMode(QPainter::CompositionMode_Difference);
        painter.drawImage(0, 0, shown);
        painter.end();
        const QString actual = rendered.filePath(name + u".png"_s);
        QVERIFY(
            shown.save(actual) && difference.save(rendered.filePath(name + u"-difference.png"_s)));
        QFAIL(qPrintable(u"%1 differs from %2"_s.arg(actual, reference)));
    }
    void compare(const QStringList &lines, const QString &name)
    {
        QFile reference(references.filePath(u"accessibility/%1.txt"_s.arg(name)));
        QFile actual(writing ? reference.fileName() : rendered.filePath(name + u".txt"_s));
        QVERIFY(actual.open(QIODevice::WriteOnly | QIODevice::Text));
        actual.write((lines.join(u'\n') + u'\n').toUtf8());
        if (writing)
            return;
        QVERIFY(reference.open(QIODevice::ReadOnly | QIODevice::Text));
        const QStringList expected = QString::fromUtf8(reference.readAll()).chopped(1).split(u'\n');
        QCOMPARE(lines, expected);  // the first line that differs
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
                  const quint64 set[] = {state.focusable, state.disabled, state.invisible,
                      state.readOnly, state.checked, state.defaultButton, state.hasPopup};
                  const QStringList flags
                      = u"focusable disabled invisible read-only checked default pop-up"_s.split(
                          u' ');
                  for (int flag = 0; flag < flags.size(); ++flag)
                      line += set[flag] ? u' ' + flags[flag] : QString();
                  for (const auto &[label, relation] : node->relations(QAccessible::Label))
                      line += u" labelled \"%1\""_s.arg(label->text(QAccessible::Name));
                  lines << line;
                  for (int child = 0; child < node->childCount(); ++child)
                      describe(node->child(child), depth + 1);
              };
        describe(QAccessible::queryAccessibleInterface(window), 0);
        QWidget *first = QApplication::focusWidget();
        for (int press = 0; first && press < 100; ++press) {
            QWidget *focus = QApplication::focusWidget();
            const QString name
                = QAccessible::queryAccessibleInterface(focus)->text(QAccessible::Name);
            lines << u"tab "_s + (name.isEmpty() ? focus->objectName() : name);
            QTest::keyClick(focus, Qt::Key_Tab);
            if (QApplication::focusWidget() == first)
                break;
        }
        return lines;
    }

    // Answers each dialog of the type as the user does, once it shows, while the timer given lives.
    template<typename Dialog>
    static std::unique_ptr<QTimer> answer(const std::function<void(Dialog *)> &user)
    {
        auto answerer = std::make_unique<QTimer>();
        answerer->callOnTimeout([user] {
            if (auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget()))
                user(dialog);
        });
        answerer->start(10);
        return answerer;
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
        QIcon::setThemeName(QString());
    }

    void windows_data()
    {
        const bool small = QGuiApplication::primaryScreen()->name() == u"small";
        DataFile::addRows(small ? u"windows-small-screen.tsv"_s : u"windows.tsv"_s,
            {"state", "desktop", "read", "window", "entries"});
    }

    // Each window in its key states looks as its reference, on a light or a dark desktop alike,
    // and reads as its reference to a screen reader.
    void windows()
    {
        QFETCH(QString, state);
        QFETCH(QString, desktop);
        QFETCH(QString, read);
        QFETCH(QString, window);
        QFETCH(QString, entries);
        if (desktop == u"dark") {
            QApplication::setPalette(QPalette(QColor(40, 40, 40)));
            QIcon::setThemeName(u"light"_s);
        }
        QVERIFY(m.emplace().ready);
        QWidget *shown = window == u"main" ? &main.emplace(m->program)
            : window == u"sheet"           ? m->program.sheet().open()
            : window == u"rates"           ? m->program.rateWindow().open()
                                           : m->program.calendar().open();
        QVERIFY(still(shown));
        fill(shown, entries);
        if (auto *scroller = shown->findChild<QScrollArea *>())
            scroller->verticalScrollBar()->setValue(scroller->verticalScrollBar()->maximum());
        compare(shown->grab().toImage().convertToFormat(QImage::Format_RGB32), state,
            desktop == u"dark");
        if (read == u"yes")
            compare(screenReader(shown), state);
    }

    void messageBox_data() { DataFile::addRows(u"message-boxes.tsv"_s, {"icon", "press", "seen"}); }

    // The desktop's message box shows the title, text, icon and buttons asked for, and answers
    // with the button the user pressed.
    void messageBox()
    {
        QFETCH(QString, icon);
        QFETCH(QString, press);
        QFETCH(QString, seen);
        const QMetaEnum buttons = QMetaEnum::fromType<QMessageBox::StandardButtons>();
        QString shown;
        const auto answerer = answer<QMessageBox>([&](QMessageBox *box) {
            shown = u"%1|%2 %3 %4 %5"_s.arg(box->windowTitle(), box->text(),
                QString::fromLatin1(
                    QMetaEnum::fromType<QMessageBox::Icon>().valueToKey(box->icon())),
                QString::fromLatin1(buttons.valueToKeys(box->standardButtons())),
                QString::fromLatin1(buttons.valueToKey(box->standardButton(box->defaultButton()))));
            box->button(QMessageBox::StandardButton(buttons.keyToValue(qPrintable(press))))
                ->click();
        });
        const QStringList kinds = {u"plain"_s, u"stop"_s, u"question"_s, u"information"_s};
        const MessageBox::Answer answer = QtMessageBox().show(nullptr, u"Do you want to Save"_s,
            u"Confirmation"_s, MessageBox::Icon(kinds.indexOf(icon)),
            press == u"Ok" ? MessageBox::Buttons::Ok : MessageBox::Buttons::YesNo);
        QCOMPARE(shown + u' ' + QStringList({u"Ok"_s, u"Yes"_s, u"No"_s})[int(answer)],
            u"Confirmation|Do you want to Save "_s + seen);
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
        QString named;
        bool accept = true;
        const auto answerer = answer<QPrintDialog>([&](QPrintDialog *dialog) {
            named = dialog->printer()->docName();
            auto *printers = dialog->findChild<QComboBox *>(u"printers"_s);
            printers->setCurrentIndex(printers->count() - 1);
            dialog->findChild<QLineEdit *>(u"filename"_s)->setText(pdf);
            accept ? dialog->accept() : dialog->reject();
        });
        QCOMPARE(QtPrinterDialog().print(sheet, name).outcome, PrinterDialog::Printed);
        QProcess info;
        info.start(u"pdfinfo"_s, {pdf});
        QVERIFY(info.waitForFinished());
        const QRegularExpression fields(u"(?ms)^Title: +Interest sheet$.*^Pages: +1$"_s);
        QVERIFY2(
            fields.match(QString::fromUtf8(info.readAllStandardOutput())).hasMatch(), "pdfinfo");
        QCOMPARE(named, name);
        QCOMPARE(QProcess::execute(
                     u"pdftoppm"_s, {u"-r"_s, u"30"_s, u"-png"_s, u"-singlefile"_s, pdf, pdf}),
            0);
        compare(QImage(pdf + u".png"_s).convertToFormat(QImage::Format_RGB32), u"printed"_s, false);

        accept = false;
        QVERIFY(QFile::remove(pdf));
        QCOMPARE(QtPrinterDialog().print(sheet, name).outcome, PrinterDialog::Cancelled);
        QVERIFY(!QFile::exists(pdf));
    }
};

QTEST_MAIN(ViewsTest)
#include "views_test.moc"
