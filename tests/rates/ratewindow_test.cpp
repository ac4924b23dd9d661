#include "datafile.h"
#include "testprogram.h"

#include <QLocale>

using namespace Qt::StringLiterals;

// Message boxes as title|text|kind; PATH stands for the table's path.
const QString ask = u"Confirmation|Do you want to Save|question"_s;
const QString saved = u"Save|One Record Applied and Saved|information"_s;
const QString duplicate = u"Record Exist|Duplicate Value, Please Check! |stop"_s;
const QString initialRows = u"2003 2004 9.5, 2004 2005 8"_s;

class RateWindowTest : public QObject
{
    Q_OBJECT

    std::optional<TestProgram> m;  // on a table of two years
    QPointer<QWidget> m_form;      // the window the helpers work on

    QLineEdit *box(int n) { return m_form->findChild<QLineEdit *>(u"Text%1"_s.arg(n)); }
    QPushButton *button(int n) { return m_form->findChild<QPushButton *>(u"Command%1"_s.arg(n)); }
    QComboBox *editList() { return m_form->findChild<QComboBox *>(u"Combo1"_s); }
    void click(int n) { QTest::mouseClick(button(n), Qt::LeftButton); }
    void okWith(const QString &typed)  // year from|year to|rate, then Enter on O.K
    {
        for (int n = 1; n <= 3; ++n)
            QTest::keyClicks(box(n), typed.section(u'|', n - 1, n - 1));
        QTest::keyClick(button(1), Qt::Key_Return);
    }
    static QString focused() { return qApp->focusWidget()->objectName(); }
    // The mode, the three texts and the focus.
    QString state()
    {
        return u"%1 %2|%3|%4 %5"_s.arg(
            button(3)->text(), box(1)->text(), box(2)->text(), box(3)->text(), focused());
    }
    // The focus, then where each Tab takes it.
    QString tabs()
    {
        QStringList visited {focused()};
        while (visited.size() < 7) {
            QTest::keyClick(qApp->focusWidget(), Qt::Key_Tab);
            visited << focused();
        }
        return visited.join(u' ');
    }
    // A freshly loaded window on the table, opened as the menu does.
    void open()
    {
        delete m_form;
        m_form = m->program.rateWindow().open();
        QVERIFY(m_form && QTest::qWaitForWindowActive(m_form));
    }

private slots:
    void init()
    {
        QLocale::setDefault(QLocale(QLocale::German));  // to change no reading of a number
        m.emplace();
        QVERIFY(m->ready);
        open();
    }

    void add_data()
    {
        for (const char *column : {"typed", "meanwhile", "messages", "added", "left"})
            QTest::addColumn<QString>(column);
        DataFile::addRows(u"new-years.tsv"_s);
    }
    void add()
    {
        QFETCH(QString, typed);
        QFETCH(QString, meanwhile);
        QFETCH(QString, messages);
        QFETCH(QString, added);
        QFETCH(QString, left);

        const QString table = m->table;
        const QString aside = m->folder.filePath(u"aside.mdb"_s);
        QVERIFY(meanwhile != u"moved away"_s || QFile::rename(table, aside));
        m->messages.onShow = [meanwhile, table](const QString &shown) {
            if (meanwhile == u"saved elsewhere"_s && shown == ask)
                RateTableFile::exec(table, {u"INSERT INTO zel VALUES (2006, 2007, 7.5)"_s});
        };
        if (meanwhile == u"locked"_s) {
            QVERIFY(RateTableFile::withDatabase(table, [&](QSqlDatabase &db) {
                const bool held = QSqlQuery(db).exec(u"BEGIN IMMEDIATE"_s);
                okWith(typed);
                return held;
            }));
        } else {
            okWith(typed);
        }
        if (meanwhile == u"locked"_s || meanwhile == u"moved away"_s) {
            QCOMPARE(state(), u"&Edit %1 Text1"_s.arg(typed));
            QVERIFY(!QFile::exists(aside) || QFile::rename(aside, table));
            click(1);
        }
        QCOMPARE(m->shown(), messages.split(u'\n'));
        QCOMPARE(state(), u"&Edit "_s + left);
        QCOMPARE(m->onDisk(), added.isEmpty() ? initialRows : initialRows + u", "_s + added);
    }

    // Each check counts the rows as they are then: with the count of the opening, the second new
    // year would be taken for a duplicate, and the first one saved again would not. A year
    // answered No is not saved, and each answer empties the boxes for the next year.
    void emptyTable()
    {
        QVERIFY(RateTableFile::exec(m->table, {u"DELETE FROM zel"_s}));
        click(3);
        QCOMPARE(editList()->count(), 0);
        open();
        m->messages.answers
            = {MessageBox::Answer::Yes, MessageBox::Answer::Ok, MessageBox::Answer::No};
        for (const QString &typed :
            {u"2003|2004|9.5"_s, u"2005|2006|1"_s, u"2004|2005|8"_s, u"2003|2010|1"_s})
            okWith(typed);
        QCOMPARE(m->shown(),
            (QStringList {
                ask, saved, ask, u"Save|Process Cancelled|stop"_s, ask, saved, duplicate}));
        QCOMPARE(m->onDisk(), initialRows);
    }

