#include "mainwindow.h"
#include "programdirectory.h"
#include "programwindows.h"
#include "ratestore.h"
#include "ratetablefile.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrintDialog>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

// The whole program as a user meets it, on an empty rate table: real message boxes and the real
// printer dialog, answered as a user would, and the real event loop, which must end when the
// last window closes.
class WholeProgramTest : public QObject
{
    Q_OBJECT

private slots:
    void addYearsCalculatePrintAndQuit();
    void damagedTable_data();
    void damagedTable();

private:
    void answerDialogs();
    void scenario();
    void chooseFromMenu(const QString &menu, const QString &item);
    QWidget *window(const QString &name) const;
    void type(QWidget *window, const QString &box, const QString &text);
    void click(QWidget *window, const QString &button);

    MainWindow *m_main = nullptr;
    QString m_pdf;
    QStringList m_messages;
    bool m_printed = false;
};

void WholeProgramTest::answerDialogs()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (auto *box = qobject_cast<QMessageBox *>(modal)) {
        m_messages << box->text();
        QAbstractButton *yes = box->button(QMessageBox::Yes);
        (yes ? yes : box->button(QMessageBox::Ok))->click();
    } else if (auto *dialog = qobject_cast<QPrintDialog *>(modal)) {
        // The user chooses to print to a file and names it.
        if (auto *printers = dialog->findChild<QComboBox *>(u"printers"_qs)) {
            const int toFile = printers->count() - 1;  // the last entry prints to a PDF file
            printers->setCurrentIndex(toFile);
        }
        if (auto *fileName = dialog->findChild<QLineEdit *>(u"filename"_qs))
            fileName->setText(m_pdf);
        m_printed = true;
        dialog->accept();
    }
}

QWidget *WholeProgramTest::window(const QString &name) const
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == name && widget->isVisible())
            return widget;
    }
    return nullptr;
}

void WholeProgramTest::chooseFromMenu(const QString &menu, const QString &item)
{
    QMenuBar *bar = m_main->menuBar();
    auto *popup = m_main->findChild<QMenu *>(menu);
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(popup->menuAction()).center());
    QTRY_VERIFY(popup->isVisible());
    auto *action = m_main->findChild<QAction *>(item);
    QTest::mouseClick(popup, Qt::LeftButton, {}, popup->actionGeometry(action).center());
}

void WholeProgramTest::type(QWidget *window, const QString &box, const QString &text)
{
    auto *edit = window->findChild<QLineEdit *>(box);
    QVERIFY2(edit, qPrintable(box));
    QTest::mouseClick(edit, Qt::LeftButton);
    QTest::keyClicks(edit, text);
}

void WholeProgramTest::click(QWidget *window, const QString &button)
{
    auto *target = window->findChild<QAbstractButton *>(button);
    QVERIFY2(target, qPrintable(button));
    QTest::mouseClick(target, Qt::LeftButton);
}

void WholeProgramTest::scenario()
{
    chooseFromMenu(u"mymenu"_qs, u"mycustdet"_qs);
    QTRY_VERIFY(window(u"Form2"_qs));
    QWidget *rates = window(u"Form2"_qs);
    const QStringList years[]
        = {{u"2003"_qs, u"2004"_qs, u"9.5"_qs}, {u"2004"_qs, u"2005"_qs, u"8"_qs}};
    for (const QStringList &year : years) {
        type(rates, u"Text1"_qs, year[0]);
        type(rates, u"Text2"_qs, year[1]);
        type(rates, u"Text3"_qs, year[2]);
        click(rates, u"Command1"_qs);
    }
    QCOMPARE(m_messages,
        (QStringList {u"Do you want to Save"_qs, u"One Record Applied and Saved"_qs,
            u"Do you want to Save"_qs, u"One Record Applied and Saved"_qs}));
    click(rates, u"Command2"_qs);
    QTRY_VERIFY(!window(u"Form2"_qs));

    chooseFromMenu(u"mymenu"_qs, u"mycolenform"_qs);
    QTRY_VERIFY(window(u"Form1"_qs));
    QWidget *sheet = window(u"Form1"_qs);
    auto *yearList = sheet->findChild<QComboBox *>(u"Combo1"_qs);
    QTRY_COMPARE(yearList->count(), 2);
    QTest::mouseClick(yearList, Qt::LeftButton);
    QTest::keyClick(yearList, Qt::Key_Down);
    QTest::keyClick(yearList, Qt::Key_Down);
    type(sheet, u"Text39"_qs, u"10000"_qs);
    for (const char16_t *box : {u"Text1", u"Text8", u"Text11", u"Text14", u"Text17", u"Text20",
             u"Text23", u"Text26", u"Text29", u"Text32", u"Text35", u"Text5"})
        type(sheet, QString::fromUtf16(box), u"1000"_qs);
    type(sheet, u"Text12"_qs, u"600"_qs);
    type(sheet, u"Text25"_qs, u"5000"_qs);
    click(sheet, u"Command1"_qs);

    const QStringList expected = {u"11000"_qs, u"12000"_qs, u"13600"_qs, u"14600"_qs, u"15600"_qs,
        u"16600"_qs, u"12600"_qs, u"13600"_qs, u"14600"_qs, u"15600"_qs, u"16600"_qs, u"17600"_qs,
        u"12000"_qs, u"600"_qs, u"12600"_qs, u"10000"_qs, u"1160"_qs, u"5000"_qs, u"18760"_qs};
    QStringList results;
    for (int box : {47, 48, 49, 50, 51, 52, 53, 54, 55, 56, 57, 58, 40, 41, 42, 43, 44, 45, 46})
        results << sheet->findChild<QLineEdit *>(QStringLiteral("Text%1").arg(box))->text();
    QCOMPARE(results, expected);
    QCOMPARE(sheet->findChild<QLineEdit *>(u"Text38"_qs)->text(), u"2004-2005"_qs);

    click(sheet, u"Command3"_qs);
    QVERIFY(m_printed);
    QFile pdf(m_pdf);
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    QVERIFY(pdf.readAll().startsWith("%PDF"));

    click(sheet, u"Command5"_qs);
    QTRY_VERIFY(!window(u"Form1"_qs));
    chooseFromMenu(u"mymenu"_qs, u"myexit"_qs);
}

