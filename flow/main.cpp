#include <cstdio>
#include <cstdlib>

#include <QApplication>

#include "command_line.h"
#include "form1.h"
#include "module1.h"

namespace {

// Qt aborts with a toolkit message when there is no display; say it plainly instead.
bool displayAvailable() {
    const auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value && *value;
    };
    return set("DISPLAY") || set("WAYLAND_DISPLAY") || set("QT_QPA_PLATFORM");
}

}  // namespace

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    const quolvet::CommandLine line = quolvet::readCommandLine(arguments);
    if (line.answered) return *line.answered;
    if (!line.displayNamed && !displayAvailable()) {
        std::fprintf(stderr, "quolvet: no display found (DISPLAY is not set); start it from a desktop session.\n");
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quolvet"));
    QApplication::setDesktopFileName(QStringLiteral("example.quolvet.Quolvet"));

    quolvet::SystemSoundLibrary sound;
    quolvet::QtMessageBoxes messages;
    quolvet::Form1 form({.sound = sound,
                         .messages = messages,
                         .waiter = {},
                         .quit = [] { QApplication::exit(0); },
                         .soundFolders = quolvet::soundDataFolders(),
                         .dealer = {},
                         .musicAtStart = line.music});
    messages.setParent(&form);
    form.Form_Load();
    form.show();
    return QApplication::exec();
}
