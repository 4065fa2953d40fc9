#pragma once

#include <QRgb>
#include <QtGlobal>

#include <array>

// The main window's design values, in twips (15 to a pixel), measured from the top
// left of the client area. This table is the one place they are written down.
namespace layout {

inline constexpr const char *kCaption = "Brinhalt's Quorvel";
inline constexpr int kClientWidth = 10665;
inline constexpr int kClientHeight = 7515;

enum class Kind { List, Label, Button, Picture };
enum class Face { Default, List, Label };

struct Control
{
    const char *name;
    Kind kind;
    int left, top, width, height;
    int tabIndex;
    const char *text;
    Face face;
    QRgb colour; // 0: the toolkit's default text colour
};

inline constexpr QRgb kGreen = qRgb(0, 192, 0);
inline constexpr QRgb kPurple = qRgb(128, 0, 128);
inline constexpr QRgb kBlue = qRgb(0, 0, 255);

inline constexpr std::array<Control, 10> kControls{{
    {"lstSpeed", Kind::List, 360, 240, 1575, 1140, 2, "", Face::List, 0},
    {"Label1", Kind::Label, 2160, 360, 1095, 495, 5, "Timer:", Face::Label, kGreen},
    {"lblTimer", Kind::Label, 3240, 360, 495, 495, 3, " 0", Face::Label, kGreen},
    {"Lable2", Kind::Label, 2160, 960, 1095, 495, 6, "Clicks:", Face::Label, kPurple},
    {"lblClicks", Kind::Label, 3240, 960, 495, 495, 7, " 0", Face::Label, kPurple},
    {"cmdGo", Kind::Button, 3840, 840, 1335, 615, 4, "GO!", Face::Default, 0},
    {"cmdIco", Kind::Button, 5280, 840, 1455, 615, 1, "Change Icon", Face::Default, 0},
    {"cmdQuit", Kind::Button, 6840, 840, 615, 375, 9, "QUIT", Face::Default, 0},
    {"lblFeedback", Kind::Label, 240, 1800, 2295, 1695, 8, " ", Face::Label, kBlue},
    {"picIco", Kind::Picture, 3480, 2520, 780, 780, 0, "", Face::Default, 0},
}};

// The speeds, in the list's order: what the list shows, the level a round records, and
// the wait between two steps of the picture.
struct Speed
{
    const char *listText;
    qint16 level;
    double waitSeconds;
};

inline constexpr std::array<Speed, 3> kSpeeds{{
    {"EASY", 1, 0.05},
    {"MEDIUM", 2, 0.035},
    {"INSANITY", 3, 0.02},
}};

} // namespace layout
