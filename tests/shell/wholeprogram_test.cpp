#include "mainwindow.h"
#include "program.h"
#include "programfolder.h"
#include "ratetablefile.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrintDialog>
#include <QProcess>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <memory>

// The whole program as a user meets it: real message boxes and the real printer dialog, answered
// as a user would, and the real event loop, which must end when the last window closes.
class WholeProgramTest : public QObject
{
    Q_OBJECT

    ProgramFolder m_folder {std::nullopt};  // the table is made by the build's own tool
    std::unique_ptr<Program> m_program;
    std::unique_ptr<MainWindow> m_main;
    QTimer m_answerer;
    QStringList m_messages;

    QString path(const QString &name) const { return m_folder.path(name); }

    void answerDialogs()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            m_messages << box->text();
            QAbstractButton *yes = box->button(QMessageBox::Yes);
            (yes ? yes : box->button(QMessageBox::Ok))->click();
        } else if (auto *dialog = qobject_cast<QPrintDialog *>(modal)) {
            // The last printer entry prints to a PDF file, named in the file name box.
            if (auto *printers = dialog->findChild<QComboBox *>(u"printers"_qs))
                printers->setCurrentIndex(printers->count() - 1);
            if (auto *fileName = dialog->findChild<QLineEdit *>(u"filename"_qs))
                fileName->setText(path(u"sheet.pdf"_qs));
            dialog->accept();
        }
    }

    void chooseFromMenu(const QString &item)
    {
        QMenuBar *bar = m_main->menuBar();
        auto *popup = m_main->findChild<QMenu *>(u"mymenu"_qs);
        QTest::mouseClick(
            bar, Qt::LeftButton, {}, bar->actionGeometry(popup->menuAction()).center());
        QTRY_VERIFY(popup->isVisible());
        auto *action = m_main->findChild<QAction *>(item);
        QTest::mouseClick(popup, Qt::LeftButton, {}, popup->actionGeometry(action).center());
    }
    static void click(QWidget *window, const QString &name)
    {
        QTest::mouseClick(window->findChild<QWidget *>(name), Qt::LeftButton);
    }
    // Clicks into each box and types its text, or clicks a button, from entries such as
    // "Text1=2003 Text2=2004 Command1".
    static void fill(QWidget *window, const QString &entries)
    {
        for (const QString &entry : entries.split(u' ')) {
            const QStringList boxAndText = entry.split(u'=');
            click(window, boxAndText[0]);
            QTest::keyClicks(window->findChild<QWidget *>(boxAndText[0]), boxAndText.value(1));
        }
    }

    // Adds two years, calculates the worked example at the second year's rate, prints and quits.
    void scenario()
    {
        chooseFromMenu(u"mycustdet"_qs);
        QWidget *rates = m_program->rateWindow().window();
        QVERIFY(rates);
        fill(rates,
            u"Text1=2003 Text2=2004 Text3=9.5 Command1 Text1=2004 Text2=2005 Text3=8 Command1"_qs);
        QCOMPARE(m_messages.join(u'|'),
            u"Do you want to Save|One Record Applied and Saved|"
            u"Do you want to Save|One Record Applied and Saved"_qs);
        click(rates, u"Command2"_qs);
        QTRY_VERIFY(!m_program->rateWindow().window());

        chooseFromMenu(u"mycolenform"_qs);
        QWidget *sheet = m_program->sheet().window();
        QVERIFY(sheet);
        auto *yearList = sheet->findChild<QComboBox *>(u"Combo1"_qs);
        QTRY_COMPARE(yearList->count(), 2);
        QTest::mouseClick(yearList, Qt::LeftButton);
        QTest::keyClick(yearList, Qt::Key_Down);
        QTest::keyClick(yearList, Qt::Key_Down);
        fill(sheet,
            u"Text39=10000 Text1=1000 Text8=1000 Text11=1000 Text14=1000 Text17=1000 Text20=1000 "
            u"Text23=1000 Text26=1000 Text29=1000 Text32=1000 Text35=1000 Text5=1000 Text12=600 "
            u"Text25=5000"_qs);
        click(sheet, u"Command1"_qs);
        QStringList results;
        for (int box : {38, 44, 46})  // the year, the interest and the closing balance
            results << sheet->findChild<QLineEdit *>(u"Text%1"_qs.arg(box))->text();
        QCOMPARE(results.join(u' '), u"2004-2005 1160 18760"_qs);

        click(sheet, u"Command3"_qs);
        QFile pdf(path(u"sheet.pdf"_qs));
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY(pdf.readAll().startsWith("%PDF"));
        // "&Exit" closes the main window only; the program goes on until the sheet closes too.
        chooseFromMenu(u"myexit"_qs);
        QTRY_VERIFY(!m_main->isVisible());
        QVERIFY(sheet->isVisible());
        click(sheet, u"Command5"_qs);
    }

public:
    WholeProgramTest() { m_answerer.callOnTimeout(this, &WholeProgramTest::answerDialogs); }

private slots:
    // The program in a directory of its own on an empty table, with
    // a user who answers every dialog: Yes or OK to a message, and printing to the PDF file
    // sheet.pdf. The table holds the two years at the end.
    void addYearsCalculatePrintAndQuit()
    {
        QVERIFY(m_folder.ready());
        const QString table = path(u"zel.mdb"_qs);
        QCOMPARE(QProcess::execute(QStringLiteral(NEW_STORE_TOOL), {table}), 0);
        m_program = std::make_unique<Program>(m_folder.path());
        m_main = std::make_unique<MainWindow>(*m_program);
        m_main->show();
        m_answerer.start(20);
        QObject failsafe;
        QTimer::singleShot(60000, &failsafe, [] { QCoreApplication::exit(1); });
        QTimer::singleShot(0, this, [this] {
            scenario();
            if (QTest::currentTestFailed())
                std::ranges::for_each(QApplication::topLevelWidgets(), &QWidget::close);
        });
        QCOMPARE(QApplication::exec(), 0);  // the last window closed and the program ended
        QCOMPARE(RateTableFile::rows(table),
            (QList<RateTableFile::Row> {{2003.0, 2004.0, 9.5}, {2004.0, 2005.0, 8.0}}));
    }
};

QTEST_MAIN(WholeProgramTest)
#include "wholeprogram_test.moc"
