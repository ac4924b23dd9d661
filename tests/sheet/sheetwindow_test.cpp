#include "accessiblelabel.h"
#include "activationwatch.h"
#include "fakemessagebox.h"
#include "fakeprinterdialog.h"
#include "marquee.h"
#include "marqueelabel.h"
#include "programfolder.h"
#include "ratetablefile.h"
#include "sharedrates.h"
#include "sheetwindow.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPageLayout>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <optional>

#include <sys/resource.h>

class SheetWindowTest : public QObject
{
    Q_OBJECT

    // A sheet loaded and shown on a table of two years, with message boxes and printing
    // recorded.
    struct Fixture
    {
        ProgramFolder folder;
        SharedRates rates {folder.path()};
        FakeMessageBox messages;
        FakePrinterDialog printer;
        ActivationWatch activation;
        Marquee marquee;
        SheetWindow sheet {rates, messages, printer, activation, marquee};
    };
    std::optional<Fixture> m;

    QString tablePath() const { return m->folder.tablePath(); }
    QLineEdit *box(int n) const { return m->sheet.findChild<QLineEdit *>(u"Text%1"_qs.arg(n)); }
    void type(int number, const QString &text) const { QTest::keyClicks(box(number), text); }
    QWidget *widget(const QString &name) const { return m->sheet.findChild<QWidget *>(name); }
    void click(const QString &name) const { QTest::mouseClick(widget(name), Qt::LeftButton); }
    // An access key clicks its button after a short delay, as a mouse click would look.
    static void alt(Qt::Key k) { QTest::keyClick(QApplication::focusWidget(), k, Qt::AltModifier); }
    QComboBox *yearList() const { return m->sheet.findChild<QComboBox *>(u"Combo1"_qs); }
    auto timers() const { return m->sheet.findChildren<QTimer *>(Qt::FindDirectChildrenOnly); }
    QString listed() const
    {
        QStringList labels;
        for (int i = 0; i < yearList()->count(); ++i)
            labels << yearList()->itemText(i);
        return labels.join(u' ');
    }
    QString texts(const QList<int> &numbers) const
    {
        QStringList shown;
        for (int number : numbers)
            shown << box(number)->text();
        return shown.join(u'|');
    }
    // What a tool prints; poppler-utils reads the PDF files.
    static QString output(const QString &program, const QStringList &arguments)
    {
        QProcess tool;
        tool.start(program, arguments);
        return tool.waitForFinished() ? QString::fromUtf8(tool.readAllStandardOutput()) : QString();
    }
    static QString spoken(QWidget *control)
    {
        return QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name);
    }
    void typeWorkedExample() const
    {
        type(Box::openingBalance, u"10000"_qs);
        box(Box::rate)->setText(u"8"_qs);  // the year choice would put it here
        for (const MonthRow &month : monthRows)
            type(month.subscription, u"1000"_qs);
        type(monthRows[2].refund, u"600"_qs);
        type(monthRows[6].withdrawal, u"5000"_qs);
    }
    static void activate(QWidget *window)
    {
        window->show();
        window->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), window);
    }

