#pragma once

#include "buttonkeys.h"

#include <QPushButton>

// A plain push button whose Click reaches the game only while the button is shown and
// enabled, whatever path the press took: mouse, keyboard or an accessibility action
// that arrives late, after the button was hidden.
//
// From the keyboard it is pressed as ButtonKeys has it.
//
// Its caption is never cut off: it keeps the desktop's font where the caption fits, and
// otherwise the largest size of that face at which it does.
class CommandButton : public QPushButton
{
    Q_OBJECT

public:
    explicit CommandButton(const QString &text, QWidget *parent = nullptr);

    bool takesClicks() const { return !isHidden() && isEnabled(); }

signals:
    void Click();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void fitCaption();
    bool captionFits(const QFont &font) const;

    ButtonKeys keys_{*this};
    bool fitting_ = false;
};
