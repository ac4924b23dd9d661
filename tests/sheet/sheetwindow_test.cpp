#include "fakemessagebox.h"
#include "fakeprinterdialog.h"
#include "marquee.h"
#include "marqueelabel.h"
#include "programdirectory.h"
#include "ratestore.h"
#include "ratetablefile.h"
#include "sheetfields.h"
#include "sheetwindow.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPrinter>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <memory>

class SheetWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void openingState();
    void yearListFilledOnActivation();
    void yearAddedShowsAtNextActivation();
    void chooseYear_data();
    void chooseYear();
    void typingChoosesNothing();
    void missingFileStopsLoading();
    void printsWindowImage();
    void printsToPdf();
    void accessibleNames();
    void tabOrder();
    void calculateByAccessKey();
    void overflowKeepsEntries();
    void saveIsInert();
    void clearEmptiesEverything();
    void titleFlash_data();
    void titleFlash();
    void timersRunWhileOpen();
    void creditsLineSlides();
    void repaintsAtScreenRate();
    void helpBox();

private:
    QLineEdit *box(int number) const
    {
        return m_sheet->findChild<QLineEdit *>(QStringLiteral("Text%1").arg(number));
    }
    void type(int number, const QString &text) const { QTest::keyClicks(box(number), text); }
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
    QTimer *timer(const QString &name) const { return m_sheet->findChild<QTimer *>(name); }
    MarqueeLabel *creditsLine() const { return m_sheet->findChild<MarqueeLabel *>(u"Label15"_qs); }
    // Leaves the banner to the test's own calls of the timer handlers.
    void stopTimers() const
    {
        timer(u"Timer1"_qs)->stop();
        timer(u"Timer2"_qs)->stop();
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    Marquee m_marquee;
    std::unique_ptr<SheetWindow> m_sheet;
    std::unique_ptr<FakeMessageBox> m_messages;
    std::unique_ptr<FakePrinterDialog> m_printer;
};

void SheetWindowTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    ProgramDirectory::override(m_dir->path());
    QVERIFY(RateTableFile::create(tablePath(), {{2003, 2004, 9.5}, {2004, 2005, 8}}));
    m_messages = std::make_unique<FakeMessageBox>();
    m_printer = std::make_unique<FakePrinterDialog>();
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
    m_printer.reset();
    RateStore::releaseShared();
    ProgramDirectory::override({});
    m_dir.reset();
}

void SheetWindowTest::yearListFilledOnActivation()
{
    QCOMPARE(listed(), (QStringList {u"2003-2004"_qs, u"2004-2005"_qs}));
    QCOMPARE(yearList()->currentIndex(), -1);  // nothing chosen yet
    QVERIFY(yearList()->currentText().isEmpty());

    // A return from another program window appends the labels again.
    QWidget other;
    switchAwayAndBack(&other);
    QCOMPARE(listed(),
        (QStringList {u"2003-2004"_qs, u"2004-2005"_qs, u"2003-2004"_qs, u"2004-2005"_qs}));

    // A dialog closing over the sheet is no such return.
    QDialog dialog(m_sheet.get());
    switchAwayAndBack(&dialog);
    QCOMPARE(listed().size(), 4);
}

void SheetWindowTest::yearAddedShowsAtNextActivation()
{
    QVERIFY(!RateStore::shared()->add(2005, 2006, 8));
    QCOMPARE(listed().size(), 2);
    QWidget other;
    switchAwayAndBack(&other);
    QCOMPARE(listed(),
        (QStringList {
            u"2003-2004"_qs, u"2004-2005"_qs, u"2003-2004"_qs, u"2004-2005"_qs, u"2005-2006"_qs}));
}

void SheetWindowTest::chooseYear_data()
{
    QTest::addColumn<QList<RateTableFile::Row>>("extraRows");
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("year");
    QTest::addColumn<QString>("rate");

    // After the second activation the list holds the two years twice, then any extra row. The
    // arrow keys pass '2004-2005' (rate 8) on the way to the extra row.
    const QList<RateTableFile::Row> none;
    QTest::newRow("second year") << none << 1 << "2004-2005"
                                 << "8";
    QTest::newRow("another item with the same label") << none << 3 << "2004-2005"
                                                      << "8";
    QTest::newRow("same years twice: the last row wins")
        << QList<RateTableFile::Row> {{2003, 2004, 7.25}} << 4 << "2003-2004"
        << "7.25";
    QTest::newRow("three-digit year finds no row, rate box kept")
        << QList<RateTableFile::Row> {{999, 1000, 5}} << 4 << "999-1000"
        << "8";
    QTest::newRow("empty year finds no row, rate box kept")
        << QList<RateTableFile::Row> {{QVariant(), 2006, 6}} << 4 << "-2006"
        << "8";
    QTest::newRow("empty rate") << QList<RateTableFile::Row> {{2007, 2008, QVariant()}} << 4
                                << "2007-2008"
                                << "";
}

