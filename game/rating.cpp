#include "rating.h"

const char *ratingMessage(qint16 clickCount, qint16 speedLevel)
{
    const int c = clickCount;
    const int s = speedLevel;
    if (c > 40 && s == 1)
        return "Simply Amazing";
    if (c < 40 && c > 30 && s == 1)
        return "Wow, pretty good";
    if (c < 30 && c > 20 && s == 1)
        return "You're getting better";
    if (c < 20 && c > 10 && s == 1)
        return "Maybe you should let somebody else play...";
    if (c < 10 && s == 1)
        return "This game is best played while awake";
    if (c > 30 && s == 2)
        return "Simply Amazing";
    if (c < 30 && c > 20 && s == 2)
        return "Wow, pretty good";
    if (c < 20 && c > 5 && s == 2)
        return "Maybe you should let somebody else play...";
    if (c < 5 && s == 2)
        return "Try playing with your hand this time";
    if (c < 5 && s == 3)
        return "don't feel bad, this is impossible";
    if (c < 10 && c > 5 && s == 3)
        return "wow, even i'm scared of that score";
    if (c > 10 && s == 3)
        return "are you a superhuman android?";
    return nullptr;
}
