#include "clock.h"
#include "errorreport.h"
#include "eventpump.h"
#include "form1.h"
#include "layout.h"
#include "programend.h"
#include "randomsource.h"
#include "toolkit.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // The game takes no command-line arguments.
    int appArgc = argc > 0 ? 1 : 0;
    QApplication app(appArgc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.quorvel"));
    setUpToolkit(app);

    SystemClock clock;
    StdRandom random(clock.now());
    QtEventPump pump;
    ProcessEnd end;
    MessageBoxErrorReport errors(QString::fromUtf8(layout::kCaption));

    Form1 window({clock, random, pump, end, errors});
    window.show();
    return app.exec();
}
