#include "pageend.h"

#include <emscripten.h>

#include <cstdio>

namespace {

EM_JS(void, quorvel_page_ended, (int status, const char *message), {
    const page = globalThis.quorvelPage;
    if (page && page.ended)
        page.ended(status, UTF8ToString(message));
});

} // namespace

// Ends the runtime, so that the page's events no longer reach the program, and leaves
// the game's code wherever it is: emscripten throws its exit status, which unwinds every
// frame up to the browser's event, and the page takes it as the program's end.
void endGameInPage(int status, const QString &message)
{
    std::fflush(nullptr);
    quorvel_page_ended(status, message.toUtf8().constData());
    emscripten_force_exit(status);
}
