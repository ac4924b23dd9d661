#pragma once

// The small layers between the windows and the desktop: message boxes, the printer dialog and the
// program's directory. Each has one program-wide instance that tests replace with a fake.

#include <QString>

class QWidget;

// A modal message box in the classic style numbering: the buttons and the icon come from the
// style, and the answer is the code of the button pressed.
class MessageBox
{
public:
    enum Style
    {
        Plain = 0,           // OK, no icon
        Critical = 16,       // OK, stop icon
        YesNoQuestion = 36,  // Yes and No, question icon
        Information = 64,    // OK, information icon
    };
    enum Answer
    {
        Ok = 1,
        Yes = 6,
        No = 7,
    };

    virtual ~MessageBox() = default;

    virtual int show(QWidget *parent, const QString &text, const QString &title, int style) = 0;

    // The instance every window uses; a QtMessageBox unless a test installed another.
    static MessageBox &current();
    // Installs a replacement (not owned); nullptr goes back to the real one.
    static void install(MessageBox *replacement);
};
