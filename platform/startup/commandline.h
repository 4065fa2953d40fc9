#pragma once

#include <optional>

// The game takes no arguments, but answers the two that every program is asked:
// `--help` (or `-h`) and `--version` each print one line; the exit status is then returned.
// Anything else is ignored (nullopt: go on and open the window).
std::optional<int> answerCommandLine(int argc, char *argv[], const char *version);
