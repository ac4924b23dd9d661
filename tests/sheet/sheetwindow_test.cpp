#include "fakemessagebox.h"
#include "fakeprinterdialog.h"
#include "marquee.h"
#include "marqueelabel.h"
#include "programdirectory.h"
#include "ratestore.h"
#include "ratetablefile.h"
#include "sheetwindow.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <memory>

using Rows = QList<RateTableFile::Row>;

class SheetWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void openingState();
    void calculateThenClear();
    void overflowKeepsEntries();
    void yearListGrowsAtActivation();
    void chooseYear_data();
    void chooseYear();
    void missingFileStopsLoading();
    void print();
    void titleFlash();
    void timersRunWhileOpen();
    void saveAndHelpChangeNothing();

private:
    QLineEdit *box(int n) const { return m_sheet->findChild<QLineEdit *>(u"Text%1"_qs.arg(n)); }
    void type(int number, const QString &text) const { QTest::keyClicks(box(number), text); }
    QWidget *widget(const QString &name) const { return m_sheet->findChild<QWidget *>(name); }
    void click(const QString &name) const { QTest::mouseClick(widget(name), Qt::LeftButton); }
    // An access key clicks its button after a short delay, as a mouse click would look.
    static void alt(Qt::Key k) { QTest::keyClick(QApplication::focusWidget(), k, Qt::AltModifier); }
    QComboBox *yearList() const { return m_sheet->findChild<QComboBox *>(u"Combo1"_qs); }
    QStringList listed() const
    {
        QStringList labels;
        for (int i = 0; i < yearList()->count(); ++i)
            labels << yearList()->itemText(i);
        return labels;
    }
    // Another window of the program becomes active, then the sheet again.
    void switchAwayAndBack(QWidget *other)
    {
        other->show();
        other->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(other));
        m_sheet->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_sheet.get()));
    }
    QString tablePath() const { return m_dir->filePath(u"zel.mdb"_qs); }
    QList<QTimer *> timers() const
    {
        return m_sheet->findChildren<QTimer *>(Qt::FindDirectChildrenOnly);
    }
    MarqueeLabel *creditsLine() const { return m_sheet->findChild<MarqueeLabel *>(u"Label15"_qs); }
    // Leaves the banner to the test's own calls of the timer handlers.
    void stopTimers() const { std::ranges::for_each(timers(), &QTimer::stop); }

    std::unique_ptr<QTemporaryDir> m_dir;
    Marquee m_marquee;
    std::unique_ptr<SheetWindow> m_sheet;
    std::unique_ptr<FakeMessageBox> m_messages;
};

void SheetWindowTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    ProgramDirectory::override(m_dir->path());
    QVERIFY(RateTableFile::create(tablePath(), {{2003, 2004, 9.5}, {2004, 2005, 8}}));
    m_messages = std::make_unique<FakeMessageBox>();
    m_marquee = Marquee();
    m_sheet = std::make_unique<SheetWindow>(m_marquee);
    QVERIFY(m_sheet->Form_Load());
    m_sheet->show();
    m_sheet->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_sheet.get()));
}

void SheetWindowTest::cleanup()
{
    m_sheet.reset();
    m_messages.reset();
    RateStore::releaseShared();
    ProgramDirectory::override({});
    m_dir.reset();
}

