#include "app/CommandLine.h"

#include "core/RunTime.h"

#include <QCommandLineParser>
#include <QStringList>
#include <QtGlobal>

#include <cstdio>
#include <span>

namespace CommandLine {

namespace {

// The options QGuiApplication, its X11 platform and QApplication take out of
// the command line themselves: those followed by a value, and the others.
constexpr const char* QtOptionsWithValue[] = {"platform",      "platformpluginpath",
                                              "platformtheme", "plugin",
                                              "qmljsdebugger", "qwindowgeometry",
                                              "qwindowicon",   "qwindowtitle",
                                              "display",       "geometry",
                                              "title",         "icon",
                                              "name",          "session",
                                              "style",         "stylesheet"};
constexpr const char* QtFlags[] = {"reverse", "widgetcount", "testability", "sync", "nograb", "dograb"};

void print(std::FILE* to, const QString& text) { std::fputs(text.toLocal8Bit().constData(), to); }

} // namespace

std::optional<int> handle(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (arguments.isEmpty()) arguments << QStringLiteral("corvane2003");

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Edits the settings of Unreal Tournament 2003 in its profiles, User.ini and UT2003.ini.\n"
                       "Qt's options are accepted too, such as -style fusion or -platform offscreen."));
    // Qt's options are written with one dash: -style fusion.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Shows this help and exits."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Shows the version of the program and of Qt, and exits."));
    parser.addOption(help);
    parser.addOption(version);
    const auto addHidden = [&parser](std::span<const char* const> names, const QString& valueName) {
        for (const char* name : names) {
            QCommandLineOption option(QString::fromLatin1(name), {}, valueName);
            option.setFlags(QCommandLineOption::HiddenFromHelp);
            parser.addOption(option);
        }
    };
    addHidden(QtOptionsWithValue, QStringLiteral("value"));
    addHidden(QtFlags, {});

    const bool parsed = parser.parse(arguments);
    QString usage = parser.helpText();
    usage.replace(QStringLiteral("<executable_name>"), arguments.constFirst());
    if (!parsed) {
        print(stderr,
              arguments.constFirst() + QStringLiteral(": ") + parser.errorText() + QStringLiteral("\n\n") + usage);
        return 2;
    }
    if (parser.isSet(help)) {
        print(stdout, usage);
        return 0;
    }
    if (parser.isSet(version)) {
        print(
            stdout,
            QStringLiteral("Corvane 2003 %1\nQt %2\n").arg(QLatin1String(RunTime::Version), QLatin1String(qVersion())));
        return 0;
    }
    return std::nullopt;
}

} // namespace CommandLine
