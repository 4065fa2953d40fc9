#include "eventpump.h"

#include <QCoreApplication>

#include <emscripten.h>

namespace {

// Hands the thread to the browser, which then delivers input and draws a frame when
// one is due, and comes back as soon as the tasks queued before it have run. A zero
// timeout would do the same but browsers hold nested timers back for 4 ms or more,
// which a 20 ms wait cannot afford; a message on a channel of our own is not held.
EM_ASYNC_JS(void, quorvel_yield_to_browser, (), {
    if (!Module.quorvelYield) {
        const channel = new MessageChannel();
        const waiting = [];
        channel.port1.onmessage = () => waiting.shift()();
        Module.quorvelYield = () => new Promise(resume => {
            waiting.push(resume);
            channel.port2.postMessage(null);
        });
    }
    await Module.quorvelYield();
});

} // namespace

void QtEventPump::pumpOnce()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    quorvel_yield_to_browser();
}
