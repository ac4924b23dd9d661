#include "fakemessagebox.h"
#include "formcontrols.h"
#include "mainwindow.h"
#include "programdirectory.h"
#include "programwindows.h"
#include "ratestore.h"
#include "ratetablefile.h"
#include "ratewindow.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <memory>

using Row = RateTableFile::Row;

namespace {

// A row as it is on disk: numbers as their text, a value that is not a number in quotes.
QString rowText(const Row &row)
{
    QStringList values;
    for (const QVariant &value : row) {
        if (value.isNull())
            values << u"null"_qs;
        else if (value.typeId() == QMetaType::Double)
            values << value.toString();
        else
            values << u'\'' + value.toString() + u'\'';
    }
    return values.join(u' ');
}

// A second connection that holds the file's write lock, as another program writing it would:
// the store can still read, but every write waits and then fails.
class WriteLock
{
public:
    explicit WriteLock(const QString &path)
        : m_name(RateTableFile::connectionName())
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_qs, m_name);
        db.setDatabaseName(path);
        m_held = db.open() && QSqlQuery(db).exec(u"BEGIN IMMEDIATE"_qs);
    }
    ~WriteLock() { release(); }
    bool held() const { return m_held; }
    void release()
    {
        if (m_name.isEmpty())
            return;
        {
            QSqlDatabase db = QSqlDatabase::database(m_name, false);
            QSqlQuery(db).exec(u"ROLLBACK"_qs);
            db.close();
        }
        QSqlDatabase::removeDatabase(m_name);
        m_name.clear();
    }

private:
    QString m_name;
    bool m_held = false;
};

}  // namespace

class RateWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void openingState();
    void controls_data();
    void controls();
    void addNewYear();
    void newYearListedOnSheet();
    void secondYearInSameOpening();
    void duplicateCheck_data();
    void duplicateCheck();
    void answerNo();
    void emptyBox_data();
    void emptyBox();
    void numberReadingOnAdd_data();
    void numberReadingOnAdd();
    void editYear();
    void chooseYear_data();
    void chooseYear();
    void typingChoosesNothing();
    void updateWithoutChoice();
    void editModeTwiceListsOnce();
    void refusedEditTexts_data();
    void refusedEditTexts();
    void failingAdd();
    void failingUpdate();
    void emptyTable();
    void loadFailure_data();
    void loadFailure();
    void menuOpensCancelClosesReopensInAddMode();
    void tabOrder_data();
    void tabOrder();
    void keyboard();

private:
    QLineEdit *box(int number) const
    {
        return m_window->findChild<QLineEdit *>(QStringLiteral("Text%1").arg(number));
    }
    QPushButton *button(int number) const
    {
        return m_window->findChild<QPushButton *>(QStringLiteral("Command%1").arg(number));
    }
    QComboBox *editList() const { return m_window->findChild<QComboBox *>(u"Combo1"_qs); }
    QStringList entries() const
    {
        QStringList texts;
        for (int i = 0; i < editList()->count(); ++i)
            texts << editList()->itemText(i);
        return texts;
    }
    void click(int number) const { QTest::mouseClick(button(number), Qt::LeftButton); }
    void typeYear(const QString &from, const QString &to, const QString &rate) const
    {
        QTest::keyClicks(box(1), from);
        QTest::keyClicks(box(2), to);
        QTest::keyClicks(box(3), rate);
    }
    // Arrow keys choose as the mouse does: the first press chooses the first entry.
    void chooseEntry(int index) const
    {
        editList()->setFocus();
        for (int i = 0; i <= index; ++i)
            QTest::keyClick(editList(), Qt::Key_Down);
    }
    void retypeRate(const QString &text) const
    {
        QTest::keyClick(box(3), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box(3), Qt::Key_Backspace);
        QTest::keyClicks(box(3), text);
    }
    QStringList shown() const
    {
        QStringList calls;
        for (const FakeMessageBox::Call &call : m_messages->calls)
            calls << call.title + u'|' + call.text + u'|' + QString::number(call.style);
        return calls;
    }
    static QString focused()
    {
        return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
    }
    QStringList onDisk() const
    {
        QStringList rows;
        for (const Row &row : RateTableFile::rows(tablePath()))
            rows << rowText(row);
        return rows;
    }
    QString tablePath() const { return m_dir->filePath(u"zel.mdb"_qs); }
    void load(const QList<Row> &rows);
    void verifyAddMode() const;

    const QStringList m_initialRows {u"2003 2004 9.5"_qs, u"2004 2005 8"_qs};
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<FakeMessageBox> m_messages;
    std::unique_ptr<RateWindow> m_window;
};

void RateWindowTest::initTestCase()
{
    QLocale::setDefault(QLocale(QLocale::German));  // a comma locale must not change any reading
}

void RateWindowTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    ProgramDirectory::override(m_dir->path());
    m_messages = std::make_unique<FakeMessageBox>();
    load({{2003, 2004, 9.5}, {2004, 2005, 8}});
}

void RateWindowTest::cleanup()
{
    m_window.reset();
    m_messages.reset();
    RateStore::releaseShared();
    ProgramDirectory::override({});
    m_dir.reset();
}

// A fresh table file with the rows, and a freshly loaded window on it, shown and active.
void RateWindowTest::load(const QList<Row> &rows)
{
    m_window.reset();
    QFile::remove(tablePath());
    QVERIFY(RateTableFile::create(tablePath(), rows));
    m_window = std::make_unique<RateWindow>();
    QVERIFY(m_window->Form_Load());
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void RateWindowTest::verifyAddMode() const
{
    QCOMPARE(button(3)->text(), u"&Edit"_qs);
    QVERIFY(button(1)->isEnabled());
    QVERIFY(box(1)->isVisible());
    QVERIFY(!editList()->isVisible());
    for (int number = 1; number <= 3; ++number)
        QVERIFY(box(number)->isEnabled());
}

void RateWindowTest::openingState()
{
    QCOMPARE(m_window->objectName(), u"Form2"_qs);
    QCOMPARE(m_window->windowTitle(), u"Addition of % New Fin Year"_qs);
    QVERIFY(!m_window->windowIcon().isNull());
    QCOMPARE(m_window->size(), QSize(378, 313));
    QCOMPARE(m_window->minimumSize(), m_window->maximumSize());
    QCOMPARE(m_window->palette().color(QPalette::Window), QColor(192, 192, 255));
    const QPoint middle = m_window->screen()->geometry().center();
    QVERIFY(qAbs(m_window->geometry().center().x() - middle.x()) <= 1);
    QVERIFY(qAbs(m_window->geometry().center().y() - middle.y()) <= 1);

    verifyAddMode();
    QCOMPARE(focused(), u"Command1"_qs);
    for (int number = 1; number <= 3; ++number)
        QVERIFY(box(number)->text().isEmpty());
    QCOMPARE(editList()->count(), 0);
    QVERIFY(editList()->isEditable());
    for (const char16_t *name : {u"Label1", u"Label2", u"Label3"}) {
        const QFont font = m_window->findChild<QLabel *>(QString::fromUtf16(name))->font();
        QVERIFY(font.bold());
        QCOMPARE(font.pointSizeF(), 9.75);
    }
}

void RateWindowTest::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("accessibleName");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<QRect>("twips");

    QTest::newRow("Label1") << u"Label1"_qs << u"Enter Financial Year From"_qs
                            << u"Enter Financial Year From"_qs << u""_qs
                            << QRect(720, 960, 1650, 435);
    QTest::newRow("Text1") << u"Text1"_qs << u""_qs << u"Year from"_qs << u"Ex : 2003"_qs
                           << QRect(2880, 960, 1815, 375);
    QTest::newRow("Combo1") << u"Combo1"_qs << u""_qs << u"Year from list"_qs << u""_qs
                            << QRect(2880, 960, 1815, 315);
    QTest::newRow("Label3") << u"Label3"_qs << u"Enter Financial Year To"_qs
                            << u"Enter Financial Year To"_qs << u""_qs
                            << QRect(720, 1650, 1650, 435);
    QTest::newRow("Text2") << u"Text2"_qs << u""_qs << u"Year to"_qs << u""_qs
                           << QRect(2880, 1680, 1815, 375);
    QTest::newRow("Label2") << u"Label2"_qs << u"Enter % of Interest"_qs
                            << u"Enter % of Interest"_qs << u""_qs << QRect(720, 2520, 1890, 240);
    QTest::newRow("Text3") << u"Text3"_qs << u""_qs << u"Rate of interest"_qs << u"Ex : 2004"_qs
                           << QRect(2880, 2400, 1815, 375);
    QTest::newRow("Command3") << u"Command3"_qs << u"&Edit"_qs << u"Edit"_qs << u""_qs
                              << QRect(1320, 3840, 855, 495);
    QTest::newRow("Command1") << u"Command1"_qs << u"&O.K"_qs << u"O.K"_qs << u""_qs
                              << QRect(2520, 3840, 855, 495);
    QTest::newRow("Command2") << u"Command2"_qs << u"&Cancel"_qs << u"Cancel"_qs << u""_qs
                              << QRect(3720, 3840, 855, 495);
}

