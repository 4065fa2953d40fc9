#pragma once

class QWidget;

// The game window's controls as plain Qt widgets, with no game code: the same kinds
// at the design's places with the design's texts, the list in the game's face at
// 18 px and the labels at 24 px, the buttons in the toolkit's default font, and a
// plain sunken 52 × 52 frame where the picture is. Each control carries its design
// name as its object name.
void addFloorControls(QWidget &window);
