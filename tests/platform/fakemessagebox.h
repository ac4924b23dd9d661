#pragma once

#include "messagebox.h"

#include <QStringList>

#include <functional>

// Records every message box a window shows, as "title|text|kind" with the kind plain, stop,
// question or information, and answers from a script (OK, or Yes to a question, when the
// script is empty).
class FakeMessageBox : public MessageBox
{
public:
    Answer show(
        QWidget *, const QString &text, const QString &title, Icon icon, Buttons buttons) override
    {
        const char16_t *kinds[] = {u"plain", u"stop", u"question", u"information"};
        shown << title + u'|' + text + u'|' + QString::fromUtf16(kinds[int(icon)]);
        if (onShow)
            onShow(shown.last());
        if (!answers.isEmpty())
            return answers.takeFirst();
        return buttons == Buttons::YesNo ? Answer::Yes : Answer::Ok;
    }

    QStringList shown;
    QList<Answer> answers;
    std::function<void(const QString &)> onShow;  // runs while the box would be open
};