void RateWindowTest::controls()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, accessibleName);
    QFETCH(QString, hint);
    QFETCH(QRect, twips);

    auto *control = m_window->findChild<QWidget *>(name);
    QVERIFY(control);
    QString text;
    if (auto *label = qobject_cast<QLabel *>(control))
        text = label->text();
    else if (auto *pushButton = qobject_cast<QPushButton *>(control))
        text = pushButton->text();
    QCOMPARE(text, caption);
    QCOMPARE(
        QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name), accessibleName);
    QCOMPARE(control->toolTip(), hint);
    QCOMPARE(control->geometry(),
        QRect(Form::pixels(twips.x()), Form::pixels(twips.y()), Form::pixels(twips.width()),
            Form::pixels(twips.height())));
}

void RateWindowTest::addNewYear()
{
    typeYear(u"2005"_qs, u"2006"_qs, u"8"_qs);
    m_messages->answers = {MessageBox::Yes};
    click(1);

    QCOMPARE(shown(),
        (QStringList {u"Confirmation|Do you want to Save|36"_qs,
            u"Save|One Record Applied and Saved|64"_qs}));
    for (int number = 1; number <= 3; ++number)
        QVERIFY(box(number)->text().isEmpty());
    QCOMPARE(focused(), u"Text1"_qs);
    QCOMPARE(onDisk(), m_initialRows + QStringList {u"2005 2006 8"_qs});
}

// Through the program's menu: the sheet opened first goes on working through the pair that the
// rate window's load put into the shared slots.
void RateWindowTest::newYearListedOnSheet()
{
    m_window.reset();
    ProgramWindows windows;
    MainWindow main(windows);
    main.show();
    main.findChild<QAction *>(u"mycolenform"_qs)->trigger();
    QWidget *sheet = windows.sheet().window();
    QVERIFY(QTest::qWaitForWindowActive(sheet));
    auto *sheetYears = sheet->findChild<QComboBox *>(u"Combo1"_qs);
    QCOMPARE(sheetYears->count(), 2);

    main.findChild<QAction *>(u"mycustdet"_qs)->trigger();
    QWidget *rates = windows.rateWindow().window();
    QVERIFY(QTest::qWaitForWindowActive(rates));
    QTest::keyClicks(rates->findChild<QLineEdit *>(u"Text1"_qs), u"2005"_qs);
    QTest::keyClicks(rates->findChild<QLineEdit *>(u"Text2"_qs), u"2006"_qs);
    QTest::keyClicks(rates->findChild<QLineEdit *>(u"Text3"_qs), u"8"_qs);
    QTest::mouseClick(rates->findChild<QPushButton *>(u"Command1"_qs), Qt::LeftButton);
    QCOMPARE(shown().last(), u"Save|One Record Applied and Saved|64"_qs);

    main.findChild<QAction *>(u"mycolenform"_qs)->trigger();
    QVERIFY(QTest::qWaitForWindowActive(sheet));
    QCOMPARE(sheetYears->count(), 5);
    QCOMPARE(sheetYears->itemText(4), u"2005-2006"_qs);
    QCOMPARE(onDisk(), m_initialRows + QStringList {u"2005 2006 8"_qs});
}

// Each check counts the rows as they are then: with the count of the opening, the second new
// year would be taken for a duplicate, and the first one saved again would not.
void RateWindowTest::secondYearInSameOpening()
{
    typeYear(u"2005"_qs, u"2006"_qs, u"8"_qs);
    click(1);
    typeYear(u"2006"_qs, u"2007"_qs, u"7.5"_qs);
    click(1);
    QCOMPARE(focused(), u"Text1"_qs);
    typeYear(u"2005"_qs, u"2010"_qs, u"1"_qs);
    click(1);

    QCOMPARE(shown(),
        (QStringList {u"Confirmation|Do you want to Save|36"_qs,
            u"Save|One Record Applied and Saved|64"_qs, u"Confirmation|Do you want to Save|36"_qs,
            u"Save|One Record Applied and Saved|64"_qs,
            u"Record Exist|Duplicate Value, Please Check! |16"_qs}));
    QCOMPARE(onDisk(), m_initialRows + (QStringList {u"2005 2006 8"_qs, u"2006 2007 7.5"_qs}));
}

