#pragma once

#include "ratetablefile.h"

#include <QTemporaryDir>

// A temporary folder in place of the program's own, holding the rate table zel.mdb with the rows
// given, or no table at all.
class ProgramFolder
{
public:
    using Rows = std::optional<QList<RateTableFile::Row>>;

    explicit ProgramFolder(
        const Rows &rows = QList<RateTableFile::Row> {{2003, 2004, 9.5}, {2004, 2005, 8}})
        : m_ready(m_dir.isValid() && (!rows || RateTableFile::create(tablePath(), *rows)))
    {
    }

    // The folder exists and the table, when asked for, was written.
    bool ready() const { return m_ready; }
    QString path(const QString &name = {}) const
    {
        return name.isEmpty() ? m_dir.path() : m_dir.filePath(name);
    }
    QString tablePath() const { return path(QStringLiteral("zel.mdb")); }

private:
    QTemporaryDir m_dir;
    bool m_ready;
};
