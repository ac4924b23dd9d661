#pragma once

#include "messagebox.h"

class QtMessageBox : public MessageBox
{
public:
    int show(QWidget *parent, const QString &text, const QString &title, int style) override;
};
