#pragma once

#include <QFile>
#include <QStringList>
#include <QTest>

#include <initializer_list>

// Cases that differ only in their data live in a text file beside the test: one case a line, its
// name and then its fields separated by tabs; a line starting with '#' is a comment. Within a
// field \t, \n and \r stand for a tab, a line feed and a carriage return.
namespace DataFile {

// Adds the columns named, all of type QString, to the current _data() table, and a row for each
// case of the file in the test's source folder.
inline void addRows(const QString &fileName, std::initializer_list<const char *> columns = {})
{
    for (const char *column : columns)
        QTest::addColumn<QString>(column);
    QFile file(QString::fromUtf8(QT_TESTCASE_SOURCEDIR) + u'/' + fileName);
    QVERIFY2(file.open(QIODevice::ReadOnly | QIODevice::Text), qPrintable(file.fileName()));
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).remove(u'\n');
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const QStringList fields = line.split(u'\t');
        QTestData &row = QTest::newRow(qPrintable(fields[0]));
        for (QString field : fields.sliced(1))
            row << field.replace(QStringLiteral("\\t"), QStringLiteral("\t"))
                       .replace(QStringLiteral("\\n"), QStringLiteral("\n"))
                       .replace(QStringLiteral("\\r"), QStringLiteral("\r"));
    }
}

// The current row's field in the column, for a field used once or twice (QFETCH in short).
inline QString field(const char *column)
{
    return *static_cast<QString *>(QTest::qData(column, QMetaType::QString));
}

}  // namespace DataFile
