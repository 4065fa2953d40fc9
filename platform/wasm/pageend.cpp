#include "pageend.h"

#include <emscripten.h>

#include <cstdio>

namespace {

EM_JS(void, quorvel_page_ended, (int status, const char *message), {
    const page = globalThis.quorvelPage;
    if (page && page.ended)
        page.ended(status, UTF8ToString(message));
});

// Ends the runtime as emscripten_force_exit() does, so that the page's events no longer
// reach the program, then leaves the game's code wherever it is: the exception unwinds
// every frame up to the browser's event, which takes it as the program's end. (Qt's
// loader keeps exit() itself from throwing, and emscripten_force_exit() is declared not
// to return, so the compiler would put a trap after it.)
EM_JS(void, quorvel_end_runtime, (int status), {
    noExitRuntime = false;
    runtimeKeepaliveCounter = 0;
    exit(status);
    throw new ExitStatus(status);
});

} // namespace

void endGameInPage(int status, const QString &message)
{
    std::fflush(nullptr);
    quorvel_page_ended(status, message.toUtf8().constData());
    quorvel_end_runtime(status);
    __builtin_unreachable();
}
