#pragma once

#include <optional>

#include <QStringList>

namespace quolvet {

// What the command line asks of the game. Help, the version and a mistake are answered at once,
// before any window system is asked for; `answered` then holds the exit status.
struct CommandLine {
    bool music = true;
    bool displayNamed = false;  // -platform or -display says where the window goes
    std::optional<int> answered;
};

CommandLine readCommandLine(const QStringList& arguments);

}  // namespace quolvet
