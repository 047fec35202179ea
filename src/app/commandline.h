#pragma once

#include <optional>

// What the program answers on its command line before any window is made:
// "--version" and "--help" print to standard output and end the program,
// so they work without a display. Nothing when the program should start.
std::optional<int> answerCommandLine(int argc, char** argv);
