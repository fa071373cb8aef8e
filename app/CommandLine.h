#pragma once

#include <optional>

// The program's command line, read before the application object exists, so
// that --help and --version answer without a window or a display. Qt's own
// options (-style, -platform, ...) are accepted and left to QApplication.
namespace CommandLine {

// The exit code when the program stops at once: 0 after --help or --version
// (printed to standard output), 2 after an unknown option or a missing value
// (the mistake and the usage on standard error). Nothing for a start.
std::optional<int> handle(int argc, char** argv);

} // namespace CommandLine