// Focus starts in the year list and Tab walks the typed boxes, the buttons and back to the list;
// every other box is empty and disabled, and each box and button has a name a reader can speak.
void SheetWindowTest::openingState()
{
    QStringList chain {u"Combo1"_qs};
    for (const MonthRow &month : monthRows) {
        for (int number : {month.subscription, month.refund, month.withdrawal})
            chain << QStringLiteral("Text%1").arg(number);
    }
    chain << u"Command1"_qs << u"Text39"_qs << u"Command2"_qs << u"Command3"_qs << u"Command5"_qs
          << u"Combo1"_qs;
    const auto walk = [&chain](Qt::Key key, Qt::KeyboardModifiers modifiers) {
        QStringList visited {QApplication::focusWidget()->objectName()};
        while (visited.size() < chain.size()) {
            QTest::keyClick(QApplication::focusWidget(), key, modifiers);
            visited << QApplication::focusWidget()->objectName();
        }
        return visited;
    };
    QCOMPARE(walk(Qt::Key_Tab, Qt::NoModifier), chain);
    QStringList backward = chain;
    std::reverse(backward.begin(), backward.end());
    QCOMPARE(walk(Qt::Key_Backtab, Qt::ShiftModifier), backward);

    for (int number = firstBox; number <= lastBox; ++number) {
        QVERIFY2(box(number) && box(number)->text().isEmpty(), qPrintable(QString::number(number)));
        QCOMPARE(box(number)->isEnabled(), chain.contains(box(number)->objectName()));
    }

    QStringList expected = u"Text39=Opening balance,Text2=Rate of interest,Text38=Financial year,"
                           u"Combo1=Year list,Text43=Summary opening balance,"
                           u"Text40=Subscription total,Text41=Refund total,Text42=Total credits,"
                           u"Text44=Interest,Text45=Debits,Text46=Closing balance,"
                           u"Command1=Calculate,Command4=Save,Command2=Clear,Command3=View/Print,"
                           u"Command5=Exit,Image1=Help,Label15=Credits line"_qs.split(u',');
    const QStringList months = u"April May June July August September October November December "
                               u"January February March"_qs.split(u' ');
    for (qsizetype i = 0; i < months.size(); ++i) {
        const MonthRow &row = monthRows[i];
        const QString name = u"Text%1="_qs + months[i];
        expected << name.arg(row.subscription) + u" subscription"_qs
                 << name.arg(row.refund) + u" refund"_qs
                 << name.arg(row.withdrawal) + u" withdrawal"_qs
                 << name.arg(row.balance) + u" progressive balance"_qs;
    }
    QStringList names;
    const QRegularExpression named(u"^(Text\\d+|Combo1|Command\\d|Image1|Label15)$"_qs);
    for (QWidget *widget : m_sheet->findChildren<QWidget *>(named)) {
        names << widget->objectName() + u'='
                + QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
    }
    names.sort();
    expected.sort();
    QCOMPARE(names, expected);
}

// The worked example through "&Calculate"'s access key fills all 19 result boxes; "C&lear" then
// empties every box but not the list, and a calculation straight after has no rate, no interest.
void SheetWindowTest::calculateThenClear()
{
    type(Box::openingBalance, u"10000"_qs);
    box(Box::rate)->setText(u"8"_qs);  // the year choice would put it here
    for (const MonthRow &month : monthRows)
        type(month.subscription, u"1000"_qs);
    type(monthRows[2].refund, u"600"_qs);
    type(monthRows[6].withdrawal, u"5000"_qs);
    alt(Qt::Key_C);
    QTRY_COMPARE(box(Box::closingBalance)->text(), u"18760"_qs);
    QStringList results;
    for (const MonthRow &month : monthRows)
        results << box(month.balance)->text();
    for (int number : {Box::summaryOpening, Box::subscriptionTotal, Box::refundTotal,
             Box::totalCredits, Box::interest, Box::debits, Box::closingBalance})
        results << box(number)->text();
    QCOMPARE(results.join(u' '),
        u"11000 12000 13600 14600 15600 16600 12600 13600 14600 15600 16600 17600 "
        u"10000 12000 600 12600 1160 5000 18760"_qs);
    QVERIFY(m_messages->calls.isEmpty());

    box(Box::openingBalance)->setFocus();  // away from the list
    alt(Qt::Key_L);
    QTRY_VERIFY(box(Box::rate)->text().isEmpty());
    for (int number = firstBox; number <= lastBox; ++number)
        QVERIFY2(box(number)->text().isEmpty(), qPrintable(QString::number(number)));
    QCOMPARE(QApplication::focusWidget(), yearList());
    QCOMPARE(listed(), (QStringList {u"2003-2004"_qs, u"2004-2005"_qs}));

    type(Box::openingBalance, u"500"_qs);
    alt(Qt::Key_C);
    QTRY_COMPARE(box(Box::interest)->text(), u"0"_qs);
    QCOMPARE(box(Box::closingBalance)->text(), u"500"_qs);
}

