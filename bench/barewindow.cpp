// The yardstick for start-up and memory: a plain Qt Widgets window with the game
// window's client size and caption, shown, and nothing else.
//
//   barewindow [IDLE_MS]
//
// Prints one JSON line once the first frame is out (and, with IDLE_MS, after the
// window has then sat idle that long), then ends.

#include "idlewindow.h"

#include <QWidget>

int main(int argc, char *argv[])
{
    return runIdleWindow("barewindow", argc, argv, [](QWidget &window) {
        window.setWindowTitle(QStringLiteral("Brinhalt's Quorvel"));
        window.resize(711, 501);
    });
}
