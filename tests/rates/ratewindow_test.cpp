#include "datafile.h"
#include "testprogram.h"

#include <QLocale>

using namespace Qt::StringLiterals;

class RateWindowTest : public QObject
{
    Q_OBJECT

    std::optional<TestProgram> m;  // on a table of two years
    QPointer<QWidget> m_form;      // the rate window, opened as the menu does

    QLineEdit *box(int n) { return m_form->findChild<QLineEdit *>(u"Text%1"_s.arg(n)); }
    QPushButton *button(int n) { return m_form->findChild<QPushButton *>(u"Command%1"_s.arg(n)); }
    QComboBox *editList() { return m_form->findChild<QComboBox *>(u"Combo1"_s); }
    void okWith(const QString &typed)  // year from|year to|rate, then Enter on O.K
    {
        for (int n = 1; n <= 3; ++n)
            QTest::keyClicks(box(n), typed.section(u'|', n - 1, n - 1));
        QTest::keyClick(button(1), Qt::Key_Return);
    }
    // Command3's caption, the three texts, the focus, and in edit mode the edit list's entries.
    QString state()
    {
        QStringList entries;
        for (int entry = 0; entry < editList()->count(); ++entry)
            entries << editList()->itemText(entry);
        return u"%1 %2|%3|%4 %5"_s.arg(button(3)->text(), box(1)->text(), box(2)->text(),
                   box(3)->text(), qApp->focusWidget()->objectName())
            + (editList()->isVisible() ? u" ("_s + entries.join(u' ') + u')' : QString());
    }
    void open()
    {
        delete m_form;
        m_form = m->program.rateWindow().open();
        QVERIFY(m_form && QTest::qWaitForWindowActive(m_form));
    }

    // Runs the steps as a user and the world around the program would, noting the state at each
    // "state" step. "ok TEXTS" types year from|year to|rate and presses Enter on O.K, and
    // "locked TEXTS" does so while another program holds the write lock; "type N TEXT" and
    // "set N TEXT" type into TextN or replace its text; "click N" clicks CommandN; "alt K"
    // presses an access key; "choose I" chooses the edit list's entry I with the arrow key, and
    // "pick TEXT" types it over the list's text and presses Enter; "answer No" answers the next
    // message No; "reopen" loads the window anew; "sql STATEMENT" changes the table from another
    // connection, and "on-ask STATEMENT" does so while the next question is open; "move" and
    // "restore" take the file away and put it back.
    void run(const QString &steps, QStringList &states)
    {
        const QString aside = m->folder.filePath(u"aside.mdb"_s);
        for (const QString &step : steps.split(u"; "_s)) {
            const QString verb = step.section(u' ', 0, 0), text = step.section(u' ', 1);
            QLineEdit *named = verb.size() == 3 ? box(text.left(1).toInt()) : nullptr;
            if (verb == u"state")
                states << state();
            else if (verb == u"ok")
                okWith(text);
            else if (verb == u"locked")
                QVERIFY(RateTableFile::withDatabase(m->table, [&](QSqlDatabase &db) {
                    const bool held = QSqlQuery(db).exec(u"BEGIN IMMEDIATE"_s);
                    okWith(text);
                    return held;
                }));
            else if (verb == u"type")
                QTest::keyClicks(box(text.left(1).toInt()), text.mid(2));
            else if (named && verb == u"set")
                named->setText(text.mid(2));
            else if (verb == u"click")
                QTest::mouseClick(button(text.toInt()), Qt::LeftButton);
            else if (verb == u"alt") {
                QTest::keyClick(qApp->focusWidget(), Qt::Key(text[0].unicode()), Qt::AltModifier);
                QTest::qWait(300);  // the button shows itself pressed, then clicks
            } else if (verb == u"choose") {
                editList()->setFocus();
                editList()->setCurrentIndex(text.toInt() - 1);
                QTest::keyClick(editList(), Qt::Key_Down);
            } else if (verb == u"pick") {
                editList()->lineEdit()->selectAll();
                QTest::keyClicks(editList(), text);
                QTest::keyClick(editList(), Qt::Key_Return);
            } else if (verb == u"answer")
                m->messages.answers << MessageBox::Answer::No;
            else if (verb == u"reopen")
                open();
            else if (verb == u"sql")
                QVERIFY(RateTableFile::exec(m->table, {text}));
            else if (verb == u"on-ask")
                m->messages.onShow = [this, text](const QString &) {
                    RateTableFile::exec(m->table, {text});
                    m->messages.onShow = {};
                };
            else
                QVERIFY(QFile::rename(
                    verb == u"move" ? m->table : aside, verb == u"move" ? aside : m->table));
        }
    }

private slots:
    void init()
    {
        QLocale::setDefault(QLocale(QLocale::German));  // to change no reading of a number
        m.emplace();
        QVERIFY(m->ready);
        open();
    }

    void scenario_data()
    {
        DataFile::addRows(u"rate-window.tsv"_s, {"steps", "messages", "rows", "states"});
    }

    void scenario()
    {
        QFETCH(QString, steps);
        QFETCH(QString, messages);
        QFETCH(QString, rows);
        QFETCH(QString, states);
        QStringList shown;
        run(steps, shown);
        QCOMPARE(shown.join(u", "_s), states);
        QCOMPARE(m->shown(), messages.split(u'\n'));
        QCOMPARE(m->onDisk(), rows);
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
