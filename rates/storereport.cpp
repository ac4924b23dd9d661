#include "storereport.h"

#include "messagebox.h"
#include "sharedrates.h"

StoreReport::StoreReport(SharedRates &rates, MessageBox &messages)
    : m_rates(rates)
    , m_messages(messages)
{
}

bool StoreReport::openAfresh(QWidget *window)
{
    if (const Failure failure = m_rates.openAfresh()) {
        show(window, *failure);
        return false;
    }
    return true;
}

std::optional<QList<RateRecord>> StoreReport::scan(QWidget *window)
{
    // A loaded window always finds a store: a failed load elsewhere keeps it there.
    RateStore *store = m_rates.store();
    if (!store)
        return std::nullopt;
    Result<QList<RateRecord>> rows = store->scan();
    if (!rows) {
        show(window, rows.error);
        return std::nullopt;
    }
    return std::move(rows.value);
}

void StoreReport::show(QWidget *window, const QString &reason)
{
    m_messages.critical(window, reason, QStringLiteral("Rate table"));
}
