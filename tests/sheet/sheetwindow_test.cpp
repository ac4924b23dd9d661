#include "marqueelabel.h"
#include "sheetwindow.h"
#include "testprogram.h"

#include <QAccessible>
#include <QAction>
#include <QDialog>
#include <QDir>
#include <QPageLayout>
#include <QProcess>
#include <QRegularExpression>
#include <QToolButton>

#include <cmath>
#include <csignal>

#include <sys/resource.h>

using namespace Qt::StringLiterals;

class SheetWindowTest : public QObject
{
    Q_OBJECT

    std::optional<TestProgram> m;  // on a table of two years
    SheetWindow *sheet = nullptr;  // opened as the menu does

    QLineEdit *box(int n) const { return sheet->findChild<QLineEdit *>(u"Text%1"_s.arg(n)); }
    void type(int number, const QString &text) const { QTest::keyClicks(box(number), text); }
    QWidget *widget(const QString &name) const { return sheet->findChild<QWidget *>(name); }
    void click(const QString &name) const { QTest::mouseClick(widget(name), Qt::LeftButton); }
    // An access key clicks its button after a short delay, as a mouse click would look.
    static void alt(Qt::Key k) { QTest::keyClick(QApplication::focusWidget(), k, Qt::AltModifier); }
    QComboBox *yearList() const { return sheet->findChild<QComboBox *>(u"Combo1"_s); }
    QString texts(const QList<int> &numbers) const
    {
        QStringList shown;
        for (int number : numbers)
            shown << box(number)->text();
        return shown.join(u'|');
    }
    static QString spoken(QWidget *control)
    {
        return QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name);
    }

