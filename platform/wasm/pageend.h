#pragma once

#include <QString>

// The web page around the game. The game cannot close its tab: when it ends, the page
// puts "The game has ended." in its place (after `message`, where there is one) with a
// way to play again, and nothing of the game runs any more.
[[noreturn]] void endGameInPage(int status, const QString &message);
