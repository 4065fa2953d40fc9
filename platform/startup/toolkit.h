#pragma once

#include <QFont>

class QApplication;

// Font sizes in pixels, so that the screen's DPI setting leaves the layout alone.
inline constexpr int kDialogFontPixels = 11;  // 8 pt
inline constexpr int kListFontPixels = 18;    // 13.5 pt
inline constexpr int kLabelFontPixels = 24;   // 18 pt

// The classic dialog face at a pixel size: on Windows the face itself, elsewhere a free
// face of the same metrics standing in for it (see setUpToolkit).
QFont sansSerifFont(int pixelSize);

// The family the game's text is drawn in on this system: the classic face itself
// where the system has it (Windows), its free stand-in elsewhere.
QString drawnFamily();

// Style, palette and fonts shared by every window of the game.
void setUpToolkit(QApplication &app);