void SheetWindowTest::chooseYear()
{
    QFETCH(QList<RateTableFile::Row>, extraRows);
    QFETCH(int, item);
    QFETCH(QString, year);
    QFETCH(QString, rate);

    for (const RateTableFile::Row &row : extraRows)
        QVERIFY(RateTableFile::append(tablePath(), row));
    QWidget other;
    switchAwayAndBack(&other);

    // Arrow keys choose as the mouse does: the first press chooses the first item.
    yearList()->setFocus();
    QTest::keyClick(yearList(), Qt::Key_Down);
    QCOMPARE(box(Box::year)->text(), u"2003-2004"_qs);
    for (int i = 0; i < item; ++i)
        QTest::keyClick(yearList(), Qt::Key_Down);
    QCOMPARE(yearList()->currentIndex(), item);
    QCOMPARE(box(Box::year)->text(), year);
    QCOMPARE(box(Box::rate)->text(), rate);
    QCOMPARE(box(Box::openingBalance)->text(), QString());  // nothing else changes
}

void SheetWindowTest::typingChoosesNothing()
{
    yearList()->setFocus();
    QTest::keyClicks(yearList(), u"2004-2005"_qs);
    QTest::keyClick(yearList(), Qt::Key_Return);
    box(Box::openingBalance)->setFocus();  // leaving the field chooses nothing either
    QVERIFY(box(Box::year)->text().isEmpty());
    QVERIFY(box(Box::rate)->text().isEmpty());
}

void SheetWindowTest::missingFileStopsLoading()
{
    const QByteArray before = QFile(tablePath()).exists() ? QByteArray("exists") : QByteArray();
    QVERIFY(QFile::remove(tablePath()));
    SheetWindow second(m_marquee);
    QVERIFY(!second.Form_Load());
    QVERIFY(!second.findChild<QTimer *>(u"Timer1"_qs)->isActive());
    QVERIFY(!second.findChild<QTimer *>(u"Timer2"_qs)->isActive());
    QCOMPARE(m_messages->calls.size(), 1);
    QCOMPARE(m_messages->calls[0].style, int(MessageBox::Critical));
    QVERIFY(m_messages->calls[0].text.contains(tablePath()));
    QVERIFY(!QFile::exists(tablePath()));  // nothing created in its place
    QVERIFY(!before.isEmpty());

    // The sheet that was open goes on working with everything in it.
    type(Box::openingBalance, u"100"_qs);
    QTest::mouseClick(m_sheet->findChild<QToolButton *>(u"Command1"_qs), Qt::LeftButton);
    QCOMPARE(box(Box::closingBalance)->text(), u"100"_qs);
}

void SheetWindowTest::printsWindowImage()
{
    type(Box::openingBalance, u"10000"_qs);
    QTest::mouseClick(m_sheet->findChild<QToolButton *>(u"Command3"_qs), Qt::LeftButton);
    QCOMPARE(m_printer->dialogs, 1);
    QCOMPARE(m_printer->printed.size(), 1);
    QCOMPARE(m_printer->printed[0].size(), m_sheet->size() * m_sheet->devicePixelRatio());
    QCOMPARE(box(Box::openingBalance)->text(), u"10000"_qs);  // the sheet is left unchanged

    m_printer->accept = false;  // cancelled: nothing printed
    QTest::mouseClick(m_sheet->findChild<QToolButton *>(u"Command3"_qs), Qt::LeftButton);
    QCOMPARE(m_printer->dialogs, 2);
    QCOMPARE(m_printer->printed.size(), 1);
    QCOMPARE(listed().size(), 2);  // closing the dialog fills nothing again
}

// The real printing path, to a PDF file: one page holding the window's image.
void SheetWindowTest::printsToPdf()
{
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
    const QRegularExpression page(u"/Type\\s*/Page\\b"_qs);
    QCOMPARE(QString::fromLatin1(content).count(page), 1);
    QVERIFY(content.contains("/Subtype /Image"));
    QVERIFY(!PrinterDialog::printImage(printer, QImage()));  // nothing to print
}