void WholeProgramTest::addYearsCalculatePrintAndQuit()
{
    QTemporaryDir dir;
    m_pdf = dir.filePath(u"sheet.pdf"_qs);
    const QString table = dir.filePath(u"zel.mdb"_qs);
    QCOMPARE(QProcess::execute(QStringLiteral(NEW_STORE_TOOL), {table}), 0);
    ProgramDirectory::override(dir.path());

    auto windows = std::make_unique<ProgramWindows>();
    m_main = new MainWindow(*windows);
    m_main->setAttribute(Qt::WA_DeleteOnClose);
    m_main->show();

    QTimer answerer;
    connect(&answerer, &QTimer::timeout, this, &WholeProgramTest::answerDialogs);
    answerer.start(20);
    QTimer failsafe;
    failsafe.setSingleShot(true);
    connect(&failsafe, &QTimer::timeout, this, [] { QCoreApplication::exit(1); });
    failsafe.start(60000);
    QTimer::singleShot(0, this, [this] {
        scenario();
        if (QTest::currentTestFailed()) {
            for (QWidget *widget : QApplication::topLevelWidgets())
                widget->close();
        }
    });

    QCOMPARE(QApplication::exec(), 0);  // the last window closed and the program ended
    answerer.stop();
    windows.reset();
    RateStore::releaseShared();
    ProgramDirectory::override({});

    const QList<RateTableFile::Row> rows = RateTableFile::rows(table);
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows[0], (RateTableFile::Row {2003.0, 2004.0, 9.5}));
    QCOMPARE(rows[1], (RateTableFile::Row {2004.0, 2005.0, 8.0}));
}

void WholeProgramTest::damagedTable_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("folder");
    QByteArray random(4096, Qt::Uninitialized);
    for (int i = 0; i < random.size(); ++i)
        random[i] = char((i * 7919) % 251);
    QTest::newRow("random bytes") << random << false;
    QTest::newRow("empty file") << QByteArray() << false;
    QTest::newRow("text file") << QByteArray("year,rate\n2003,9.5\n") << false;
    QTest::newRow("folder in its place") << QByteArray() << true;
}

// Neither window that needs the table opens; a message names the file; nothing else changes.
void WholeProgramTest::damagedTable()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, folder);
    QTemporaryDir dir;
    const QString table = dir.filePath(u"zel.mdb"_qs);
    if (folder) {
        QVERIFY(QDir(dir.path()).mkdir(u"zel.mdb"_qs));
    } else {
        QFile file(table);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    ProgramDirectory::override(dir.path());
    m_messages.clear();
    auto windows = std::make_unique<ProgramWindows>();
    MainWindow main(*windows);
    m_main = &main;
    main.show();
    QTimer answerer;
    connect(&answerer, &QTimer::timeout, this, &WholeProgramTest::answerDialogs);
    answerer.start(20);

    chooseFromMenu(u"mymenu"_qs, u"mycolenform"_qs);
    QTRY_COMPARE(m_messages.size(), 1);
    chooseFromMenu(u"mymenu"_qs, u"mycustdet"_qs);
    QTRY_COMPARE(m_messages.size(), 2);
    for (const QString &message : std::as_const(m_messages))
        QVERIFY2(message.contains(table), qPrintable(message));
    QVERIFY(!window(u"Form1"_qs) && !window(u"Form2"_qs));
    QVERIFY(main.isVisible());
    if (!folder) {
        QFile file(table);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), content);
    }
    answerer.stop();
    m_main = nullptr;
    ProgramDirectory::override({});
}

QTEST_MAIN(WholeProgramTest)
#include "wholeprogram_test.moc"
