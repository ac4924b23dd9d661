#include "qtmessagebox.h"

#include <QMessageBox>

int QtMessageBox::show(QWidget *parent, const QString &text, const QString &title, int style)
{
    QMessageBox box(parent);
    box.setWindowTitle(title);
    box.setText(text);
    switch (style) {
    case Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    case YesNoQuestion:
        box.setIcon(QMessageBox::Question);
        break;
    case Information:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        box.setIcon(QMessageBox::NoIcon);
        break;
    }
    if (style == YesNoQuestion) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes ? Yes : No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return Ok;
}
