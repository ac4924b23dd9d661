#include "fakemessagebox.h"
#include "mainwindow.h"
#include "programdirectory.h"
#include "programwindows.h"
#include "ratestore.h"
#include "ratetablefile.h"
#include "ratewindow.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QLocale>
#include <QPointer>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using Row = RateTableFile::Row;

namespace {

// Message boxes as title|text|style.
const QString askSave = u"Confirmation|Do you want to Save|36"_qs;
const QString saved = u"Save|One Record Applied and Saved|64"_qs;
const QString cancelled = u"Save|Process Cancelled|16"_qs;
const QString duplicate = u"Record Exist|Duplicate Value, Please Check! |16"_qs;
const QString fieldsEmpty = u"Warning!!!|Some fields are empty, check!!!|16"_qs;
const QString updated = u"Updated|Updated|64"_qs;

}  // namespace

class RateWindowTest : public QObject
{
    Q_OBJECT

private slots:
    // A comma locale must change no reading of a number.
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German)); }
    void init();
    void cleanup();
    void add_data();
    void add();
    void emptyTable();
    void edit();
    void chooseYear_data();
    void chooseYear();
    void refusedWrite_data();
    void refusedWrite();
    void throughTheMenu();
    void focusOrder_data();
    void focusOrder();

private:
    QLineEdit *box(int n) const { return m_form->findChild<QLineEdit *>(u"Text%1"_qs.arg(n)); }
    QPushButton *button(int n) const
    {
        return m_form->findChild<QPushButton *>(u"Command%1"_qs.arg(n));
    }
    QComboBox *editList() const { return m_form->findChild<QComboBox *>(u"Combo1"_qs); }
    void click(int n) const { QTest::mouseClick(button(n), Qt::LeftButton); }
    // The access key of a button clicks it a moment later, after showing it pressed.
    static void accessKey(Qt::Key key)
    {
        QTest::keyClick(QApplication::focusWidget(), key, Qt::AltModifier);
    }
    void type(const QString &typed) const  // year from|year to|rate
    {
        const QStringList texts = typed.split(u'|');
        for (int n = 1; n <= 3; ++n)
            QTest::keyClicks(box(n), texts[n - 1]);
    }
    QStringList texts() const { return {box(1)->text(), box(2)->text(), box(3)->text()}; }
    // Arrow keys choose as the mouse does: the first press chooses the first entry.
    void chooseEntry(int index) const
    {
        editList()->setFocus();
        for (int i = 0; i <= index; ++i)
            QTest::keyClick(editList(), Qt::Key_Down);
    }
    void retype(const QString &rate) const
    {
        box(3)->clear();
        QTest::keyClicks(box(3), rate);
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
    // The rows on disk: a number as its text, anything else in quotes, so that a number stored
    // as text shows.
    QStringList onDisk() const
    {
        QStringList rows;
        for (const Row &row : RateTableFile::rows(tablePath())) {
            QStringList values;
            for (const QVariant &value : row)
                values << (value.typeId() == QMetaType::Double ? value.toString()
                                                               : u'\'' + value.toString() + u'\'');
            rows << values.join(u' ');
        }
        return rows;
    }
    QString tablePath() const { return m_dir->filePath(u"zel.mdb"_qs); }
    void load(const QList<Row> &rows);

    const QStringList m_initialRows {u"2003 2004 9.5"_qs, u"2004 2005 8"_qs};
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<FakeMessageBox> m_messages;
    std::unique_ptr<RateWindow> m_window;
    QWidget *m_form = nullptr;  // the window the helpers work on
};

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
    m_form = m_window.get();
    QVERIFY(m_window->Form_Load());
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void RateWindowTest::add_data()
{
    QTest::addColumn<QString>("typed");  // year from|year to|rate
    QTest::addColumn<int>("answer");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QString>("added");  // the row added on disk, empty when none

    const int yes = MessageBox::Yes;
    const QStringList save {askSave, saved}, dup {duplicate}, empty {fieldsEmpty};
    QTest::newRow("new year") << "2005|2006|8" << yes << save << "2005 2006 8";
    QTest::newRow("answer No") << "2005|2006|8" << int(MessageBox::No)
                               << QStringList {askSave, cancelled} << "";
    QTest::newRow("duplicate") << "2004|2005|8" << yes << dup << "";
    QTest::newRow("duplicate with letters after") << "2004abc|1999|abc" << yes << dup << "";
    QTest::newRow("duplicate after a blank") << " 2004|2010|9.5%" << yes << dup << "";
    QTest::newRow("year that starts as one in the table")
        << "20040|20041|8" << yes << save << "20040 20041 8";
    QTest::newRow("percent sign after the rate")
        << "2005|2006|9.5%" << yes << save << "2005 2006 9.5";
    QTest::newRow("year to of letters") << "2005|abc|8" << yes << save << "2005 0 8";
    QTest::newRow("blanks are not empty") << "2005|  |8" << yes << save << "2005 0 8";
    QTest::newRow("empty year from") << "|2006|8" << yes << empty << "";
    QTest::newRow("empty year to") << "2005||8" << yes << empty << "";
    QTest::newRow("empty rate") << "2005|2006|" << yes << empty << "";
}

