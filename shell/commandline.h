#pragma once

#include <QStringList>

// The program's command line, read before the application object exists, because that object
// needs a display: --help and --version are answered without one. Qt's own options (-platform,
// -style, -display, ...) are accepted here and left in place for QApplication to take.
class CommandLine
{
public:
    enum Action
    {
        OpenWindow,
        ShowHelp,
        ShowVersion,
        Refuse
    };

    // The arguments as the program received them, the program's name first.
    explicit CommandLine(const QStringList &arguments);

    Action action() const { return m_action; }
    // What was wrong with the command line when it is refused, naming the option.
    QString error() const { return m_error; }

    // What the program prints instead of opening its window: the usage, the version, or the
    // error and the usage. The usage names the folder that holds the rate table.
    QString answer(const QString &programDirectory) const;
    // The exit status after the answer: 0 after help or version, 2 after a refused command line.
    int exitStatus() const { return m_action == Refuse ? 2 : 0; }

private:
    Action m_action = OpenWindow;
    QString m_error;
    QString m_programName;
};
