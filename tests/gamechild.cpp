// A game window on the real services, driven through one scenario named on the command
// line, so that a test can watch how the process ends. Prints what it reaches on stdout.

#include "clock.h"
#include "errorreport.h"
#include "eventpump.h"
#include "fakegeometry.h"
#include "fixedwindow.h"
#include "form1.h"
#include "formstate.h"
#include "iconmotion.h"
#include "programend.h"
#include "randomsource.h"
#include "toolkit.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <cfloat>
#include <cstdio>

namespace {

void say(const QString &line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

// Answers the error report's message box as a player would, after saying what it shows.
void answerMessageBoxes(QObject *owner)
{
    auto *timer = new QTimer(owner);
    QObject::connect(timer, &QTimer::timeout, [] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            say(QStringLiteral("report: ") + box->windowTitle() + QStringLiteral(": ")
                + box->text().simplified());
            box->button(QMessageBox::Ok)->click();
        }
    });
    timer->start(20);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    setUpToolkit(app);
    const QString scenario = app.arguments().value(1);

    SystemClock clock;
    StdRandom random(clock.now());
    QtEventPump pump;
    ProcessEnd end;
    MessageBoxErrorReport errors(QStringLiteral("Brinhalt's Quorvel"));
    Form1 form({clock, random, pump, end, errors});
    form.show();
    answerMessageBoxes(&app);

    auto *go = form.findChild<QPushButton *>("cmdGo");
    auto *quit = form.findChild<QPushButton *>("cmdQuit");
    auto *picture = form.findChild<QWidget *>("picIco");
    auto *clicks = form.findChild<QLabel *>("lblClicks");
    const auto startRound = [&] {
        QTimer::singleShot(0, go, [&] {
            say("round started");
            go->click();
            say(QStringLiteral("round finished, rating: ") + form.findChild<QLabel *>("lblFeedback")->text());
        });
    };

    if (scenario == "quit-mid-round") {
        startRound();
        QTimer::singleShot(300, quit, [&] { say("quit"); quit->click(); say("after quit"); });
    } else if (scenario == "close-mid-round") {
        startRound();
        QTimer::singleShot(300, &form, [&] { say("close"); form.close(); say("after close"); });
    } else if (scenario == "close-idle") {
        QTimer::singleShot(100, &form, [&] { say("close"); form.close(); say("after close"); });
    } else if (scenario == "overflow-mid-round") {
        startRound();
        QTimer::singleShot(300, picture, [&] {
            form.state().clickCount = 32766;
            QTest::mouseClick(picture, Qt::LeftButton);
            say(QStringLiteral("count shown: ") + clicks->text());
            QTest::mouseClick(picture, Qt::LeftButton);
            say("after overflow");
        });
    } else if (scenario == "float-fault") {
        QTimer::singleShot(0, &form, [&] {
            FakeGeometry atTheLimit(100.0f, FLT_MAX, 780.0f, FLT_MAX);
            FixedWindow window(10785.0f, 7920.0f);
            FormState state;
            state.turnStep = 0.104666672f;
            float heading = 0.0f;
            say("moving");
            moveIcon(heading, state, atTheLimit, window, errors);
            say("after fault");
        });
    } else {
        say("unknown scenario");
        return 2;
    }
    app.exec();
    say("event loop returned");
    return 3;
}