void RateWindowTest::add()
{
    QFETCH(QString, typed);
    QFETCH(int, answer);
    QFETCH(QStringList, messages);
    QFETCH(QString, added);

    type(typed);
    m_messages->answers = {answer};
    // The window opens with the focus on O.K, so that Enter presses it.
    QCOMPARE(focused(), u"Command1"_qs);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);

    QCOMPARE(shown(), messages);
    // Only the warning of an empty box keeps what was typed.
    QCOMPARE(texts(), messages == QStringList {fieldsEmpty} ? typed.split(u'|') : QStringList(3));
    QCOMPARE(focused(), u"Text1"_qs);
    QCOMPARE(onDisk(), added.isEmpty() ? m_initialRows : m_initialRows + QStringList {added});
}

// The first year goes into an empty table. Each check counts the rows as they are then: with the
// count of the opening, the second new year would be taken for a duplicate, and the first one
// saved again would not.
void RateWindowTest::emptyTable()
{
    load({});
    click(3);
    QCOMPARE(editList()->count(), 0);
    click(3);
    QVERIFY(m_messages->calls.isEmpty());

    load({});
    for (const char16_t *typed : {u"2003|2004|9.5", u"2004|2005|8", u"2003|2010|1"}) {
        type(QString::fromUtf16(typed));
        click(1);
    }
    QCOMPARE(shown(), (QStringList {askSave, saved, askSave, saved, duplicate}));
    QCOMPARE(onDisk(), m_initialRows);
}

// Change the rate of 2003; "&Update" with no year chosen does nothing, on the first entry into
// edit mode and on a later one, which must not keep the year chosen before.
void RateWindowTest::edit()
{
    QTest::keyClicks(box(1), u"2005"_qs);
    accessKey(Qt::Key_E);
    QTRY_COMPARE(button(3)->text(), u"&Update"_qs);
    click(3);
    QCOMPARE(button(3)->text(), u"&Update"_qs);

    chooseEntry(0);
    QCOMPARE(box(2)->text(), u"2004"_qs);
    QVERIFY(!box(2)->isEnabled());
    QCOMPARE(box(3)->text(), u"9.5"_qs);
    QCOMPARE(focused(), u"Text3"_qs);
    retype(u"10"_qs);
    accessKey(Qt::Key_U);
    QTRY_COMPARE(shown(), QStringList {updated});
    QCOMPARE(button(3)->text(), u"&Edit"_qs);
    QCOMPARE(texts(), (QStringList {u"2005"_qs, u""_qs, u""_qs}));  // year from kept
    QCOMPARE(focused(), u"Text1"_qs);
    QCOMPARE(onDisk(), (QStringList {u"2003 2004 10"_qs, u"2004 2005 8"_qs}));

    // Back in add mode, with O.K enabled and year to open for typing.
    type(u"|2006|7"_qs);
    accessKey(Qt::Key_O);
    QTRY_COMPARE(shown().size(), 3);
    click(3);
    QCOMPARE(editList()->count(), 3);
    QCOMPARE(editList()->currentIndex(), -1);
    click(3);
    QCOMPARE(shown(), (QStringList {updated, askSave, saved}));
    QCOMPARE(button(3)->text(), u"&Update"_qs);
    QCOMPARE(onDisk(), (QStringList {u"2003 2004 10"_qs, u"2004 2005 8"_qs, u"2005 2006 7"_qs}));
}

