#pragma once

#include <QPushButton>
#include <QTimer>

// A plain push button whose Click reaches the game only while the button is shown and
// enabled, whatever path the press took: mouse, keyboard or an accessibility action
// that arrives late, after the button was hidden.
//
// From the keyboard, Space, Return and Enter press it: a key pressed while it has the
// focus and released again. A held key presses it once, when it goes up; its repeats
// press nothing, and a key already held when the button got the focus presses nothing.
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
    static bool pressesButtons(int key);
    void letGo();
    void keyPressDone();
    void fitCaption();
    bool captionFits(const QFont &font) const;

    int heldKey_ = 0;       // the key that went down on this button, 0 for none
    quint64 heldSince_ = 0; // its hold
    QTimer release_;        // a release that may yet turn out to be a repeat
    bool fitting_ = false;
};
