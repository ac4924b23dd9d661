#pragma once

#include "fakemessagebox.h"
#include "fakeprinterdialog.h"
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
    QString onDisk() const { return RateTableFile::text(table); }

    QTemporaryDir folder;  // in place of the program's own
    QString table = folder.filePath(QStringLiteral("zel.mdb"));
    bool ready = RateTableFile::exec(table,
        {QStringLiteral("CREATE TABLE zel (%1)").arg(RateTableFile::columns),
            QStringLiteral("INSERT INTO zel VALUES (2003, 2004, 9.5), (2004, 2005, 8)")});
    FakeMessageBox messages;
    FakePrinterDialog printer;
    Program program {folder.path(), messages, printer};
};
