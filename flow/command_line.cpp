#include "command_line.h"

#include <cstdio>

#include <QCommandLineParser>

namespace quolvet {
namespace {

// Qt 6's own options, which QApplication takes out of the command line itself afterwards:
// accepted here so that only a real mistake is refused, and left out of the help.
const char* const qtOptionsWithValue[] = {
    "platform", "platformpluginpath", "platformtheme", "plugin", "display", "name", "visual",
    "qwindowgeometry", "geometry", "qwindowtitle", "title", "qwindowicon", "icon",
    "session", "style", "stylesheet", "qmljsdebugger"};
const char* const qtFlags[] = {"reverse", "nograb", "dograb", "testability", "widgetcount"};

void addQtOptions(QCommandLineParser& parser) {
    for (const char* name : qtOptionsWithValue) {
        QCommandLineOption option(QString::fromLatin1(name), {}, QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char* name : qtFlags) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

// Before there is an application object, Qt names the program "<executable_name>".
QByteArray usage(const QCommandLineParser& parser) {
    return parser.helpText().replace(QStringLiteral("<executable_name>"), QStringLiteral("quolvet")).toLocal8Bit();
}

}  // namespace

CommandLine readCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    // Qt's options are single-dash words (-platform, -style), not bundles of letters.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(QStringLiteral(
        "Quolvet: pick up shogi pieces from a board full of them, with a friend or against the computer.\n"
        "Qt's own options (-platform, -display, -style, -reverse, -qwindowgeometry ...) are accepted too."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Shows this help and ends."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")}, QStringLiteral("Shows the version and ends."));
    const QCommandLineOption noMusic(QStringLiteral("no-music"),
                                     QStringLiteral("Starts with the background music off (F1 turns it on)."));
    parser.addOptions({help, version, noMusic});
    addQtOptions(parser);

    QString mistake;
    if (!parser.parse(arguments)) mistake = parser.errorText();
    else if (!parser.positionalArguments().isEmpty())
        mistake = QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().constFirst());
    if (!mistake.isEmpty()) {
        std::fprintf(stderr, "quolvet: %s\n%s", mistake.toLocal8Bit().constData(), usage(parser).constData());
        return {.answered = 2};
    }
    if (parser.isSet(help)) {
        std::fputs(usage(parser).constData(), stdout);
        return {.answered = 0};
    }
    if (parser.isSet(version)) {
        std::puts("quolvet " QUOLVET_VERSION);
        return {.answered = 0};
    }
    return {.music = !parser.isSet(noMusic),
            .displayNamed = parser.isSet(QStringLiteral("platform")) || parser.isSet(QStringLiteral("display")),
            .answered = std::nullopt};
}

}  // namespace quolvet
