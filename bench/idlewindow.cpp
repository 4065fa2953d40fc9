#include "idlewindow.h"

#include "firstpaintprobe.h"
#include "startupreport.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <cstdlib>

int runIdleWindow(const char *program, int argc, char *argv[],
                  const std::function<void(QWidget &window)> &build)
{
    StartupReport report(program);
    report.mark("main");
    const int idleMs = argc > 1 ? std::atoi(argv[1]) : 0;
    int appArgc = argc > 0 ? 1 : 0;
    QApplication app(appArgc, argv);
    report.mark("app");

    QWidget window;
    build(window);
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