void SheetWindowTest::openingState()
{
    QCOMPARE(m_sheet->objectName(), u"Form1"_qs);
    QCOMPARE(QApplication::focusWidget(), m_sheet->findChild<QComboBox *>(u"Combo1"_qs));
    QCOMPARE(m_sheet->size(), QSize(1018, 743));
    for (int number = firstBox; number <= lastBox; ++number) {
        QVERIFY2(box(number), qPrintable(QString::number(number)));
        QVERIFY(box(number)->text().isEmpty());
        // Result boxes are disabled, so the user can neither focus nor edit them.
        QCOMPARE(box(number)->isEnabled(), isInputBox(number));
    }
    QCOMPARE(m_sheet->findChildren<QLineEdit *>(QRegularExpression(u"^Text\\d+$"_qs)).size(), 58);
}

void SheetWindowTest::accessibleNames()
{
    const QStringList expected = {u"April subscription"_qs, u"April refund"_qs,
        u"April withdrawal"_qs, u"April progressive balance"_qs, u"March withdrawal"_qs,
        u"Opening balance"_qs, u"Rate of interest"_qs, u"Financial year"_qs, u"Year list"_qs,
        u"Summary opening balance"_qs, u"Subscription total"_qs, u"Refund total"_qs,
        u"Total credits"_qs, u"Interest"_qs, u"Debits"_qs, u"Closing balance"_qs, u"Calculate"_qs,
        u"Save"_qs, u"Clear"_qs, u"View/Print"_qs, u"Exit"_qs, u"Help"_qs, u"Credits line"_qs};
    QStringList names;
    const QList<QWidget *> widgets = m_sheet->findChildren<QWidget *>();
    for (QWidget *widget : widgets) {
        if (QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget))
            names << accessible->text(QAccessible::Name);
    }
    for (const QString &name : expected)
        QVERIFY2(names.count(name) == 1, qPrintable(name));
    for (int number = firstBox; number <= lastBox; ++number)
        QVERIFY(!box(number)->accessibleName().isEmpty());
    QCOMPARE(box(7)->accessibleName(), u"March withdrawal"_qs);
    QCOMPARE(box(58)->accessibleName(), u"March progressive balance"_qs);
}

void SheetWindowTest::tabOrder()
{
    QStringList expected {u"Combo1"_qs};
    for (const MonthRow &month : monthRows) {
        for (int number : {month.subscription, month.refund, month.withdrawal})
            expected << QStringLiteral("Text%1").arg(number);
    }
    expected << u"Command1"_qs << u"Text39"_qs << u"Command2"_qs << u"Command3"_qs << u"Command5"_qs
             << u"Combo1"_qs;

    QStringList forward {QApplication::focusWidget()->objectName()};
    for (int i = 1; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        forward << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(forward, expected);

    QStringList backward {QApplication::focusWidget()->objectName()};
    for (int i = 1; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        backward << QApplication::focusWidget()->objectName();
    }
    std::reverse(expected.begin(), expected.end());
    QCOMPARE(backward, expected);
}

void SheetWindowTest::calculateByAccessKey()
{
    type(Box::openingBalance, u"10000"_qs);
    box(Box::rate)->setText(u"8"_qs);  // the year choice would put it here
    for (const MonthRow &month : monthRows)
        type(month.subscription, u"1000"_qs);
    type(monthRows[2].refund, u"600"_qs);
    type(monthRows[6].withdrawal, u"5000"_qs);

    // An access key clicks its button after a short delay, as a mouse click would look.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_C, Qt::AltModifier);

    QTRY_COMPARE(box(monthRows[0].balance)->text(), u"11000"_qs);
    QCOMPARE(box(monthRows[11].balance)->text(), u"17600"_qs);
    QCOMPARE(box(Box::summaryOpening)->text(), u"10000"_qs);
    QCOMPARE(box(Box::subscriptionTotal)->text(), u"12000"_qs);
    QCOMPARE(box(Box::refundTotal)->text(), u"600"_qs);
    QCOMPARE(box(Box::totalCredits)->text(), u"12600"_qs);
    QCOMPARE(box(Box::interest)->text(), u"1160"_qs);
    QCOMPARE(box(Box::debits)->text(), u"5000"_qs);
    QCOMPARE(box(Box::closingBalance)->text(), u"18760"_qs);
    for (const MonthRow &month : monthRows)
        QVERIFY(!box(month.balance)->text().isEmpty());
    QVERIFY(m_messages->calls.isEmpty());
}

void SheetWindowTest::overflowKeepsEntries()
{
    type(Box::openingBalance, u"1.7E308"_qs);
    type(monthRows[2].subscription, u"1.7E308"_qs);
    QTest::mouseClick(m_sheet->findChild<QToolButton *>(u"Command1"_qs), Qt::LeftButton);

    QCOMPARE(m_messages->calls.size(), 1);
    QCOMPARE(m_messages->calls[0].style, int(MessageBox::Critical));
    QVERIFY(m_messages->calls[0].text.contains(u"June progressive balance"_qs));
    QVERIFY(m_sheet->isVisible());
    QCOMPARE(box(Box::openingBalance)->text(), u"1.7E308"_qs);
    QCOMPARE(box(monthRows[1].balance)->text(), u"1.7E+308"_qs);
    QVERIFY(box(monthRows[2].balance)->text().isEmpty());
    QVERIFY(box(Box::closingBalance)->text().isEmpty());
}

void SheetWindowTest::saveIsInert()
{
    auto *save = m_sheet->findChild<QToolButton *>(u"Command4"_qs);
    QVERIFY(!save->isEnabled());
    const SheetTexts before = m_sheet->readBoxes();
    QTest::mouseClick(save, Qt::LeftButton);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::AltModifier);
    QTest::qWait(150);
    QVERIFY(m_sheet->readBoxes() == before);
    QVERIFY(m_messages->calls.isEmpty());
}

