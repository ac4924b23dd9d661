#include "programdirectory.h"

#include <QCoreApplication>

namespace {
QString &overridden()
{
    static QString directory;
    return directory;
}
}  // namespace

QString ProgramDirectory::path()
{
    if (!overridden().isEmpty())
        return overridden();
    return QCoreApplication::applicationDirPath();
}

void ProgramDirectory::override(const QString &directory)
{
    overridden() = directory;
}
