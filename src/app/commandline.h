#pragma once

#include <QString>
#include <optional>

// What the command line asks of the program, read before any window is made.
struct CommandLine {
    // "--version" and "--help" print to standard output and end the program,
    // so they work without a display; a mistake ends it too, with its
    // message on standard error. Nothing when the program should start.
    std::optional<int> exitCode;
    QString dataFolder; // "--data FOLDER", else the environment's, else empty
};
CommandLine readCommandLine(int argc, char** argv);
