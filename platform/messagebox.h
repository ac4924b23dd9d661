#pragma once

// The small layers between the windows and the desktop: message boxes, the printer dialog and
// word of which window became active. The program holds one of each and hands them to the
// windows; tests hand them fakes.

#include <QString>

class QWidget;

// A modal message box: a text, a title, an icon and the buttons to answer with.
class MessageBox
{
public:
    enum class Icon
    {
        None,
        Stop,
        Question,
        Information,
    };
    enum class Buttons
    {
        Ok,
        YesNo,
    };
    enum class Answer
    {
        Ok,
        Yes,
        No,
    };

    virtual ~MessageBox() = default;

    virtual Answer show(
        QWidget *parent, const QString &text, const QString &title, Icon icon, Buttons buttons)
        = 0;

    // The four boxes the program shows.
    void plain(QWidget *parent, const QString &text, const QString &title)
    {
        show(parent, text, title, Icon::None, Buttons::Ok);
    }
    void critical(QWidget *parent, const QString &text, const QString &title)
    {
        show(parent, text, title, Icon::Stop, Buttons::Ok);
    }
    void information(QWidget *parent, const QString &text, const QString &title)
    {
        show(parent, text, title, Icon::Information, Buttons::Ok);
    }
    // True when the user answers Yes.
    bool question(QWidget *parent, const QString &text, const QString &title)
    {
        return show(parent, text, title, Icon::Question, Buttons::YesNo) == Answer::Yes;
    }
};
