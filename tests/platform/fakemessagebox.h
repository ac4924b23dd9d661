#pragma once

#include "messagebox.h"

#include <QList>
#include <QStringList>

#include <functional>

// Records every message box a window shows and answers from a script (OK, or Yes to a question,
// when the script is empty).
class FakeMessageBox : public MessageBox
{
public:
    struct Call
    {
        QString text;
        QString title;
        Icon icon;
        Buttons buttons;

        // "title|text|kind", the kind being plain, stop, question or information.
        QString shown() const
        {
            const char16_t *kinds[] = {u"plain", u"stop", u"question", u"information"};
            return title + u'|' + text + u'|' + QString::fromUtf16(kinds[int(icon)]);
        }
    };

    Answer show(
        QWidget *, const QString &text, const QString &title, Icon icon, Buttons buttons) override
    {
        calls.append({text, title, icon, buttons});
        if (onShow)
            onShow(calls.last());
        if (!answers.isEmpty())
            return answers.takeFirst();
        return buttons == Buttons::YesNo ? Answer::Yes : Answer::Ok;
    }

    // Every box shown so far, with a path in its text written as PATH.
    QStringList shown(const QString &path) const
    {
        QStringList boxes;
        for (const Call &call : calls)
            boxes << call.shown().replace(path, QStringLiteral("PATH"));
        return boxes;
    }

    QList<Call> calls;
    QList<Answer> answers;
    std::function<void(const Call &)> onShow;  // runs while the box would be open
};
