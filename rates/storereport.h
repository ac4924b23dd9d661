#pragma once

#include "raterecord.h"

#include <QList>

#include <optional>

class QString;
class QWidget;

// How a window meets a failing rate store: it tells the user why, in a message box that names
// the file, and goes on. The store itself never shows anything.
namespace StoreReport {

// Opens the shared store for a loading window; false, after telling the user, when it cannot.
bool openShared(QWidget *window);
// Every rate row through the shared store; nothing, after telling the user, when it cannot.
std::optional<QList<RateRecord>> scan(QWidget *window);
// Tells the user why the store failed.
void show(QWidget *window, const QString &reason);

}  // namespace StoreReport