void RateWindowTest::duplicateCheck_data()
{
    QTest::addColumn<QList<Row>>("extraRows");
    QTest::addColumn<QString>("yearFrom");
    QTest::addColumn<QString>("yearTo");
    QTest::addColumn<QString>("rate");
    QTest::addColumn<QString>("saved");  // the row added, or empty for a duplicate

    const QList<Row> none;
    const QList<Row> twice2004 {{2004, 2006, 7}};
    QTest::newRow("same year") << none << u"2004"_qs << u"2005"_qs << u"8"_qs << u""_qs;
    QTest::newRow("digits then letters")
        << none << u"2004abc"_qs << u"2005"_qs << u"8"_qs << u""_qs;
    QTest::newRow("leading blank") << none << u" 2004"_qs << u"2005"_qs << u"8"_qs << u""_qs;
    QTest::newRow("as a decimal") << none << u"2004.0"_qs << u"2005"_qs << u"8"_qs << u""_qs;
    QTest::newRow("other year to and rate")
        << none << u"2004"_qs << u"1999"_qs << u"abc"_qs << u""_qs;
    QTest::newRow("year held by two rows")
        << twice2004 << u"2004"_qs << u"2005"_qs << u"8"_qs << u""_qs;
    QTest::newRow("new year beside two rows of another")
        << twice2004 << u"2005"_qs << u"2006"_qs << u"8"_qs << u"2005 2006 8"_qs;
    QTest::newRow("longer number")
        << none << u"20040"_qs << u"20041"_qs << u"8"_qs << u"20040 20041 8"_qs;
    QTest::newRow("year before") << none << u"2002"_qs << u"2003"_qs << u"10"_qs
                                 << u"2002 2003 10"_qs;
    QTest::newRow("row without year from is no 0")
        << QList<Row> {{QVariant(), 2000, 5}} << u"0"_qs << u"1"_qs << u"2"_qs << u"0 1 2"_qs;
}

void RateWindowTest::duplicateCheck()
{
    QFETCH(QList<Row>, extraRows);
    QFETCH(QString, yearFrom);
    QFETCH(QString, yearTo);
    QFETCH(QString, rate);
    QFETCH(QString, saved);

    for (const Row &row : extraRows)
        QVERIFY(RateTableFile::append(tablePath(), row));
    const QStringList before = onDisk();
    typeYear(yearFrom, yearTo, rate);
    click(1);

    if (saved.isEmpty()) {
        QCOMPARE(shown(), QStringList {u"Record Exist|Duplicate Value, Please Check! |16"_qs});
        QCOMPARE(onDisk(), before);
    } else {
        QCOMPARE(shown(),
            (QStringList {u"Confirmation|Do you want to Save|36"_qs,
                u"Save|One Record Applied and Saved|64"_qs}));
        QCOMPARE(onDisk(), before + QStringList {saved});
    }
    for (int number = 1; number <= 3; ++number)
        QVERIFY(box(number)->text().isEmpty());
    QCOMPARE(focused(), u"Text1"_qs);
}

void RateWindowTest::answerNo()
{
    typeYear(u"2005"_qs, u"2006"_qs, u"8"_qs);
    m_messages->answers = {MessageBox::No};
    click(1);

    QCOMPARE(shown(),
        (QStringList {u"Confirmation|Do you want to Save|36"_qs, u"Save|Process Cancelled|16"_qs}));
    for (int number = 1; number <= 3; ++number)
        QVERIFY(box(number)->text().isEmpty());
    QCOMPARE(focused(), u"Text1"_qs);
    QCOMPARE(onDisk(), m_initialRows);
}

void RateWindowTest::emptyBox_data()
{
    QTest::addColumn<QString>("yearFrom");
    QTest::addColumn<QString>("yearTo");
    QTest::addColumn<QString>("rate");
    QTest::addColumn<bool>("warned");

    QTest::newRow("year from") << u""_qs << u"2006"_qs << u"8"_qs << true;
    QTest::newRow("year to") << u"2005"_qs << u""_qs << u"8"_qs << true;
    QTest::newRow("rate") << u"2005"_qs << u"2006"_qs << u""_qs << true;
    QTest::newRow("all three") << u""_qs << u""_qs << u""_qs << true;
    QTest::newRow("blanks are not empty") << u"2005"_qs << u" "_qs << u"8"_qs << false;
}

void RateWindowTest::emptyBox()
{
    QFETCH(QString, yearFrom);
    QFETCH(QString, yearTo);
    QFETCH(QString, rate);
    QFETCH(bool, warned);

    typeYear(yearFrom, yearTo, rate);
    m_messages->answers = {MessageBox::No};
    click(1);

    if (warned) {
        QCOMPARE(shown(), QStringList {u"Warning!!!|Some fields are empty, check!!!|16"_qs});
        QCOMPARE(box(1)->text(), yearFrom);
        QCOMPARE(box(2)->text(), yearTo);
        QCOMPARE(box(3)->text(), rate);
    } else {
        QCOMPARE(shown(),
            (QStringList {
                u"Confirmation|Do you want to Save|36"_qs, u"Save|Process Cancelled|16"_qs}));
    }
    QCOMPARE(focused(), u"Text1"_qs);
    QCOMPARE(onDisk(), m_initialRows);
}