void SheetWindowTest::clearEmptiesEverything()
{
    type(Box::openingBalance, u"500"_qs);
    type(monthRows[4].refund, u"20"_qs);
    box(Box::rate)->setText(u"8"_qs);
    box(Box::year)->setText(u"2003-2004"_qs);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_C, Qt::AltModifier);
    QTRY_COMPARE(box(Box::closingBalance)->text(), u"561"_qs);  // 500 + 20 + interest 41

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_L, Qt::AltModifier);
    QTRY_VERIFY(box(Box::year)->text().isEmpty());
    for (int number = firstBox; number <= lastBox; ++number)
        QVERIFY2(box(number)->text().isEmpty(), qPrintable(QString::number(number)));
    QCOMPARE(QApplication::focusWidget()->objectName(), u"Combo1"_qs);

    // Straight after a clear there is no rate, so no interest.
    type(Box::openingBalance, u"500"_qs);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_C, Qt::AltModifier);
    QTRY_COMPARE(box(Box::interest)->text(), u"0"_qs);
    QCOMPARE(box(Box::closingBalance)->text(), u"500"_qs);
}

void SheetWindowTest::titleFlash_data()
{
    QTest::addColumn<int>("ticks");
    QTest::addColumn<QString>("title");
    QTest::newRow("loaded") << 0 << "-";
    QTest::newRow("first tick empties it") << 1 << "";
    QTest::newRow("second tick") << 2 << "INSTANT ZEL CALCULATION";
    QTest::newRow("third tick") << 3 << "";
    QTest::newRow("fourth tick") << 4 << "INSTANT ZEL CALCULATION";
}

void SheetWindowTest::titleFlash()
{
    QFETCH(int, ticks);
    QFETCH(QString, title);
    stopTimers();
    for (int tick = 0; tick < ticks; ++tick)
        m_sheet->Timer1_Timer();
    QCOMPARE(m_sheet->windowTitle(), title);
}

void SheetWindowTest::timersRunWhileOpen()
{
    QTimer *flash = timer(u"Timer1"_qs);
    QTimer *steps = timer(u"Timer2"_qs);
    QVERIFY(flash->isActive());
    QCOMPARE(flash->interval(), 300);
    QVERIFY(steps->isActive());
    QCOMPARE(steps->interval(), 5);
    QCOMPARE(steps->timerType(), Qt::PreciseTimer);

    // The real ticks reach the handlers: the title empties, then fills; the credits line moves.
    const QString line = creditsLine()->text();
    QTRY_COMPARE_WITH_TIMEOUT(m_sheet->windowTitle(), QString(), 2000);
    QTRY_COMPARE_WITH_TIMEOUT(m_sheet->windowTitle(), u"INSTANT ZEL CALCULATION"_qs, 2000);
    QVERIFY(creditsLine()->text() != line);

    m_sheet->close();
    QVERIFY(!flash->isActive());
    QVERIFY(!steps->isActive());
}

