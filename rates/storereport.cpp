#include "storereport.h"

#include "messagebox.h"
#include "ratestore.h"

namespace StoreReport {

bool openShared(QWidget *window)
{
    if (const Failure failure = RateStore::openShared()) {
        show(window, *failure);
        return false;
    }
    return true;
}

std::optional<QList<RateRecord>> scan(QWidget *window)
{
    // A loaded window always finds a store in the slot: a failed load elsewhere keeps it there.
    RateStore *store = RateStore::shared();
    if (!store)
        return std::nullopt;
    Result<QList<RateRecord>> rows = store->scan();
    if (!rows) {
        show(window, rows.error);
        return std::nullopt;
    }
    return std::move(rows.value);
}

void show(QWidget *window, const QString &reason)
{
    MessageBox::current().show(window, reason, QStringLiteral("Rate table"), MessageBox::Critical);
}

}  // namespace StoreReport
