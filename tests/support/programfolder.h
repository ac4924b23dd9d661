#pragma once

#include "ratetablefile.h"

#include <QTemporaryDir>

#include <optional>

// A temporary folder in place of the program's own, holding the rate table zel.mdb with the rows
// given (none at all when there are no rows to give).
class ProgramFolder
{
public:
    using Rows = std::optional<QList<RateTableFile::Row>>;

    static QList<RateTableFile::Row> twoYears() { return {{2003, 2004, 9.5}, {2004, 2005, 8}}; }

    explicit ProgramFolder(const Rows &rows = twoYears())
    {
        m_ready = m_dir.isValid() && (!rows || RateTableFile::create(tablePath(), *rows));
    }

    // The folder exists and the table, when asked for, was written.
    bool ready() const { return m_ready; }
    QString path() const { return m_dir.path(); }
    QString path(const QString &name) const { return m_dir.filePath(name); }
    QString tablePath() const { return path(QStringLiteral("zel.mdb")); }

private:
    QTemporaryDir m_dir;
    bool m_ready = false;
};