void RateWindowTest::numberReadingOnAdd_data()
{
    QTest::addColumn<QString>("yearFrom");
    QTest::addColumn<QString>("yearTo");
    QTest::addColumn<QString>("rate");
    QTest::addColumn<QString>("saved");

    QTest::newRow("rate with percent sign")
        << u"2005"_qs << u"2006"_qs << u"9.5%"_qs << u"2005 2006 9.5"_qs;
    QTest::newRow("year to of letters") << u"2005"_qs << u"abc"_qs << u"8"_qs << u"2005 0 8"_qs;
    QTest::newRow("year to of blanks") << u"2005"_qs << u"  "_qs << u"8"_qs << u"2005 0 8"_qs;
    QTest::newRow("comma ends the rate")
        << u"2005"_qs << u"2006"_qs << u"9,5"_qs << u"2005 2006 9"_qs;
    QTest::newRow("blanks inside the year")
        << u" 2 0 0 5 "_qs << u"2006"_qs << u"8"_qs << u"2005 2006 8"_qs;
    QTest::newRow("rate too large for a number")
        << u"2005"_qs << u"2006"_qs << u"1E400"_qs << u"2005 2006 0"_qs;
}

void RateWindowTest::numberReadingOnAdd()
{
    QFETCH(QString, yearFrom);
    QFETCH(QString, yearTo);
    QFETCH(QString, rate);
    QFETCH(QString, saved);

    typeYear(yearFrom, yearTo, rate);
    click(1);
    QCOMPARE(shown().last(), u"Save|One Record Applied and Saved|64"_qs);
    QCOMPARE(onDisk(), m_initialRows + QStringList {saved});
}

void RateWindowTest::editYear()
{
    QTest::keyClicks(box(1), u"2010"_qs);
    box(2)->setText(u"2011"_qs);
    click(3);

    QCOMPARE(button(3)->text(), u"&Update"_qs);
    QCOMPARE(button(3)->accessibleName(), u"Update"_qs);
    QVERIFY(!button(1)->isEnabled());
    QVERIFY(!box(1)->isVisible());
    QVERIFY(editList()->isVisible());
    QCOMPARE(focused(), u"Combo1"_qs);
    QCOMPARE(entries(), (QStringList {u"2003"_qs, u"2004"_qs}));
    QCOMPARE(editList()->currentIndex(), -1);
    QVERIFY(box(2)->text().isEmpty());

    chooseEntry(0);
    QCOMPARE(box(2)->text(), u"2004"_qs);
    QVERIFY(!box(2)->isEnabled());
    QCOMPARE(box(3)->text(), u"9.5"_qs);
    QCOMPARE(focused(), u"Text3"_qs);

    retypeRate(u"10"_qs);
    click(3);
    QCOMPARE(shown(), QStringList {u"Updated|Updated|64"_qs});
    verifyAddMode();
    QCOMPARE(box(1)->text(), u"2010"_qs);  // the year from typed before stays
    QVERIFY(box(2)->text().isEmpty());
    QVERIFY(box(3)->text().isEmpty());
    QCOMPARE(focused(), u"Text1"_qs);
    QCOMPARE(onDisk(), (QStringList {u"2003 2004 10"_qs, u"2004 2005 8"_qs}));
}

void RateWindowTest::chooseYear_data()
{
    QTest::addColumn<QList<Row>>("extraRows");
    QTest::addColumn<int>("entry");
    QTest::addColumn<bool>("byMouse");
    QTest::addColumn<QString>("yearTo");
    QTest::addColumn<QString>("rate");

    const QList<Row> none;
    QTest::newRow("second year by keys") << none << 1 << false << u"2005"_qs << u"8"_qs;
    QTest::newRow("second year by mouse") << none << 1 << true << u"2005"_qs << u"8"_qs;
    QTest::newRow("same year twice: the last row shows")
        << QList<Row> {{2003, 2006, 7.25}} << 0 << false << u"2006"_qs << u"7.25"_qs;
    QTest::newRow("empty rate") << QList<Row> {{2007, 2008, QVariant()}} << 2 << true << u"2008"_qs
                                << u""_qs;
}