private slots:
    void init()
    {
        m.emplace();
        QVERIFY(m->ready);
        sheet = qobject_cast<SheetWindow *>(m->program.sheet().open());
        QCOMPARE(sheet ? sheet->windowTitle() : QString(), u"-"_s);  // until the title first ticks
        QVERIFY(QTest::qWaitForWindowActive(sheet));
    }

    // Focus starts in the year list and Tab walks the typed boxes in month order, then the
    // buttons, back to the list; only those boxes take typing, and every box starts empty.
    // Controls are known by what a screen reader says for them, and the window by a name that
    // does not flash with its title. Each button shows its picture in a place of its own.
    void keyboardAndScreenReader()
    {
        QStringList chain {u"Year list"_s};
        for (const QString &month : u"April May June July August September October November "
                                    u"December January February March"_s.split(u' ')) {
            chain << month + u" subscription"_s << month + u" refund"_s << month + u" withdrawal"_s;
        }
        chain << u"Calculate,Opening balance,Clear,View/Print,Exit,Year list"_s.split(u',');
        QStringList visited {spoken(QApplication::focusWidget())};
        while (visited.size() < chain.size()) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << spoken(QApplication::focusWidget());
        }
        QCOMPARE(visited, chain);
        for (int number = firstBox; number <= lastBox; ++number)
            QCOMPARE(box(number)->isEnabled(), chain.contains(spoken(box(number))));
        QCOMPARE(sheet->readBoxes(), SheetTexts());
        sheet->Timer1_Timer();
        QCOMPARE(spoken(sheet), u"Interest sheet"_s);
        QRegion taken;
        for (const QToolButton *button : sheet->findChildren<QToolButton *>()) {
            QVERIFY2(!button->icon().isNull() && !taken.intersects(button->geometry()),
                qPrintable(button->objectName()));
            taken += button->geometry();
        }
    }

    // Results are drawn in the disabled style, yet readable at a glance: their text stands out
    // from the box at least 4.5 : 1, the contrast asked of body text.
    void resultsReadable()
    {
        const auto luminance = [](QColor colour) {
            float sum = 0.05f;
            for (const auto &[c, weight] : {std::pair {colour.redF(), 0.2126f},
                     {colour.greenF(), 0.7152f}, {colour.blueF(), 0.0722f}})
                sum += weight
                    * (c <= 0.03928f ? c / 12.92f : std::pow((c + 0.055f) / 1.055f, 2.4f));
            return sum;
        };
        for (const int number : resultBoxes) {
            const QPalette &colours = box(number)->palette();
            QVERIFY2(luminance(colours.color(QPalette::Disabled, QPalette::Base))
                    >= 4.5f * luminance(colours.color(QPalette::Disabled, QPalette::Text)),
                qPrintable(boxName(number)));
        }
    }

    // With its table gone the sheet cannot load again and says why, yet goes on. The worked
    // example through "&Calculate"'s access key fills all 19 result boxes. An overflow names the
    // step that failed: earlier boxes show their results, the later ones are emptied, every
    // entry stays. "C&lear" empties every box but not the list, and a calculation straight after
    // has no interest.
    void calculateAndClear()
    {
        QVERIFY(QFile::remove(m->table));
        QVERIFY(!sheet->Form_Load());
        type(Box::openingBalance, u"10000"_s);
        box(Box::rate)->setText(u"8"_s);  // the year choice would put it here
        for (const MonthRow &month : monthRows)
            type(month.subscription, u"1000"_s);
        type(monthRows[2].refund, u"600"_s);
        type(monthRows[6].withdrawal, u"5000"_s);
        alt(Qt::Key_C);
        // Balances April to March, then opening, subscriptions, refunds, credits, interest,
        // debits, closing.
        QTRY_COMPARE(
            texts({47, 48, 49, 50, 51, 52, 53, 54, 55, 56, 57, 58, 43, 40, 41, 42, 44, 45, 46}),
            u"11000|12000|13600|14600|15600|16600|12600|13600|14600|15600|16600|17600|"
            u"10000|12000|600|12600|1160|5000|18760"_s);
        box(Box::openingBalance)->setText(u"1.7E308"_s);
        box(monthRows[2].subscription)->setText(u"1.7E308"_s);
        click(u"Command1"_s);
        QCOMPARE(m->shown(),
            (QStringList {u"Rate table|The rate table file PATH is missing.|stop"_s,
                u"Calculation|June progressive balance could not be calculated because a number "
                u"is too large.|stop"_s}));
        QCOMPARE(texts({Box::openingBalance, monthRows[2].subscription, monthRows[1].balance,
                     monthRows[2].balance, Box::closingBalance}),
            u"1.7E308|1.7E308|1.7E+308||"_s);

        box(Box::openingBalance)->setFocus();  // away from the list
        alt(Qt::Key_L);
        QTRY_COMPARE(sheet->readBoxes(), SheetTexts());
        QCOMPARE(QApplication::focusWidget(), yearList());
        QCOMPARE(yearList()->count(), 2);
        type(Box::openingBalance, u"500"_s);
        alt(Qt::Key_C);
        QTRY_COMPARE(texts({Box::interest, Box::closingBalance}), u"0|500"_s);
    }

    // A typed text read only in part is computed with as read, and marked in its box with what was
    // read, for the eye and for a screen reader; a text that is a number, or empty, is not. The
    // mark goes with a change of the text, and with "C&lear".
    void partlyReadMarked()
    {
        type(Box::openingBalance, u"1,00,000"_s);
        type(monthRows[0].subscription, u"12abc"_s);
        type(monthRows[1].subscription, u"1 000"_s);
        type(monthRows[2].refund, u"1.000,50"_s);
        const auto marks = [this] {
            QStringList marked;
            for (QLineEdit *edit : sheet->findChildren<QLineEdit *>()) {
                const auto *mark = edit->findChild<QAction *>();
                if (mark || !edit->accessibleDescription().isEmpty())
                    marked << u"%1: %2 (%3)"_s.arg(spoken(edit),
                        QAccessible::queryAccessibleInterface(edit)->text(QAccessible::Description),
                        mark && !mark->icon().isNull() ? mark->toolTip() : u"no icon"_s);
            }
            return marked;
        };
        click(u"Command1"_s);
        QCOMPARE(
            texts({Box::summaryOpening, Box::subscriptionTotal, Box::refundTotal}), u"1|1012|1"_s);
        QCOMPARE(marks(),
            (QStringList {
                u"April subscription: read as 12 (Only the number at the start of \"12abc\" "
                u"counts: read as 12.)"_s,
                u"June refund: read as 1 (Only the number at the start of \"1.000,50\" counts: "
                u"read as 1.)"_s,
                u"Opening balance: read as 1 (Only the number at the start of \"1,00,000\" "
                u"counts: read as 1.)"_s}));
        click(u"Command1"_s);  // the same texts again: one mark each
        QCOMPARE(marks().size(), 3);
        box(Box::openingBalance)->setText(u"100000"_s);
        QCOMPARE(marks().size(), 2);
        click(u"Command2"_s);
        QCOMPARE(marks(), QStringList());
    }

    // Every return from another program window appends one label per row, new rows behind; a
    // return from a dialog of the sheet's own is no such return. Each arrow key press chooses a
    // year: the last row with its years wins, a year that is no row's keeps the rate box. Typing
    // chooses nothing.
    void yearListAndChoice()
    {
        const auto activate = [](QWidget *window) {
            window->show();
            window->activateWindow();
            QTRY_COMPARE(QApplication::activeWindow(), window);
        };
        QVERIFY(RateTableFile::exec(m->table,
            {u"INSERT INTO zel VALUES (2003, 2004, 7.25), (999, 1000, 5), (NULL, 2006, 6), "
             u"(2007, 2008, NULL)"_s}));
        QWidget other;  // another window of the program
        activate(&other);
        activate(sheet);
        QDialog dialog(sheet);
        activate(&dialog);
        activate(sheet);

        yearList()->setFocus();
        QStringList chosen;
        for (int press = 0; press < yearList()->count(); ++press) {
            QTest::keyClick(yearList(), Qt::Key_Down);
            chosen << texts({Box::year, Box::rate});
        }
        QCOMPARE(chosen.join(u' '),
            u"2003-2004|7.25 2004-2005|8 2003-2004|7.25 2004-2005|8 2003-2004|7.25 "
            u"999-1000|7.25 -2006|7.25 2007-2008|"_s);
        yearList()->clearEditText();
        QTest::keyClicks(yearList(), u"2004-2005"_s);
        QTest::keyClick(yearList(), Qt::Key_Return);
        box(Box::openingBalance)->setFocus();  // leaving the field chooses nothing either
        QCOMPARE(texts({Box::year, Box::rate}), u"2007-2008|"_s);
        // A choice that cannot read the table keeps the year beside its own rate.
        QVERIFY(QFile::remove(m->table));
        yearList()->setFocus();
        QTest::keyClick(yearList(), Qt::Key_Up);
        QCOMPARE(texts({Box::year, Box::rate}), u"2007-2008|"_s);
    }

    // "&View/Print" hands the sheet to the printer dialog under the document's name; a cancelled
    // dialog prints nothing, a failed print is reported with the system's reason, never passed
    // over.
    void print()
    {
        FakePrinterDialog &dialog = m->printer;
        dialog.failure = u"/media/stick/sheet.pdf: No space left on device"_s;
        for (const auto outcome :
            {PrinterDialog::Printed, PrinterDialog::Cancelled, PrinterDialog::Failed}) {
            dialog.outcome = outcome;
            click(u"Command3"_s);
        }
        QCOMPARE(dialog.printed,
            (QList {std::pair<QWidget *, QString>(sheet, u"ZEL Calculation - Interest sheet"_s)}));
        QCOMPARE(m->shown(),
            QStringList {u"View/Print|The sheet could not be printed: /media/stick/sheet.pdf: No "
                         u"space left on device|stop"_s});
    }

    void printToPdf_data()
    {
        QTest::addColumn<rlim_t>("sizeLimit");  // the largest file the disk takes; 0: any
        QTest::addColumn<bool>("folderThere");
        QTest::addColumn<QString>("failure");  // why it was not written, the file being PATH
        QTest::newRow("written") << rlim_t(0) << true << QString();
        QTest::newRow("disk full") << rlim_t(4096) << true << u"PATH: File too large"_s;
        QTest::newRow("folder gone") << rlim_t(0) << false << u"PATH: No such file or directory"_s;
    }

    // A PDF of the sheet holds its texts as text, on one page, under the document's title. A
    // file that cannot be written whole is not written at all, and an older one stays as it was.
    void printToPdf()
    {
        QFETCH(rlim_t, sizeLimit);
        QFETCH(bool, folderThere);
        QFETCH(QString, failure);
        type(Box::openingBalance, u"10000"_s);
        const QDir folder(m->folder.filePath(u"out"_s));
        const QString path = folder.filePath(u"sheet.pdf"_s);
        QFile older(path);
        QVERIFY(!folderThere
            || (folder.mkpath(u"."_s) && older.open(QIODevice::WriteOnly) && older.write("older")));
        older.close();
        rlimit previous {};
        getrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, SIG_IGN);  // a write past the limit fails, as on a full disk
        const rlimit limited {sizeLimit ? sizeLimit : previous.rlim_cur, previous.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limited);
        const QString written = PrinterDialog::writePdf(path,
            QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, {}), 1200, sheet,
            u"ZEL Calculation - Interest sheet"_s);
        setrlimit(RLIMIT_FSIZE, &previous);

        QCOMPARE(written, failure.replace(u"PATH"_s, path));
        QCOMPARE(folder.entryList(QDir::Files).size(), folderThere ? 1 : 0);
        if (!written.isEmpty()) {
            QCOMPARE(
                older.open(QIODevice::ReadOnly) ? older.readAll() : "", folderThere ? "older" : "");
            return;
        }
        // What poppler-utils read from the file: its text, then its title.
        QString read;
        for (const QStringList &command :
            {QStringList {u"pdftotext"_s, path, u"-"_s}, QStringList {u"pdfinfo"_s, path}}) {
            QProcess reader;
            reader.start(command[0], command.mid(1));
            if (reader.waitForFinished())
                read += QString::fromUtf8(reader.readAllStandardOutput());
        }
        QVERIFY2(read.contains(u"Closing Balance"_s) && read.contains(u"10000"_s)
                && read.count(u'\f') == 1
                && read.contains(u"Title:           ZEL Calculation - Interest sheet\n"_s),
            qPrintable(read));
    }

    // Minimised or hidden, the sheet neither flashes its title nor moves its credits line, which
    // would wake the computer 200 times a second for nothing; shown again, both go on, the credits
    // line one column from where it stood.
    void restsWhileUnseen()
    {
        const auto *credits = sheet->findChild<MarqueeLabel *>(u"Label15"_s);
        const auto column
            = [](const QString &line) { return line.indexOf(QRegularExpression(u"\\S"_s)); };
        QObject watch;
        QMap<QString, QStringList> ticks;  // each timer's ticks, as the credits line after each
        for (auto *timer : sheet->findChildren<QTimer *>(QRegularExpression(u"^Timer[12]$"_s))) {
            connect(timer, &QTimer::timeout, &watch,
                [&, name = timer->objectName()] { ticks[name] << credits->text(); });
        }
        const std::pair<void (QWidget::*)(), void (QWidget::*)()> ways[]
            = {{&QWidget::showMinimized, &QWidget::showNormal}, {&QWidget::hide, &QWidget::show}};
        for (const auto &[away, back] : ways) {
            (sheet->*away)();
            QTRY_VERIFY(!sheet->isVisible() || sheet->isMinimized());
            const QString stood = credits->text();
            ticks.clear();
            QTest::qWait(350);  // longer than either timer's interval
            QCOMPARE(ticks.keys(), QStringList());
            (sheet->*back)();
            QTRY_COMPARE(ticks.keys(), (QStringList {u"Timer1"_s, u"Timer2"_s}));
            QCOMPARE(qAbs(column(ticks[u"Timer2"_s].first()) - column(stood)), 1);
        }
    }

    // Driven by hand, the title is empty and full in turn from the load on ("-" before its first
    // tick is checked as each test opens the sheet); the desktop is given a blank for the empty
    // title, since it would show the program's name. The help picture and F1 show the HELP box:
    // no icon, a credits line and a contact line joined by one carriage return and line feed.
    // From the load on, the title flashes and the credits line moves by themselves.
    void bannerAndHelp()
    {
        QVERIFY(sheet->Form_Load());  // the title starts its flashing again
        std::ranges::for_each(sheet->findChildren<QTimer *>(), &QTimer::stop);
        QStringList titles;
        for (int tick = 0; tick < 3; ++tick) {
            sheet->Timer1_Timer();
            titles << sheet->windowTitle() + u'/' + sheet->windowHandle()->title();
        }
        QCOMPARE(titles.join(u'|'), u"/ |INSTANT ZEL CALCULATION/INSTANT ZEL CALCULATION|/ "_s);

        click(u"Image1"_s);
        QTest::keyClick(yearList(), Qt::Key_F1);
        const QStringList help = m->shown();
        QVERIFY2(help.size() == 2 && help[1] == help[0]
                && help[0].contains(QRegularExpression(
                    u"^HELP\\|[^\r\n]*ZEL Calculation[^\r\n]*\r\n[^\r\n]*@[^\r\n]*\\|plain$"_s)),
            qPrintable(help.join(u'\n')));

        auto *credits = sheet->findChild<MarqueeLabel *>(u"Label15"_s);
        const QString line = credits->text();
        QVERIFY(sheet->Form_Load());
        QTRY_COMPARE_WITH_TIMEOUT(sheet->windowTitle(), u"INSTANT ZEL CALCULATION"_s, 3000);
        QVERIFY(credits->text() != line);
    }
};

QTEST_MAIN(SheetWindowTest)
#include "sheetwindow_test.moc"
