#pragma once

#include <QPushButton>

// A plain push button whose Click reaches the game only while the button is shown and
// enabled, whatever path the press took: mouse, keyboard or an accessibility action
// that arrives late, after the button was hidden.
class CommandButton : public QPushButton
{
    Q_OBJECT

public:
    explicit CommandButton(const QString &text, QWidget *parent = nullptr);

    bool takesClicks() const { return !isHidden() && isEnabled(); }

signals:
    void Click();
};
