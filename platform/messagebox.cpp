#include "messagebox.h"

#include "qtmessagebox.h"

namespace {
MessageBox *installed = nullptr;
}

MessageBox &MessageBox::current()
{
    if (installed)
        return *installed;
    static QtMessageBox real;
    return real;
}

void MessageBox::install(MessageBox *replacement)
{
    installed = replacement;
}
