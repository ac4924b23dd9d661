#include "commandline.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QFileInfo>

namespace {

// The options that QGuiApplication, QApplication and the X11 platform take from the command
// line, with or without a value. Declared only so that they are accepted; Qt reads them itself.
const char16_t *const qtOptionsWithValue[] = {u"platform", u"platformpluginpath", u"platformtheme",
    u"plugin", u"qmljsdebugger", u"qwindowgeometry", u"qwindowicon", u"qwindowtitle", u"session",
    u"style", u"stylesheet", u"display", u"geometry", u"title", u"icon", u"name"};
const char16_t *const qtFlags[]
    = {u"reverse", u"widgetcount", u"nograb", u"dograb", u"testability"};

QString versionText()
{
    return QStringLiteral("ZEL Calculation 1.0\n");
}

}  // namespace

CommandLine::CommandLine(const QStringList &arguments)
    : m_programName(arguments.isEmpty() ? QStringLiteral("zel-calculation")
                                        : QFileInfo(arguments.constFirst()).fileName())
{
    QCommandLineParser parser;
    // Qt's options are single-dash words such as -platform, not bundles of one-letter options.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, {});
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")}, {});
    parser.addOption(help);
    parser.addOption(version);
    for (const char16_t *name : qtOptionsWithValue)
        parser.addOption(QCommandLineOption(QString::fromUtf16(name), {}, QStringLiteral("value")));
    for (const char16_t *name : qtFlags)
        parser.addOption(QCommandLineOption(QString::fromUtf16(name)));

    if (!parser.parse(arguments)) {
        m_action = Refuse;
        m_error = parser.errorText();
    } else if (!parser.positionalArguments().isEmpty()) {
        m_action = Refuse;
        m_error = QStringLiteral("Unexpected argument '%1'.")
                      .arg(parser.positionalArguments().constFirst());
    } else if (parser.isSet(help)) {
        m_action = ShowHelp;
    } else if (parser.isSet(version)) {
        m_action = ShowVersion;
    }
}

QString CommandLine::answer(const QString &programDirectory) const
{
    if (m_action == ShowVersion)
        return versionText();
    if (m_action == OpenWindow)
        return {};
    const QString usage = QStringLiteral(
        "Usage: %1 [options]\n"
        "Works out the interest earned on a fund account for one financial year, and its\n"
        "closing balance, from the rates of interest kept in the rate table.\n"
        "\n"
        "The rate table is the file zel.mdb beside the program, in %2\n"
        "\n"
        "Options:\n"
        "  -h, --help        Prints this help.\n"
        "  -v, --version     Prints the program's name and version.\n"
        "\n"
        "Qt's own options are accepted as well, such as -platform offscreen, -style Fusion,\n"
        "-display :1, -qwindowgeometry 800x600+0+0 and -reverse.\n")
                              .arg(m_programName, programDirectory);
    if (m_action == Refuse)
        return QStringLiteral("%1: %2\n").arg(m_programName, m_error) + usage;
    return usage;
}
