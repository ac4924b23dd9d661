#pragma once

#include "messagebox.h"

// The desktop's own message box.
class QtMessageBox : public MessageBox
{
public:
    Answer show(QWidget *parent, const QString &text, const QString &title, Icon icon,
        Buttons buttons) override;
};