void SheetWindowTest::overflowKeepsEntries()
{
    type(Box::openingBalance, u"1.7E308"_qs);
    type(monthRows[2].subscription, u"1.7E308"_qs);
    click(u"Command1"_qs);

    QCOMPARE(m_messages->calls.size(), 1);
    QCOMPARE(m_messages->calls[0].style, int(MessageBox::Critical));
    QVERIFY(m_messages->calls[0].text.contains(u"June progressive balance"_qs));
    QCOMPARE(box(Box::openingBalance)->text(), u"1.7E308"_qs);
    QCOMPARE(box(monthRows[1].balance)->text(), u"1.7E+308"_qs);
    QVERIFY(box(monthRows[2].balance)->text().isEmpty());
    QVERIFY(box(Box::closingBalance)->text().isEmpty());
}

// Every return from another program window appends one label per row, new rows behind, and
// chooses nothing; a dialog closing over the sheet is no such return, and typing chooses nothing.
void SheetWindowTest::yearListGrowsAtActivation()
{
    QCOMPARE(listed(), (QStringList {u"2003-2004"_qs, u"2004-2005"_qs}));
    QVERIFY(!RateStore::shared()->add(2005, 2006, 8));
    QWidget other;
    switchAwayAndBack(&other);
    QCOMPARE(listed().join(u' '), u"2003-2004 2004-2005 2003-2004 2004-2005 2005-2006"_qs);
    QDialog dialog(m_sheet.get());
    switchAwayAndBack(&dialog);
    QCOMPARE(listed().size(), 5);

    QCOMPARE(yearList()->currentIndex(), -1);
    yearList()->setFocus();
    QTest::keyClicks(yearList(), u"2004-2005"_qs);
    QTest::keyClick(yearList(), Qt::Key_Return);
    box(Box::openingBalance)->setFocus();  // leaving the field chooses nothing either
    QVERIFY(box(Box::year)->text().isEmpty());
    QVERIFY(box(Box::rate)->text().isEmpty());
}

void SheetWindowTest::chooseYear_data()
{
    QTest::addColumn<Rows>("extraRows");
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("year");
    QTest::addColumn<QString>("rate");

    // After the second activation the list holds the two years twice, then any extra row. The
    // arrow keys pass '2004-2005' (rate 8) on the way to the extra row.
    QTest::newRow("second year") << Rows() << 1 << u"2004-2005"_qs << u"8"_qs;
    QTest::newRow("same years twice: the last row wins")
        << Rows {{2003, 2004, 7.25}} << 4 << u"2003-2004"_qs << u"7.25"_qs;
    QTest::newRow("three-digit year finds no row, rate box kept")
        << Rows {{999, 1000, 5}} << 4 << u"999-1000"_qs << u"8"_qs;
    QTest::newRow("empty year finds no row, rate box kept")
        << Rows {{QVariant(), 2006, 6}} << 4 << u"-2006"_qs << u"8"_qs;
    QTest::newRow("empty rate") << Rows {{2007, 2008, QVariant()}} << 4 << u"2007-2008"_qs
                                << QString();
}

void SheetWindowTest::chooseYear()
{
    QFETCH(Rows, extraRows);
    QFETCH(int, item);
    QFETCH(QString, year);
    QFETCH(QString, rate);

    for (const RateTableFile::Row &row : extraRows)
        QVERIFY(RateTableFile::append(tablePath(), row));
    QWidget other;
    switchAwayAndBack(&other);

    // Arrow keys choose as the mouse does: the first press chooses the first item.
    yearList()->setFocus();
    for (int press = 0; press <= item; ++press)
        QTest::keyClick(yearList(), Qt::Key_Down);
    QCOMPARE(yearList()->currentIndex(), item);
    QCOMPARE(box(Box::year)->text(), year);
    QCOMPARE(box(Box::rate)->text(), rate);
}

void SheetWindowTest::missingFileStopsLoading()
{
    QVERIFY(QFile::remove(tablePath()));
    SheetWindow second(m_marquee);
    QVERIFY(!second.Form_Load());
    QCOMPARE(m_messages->calls.size(), 1);
    QCOMPARE(m_messages->calls[0].style, int(MessageBox::Critical));
    QVERIFY(m_messages->calls[0].text.contains(tablePath()));
    QVERIFY(!QFile::exists(tablePath()));  // nothing created in its place

    // The sheet that was open goes on working with everything in it.
    type(Box::openingBalance, u"100"_qs);
    click(u"Command1"_qs);
    QCOMPARE(box(Box::closingBalance)->text(), u"100"_qs);
}

