// The game as main.cpp builds it, real services and all, with timing decorators
// around the clock, the random numbers and the event pump, driven by the benchmark.
//
//   quorvel_bench startup [IDLE_MS]  first frame (then IDLE_MS idle) and peak memory
//   quorvel_bench gallery            the first "Change Icon" press in a fresh session
//   quorvel_bench round SPEED        one whole round with clicks, then "Change Icon"
//   quorvel_bench floor SPEED        the same round's work in the floor window, no game code
//   quorvel_bench ideal              tick counts a round could reach on each clock step
//
// Without arguments (as in a web page) the words of QUORVEL_BENCH stand for them.
//
// Each prints one JSON line and ends.

#include "clickprobe.h"
#include "clock.h"
#include "errorreport.h"
#include "eventpump.h"
#include "firstpaintprobe.h"
#include "floorcontrols.h"
#include "floorround.h"
#include "form1.h"
#include "idealround.h"
#include "layout.h"
#include "listtext.h"
#include "programend.h"
#include "randomsource.h"
#include "recordingclock.h"
#include "recordingpump.h"
#include "recordingrandom.h"
#include "startupreport.h"
#include "tickrecorder.h"
#include "toolkit.h"

#include <QApplication>
#include <QJsonArray>
#include <QJsonObject>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {

constexpr int kSettleMs = 300;

using TimePoint = std::chrono::steady_clock::time_point;

double micros(TimePoint from, TimePoint to)
{
    return std::chrono::duration<double, std::micro>(to - from).count();
}

// The figures keep the three decimals they have always had: nanoseconds for the
// times in microseconds, milliseconds for the clock's reading.
double thousandths(double value)
{
    return std::round(value * 1000.0) / 1000.0;
}

template <typename T, typename F>
QJsonArray array(const std::vector<T> &values, F figure)
{
    QJsonArray out;
    for (const T &value : values)
        out.append(figure(value));
    return out;
}

double waitSecondsFor(const QString &speed)
{
    for (const layout::Speed &known : layout::kSpeeds) {
        if (speed == QLatin1String(known.listText))
            return known.waitSeconds;
    }
    return layout::kSpeeds.front().waitSeconds;
}

