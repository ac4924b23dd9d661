#include "fileidentity.h"

#include <QFile>

#include <sys/stat.h>

// A file's device and inode name it for as long as it exists, wherever it is moved on its device.
// On Windows the inode that stat reports is always 0, so that every file there would look the same
// and a move would go unseen: a port to Windows must take the volume serial number and file index
// (GetFileInformationByHandle) here, the one place that asks the system.
std::optional<FileIdentity> FileIdentity::of(const QString &path)
{
    struct stat status
    {
    };
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return std::nullopt;
    return FileIdentity {quint64(status.st_dev), quint64(status.st_ino)};
}
