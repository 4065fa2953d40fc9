#include "eventpump.h"

#include <QCoreApplication>

#include <emscripten.h>

#include <algorithm>

namespace {

// A browser's timer comes back a little late: a millisecond or two when the machine is
// idle, a few more when it is busy. A sleep ends this long before the wait does.
constexpr double kTimerLatenessMs = 6.0;

// Hands the thread to the browser and comes back after `sleepMs`, or, for no sleep, as
// soon as the tasks queued before it have run. While the thread is idle the browser
// draws the page's frames at its own pace and delivers input. A zero timeout would not
// do for the short turns, since browsers hold nested timers back for 4 ms or more: a
// message on a channel of our own is not held.
EM_ASYNC_JS(void, quorvel_yield_to_browser, (double sleepMs), {
    if (!Module.quorvelYield) {
        const channel = new MessageChannel();
        const waiting = [];
        channel.port1.onmessage = () => waiting.shift()();
        Module.quorvelYield = ms => new Promise(resume => {
            if (ms > 0) {
                setTimeout(resume, ms);
            } else {
                waiting.push(resume);
                channel.port2.postMessage(null);
            }
        });
    }
    await Module.quorvelYield(sleepMs);
});

} // namespace

// The browser delivers input only while the game has handed it the thread: whatever
// came in then is handled before the wait looks at the clock again, so a click always
// lands in the wait during which it was made, never after the picture has moved on.
// Most of a wait is one sleep, which leaves the browser idle to draw; the rest is short
// turns, so that the wait ends on time whatever the browser's frame rate (a frame in
// WebKit on a software renderer takes longer than a tick at INSANITY).
void QtEventPump::pumpOnce(double secondsLeft)
{
    quorvel_yield_to_browser(std::max(0.0, secondsLeft * 1000.0 - kTimerLatenessMs));
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}
