#include "eventpump.h"

#include <QCoreApplication>

#include <emscripten.h>

namespace {

// Hands the thread to the browser, which then delivers input, and comes back as soon as
// the tasks queued before it have run. A zero timeout would do the same, but browsers
// hold nested timers back for 4 ms or more, which a 20 ms wait cannot afford; a message
// on a channel of our own is not held. A browser that always has a message to run
// draws seldom, though (every 50 ms in Chromium), so once two frames' time (30 ms) has
// passed since the last frame the game waits for the next animation frame instead:
// often enough to keep the page drawing, seldom enough to cost a tick now and then.
EM_ASYNC_JS(void, quorvel_yield_to_browser, (), {
    if (!Module.quorvelYield) {
        const channel = new MessageChannel();
        const waiting = [];
        channel.port1.onmessage = () => waiting.shift()();
        let frameDue = 0;
        Module.quorvelYield = () => new Promise(resume => {
            const now = performance.now();
            if (now >= frameDue) {
                requestAnimationFrame(() => {
                    frameDue = performance.now() + 30;
                    resume();
                });
            } else {
                waiting.push(resume);
                channel.port2.postMessage(null);
            }
        });
    }
    await Module.quorvelYield();
});

} // namespace

// The browser delivers input only while the game has handed it the thread: whatever
// came in then is handled before the wait looks at the clock again, so a click always
// lands in the wait during which it was made, never after the picture has moved on.
void QtEventPump::pumpOnce()
{
    quorvel_yield_to_browser();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}
