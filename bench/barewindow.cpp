// The yardstick for start-up and memory: a plain Qt Widgets window with the game
// window's client size and caption, shown, and nothing else.
//
//   barewindow [IDLE_MS]
//
// Prints one JSON line once the first frame is out (and, with IDLE_MS, after the
// window has then sat idle that long), then ends.

#include "firstpaintprobe.h"
#include "startupreport.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <cstdlib>

int main(int argc, char *argv[])
{
    StartupReport report("barewindow");
    report.mark("main");
    const int idleMs = argc > 1 ? std::atoi(argv[1]) : 0;
    int appArgc = argc > 0 ? 1 : 0;
    QApplication app(appArgc, argv);
    report.mark("app");

    QWidget window;
    window.setWindowTitle(QStringLiteral("Brinhalt's Quorvel"));
    window.resize(711, 501);
    report.mark("built");

    FirstPaintProbe probe(window, [&report, idleMs](auto paint, auto frame) {
        report.mark("paint", paint);
        report.mark("frame", frame);
        QTimer::singleShot(idleMs, [&report] { report.printAndExit(); });
    });

    window.show();
    report.mark("shown");
    return app.exec();
}
