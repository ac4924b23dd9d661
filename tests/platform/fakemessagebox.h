#pragma once

#include "messagebox.h"

#include <QList>
#include <QString>

#include <functional>

// Records every message box a window shows and answers from a script (OK when the script is
// empty). Installs itself for its lifetime.
class FakeMessageBox : public MessageBox
{
public:
    struct Call
    {
        QString text;
        QString title;
        int style;
    };

    FakeMessageBox() { MessageBox::install(this); }
    ~FakeMessageBox() override { MessageBox::install(nullptr); }

    int show(QWidget *, const QString &text, const QString &title, int style) override
    {
        calls.append({text, title, style});
        if (onShow)
            onShow(calls.last());
        if (!answers.isEmpty())
            return answers.takeFirst();
        return style == YesNoQuestion ? Yes : Ok;
    }

    QList<Call> calls;
    QList<int> answers;
    std::function<void(const Call &)> onShow;  // runs while the box would be open
};
