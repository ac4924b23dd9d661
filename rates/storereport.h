#pragma once

#include "raterecord.h"

#include <QList>

#include <optional>

class MessageBox;
class QString;
class QWidget;
class SharedRates;

// How a window meets a failing rate store: it tells the user why, in a message box that names
// the file, and goes on. The store itself never shows anything.
class StoreReport
{
public:
    StoreReport(SharedRates &rates, MessageBox &messages);

    // Opens the shared store afresh for a loading window; false, after telling the user, when it
    // cannot.
    bool openAfresh(QWidget *window);
    // Every rate row through the shared store; nothing, after telling the user, when it cannot.
    std::optional<QList<RateRecord>> scan(QWidget *window);
    // Tells the user why the store failed.
    void show(QWidget *window, const QString &reason);

private:
    SharedRates &m_rates;
    MessageBox &m_messages;
};
