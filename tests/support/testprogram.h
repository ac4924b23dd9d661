#pragma once

#include "program.h"
#include "ratetablefile.h"

// What the window tests use besides.
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
#include <functional>
#include <optional>
#include <utility>

// Records every message box a window shows, as "title|text|kind" with the kind plain, stop,
// question or information, and answers from a script (OK, or Yes to a question, when the
// script is empty).
class FakeMessageBox : public MessageBox
{
public:
    Answer show(
        QWidget *, const QString &text, const QString &title, Icon icon, Buttons buttons) override
    {
        const char16_t *kinds[] = {u"plain", u"stop", u"question", u"information"};
        shown << title + u'|' + text + u'|' + QString::fromUtf16(kinds[int(icon)]);
        if (onShow)
            onShow();
        if (!answers.isEmpty())
            return answers.takeFirst();
        return buttons == Buttons::YesNo ? Answer::Yes : Answer::Ok;
    }

    QStringList shown;
    QList<Answer> answers;
    std::function<void()> onShow;  // runs while the box would be open
};

// Records each window it prints with the document's name, and answers the dialog as scripted.
class FakePrinterDialog : public PrinterDialog
{
public:
    Printout print(QWidget *window, const QString &documentName) override
    {
        if (outcome == Printed)
            printed.append({window, documentName});
        return {outcome,
            outcome == Failed ? QStringLiteral("the printer did not take the page") : QString()};
    }

    Outcome outcome = Printed;  // Cancelled by the user, or Failed when the printer refuses
    QList<std::pair<QWidget *, QString>> printed;
};

// The program in a temporary folder of its own, on a rate table of two years, with its message
// boxes and printing recorded.
struct TestProgram
{
    QTemporaryDir folder;  // in place of the program's own
    QString table = folder.filePath(QStringLiteral("zel.mdb"));
    bool ready = RateTableFile::exec(table,
        {QStringLiteral("CREATE TABLE zel (%1)").arg(RateTableFile::columns),
            QStringLiteral("INSERT INTO zel VALUES (2003, 2004, 9.5), (2004, 2005, 8)")});
    FakeMessageBox messages;
    FakePrinterDialog printer;
    Program program {folder.path(), messages, printer};
};
