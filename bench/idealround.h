#pragma once

#include <QString>

// How many ticks a round at `speed` ("EASY", "MEDIUM", "INSANITY") would get if
// nothing but the wait took time: the game's own round is played on a clock that
// reads like the real one (whole milliseconds since midnight, as a single) but moves
// only while the game waits, 10 µs per pump, starting at `startMs` after midnight.
int idealTicks(const QString &speed, qint64 startMs);