void SheetWindowTest::creditsLineSlides()
{
    stopTimers();
    MarqueeLabel *label = creditsLine();
    const QString first = label->text();
    const qsizetype length = first.trimmed().size();
    QCOMPARE(first.size(), 142);
    QCOMPARE(first.indexOf(first.trimmed()), 0);  // before the first tick: at column 1
    QVERIFY(length > 0 && length <= 140);
    const QRect place = label->geometry();
    QCOMPARE(place.topLeft(), QPoint(24, 704));
    QCOMPARE(place.size(), label->sizeHint());
    QVERIFY(place.right() < m_sheet->width());

    // Where the red text starts in the painted label.
    const auto firstRedColumn = [label] {
        const QImage image = label->grab().toImage();
        for (int x = 0; x < image.width(); ++x) {
            for (int y = 0; y < image.height(); ++y) {
                const QColor pixel = image.pixelColor(x, y);
                if (pixel.red() > 200 && pixel.green() < 100 && pixel.blue() < 100)
                    return x / image.devicePixelRatio();
            }
        }
        return -1.0;
    };
    const qreal atColumn1 = firstRedColumn();
    QVERIFY(atColumn1 >= 0);

    m_sheet->Timer2_Timer();
    QCOMPARE(label->text().indexOf(first.trimmed()), 1);
    for (int tick = 0; tick < 40; ++tick)
        m_sheet->Timer2_Timer();
    const QString moved = label->text();
    QCOMPARE(moved.size(), 142);
    QCOMPARE(moved.indexOf(first.trimmed()), 41);  // column 42
    QCOMPARE(moved.trimmed(), first.trimmed());
    QCOMPARE(label->geometry(), place);  // sized once: every line is as wide

    // 41 columns are 41 blanks of the label's bold font.
    const qreal blank = QFontMetricsF(label->font()).horizontalAdvance(u' ');
    QVERIFY(blank > 1);
    QVERIFY(qAbs(firstRedColumn() - atColumn1 - 41 * blank) <= 2);
}

// Each tick moves the text, but the label is drawn no more than about 60 times a second.
void SheetWindowTest::repaintsAtScreenRate()
{
    struct PaintCounter : QObject
    {
        int paints = 0;
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() == QEvent::Paint)
                ++paints;
            return false;
        }
    } counter;
    QVERIFY(QTest::qWaitForWindowExposed(m_sheet.get()));
    QTest::qWait(50);
    creditsLine()->installEventFilter(&counter);
    QSignalSpy ticks(timer(u"Timer2"_qs), &QTimer::timeout);
    QElapsedTimer clock;
    clock.start();
    QTest::qWait(600);
    const qint64 elapsed = clock.elapsed();

    QVERIFY2(ticks.size() >= 30, qPrintable(QString::number(ticks.size())));
    QVERIFY(counter.paints >= 2);  // it does move on the screen
    QVERIFY2(counter.paints <= elapsed / 16 + 2,
        qPrintable(QStringLiteral("%1 paints in %2 ms for %3 ticks")
                       .arg(counter.paints)
                       .arg(elapsed)
                       .arg(ticks.size())));
    QVERIFY(counter.paints < ticks.size());
}

void SheetWindowTest::helpBox()
{
    stopTimers();
    type(Box::openingBalance, u"250"_qs);
    const SheetTexts before = m_sheet->readBoxes();
    const QString line = creditsLine()->text();

    QTest::mouseClick(m_sheet->findChild<QToolButton *>(u"Image1"_qs), Qt::LeftButton);

    QCOMPARE(m_messages->calls.size(), 1);
    const FakeMessageBox::Call &box = m_messages->calls[0];
    QCOMPARE(box.title, u"HELP"_qs);
    QCOMPARE(box.style, int(MessageBox::Plain));
    const QStringList lines = box.text.split(u"\r\n"_qs);
    QCOMPARE(lines.size(), 2);
    QVERIFY(lines[0].contains(u"ZEL Calculation"_qs) && lines[0].contains(u"2003"_qs));
    QVERIFY(lines[1].contains(u'@'));
    QCOMPARE(box.text.count(u'\n'), 1);  // the two are joined by one carriage return and line feed
    QCOMPARE(box.text.count(u'\r'), 1);

    QVERIFY(m_sheet->readBoxes() == before);
    QCOMPARE(m_sheet->windowTitle(), u"-"_qs);
    QCOMPARE(creditsLine()->text(), line);
    QCOMPARE(listed().size(), 2);
}

QTEST_MAIN(SheetWindowTest)
#include "sheetwindow_test.moc"