    // Tab goes round the window in a fixed order. A rate that is no number is refused and can be
    // put right. A later entry into edit mode lists each year once and keeps no year
    // chosen before, so that "&Update" does nothing.
    void edit()
    {
        QCOMPARE(tabs(), u"Command1 Command2 Text3 Text2 Text1 Command3 Command1"_s);
        QTest::keyClicks(box(1), u"2005"_s);
        QTest::keyClick(qApp->focusWidget(), Qt::Key_E, Qt::AltModifier);
        QTRY_COMPARE(button(3)->text(), u"&Update"_s);
        QCOMPARE(tabs(), u"Combo1 Command3 Command2 Text3 Text2 Combo1 Command3"_s);
        editList()->setFocus();
        QTest::keyClick(editList(), Qt::Key_Down);  // chooses as the mouse does
        QCOMPARE(state(), u"&Update 2005|2004|9.5 Text3"_s);
        QVERIFY(!box(2)->isEnabled());
        // Typing another year over the chosen one chooses nothing, even with Enter, so Update
        // writes nothing: 2003's values must never land on 2004's row.
        editList()->lineEdit()->selectAll();
        QTest::keyClicks(editList(), u"2004"_s);
        QTest::keyClick(editList(), Qt::Key_Return);
        click(3);
        QCOMPARE(m->onDisk(), initialRows);
        QCOMPARE(button(3)->text(), u"&Update"_s);
        editList()->setFocus();
        QTest::keyClick(editList(), Qt::Key_Up);
        QCOMPARE(state(), u"&Update 2005|2004|9.5 Text3"_s);
        box(3)->setText(u"9,5"_s);
        click(3);
        QCOMPARE(m->shown(),
            QStringList {u"Rate table|The rate of interest \"9,5\" is not a number.|stop"_s});
        QCOMPARE(state(), u"&Update 2005|2004|9,5 Text3"_s);
        QCOMPARE(m->onDisk(), initialRows);
        box(3)->setText(u"10 %"_s);
        QTest::keyClick(qApp->focusWidget(), Qt::Key_U, Qt::AltModifier);
        QTRY_COMPARE(state(), u"&Edit 2005|| Text1"_s);

        okWith(u"|2006|7"_s);  // O.K enabled and year to open for typing again
        click(3);
        QCOMPARE(editList()->count(), 3);
        QCOMPARE(editList()->currentIndex(), -1);
        click(3);
        QCOMPARE(state(), u"&Update || Command3"_s);
        QCOMPARE(m->shown().mid(1), (QStringList {u"Updated|Updated|information"_s, ask, saved}));
        QCOMPARE(m->onDisk(), u"2003 2004 10, 2004 2005 8, 2005 2006 7"_s);
    }

    // A table made elsewhere may repeat a year or leave a year to empty: each entry of the edit
    // list shows its own row, and "&Update" writes the rate typed to that row alone, its years
    // as they were.
    void editTableMadeElsewhere()
    {
        QVERIFY(RateTableFile::exec(m->table,
            {u"DELETE FROM zel"_s,
                u"INSERT INTO zel VALUES (2003, 2004, 9.5), (2003, 2010, 7), (2005, NULL, 8)"_s}));
        click(3);
        const auto choose = [this](int entry) {
            editList()->setFocus();
            editList()->setCurrentIndex(entry - 1);
            QTest::keyClick(editList(), Qt::Key_Down);
            return state();
        };
        QCOMPARE((QStringList {choose(0), choose(1), choose(2)}),
            (QStringList {
                u"&Update |2004|9.5 Text3"_s, u"&Update |2010|7 Text3"_s, u"&Update ||8 Text3"_s}));
        box(3)->setText(u"8.25"_s);
        click(3);
        click(3);
        choose(0);
        box(3)->setText(u"5"_s);
        click(3);
        QCOMPARE(m->shown(), QStringList(2, u"Updated|Updated|information"_s));
        QCOMPARE(m->onDisk(), u"2003 2004 5, 2003 2010 7, 2005 NULL 8.25"_s);
    }

    // The sheet opened first goes on working through the store that a later load of the rate
    // window put into the shared slot; a missing table keeps the rate window shut.
    void sheetOpenedFirst()
    {
        QWidget *sheet = m->program.sheet().open();
        QVERIFY(QTest::qWaitForWindowActive(sheet));
        open();
        okWith(u"2005|2006|8"_s);
        sheet->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(sheet));
        QVERIFY(sheet->findChild<QComboBox *>(u"Combo1"_s)->findText(u"2005-2006"_s) >= 0);

        delete m_form;
        QVERIFY(QFile::remove(m->table));
        QCOMPARE(m->program.rateWindow().open(), nullptr);
        QCOMPARE(m->shown().last(), u"Rate table|The rate table file PATH is missing.|stop"_s);
    }
};

QTEST_MAIN(RateWindowTest)
#include "ratewindow_test.moc"
