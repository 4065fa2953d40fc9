#pragma once

#include <QtGlobal>

// The one-line verdict for a finished round, or nullptr where the count sits on a
// bound (or no speed was ever chosen) and the rating label stays blank.
const char *ratingMessage(qint16 clickCount, qint16 speedLevel);