void RateWindowTest::chooseYear_data()
{
    QTest::addColumn<bool>("byMouse");   // else by typing
    QTest::addColumn<QString>("shown");  // year to|rate

    QTest::newRow("year of two rows by mouse: the last shows") << true << "2006|7.25";
    QTest::newRow("typing a year chooses nothing") << false << "|";
}

void RateWindowTest::chooseYear()
{
    QFETCH(bool, byMouse);
    QFETCH(QString, shown);

    QVERIFY(RateTableFile::append(tablePath(), {2003, 2006, 7.25}));
    click(3);
    if (byMouse) {
        editList()->showPopup();
        QAbstractItemView *list = editList()->view();
        QTRY_VERIFY(list->isVisible());
        const QRect item = list->visualRect(list->model()->index(0, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
        QTRY_VERIFY(!list->isVisible());
    } else {
        QTest::keyClicks(editList(), u"2003"_qs);
        QTest::keyClick(editList(), Qt::Key_Return);
        box(3)->setFocus();  // leaving the field chooses nothing either
    }
    QCOMPARE(texts().mid(1).join(u'|'), shown);
    QCOMPARE(box(2)->isEnabled(), !byMouse);
    QCOMPARE(focused(), u"Text3"_qs);
    QVERIFY(m_messages->calls.isEmpty());
    QCOMPARE(onDisk(), m_initialRows + QStringList {u"2003 2006 7.25"_qs});
}

void RateWindowTest::refusedWrite_data()
{
    QTest::addColumn<bool>("edit");  // change the rate of 2003, else add a new year
    QTest::addColumn<QString>("rate");
    QTest::addColumn<bool>("locked");
    QTest::addColumn<QString>("says");

    QTest::newRow("new year, file locked") << false << "8" << true << "not saved";
    QTest::newRow("changed rate, file locked") << true << "10" << true << "not changed";
    QTest::newRow("empty rate") << true << "" << false << "rate of interest";
    QTest::newRow("percent sign after the rate") << true << "9.5%" << false << "rate of interest";
}

// Nothing is written and nothing reported as saved; the window keeps its mode and the texts.
void RateWindowTest::refusedWrite()
{
    QFETCH(bool, edit);
    QFETCH(QString, rate);
    QFETCH(bool, locked);
    QFETCH(QString, says);

    if (edit) {
        click(3);
        chooseEntry(0);
        retype(rate);
    } else {
        type(u"2005|2006|"_qs + rate);
    }
    const QStringList typed = texts();
    // Another program holding the file's write lock lets the store read, but not write.
    QVERIFY(RateTableFile::withDatabase(tablePath(), [&](QSqlDatabase &db) {
        const bool held = !locked || QSqlQuery(db).exec(u"BEGIN IMMEDIATE"_qs);
        if (held)
            click(edit ? 3 : 1);
        return held;
    }));

    QCOMPARE(shown().size(), edit ? 1 : 2);  // after the question, if any, only the refusal
    const FakeMessageBox::Call &refusal = m_messages->calls.last();
    QCOMPARE(refusal.style, int(MessageBox::Critical));
    QVERIFY2(refusal.text.contains(says), qPrintable(refusal.text));
    QCOMPARE(texts(), typed);
    QCOMPARE(button(3)->text(), edit ? u"&Update"_qs : u"&Edit"_qs);
    QCOMPARE(onDisk(), m_initialRows);
}

// The sheet opened first goes on working through the store that the rate window's load put into
// the shared slot; a cancelled window opens anew; a table that cannot be opened keeps it shut.
void RateWindowTest::throughTheMenu()
{
    m_window.reset();
    ProgramWindows windows;
    MainWindow main(windows);
    main.show();
    QAction *sheetItem = main.findChild<QAction *>(u"mycolenform"_qs);
    QAction *rateItem = main.findChild<QAction *>(u"mycustdet"_qs);
    sheetItem->trigger();
    QWidget *sheet = windows.sheet().window();
    QVERIFY(QTest::qWaitForWindowActive(sheet));

    rateItem->trigger();
    QPointer<QWidget> first = m_form = windows.rateWindow().window();
    QVERIFY(QTest::qWaitForWindowActive(m_form));
    type(u"2005|2006|8"_qs);
    click(1);
    sheetItem->trigger();
    QVERIFY(QTest::qWaitForWindowActive(sheet));
    auto *sheetYears = sheet->findChild<QComboBox *>(u"Combo1"_qs);
    QCOMPARE(sheetYears->itemText(sheetYears->count() - 1), u"2005-2006"_qs);

    rateItem->trigger();
    QVERIFY(QTest::qWaitForWindowActive(m_form));
    QTest::keyClicks(box(1), u"2007"_qs);
    click(3);
    accessKey(Qt::Key_C);
    QTRY_VERIFY(first.isNull());
    rateItem->trigger();
    QPointer<QWidget> second = m_form = windows.rateWindow().window();
    QVERIFY(QTest::qWaitForWindowActive(m_form));
    QCOMPARE(button(3)->text(), u"&Edit"_qs);
    QCOMPARE(texts(), QStringList(3));
    QCOMPARE(editList()->count(), 0);
    QCOMPARE(focused(), u"Command1"_qs);
    QCOMPARE(shown(), (QStringList {askSave, saved}));
    QCOMPARE(onDisk(), m_initialRows + QStringList {u"2005 2006 8"_qs});

    m_form->close();
    QTRY_VERIFY(second.isNull());
    QVERIFY(QFile::remove(tablePath()));
    rateItem->trigger();
    QCOMPARE(windows.rateWindow().window(), nullptr);
    QCOMPARE(m_messages->calls.size(), 3);
    QCOMPARE(m_messages->calls.last().style, int(MessageBox::Critical));
    QVERIFY(m_messages->calls.last().text.contains(tablePath()));
    QVERIFY(!QFile::exists(tablePath()));  // nothing made in its place
}

void RateWindowTest::focusOrder_data()
{
    QTest::addColumn<int>("mode");  // 0 add mode, 1 edit mode, 2 edit mode with a year chosen
    QTest::addColumn<QString>("order");

    QTest::newRow("add mode") << 0 << "Command1 Command2 Text3 Text2 Text1 Command3 Command1";
    QTest::newRow("edit mode") << 1 << "Combo1 Command3 Command2 Text3 Text2 Combo1";
    QTest::newRow("year chosen: year to disabled") << 2 << "Text3 Combo1 Command3 Command2 Text3";
}

void RateWindowTest::focusOrder()
{
    QFETCH(int, mode);
    QFETCH(QString, order);

    if (mode >= 1)
        click(3);
    if (mode == 2)
        chooseEntry(0);
    QStringList visited {focused()};
    for (qsizetype i = order.count(u' '); i > 0; --i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << focused();
    }
    QCOMPARE(visited.join(u' '), order);
}

QTEST_MAIN(RateWindowTest)
#include "ratewindow_test.moc"