private slots:
    void init()
    {
        m.emplace();
        QVERIFY(m->folder.ready());
        QVERIFY(m->sheet.Form_Load());
        activate(&m->sheet);
    }
    void cleanup() { m.reset(); }

    // Focus starts in the year list and Tab walks the typed boxes in month order, then the
    // buttons, back to the list; only those boxes take typing, and every box starts empty.
    // Controls are known by what a screen reader says for them, and the window by a name that
    // does not flash with its title.
    void keyboardOrder()
    {
        QStringList chain {u"Year list"_qs};
        for (const QString &month : u"April May June July August September October November "
                                    u"December January February March"_qs.split(u' ')) {
            chain << month + u" subscription"_qs << month + u" refund"_qs
                  << month + u" withdrawal"_qs;
        }
        chain << u"Calculate,Opening balance,Clear,View/Print,Exit,Year list"_qs.split(u',');
        QStringList visited {spoken(QApplication::focusWidget())};
        while (visited.size() < chain.size()) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << spoken(QApplication::focusWidget());
        }
        QCOMPARE(visited, chain);
        for (int number = firstBox; number <= lastBox; ++number)
            QCOMPARE(box(number)->isEnabled(), chain.contains(spoken(box(number))));
        QCOMPARE(m->sheet.readBoxes(), SheetTexts());
        m->sheet.Timer1_Timer();
        QCOMPARE(spoken(&m->sheet), u"Interest sheet"_qs);
    }

    // Results are drawn in the disabled style, yet readable at a glance: their text stands out
    // from the box at least 4.5 : 1, the contrast asked of body text.
    void resultsReadable()
    {
        const auto luminance = [](QColor colour) {
            const auto linear = [](float c) {
                return c <= 0.03928f ? c / 12.92f : std::pow((c + 0.055f) / 1.055f, 2.4f);
            };
            return 0.2126f * linear(colour.redF()) + 0.7152f * linear(colour.greenF())
                + 0.0722f * linear(colour.blueF());
        };
        for (const int number : resultBoxes) {
            const QPalette &colours = box(number)->palette();
            const float text = luminance(colours.color(QPalette::Disabled, QPalette::Text));
            const float base = luminance(colours.color(QPalette::Disabled, QPalette::Base));
            QVERIFY2((std::max(text, base) + 0.05f) / (std::min(text, base) + 0.05f) >= 4.5f,
                qPrintable(boxName(number)));
        }
    }

    // A screen reader says what a box is by the label beside it, or the frame around it.
    void labelsNameTheirBoxes_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("label");
        QTest::newRow("year list") << u"Combo1"_qs << u"YEAR"_qs;
        QTest::newRow("rate") << u"Text2"_qs << u"Rate of Interest"_qs;
        QTest::newRow("opening balance") << u"Text39"_qs << u"Enter Opening Balance"_qs;
        QTest::newRow("a month box, by its frame") << u"Text3"_qs << u"April"_qs;
        QTest::newRow("a summary box") << u"Text46"_qs << u"Closing Balance :-/SUMMARY"_qs;
    }
    void labelsNameTheirBoxes()
    {
        QFETCH(QString, box);
        QFETCH(QString, label);
        QCOMPARE(accessibleLabel(widget(box)), label);
    }

    // The worked example through "&Calculate"'s access key fills all 19 result boxes; "C&lear"
    // then empties every box but not the list, and a calculation straight after has no interest.
    void calculateThenClear()
    {
        typeWorkedExample();
        alt(Qt::Key_C);
        // Balances April to March, then opening, subscriptions, refunds, credits, interest,
        // debits, closing.
        QTRY_COMPARE(
            texts({47, 48, 49, 50, 51, 52, 53, 54, 55, 56, 57, 58, 43, 40, 41, 42, 44, 45, 46}),
            u"11000|12000|13600|14600|15600|16600|12600|13600|14600|15600|16600|17600|"
            u"10000|12000|600|12600|1160|5000|18760"_qs);

        box(Box::openingBalance)->setFocus();  // away from the list
        alt(Qt::Key_L);
        QTRY_COMPARE(m->sheet.readBoxes(), SheetTexts());
        QCOMPARE(QApplication::focusWidget(), yearList());
        QCOMPARE(listed(), u"2003-2004 2004-2005"_qs);
        type(Box::openingBalance, u"500"_qs);
        alt(Qt::Key_C);
        QTRY_COMPARE(texts({Box::interest, Box::closingBalance}), u"0|500"_qs);
    }

    // Every return from another program window appends one label per row, new rows behind; a
    // return from a dialog of the sheet's own is no such return. Each arrow key press chooses a
    // year: the last row with its years wins, a year that is no row's keeps the rate box. Typing
    // chooses nothing.
    void yearListAndChoice()
    {
        for (const RateTableFile::Row &row : QList<RateTableFile::Row> {{2003, 2004, 7.25},
                 {999, 1000, 5}, {QVariant(), 2006, 6}, {2007, 2008, QVariant()}})
            QVERIFY(RateTableFile::append(tablePath(), row));
        QWidget other;  // another window of the program
        activate(&other);
        activate(&m->sheet);
        const QString grown = u"2003-2004 2004-2005 2003-2004 2004-2005 2003-2004 999-1000 -2006 "
                              u"2007-2008"_qs;
        QCOMPARE(listed(), grown);
        QDialog dialog(&m->sheet);
        activate(&dialog);
        activate(&m->sheet);
        QCOMPARE(listed(), grown);

        yearList()->setFocus();
        QStringList chosen;
        for (int press = 0; press < yearList()->count(); ++press) {
            QTest::keyClick(yearList(), Qt::Key_Down);
            chosen << texts({Box::year, Box::rate});
        }
        QCOMPARE(chosen.join(u' '),
            u"2003-2004|7.25 2004-2005|8 2003-2004|7.25 2004-2005|8 2003-2004|7.25 "
            u"999-1000|7.25 -2006|7.25 2007-2008|"_qs);
        yearList()->clearEditText();
        QTest::keyClicks(yearList(), u"2004-2005"_qs);
        QTest::keyClick(yearList(), Qt::Key_Return);
        box(Box::openingBalance)->setFocus();  // leaving the field chooses nothing either
        QCOMPARE(texts({Box::year, Box::rate}), u"2007-2008|"_qs);
    }

    // A second sheet cannot load without its table and says why. The open sheet goes on: an
    // overflow names the step that failed, earlier boxes show their results, the later ones are
    // empty, every entry stays.
    void faultsKeepTheOpenSheet()
    {
        QVERIFY(QFile::remove(tablePath()));
        SheetWindow second(m->rates, m->messages, m->printer, m->activation, m->marquee);
        QVERIFY(!second.Form_Load());
        type(Box::openingBalance, u"5"_qs);
        click(u"Command1"_qs);  // results that the failing calculation must not leave standing
        box(Box::openingBalance)->setText(u"1.7E308"_qs);
        type(monthRows[2].subscription, u"1.7E308"_qs);
        click(u"Command1"_qs);
        QCOMPARE(m->messages.calls.size(), 2);
        for (const FakeMessageBox::Call &call : m->messages.calls)
            QCOMPARE(call.icon, MessageBox::Icon::Stop);
        QVERIFY(m->messages.calls[0].text.contains(tablePath()));
        QVERIFY(m->messages.calls[1].text.contains(u"June progressive balance"_qs));
        QCOMPARE(texts({Box::openingBalance, monthRows[2].subscription, monthRows[1].balance,
                     monthRows[2].balance, Box::closingBalance}),
            u"1.7E308|1.7E308|1.7E+308||"_qs);
    }

    // "&View/Print" hands the sheet to the printer dialog under the document's name; a cancelled
    // dialog prints nothing, a failed print is reported, never passed over.
    void print()
    {
        FakePrinterDialog &dialog = m->printer;
        click(u"Command3"_qs);
        dialog.accept = false;
        click(u"Command3"_qs);
        dialog.accept = true;
        dialog.fail = true;
        click(u"Command3"_qs);
        QCOMPARE(dialog.dialogs, 3);
        QCOMPARE(dialog.printed.size(), 1);
        QCOMPARE(dialog.printed[0].first, &m->sheet);
        QCOMPARE(dialog.printed[0].second, u"ZEL Calculation - Interest sheet"_qs);
        QCOMPARE(m->messages.calls.size(), 1);
        QVERIFY(m->messages.calls[0].text.contains(u"could not be printed"_qs));
        QCOMPARE(m->messages.calls[0].icon, MessageBox::Icon::Stop);
    }

    void printToPdf_data()
    {
        QTest::addColumn<qint64>("sizeLimit");  // the largest file the disk takes; 0: any
        QTest::addColumn<bool>("folderThere");
        QTest::newRow("written") << qint64(0) << true;
        QTest::newRow("disk full") << qint64(4096) << true;
        QTest::newRow("folder gone") << qint64(0) << false;
    }

    // A PDF of the sheet holds its texts as text, on one page, under the document's title. A
    // file that cannot be written whole is not written at all, and an older one stays as it was.
    void printToPdf()
    {
        QFETCH(qint64, sizeLimit);
        QFETCH(bool, folderThere);
        typeWorkedExample();
        click(u"Command1"_qs);
        const QDir folder(m->folder.path(u"out"_qs));
        const QString path = folder.filePath(u"sheet.pdf"_qs);
        QFile older(path);
        if (folderThere) {
            QVERIFY(folder.mkpath(u"."_qs) && older.open(QIODevice::WriteOnly));
            older.write("older");
            older.close();
        }
        rlimit previous {};
        getrlimit(RLIMIT_FSIZE, &previous);
        std::signal(SIGXFSZ, SIG_IGN);  // a write past the limit fails, as on a full disk
        const rlimit limited {sizeLimit ? rlim_t(sizeLimit) : previous.rlim_cur, previous.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limited);
        const bool written = PrinterDialog::writePdf(path,
            QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, {}), 1200, &m->sheet,
            u"ZEL Calculation - Interest sheet"_qs);
        setrlimit(RLIMIT_FSIZE, &previous);

        QCOMPARE(written, !sizeLimit && folderThere);
        if (!written) {
            QCOMPARE(folder.entryList(QDir::Files).size(), folderThere ? 1 : 0);
            QCOMPARE(
                older.open(QIODevice::ReadOnly) ? older.readAll() : "", folderThere ? "older" : "");
            return;
        }
        const QString text = output(u"pdftotext"_qs, {path, u"-"_qs});
        QVERIFY2(text.contains(u"Closing Balance"_qs) && text.contains(u"18760"_qs)
                && text.count(u'\f') == 1,
            qPrintable(text));
        QVERIFY(
            output(u"pdfinfo"_qs, {path})
                .contains(QRegularExpression(u"Title: +ZEL Calculation - Interest sheet\n"_qs)));
    }

    // Driven by hand, the title shows "-" until the first tick, then empty and full in turn;
    // the desktop is given a blank for the empty title, since it would show the program's name.
    // Both timers run from the load on, the title flashing and the credits line moving; closing
    // the sheet stops both.
    void banner()
    {
        std::ranges::for_each(timers(), &QTimer::stop);
        QStringList titles {m->sheet.windowTitle()};
        for (int tick = 0; tick < 3; ++tick) {
            m->sheet.Timer1_Timer();
            titles << m->sheet.windowTitle() + u'/' + m->sheet.windowHandle()->title();
        }
        QCOMPARE(titles.join(u'|'), u"-|/ |INSTANT ZEL CALCULATION/INSTANT ZEL CALCULATION|/ "_qs);

        auto *credits = m->sheet.findChild<MarqueeLabel *>(u"Label15"_qs);
        const QString line = credits->text();
        QVERIFY(m->sheet.Form_Load());
        QTRY_COMPARE_WITH_TIMEOUT(m->sheet.windowTitle(), u"INSTANT ZEL CALCULATION"_qs, 3000);
        QVERIFY(credits->text() != line);
        QCOMPARE(timers().size(), 2);
        m->sheet.close();
        for (const QTimer *timer : timers())
            QVERIFY(!timer->isActive());
    }

    // The help picture and F1, wherever the focus is, show the same HELP box: no icon, a credits
    // line and a contact line joined by one carriage return and line feed. "&Save" is disabled
    // and does nothing, even by its access key; none of it changes the boxes.
    void helpAndSave()
    {
        std::ranges::for_each(timers(), &QTimer::stop);
        type(Box::openingBalance, u"250"_qs);
        const SheetTexts before = m->sheet.readBoxes();
        QVERIFY(!widget(u"Command4"_qs)->isEnabled());
        alt(Qt::Key_S);
        QTest::qWait(150);  // longer than an access key's delay
        click(u"Image1"_qs);
        QTest::keyClick(box(Box::openingBalance), Qt::Key_F1);
        yearList()->setFocus();
        QTest::keyClick(yearList(), Qt::Key_F1);

        QCOMPARE(m->messages.calls.size(), 3);
        const FakeMessageBox::Call &help = m->messages.calls[0];
        for (const FakeMessageBox::Call &call : m->messages.calls)
            QCOMPARE(call.shown(), help.shown());
        const QStringList lines = help.text.split(u"\r\n"_qs);
        QCOMPARE(u"%1 %2 lines"_qs.arg(help.title).arg(lines.size()), u"HELP 2 lines"_qs);
        QCOMPARE(help.icon, MessageBox::Icon::None);
        QCOMPARE(help.text.count(u'\r') + help.text.count(u'\n'), 2);
        QVERIFY(lines[0].contains(u"ZEL Calculation"_qs) && lines[1].contains(u'@'));
        QCOMPARE(m->sheet.readBoxes(), before);
    }
};

QTEST_MAIN(SheetWindowTest)
#include "sheetwindow_test.moc"
