#pragma once

// The verdicts written out band by band, as the player is told them.

#include <QString>

#include <vector>

struct RatingBand
{
    int from, to;        // clicks, inclusive
    const char *message; // nullptr: the rating label keeps its single blank
};

inline const std::vector<RatingBand> &ratingBands(int speedLevel)
{
    static const std::vector<RatingBand> easy{
        {0, 9, "This game is best played while awake"},
        {10, 10, nullptr},
        {11, 19, "Maybe you should let somebody else play..."},
        {20, 20, nullptr},
        {21, 29, "You're getting better"},
        {30, 30, nullptr},
        {31, 39, "Wow, pretty good"},
        {40, 40, nullptr},
        {41, 32767, "Simply Amazing"},
    };
    static const std::vector<RatingBand> medium{
        {0, 4, "Try playing with your hand this time"},
        {5, 5, nullptr},
        {6, 19, "Maybe you should let somebody else play..."},
        {20, 20, nullptr},
        {21, 29, "Wow, pretty good"},
        {30, 30, nullptr},
        {31, 32767, "Simply Amazing"},
    };
    static const std::vector<RatingBand> insanity{
        {0, 4, "don't feel bad, this is impossible"},
        {5, 5, nullptr},
        {6, 9, "wow, even i'm scared of that score"},
        {10, 10, nullptr},
        {11, 32767, "are you a superhuman android?"},
    };
    static const std::vector<RatingBand> none{{0, 32767, nullptr}};
    switch (speedLevel) {
    case 1: return easy;
    case 2: return medium;
    case 3: return insanity;
    default: return none;
    }
}

// What the rating label shows after a round with this count and speed.
inline QString expectedRatingLabel(int clicks, int speedLevel)
{
    for (const RatingBand &band : ratingBands(speedLevel)) {
        if (clicks >= band.from && clicks <= band.to)
            return band.message ? QString::fromUtf8(band.message) : QStringLiteral(" ");
    }
    return QStringLiteral(" ");
}
