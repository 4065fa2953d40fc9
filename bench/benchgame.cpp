// The game as main.cpp builds it, real services and all, with timing decorators
// around the clock, the random numbers and the event pump, driven by the benchmark.
//
//   quorvel_bench startup [IDLE_MS]  first frame (then IDLE_MS idle) and peak memory
//   quorvel_bench gallery            the first "Change Icon" press in a fresh session
//   quorvel_bench round SPEED        one whole round with clicks, then "Change Icon"
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
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr int kSettleMs = 300;

using TimePoint = std::chrono::steady_clock::time_point;

double micros(TimePoint from, TimePoint to)
{
    return std::chrono::duration<double, std::micro>(to - from).count();
}

std::string number(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", value);
    return text;
}

std::string quoted(const std::string &text)
{
    return "\"" + text + "\"";
}

template <typename T, typename F>
std::string array(const std::vector<T> &values, F format)
{
    std::string out = "[";
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i)
            out += ',';
        out += format(values[i]);
    }
    return out + "]";
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
    std::string json = "{\"program\":\"quorvel_bench\",\"mode\":\"ideal\",\"qt\":" +
                       quoted(qVersion()) + ",\"ideal\":{";
    bool firstStart = true;
    for (const Start &start : starts) {
        json += std::string(firstStart ? "" : ",") + quoted(start.step) + ":{";
        firstStart = false;
        bool firstSpeed = true;
        for (const layout::Speed &speed : layout::kSpeeds) {
            json += std::string(firstSpeed ? "" : ",") + quoted(speed.listText) + ":" +
                    std::to_string(idealTicks(QString::fromUtf8(speed.listText), start.ms));
            firstSpeed = false;
        }
        json += "}";
    }
    std::puts((json + "}}").c_str());
    std::fflush(stdout);
    std::_Exit(0);
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
    setUpToolkit(app);
    report.mark("toolkit");

    if (mode == QLatin1String("ideal"))
        printIdealTicks();

    SystemClock systemClock;
    StdRandom systemRandom(systemClock.now());
    QtEventPump qtPump;
    ProcessEnd end;
    MessageBoxErrorReport errors(QString::fromUtf8(layout::kCaption));

    TickRecorder recorder;
    RecordingClock clock(systemClock, recorder);
    RecordingRandom random(systemRandom, recorder);
    RecordingPump pump(qtPump, recorder);

    Form1 window({clock, random, pump, end, errors});
    report.mark("built");

    const auto startup = [&] {
        const int idleMs = argument.isEmpty() ? 0 : argument.toInt();
        QTimer::singleShot(idleMs, [&] { report.printAndExit(quoted("mode") + ":\"startup\""); });
    };

    const auto gallery = [&] {
        QTimer::singleShot(kSettleMs, [&] {
            const TimePoint before = std::chrono::steady_clock::now();
            window.cmdIco_Click();
            const TimePoint after = std::chrono::steady_clock::now();
            report.printAndExit(quoted("mode") + ":\"gallery\",\"first_press_us\":" +
                                number(micros(before, after)));
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

            ClickProbe clicks(*picture, *counter, recorder,
                              waitSecondsFor(argument) * 1000.0 * 0.9, 20240601u);
            pump.setClickProbe(&clicks);
            recorder.beginRound();
            go->click();
            recorder.endRound();
            pump.setClickProbe(nullptr);

            const std::vector<TickRecorder::Wait> &waits = recorder.waits();
            const TimePoint origin = waits.empty() ? TimePoint() : waits.front().start;
            const std::string roundFields =
                quoted("mode") + ":\"round\",\"speed\":" + quoted(argument.toStdString()) +
                ",\"first_reading\":" + number(recorder.firstReading()) +
                ",\"smallest_step\":" + std::to_string(recorder.smallestStep()) +
                ",\"clicks_shown\":" + quoted(counter->text().trimmed().toStdString()) +
                ",\"click_state\":" + std::to_string(window.state().clickCount) +
                ",\"wait_start_us\":" +
                array(waits, [&](const auto &w) { return number(micros(origin, w.start)); }) +
                ",\"wait_end_us\":" +
                array(waits, [&](const auto &w) { return number(micros(origin, w.end)); }) +
                ",\"pumps\":" +
                array(waits, [](const auto &w) { return std::to_string(w.pumps); }) +
                ",\"longest_pump_us\":" +
                array(waits, [](const auto &w) { return number(w.longestPump.count() / 1000.0); }) +
                ",\"click_us\":" + array(clicks.latenciesMicros(), number) +
                ",\"clicks_late\":" + std::to_string(clicks.missed());
            const qint64 startMs = qRound64(double(recorder.firstReading()) * 1000.0);

            changeIcon->click();
            QTimer::singleShot(kSettleMs, [&report, roundFields, startMs, argument] {
                // Memory first: the ideal round below builds a second window.
                const std::string memoryAndRound = report.json(roundFields);
                const int ideal = idealTicks(argument, startMs);
                std::string out = memoryAndRound;
                out.insert(out.size() - 1, ",\"ideal_ticks\":" + std::to_string(ideal));
                std::puts(out.c_str());
                std::fflush(stdout);
                std::_Exit(0);
            });
        });
    };

    FirstPaintProbe probe(window, [&](TimePoint paint, TimePoint frame) {
        report.mark("paint", paint);
        report.mark("frame", frame);
        if (mode == QLatin1String("gallery"))
            gallery();
        else if (mode == QLatin1String("round"))
            round();
        else
            startup();
    });

    window.show();
    report.mark("shown");
    return app.exec();
}
