#include "sharedrates.h"

#include <QDir>

SharedRates::SharedRates(QString directory)
    : m_directory(std::move(directory))
{
}

QString SharedRates::filePath() const
{
    return m_directory + QDir::separator() + QStringLiteral("zel.mdb");
}

Failure SharedRates::openAfresh()
{
    Result<std::unique_ptr<RateStore>> opened = RateStore::open(filePath());
    if (!opened)
        return opened.error;
    m_store = std::move(*opened.value);
    return std::nullopt;
}
