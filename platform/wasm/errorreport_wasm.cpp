#include "errorreport.h"

#include "pageend.h"

// A page cannot show a modal box and then close: the box's title and message go into
// the page, in place of the game.
void MessageBoxErrorReport::raise(RuntimeError error)
{
    endGameInPage(1, title_ + QStringLiteral("\n\n") + errorMessage(error));
}
