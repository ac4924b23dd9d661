#pragma once

#include "fakemessagebox.h"
#include "fakeprinterdialog.h"
#include "program.h"
#include "ratetablefile.h"

// What the window tests use besides.
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <optional>

// The program in a temporary folder of its own, on a rate table of two years, with its message
// boxes and printing recorded.
struct TestProgram
{
    // The message boxes shown so far, with the table's path written as PATH.
    QStringList shown() const
    {
        return QStringList(messages.shown).replaceInStrings(table, QStringLiteral("PATH"));
    }
    QString onDisk() const { return RateTableFile::text(RateTableFile::rows(table)); }

    QTemporaryDir folder;  // in place of the program's own
    QString table = folder.filePath(QStringLiteral("zel.mdb"));
    bool ready = RateTableFile::create(table, {{2003, 2004, 9.5}, {2004, 2005, 8}});
    FakeMessageBox messages;
    FakePrinterDialog printer;
    Program program {folder.path(), messages, printer};
};

// What a user does in a window and reads from it, finding its controls by their names.
namespace User {

inline QLineEdit *box(const QWidget *window, int number)
{
    return window->findChild<QLineEdit *>(QStringLiteral("Text%1").arg(number));
}

// Clicks into each control and types its text, or clicks a button, from entries such as
// "Text1=2003 Text2=2004 Command1".
inline void fill(QWidget *window, const QString &entries)
{
    for (const QString &entry : entries.split(u' ')) {
        auto *control = window->findChild<QWidget *>(entry.section(u'=', 0, 0));
        QTest::mouseClick(control, Qt::LeftButton);
        QTest::keyClicks(control, entry.section(u'=', 1));
    }
}

// The texts of the numbered boxes, joined by '|'.
inline QString texts(const QWidget *window, const QList<int> &numbers)
{
    QStringList shown;
    for (int number : numbers)
        shown << box(window, number)->text();
    return shown.join(u'|');
}

// What a screen reader says a control is.
inline QString spoken(QWidget *control)
{
    return QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name);
}

}  // namespace User