void RateWindowTest::chooseYear()
{
    QFETCH(QList<Row>, extraRows);
    QFETCH(int, entry);
    QFETCH(bool, byMouse);
    QFETCH(QString, yearTo);
    QFETCH(QString, rate);

    for (const Row &row : extraRows)
        QVERIFY(RateTableFile::append(tablePath(), row));
    click(3);
    if (byMouse) {
        editList()->showPopup();
        QAbstractItemView *list = editList()->view();
        QTRY_VERIFY(list->isVisible());
        const QRect item = list->visualRect(list->model()->index(entry, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
        QTRY_VERIFY(!list->isVisible());
    } else {
        chooseEntry(entry);
    }
    QCOMPARE(editList()->currentIndex(), entry);
    QCOMPARE(box(2)->text(), yearTo);
    QVERIFY(!box(2)->isEnabled());
    QCOMPARE(box(3)->text(), rate);
    QCOMPARE(focused(), u"Text3"_qs);
    QVERIFY(m_messages->calls.isEmpty());
}

void RateWindowTest::typingChoosesNothing()
{
    click(3);
    QTest::keyClicks(editList(), u"2003"_qs);
    QTest::keyClick(editList(), Qt::Key_Return);
    box(3)->setFocus();  // leaving the field chooses nothing either
    QVERIFY(box(2)->text().isEmpty());
    QVERIFY(box(2)->isEnabled());
    QVERIFY(box(3)->text().isEmpty());
}

void RateWindowTest::updateWithoutChoice()
{
    click(3);
    click(3);
    QVERIFY(m_messages->calls.isEmpty());
    QCOMPARE(button(3)->text(), u"&Update"_qs);
    QVERIFY(editList()->isVisible());
    QVERIFY(!button(1)->isEnabled());
    QCOMPARE(onDisk(), m_initialRows);
}

// The second entry lists every year once, the year saved in between among them, and leaves
// nothing chosen, so that "&Update" at once writes nothing over the year edited before.
void RateWindowTest::editModeTwiceListsOnce()
{
    click(3);
    chooseEntry(1);
    retypeRate(u"8.5"_qs);
    click(3);
    typeYear(u"2005"_qs, u"2006"_qs, u"7"_qs);
    click(1);
    m_messages->calls.clear();

    click(3);
    QCOMPARE(entries(), (QStringList {u"2003"_qs, u"2004"_qs, u"2005"_qs}));
    QCOMPARE(editList()->currentIndex(), -1);
    QVERIFY(editList()->currentText().isEmpty());
    click(3);
    QVERIFY(m_messages->calls.isEmpty());
    QCOMPARE(button(3)->text(), u"&Update"_qs);
    QCOMPARE(onDisk(), (QStringList {u"2003 2004 9.5"_qs, u"2004 2005 8.5"_qs, u"2005 2006 7"_qs}));
}

void RateWindowTest::refusedEditTexts_data()
{
    QTest::addColumn<QList<Row>>("extraRows");
    QTest::addColumn<int>("entry");
    QTest::addColumn<QString>("rate");
    QTest::addColumn<QString>("refusal");  // what the message names, or empty when stored
    QTest::addColumn<QString>("stored");

    const QList<Row> none;
    QTest::newRow("empty rate") << none << 0 << u""_qs << u"rate of interest"_qs << u""_qs;
    QTest::newRow("letters") << none << 0 << u"abc"_qs << u"rate of interest"_qs << u""_qs;
    QTest::newRow("percent sign") << none << 0 << u"9.5%"_qs << u"rate of interest"_qs << u""_qs;
    QTest::newRow("comma") << none << 0 << u"9,5"_qs << u"rate of interest"_qs << u""_qs;
    QTest::newRow("year without year to")
        << QList<Row> {{2007, QVariant(), 6}} << 2 << u"6.5"_qs << u"year to"_qs << u""_qs;
    QTest::newRow("blanks around a number")
        << none << 0 << u" 9.75 "_qs << u""_qs << u"2003 2004 9.75"_qs;
}

void RateWindowTest::refusedEditTexts()
{
    QFETCH(QList<Row>, extraRows);
    QFETCH(int, entry);
    QFETCH(QString, rate);
    QFETCH(QString, refusal);
    QFETCH(QString, stored);

    for (const Row &row : extraRows)
        QVERIFY(RateTableFile::append(tablePath(), row));
    const QStringList before = onDisk();
    click(3);
    chooseEntry(entry);
    const QString yearTo = box(2)->text();
    retypeRate(rate);
    click(3);

    if (refusal.isEmpty()) {
        QCOMPARE(shown(), QStringList {u"Updated|Updated|64"_qs});
        QCOMPARE(onDisk().first(), stored);
        return;
    }
    QCOMPARE(m_messages->calls.size(), 1);
    QCOMPARE(m_messages->calls[0].style, int(MessageBox::Critical));
    QVERIFY2(m_messages->calls[0].text.contains(refusal, Qt::CaseInsensitive),
        qPrintable(m_messages->calls[0].text));
    QVERIFY(m_messages->calls[0].text.contains(u"not a number"_qs));
    QCOMPARE(button(3)->text(), u"&Update"_qs);
    QCOMPARE(box(2)->text(), yearTo);
    QCOMPARE(box(3)->text(), rate);
    QCOMPARE(onDisk(), before);
}

void RateWindowTest::failingAdd()
{
    typeYear(u"2005"_qs, u"2006"_qs, u"8"_qs);
    WriteLock lock(tablePath());
    QVERIFY(lock.held());
    click(1);

    QCOMPARE(m_messages->calls.size(), 2);
    QCOMPARE(shown().first(), u"Confirmation|Do you want to Save|36"_qs);
    QCOMPARE(m_messages->calls[1].style, int(MessageBox::Critical));
    QVERIFY2(
        m_messages->calls[1].text.contains(u"not saved"_qs), qPrintable(m_messages->calls[1].text));
    QVERIFY(m_messages->calls[1].text.contains(tablePath()));
    QCOMPARE(box(1)->text(), u"2005"_qs);
    QCOMPARE(box(2)->text(), u"2006"_qs);
    QCOMPARE(box(3)->text(), u"8"_qs);
    lock.release();
    QCOMPARE(onDisk(), m_initialRows);

    // Once the file takes writes again, the same texts are saved.
    click(1);
    QCOMPARE(shown().last(), u"Save|One Record Applied and Saved|64"_qs);
    QCOMPARE(onDisk(), m_initialRows + QStringList {u"2005 2006 8"_qs});
}

void RateWindowTest::failingUpdate()
{
    click(3);
    chooseEntry(0);
    retypeRate(u"10"_qs);
    WriteLock lock(tablePath());
    QVERIFY(lock.held());
    click(3);

    QCOMPARE(m_messages->calls.size(), 1);
    QCOMPARE(m_messages->calls[0].style, int(MessageBox::Critical));
    QVERIFY2(m_messages->calls[0].text.contains(u"not changed"_qs),
        qPrintable(m_messages->calls[0].text));
    QCOMPARE(button(3)->text(), u"&Update"_qs);
    QCOMPARE(box(2)->text(), u"2004"_qs);
    QCOMPARE(box(3)->text(), u"10"_qs);
    lock.release();
    QCOMPARE(onDisk(), m_initialRows);

    click(3);
    QCOMPARE(shown().last(), u"Updated|Updated|64"_qs);
    QCOMPARE(onDisk(), (QStringList {u"2003 2004 10"_qs, u"2004 2005 8"_qs}));
}

void RateWindowTest::emptyTable()
{
    load({});
    click(3);
    QCOMPARE(editList()->count(), 0);
    click(3);
    QVERIFY(m_messages->calls.isEmpty());

    load({});
    typeYear(u"2003"_qs, u"2004"_qs, u"9.5"_qs);
    click(1);
    QCOMPARE(shown(),
        (QStringList {u"Confirmation|Do you want to Save|36"_qs,
            u"Save|One Record Applied and Saved|64"_qs}));
    QCOMPARE(onDisk(), QStringList {u"2003 2004 9.5"_qs});
}

void RateWindowTest::loadFailure_data()
{
    QTest::addColumn<QString>("content");  // what stands at the table's path
    QTest::newRow("missing file") << u""_qs;
    QTest::newRow("folder") << u"folder"_qs;
    QTest::newRow("file without the table") << u"empty file"_qs;
    QTest::newRow("table of two columns") << u"two columns"_qs;
}

void RateWindowTest::loadFailure()
{
    QFETCH(QString, content);

    m_window.reset();
    QVERIFY(QFile::remove(tablePath()));
    if (content == u"folder") {
        QVERIFY(QDir(m_dir->path()).mkdir(u"zel.mdb"_qs));
    } else if (content == u"empty file") {
        QFile file(tablePath());
        QVERIFY(file.open(QIODevice::WriteOnly));
    } else if (content == u"two columns") {
        QVERIFY(RateTableFile::withDatabase(tablePath(), [](QSqlDatabase &db) {
            return QSqlQuery(db).exec(u"CREATE TABLE zel (yearfrom REAL, rate REAL)"_qs);
        }));
    }

    RateWindow window;
    QVERIFY(!window.Form_Load());
    QCOMPARE(m_messages->calls.size(), 1);
    QCOMPARE(m_messages->calls[0].style, int(MessageBox::Critical));
    QVERIFY2(
        m_messages->calls[0].text.contains(tablePath()), qPrintable(m_messages->calls[0].text));
    QCOMPARE(QFile::exists(tablePath()), !content.isEmpty());  // nothing made in its place
}

void RateWindowTest::menuOpensCancelClosesReopensInAddMode()
{
    m_window.reset();
    ProgramWindows windows;
    MainWindow main(windows);
    main.show();
    QAction *addRate = main.findChild<QAction *>(u"mycustdet"_qs);

    addRate->trigger();
    QPointer<QWidget> first = windows.rateWindow().window();
    QVERIFY(QTest::qWaitForWindowActive(first));
    QTest::keyClicks(first->findChild<QLineEdit *>(u"Text1"_qs), u"2005"_qs);
    addRate->trigger();  // an open window only comes to the front, with its texts
    QCOMPARE(windows.rateWindow().window(), first.data());
    QCOMPARE(first->findChild<QLineEdit *>(u"Text1"_qs)->text(), u"2005"_qs);

    QTest::mouseClick(first->findChild<QPushButton *>(u"Command3"_qs), Qt::LeftButton);
    QTest::mouseClick(first->findChild<QPushButton *>(u"Command2"_qs), Qt::LeftButton);
    QTRY_VERIFY(first.isNull());
    QVERIFY(m_messages->calls.isEmpty());

    addRate->trigger();
    QWidget *second = windows.rateWindow().window();
    QVERIFY(QTest::qWaitForWindowActive(second));
    QCOMPARE(second->findChild<QPushButton *>(u"Command3"_qs)->text(), u"&Edit"_qs);
    QVERIFY(second->findChild<QLineEdit *>(u"Text1"_qs)->isVisible());
    QVERIFY(second->findChild<QLineEdit *>(u"Text1"_qs)->text().isEmpty());
    QVERIFY(!second->findChild<QComboBox *>(u"Combo1"_qs)->isVisible());
    QCOMPARE(second->findChild<QComboBox *>(u"Combo1"_qs)->count(), 0);
    QCOMPARE(focused(), u"Command1"_qs);

    // A table that cannot be opened keeps the window shut and the program running.
    QPointer<QWidget> closing = second;
    second->close();
    QTRY_VERIFY(closing.isNull());
    QVERIFY(QFile::remove(tablePath()));
    addRate->trigger();
    QCOMPARE(windows.rateWindow().window(), nullptr);
    QCOMPARE(m_messages->calls.size(), 1);
    QCOMPARE(m_messages->calls[0].style, int(MessageBox::Critical));
    QVERIFY(m_messages->calls[0].text.contains(tablePath()));
    QVERIFY(main.isVisible());
}

void RateWindowTest::tabOrder_data()
{
    QTest::addColumn<int>("mode");  // 0 add mode, 1 edit mode, 2 edit mode with a year chosen
    QTest::addColumn<QStringList>("order");

    QTest::newRow("add mode") << 0
                              << QStringList {u"Command1"_qs, u"Command2"_qs, u"Text3"_qs,
                                     u"Text2"_qs, u"Text1"_qs, u"Command3"_qs, u"Command1"_qs};
    QTest::newRow("edit mode") << 1
                               << QStringList {u"Combo1"_qs, u"Command3"_qs, u"Command2"_qs,
                                      u"Text3"_qs, u"Text2"_qs, u"Combo1"_qs};
    QTest::newRow("year chosen") << 2
                                 << QStringList {u"Text3"_qs, u"Combo1"_qs, u"Command3"_qs,
                                        u"Command2"_qs, u"Text3"_qs};
}

void RateWindowTest::tabOrder()
{
    QFETCH(int, mode);
    QFETCH(QStringList, order);

    if (mode >= 1)
        click(3);
    if (mode == 2)
        chooseEntry(0);

    QStringList forward {focused()};
    for (qsizetype i = 1; i < order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        forward << focused();
    }
    QCOMPARE(forward, order);

    QStringList backward {focused()};
    for (qsizetype i = 1; i < order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        backward << focused();
    }
    std::reverse(order.begin(), order.end());
    QCOMPARE(backward, order);
}

// Enter clicks the button with the focus, as O.K has it when the window opens; each access key
// clicks its button.
void RateWindowTest::keyboard()
{
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(shown(), QStringList {u"Warning!!!|Some fields are empty, check!!!|16"_qs});
    QCOMPARE(focused(), u"Text1"_qs);

    typeYear(u"2005"_qs, u"2006"_qs, u"8"_qs);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_O, Qt::AltModifier);
    QTRY_COMPARE(shown().last(), u"Save|One Record Applied and Saved|64"_qs);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_E, Qt::AltModifier);
    QTRY_COMPARE(button(3)->text(), u"&Update"_qs);
    chooseEntry(2);
    retypeRate(u"7"_qs);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_U, Qt::AltModifier);
    QTRY_COMPARE(shown().last(), u"Updated|Updated|64"_qs);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_C, Qt::AltModifier);
    QTRY_VERIFY(!m_window->isVisible());
    QCOMPARE(onDisk(), m_initialRows + QStringList {u"2005 2006 7"_qs});
}

QTEST_MAIN(RateWindowTest)
#include "ratewindow_test.moc"
