#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

// Which file a path names at this moment, in the system's own terms: the same identity means the
// same file, so a file removed, moved away or replaced under an open connection is told from the
// one that was opened.
struct FileIdentity
{
    quint64 device = 0;
    quint64 inode = 0;
    bool operator==(const FileIdentity &) const = default;

    // None when nothing is at the path.
    static std::optional<FileIdentity> of(const QString &path);
};
