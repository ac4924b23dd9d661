#pragma once

#include <QFile>
#include <QStringList>
#include <QTest>

#include <initializer_list>

// Cases that differ only in their data live in a text file beside the test: one case a line, its
// name and then its fields separated by tabs; a line starting with '#' is a comment. Within a
// field \t, \n, \r and \\ stand for a tab, a line feed, a carriage return and a backslash.
namespace DataFile {

inline QString unescaped(const QString &field)
{
    QString text;
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] != u'\\' || i + 1 == field.size()) {
            text += field[i];
            continue;
        }
        const QChar next = field[++i];
        text += next == u't' ? u'\t' : next == u'n' ? u'\n' : next == u'r' ? u'\r' : next;
    }
    return text;
}

// Adds a row to the current _data() table for each case of the file in the test's source folder;
// the columns, all of type QString, must have been added before.
inline void addRows(const QString &fileName)
{
    QFile file(QString::fromUtf8(QT_TESTCASE_SOURCEDIR) + u'/' + fileName);
    QVERIFY2(file.open(QIODevice::ReadOnly | QIODevice::Text), qPrintable(file.fileName()));
    while (!file.atEnd()) {
        QString line = QString::fromUtf8(file.readLine());
        if (line.endsWith(u'\n'))
            line.chop(1);
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const QStringList fields = line.split(u'\t');
        QTestData &row = QTest::newRow(qPrintable(fields[0]));
        for (const QString &field : fields.sliced(1))
            row << unescaped(field);
    }
}

// The same, after adding the columns named, all of type QString.
inline void addRows(const QString &fileName, std::initializer_list<const char *> columns)
{
    for (const char *column : columns)
        QTest::addColumn<QString>(column);
    addRows(fileName);
}

// The current row's field in the column, for a field used once or twice (QFETCH in short).
inline QString field(const char *column)
{
    return *static_cast<QString *>(QTest::qData(column, QMetaType::QString));
}

}  // namespace DataFile
