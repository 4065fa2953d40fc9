#pragma once

#include <QtGlobal>

#include <optional>

// Flags are 16-bit integers holding -1 for true and 0 for false.
inline constexpr qint16 kTrue = -1;
inline constexpr qint16 kFalse = 0;

// The main window's own state, zero when the window is created.
struct FormState
{
    qint16 speedLevel = 0;           // 1 EASY, 2 MEDIUM, 3 INSANITY; 0 before any round
    qint16 clickCount = 0;           // clicks counted since the round started
    float turnRoll = 0.0f;           // this tick's random draw, in [0, 1)
    float turnStep = 0.0f;           // heading change per tick, radians
    qint16 stepLength = 0;           // distance moved per tick, twips
    qint16 turnPositive = kFalse;    // drift sign: true turns the heading clockwise
    std::optional<float> roundStart; // clock reading at the start of the last round
    float piValue = 0.0f;            // the angle constant, set when the window loads
};