// Rounds at each speed on a clock that only moves while the game waits, started at
// times of day where a single's spacing makes the clock's step 1 ms (00:30),
// 1/1024 s (03:00), 1/512 s (06:00), 1/256 s (12:00) and 1/128 s (20:00).
[[noreturn]] void printIdealTicks()
{
    struct Start { const char *step; qint64 ms; };
    const Start starts[] = {{"1ms", 1800'000},          {"1/1024s", 3 * 3600'000},
                            {"1/512s", 6 * 3600'000},   {"1/256s", 12 * 3600'000},
                            {"1/128s", 20 * 3600'000}};
    QJsonObject ideal;
    for (const Start &start : starts) {
        QJsonObject ticks;
        for (const layout::Speed &speed : layout::kSpeeds) {
            const QString name = QString::fromUtf8(speed.listText);
            ticks.insert(name, idealTicks(name, start.ms));
        }
        ideal.insert(QString::fromUtf8(start.step), ticks);
    }
    StartupReport::exitWithLine({{QStringLiteral("program"), QStringLiteral("quorvel_bench")},
                                 {QStringLiteral("mode"), QStringLiteral("ideal")},
                                 {QStringLiteral("qt"), QString::fromUtf8(qVersion())},
                                 {QStringLiteral("ideal"), ideal}});
}

} // namespace

int main(int argc, char *argv[])
{
    StartupReport report("quorvel_bench");
    report.mark("main");
    QStringList words;
    for (int i = 1; i < argc; ++i)
        words.append(QString::fromLocal8Bit(argv[i]));
    if (words.isEmpty())
        words = qEnvironmentVariable("QUORVEL_BENCH").split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const QString mode = words.value(0, QStringLiteral("startup"));
    const QString argument = words.value(1);

    int appArgc = argc > 0 ? 1 : 0;
    QApplication app(appArgc, argv);
    report.mark("app");
    const bool floor = mode == QLatin1String("floor");
    if (!floor)
        setUpToolkit(app);
    report.mark("toolkit");

    if (mode == QLatin1String("ideal"))
        printIdealTicks();

    SystemClock systemClock;
    // The same draws on every run, for the game and the floor alike.
    StdRandom systemRandom(0.0f);
    QtEventPump qtPump;
    ProcessEnd end;
    MessageBoxErrorReport errors(QString::fromUtf8(layout::kCaption));

    TickRecorder recorder;
    RecordingClock clock(systemClock, recorder);
    RecordingRandom random(systemRandom, recorder);
    RecordingPump pump(qtPump, recorder);

    std::optional<Form1> game;
    QWidget floorWindow;
    if (floor)
        addFloorControls(floorWindow);
    else
        game.emplace(Services{clock, random, pump, end, errors});
    QWidget &window = game ? static_cast<QWidget &>(*game) : floorWindow;
    report.mark("built");

    const auto startup = [&] {
        const int idleMs = argument.isEmpty() ? 0 : argument.toInt();
        QTimer::singleShot(idleMs, [&] {
            report.printAndExit({{QStringLiteral("mode"), QStringLiteral("startup")}});
        });
    };

    const auto gallery = [&] {
        QTimer::singleShot(kSettleMs, [&] {
            const TimePoint before = std::chrono::steady_clock::now();
            game->cmdIco_Click();
            const TimePoint after = std::chrono::steady_clock::now();
            report.printAndExit({{QStringLiteral("mode"), QStringLiteral("gallery")},
                                 {QStringLiteral("first_press_us"), thousandths(micros(before, after))}});
        });
    };

    const auto round = [&] {
        QTimer::singleShot(kSettleMs, [&] {
            auto *speedList = window.findChild<QListWidget *>(QStringLiteral("lstSpeed"));
            auto *picture = window.findChild<QWidget *>(QStringLiteral("picIco"));
            auto *counter = window.findChild<QLabel *>(QStringLiteral("lblClicks"));
            auto *go = window.findChild<QPushButton *>(QStringLiteral("cmdGo"));
            auto *changeIcon = window.findChild<QPushButton *>(QStringLiteral("cmdIco"));
            if (!speedList || !picture || !counter || !go || !changeIcon
                || !setListText(*speedList, argument)) {
                std::fputs("round: no such control or speed\n", stderr);
                std::_Exit(2);
            }

            const double waitSeconds = waitSecondsFor(argument);
            ClickProbe clicks(*picture, *counter, recorder, waitSeconds * 1000.0 * 0.9,
                              20240601u);
            pump.setClickProbe(&clicks);
            recorder.beginRound();
            if (floor)
                FloorRound(window, clock, random, pump).play(waitSeconds);
            else
                go->click();
            recorder.endRound();
            pump.setClickProbe(nullptr);

            const std::vector<TickRecorder::Wait> &waits = recorder.waits();
            const TimePoint origin = waits.empty() ? TimePoint() : waits.front().start;
            const QJsonObject roundFields{
                {QStringLiteral("mode"), mode},
                {QStringLiteral("speed"), argument},
                {QStringLiteral("first_reading"), thousandths(recorder.firstReading())},
                {QStringLiteral("smallest_step"), double(recorder.smallestStep())},
                {QStringLiteral("clicks_shown"), counter->text().trimmed()},
                {QStringLiteral("click_state"),
                 game ? int(game->state().clickCount) : counter->text().toInt()},
                {QStringLiteral("wait_start_us"),
                 array(waits, [&](const auto &w) { return thousandths(micros(origin, w.start)); })},
                {QStringLiteral("wait_end_us"),
                 array(waits, [&](const auto &w) { return thousandths(micros(origin, w.end)); })},
                {QStringLiteral("pumps"), array(waits, [](const auto &w) { return w.pumps; })},
                {QStringLiteral("longest_pump_us"), array(waits, [](const auto &w) {
                     return thousandths(w.longestPump.count() / 1000.0);
                 })},
                {QStringLiteral("click_us"), array(clicks.latenciesMicros(), thousandths)},
                {QStringLiteral("clicks_late"), clicks.missed()}};
            const qint64 startMs = qRound64(double(recorder.firstReading()) * 1000.0);

            if (!floor)
                changeIcon->click();
            QTimer::singleShot(kSettleMs, [&report, roundFields, startMs, argument, floor] {
                // Memory first: the ideal round below builds a second window.
                QJsonObject out = report.json(roundFields);
                if (!floor)
                    out.insert(QStringLiteral("ideal_ticks"), idealTicks(argument, startMs));
                StartupReport::exitWithLine(out);
            });
        });
    };

    FirstPaintProbe probe(window, [&](TimePoint paint, TimePoint frame) {
        report.mark("paint", paint);
        report.mark("frame", frame);
        if (mode == QLatin1String("gallery"))
            gallery();
        else if (mode == QLatin1String("round") || floor)
            round();
        else
            startup();
    });

    window.show();
    report.mark("shown");
    return app.exec();
}
