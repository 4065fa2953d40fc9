#pragma once

class QLabel;
class QString;

// Sets a label's text the way the game's labels show it: text wider than the label
// breaks onto further lines between words only; a single word that is too wide is cut
// off at the label's right edge instead of spilling its end onto a line below.
void setCaption(QLabel &label, const QString &text);
