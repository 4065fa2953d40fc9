#pragma once

#include <functional>

class QWidget;

// The start-up yardsticks' whole program: a window that `build` fills, shown; once its
// first frame is out and it has then sat idle for the milliseconds of the first
// argument (none: not at all), prints the program's StartupReport and ends.
int runIdleWindow(const char *program, int argc, char *argv[],
                  const std::function<void(QWidget &window)> &build);
