#include "clock.h"
#include "commandline.h"
#include "displayopening.h"
#include "errorreport.h"
#include "eventpump.h"
#include "form1.h"
#include "layout.h"
#include "product.h"
#include "programend.h"
#include "randomsource.h"
#include "toolkit.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    if (const auto status = answerCommandLine(argc, argv, product::kVersion))
        return *status;

    // Other arguments are not for the game, nor for Qt.
    int appArgc = argc > 0 ? 1 : 0;
    DisplayOpening opening;
    QApplication app(appArgc, argv);
    opening.opened();
    QGuiApplication::setDesktopFileName(QString::fromUtf8(product::kAppId));
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