// "&View/Print" hands the window's image to the printer dialog, a cancelled dialog prints
// nothing, and neither fills the list again. The real printing path writes one page with the
// image to a PDF file.
void SheetWindowTest::print()
{
    FakePrinterDialog dialog;
    click(u"Command3"_qs);
    dialog.accept = false;
    click(u"Command3"_qs);
    QCOMPARE(dialog.dialogs, 2);
    QCOMPARE(dialog.printed.size(), 1);
    QCOMPARE(dialog.printed[0].size(), m_sheet->size() * m_sheet->devicePixelRatio());
    QCOMPARE(listed().size(), 2);

    const QString pdf = m_dir->filePath(u"sheet.pdf"_qs);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    QVERIFY(PrinterDialog::printImage(printer, m_sheet->grab().toImage()));
    QFile file(pdf);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray content = file.readAll();
    QVERIFY(content.startsWith("%PDF"));
    // One page object ("/Type /Pages" is the page tree, not a page).
    QCOMPARE(QString::fromLatin1(content).count(QRegularExpression(u"/Type\\s*/Page\\b"_qs)), 1);
    QVERIFY(content.contains("/Subtype /Image"));
    QVERIFY(!PrinterDialog::printImage(printer, QImage()));  // nothing to print
}

// The title flash driven by hand: "-" from the load on, then empty and full in turn.
void SheetWindowTest::titleFlash()
{
    stopTimers();
    QStringList titles {m_sheet->windowTitle()};
    for (int tick = 0; tick < 4; ++tick) {
        m_sheet->Timer1_Timer();
        titles << m_sheet->windowTitle();
    }
    const QString flashed = u"INSTANT ZEL CALCULATION"_qs;
    QCOMPARE(titles, (QStringList {u"-"_qs, QString(), flashed, QString(), flashed}));
}

// Both timers run from the load on and reach their handlers: the title flashes and the credits
// line moves inside a label sized to the whole line. Closing the sheet stops both.
void SheetWindowTest::timersRunWhileOpen()
{
    const QString line = creditsLine()->text();
    const QRect place = creditsLine()->geometry();
    QVERIFY(place.width() >= QFontMetrics(creditsLine()->font()).horizontalAdvance(line));
    QTRY_COMPARE_WITH_TIMEOUT(m_sheet->windowTitle(), u"INSTANT ZEL CALCULATION"_qs, 3000);
    QVERIFY(creditsLine()->text() != line);
    QCOMPARE(creditsLine()->geometry(), place);  // sized once: every line is as wide
    QCOMPARE(timers().size(), 2);
    m_sheet->close();
    for (const QTimer *timer : timers())
        QVERIFY(!timer->isActive());
}

// "&Save" is disabled and does nothing, even by its access key; the help picture shows the help
// box and leaves the sheet as it was.
void SheetWindowTest::saveAndHelpChangeNothing()
{
    stopTimers();
    type(Box::openingBalance, u"250"_qs);
    const SheetTexts before = m_sheet->readBoxes();
    const QString line = creditsLine()->text();
    QVERIFY(!widget(u"Command4"_qs)->isEnabled());
    click(u"Command4"_qs);
    alt(Qt::Key_S);
    QTest::qWait(150);  // longer than an access key's delay
    QVERIFY(m_messages->calls.isEmpty());

    click(u"Image1"_qs);
    QCOMPARE(m_messages->calls.size(), 1);
    const FakeMessageBox::Call &help = m_messages->calls[0];
    QCOMPARE(help.title, u"HELP"_qs);
    QCOMPARE(help.style, int(MessageBox::Plain));
    // A credits line and a contact line, joined by one carriage return and line feed.
    const QStringList lines = help.text.split(u"\r\n"_qs);
    QCOMPARE(lines.size(), 2);
    QVERIFY(lines[0].contains(u"ZEL Calculation"_qs) && lines[0].contains(u"2003"_qs));
    QVERIFY(lines[1].contains(u'@'));
    QCOMPARE(help.text.count(u'\r') + help.text.count(u'\n'), 2);

    QVERIFY(m_sheet->readBoxes() == before);
    QCOMPARE(m_sheet->windowTitle(), u"-"_qs);
    QCOMPARE(creditsLine()->text(), line);
    QCOMPARE(listed().size(), 2);
}

QTEST_MAIN(SheetWindowTest)
#include "sheetwindow_test.moc"
