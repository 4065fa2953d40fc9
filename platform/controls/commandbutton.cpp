#include "commandbutton.h"

#include "heldkeys.h"

#include <QApplication>
#include <QFontInfo>
#include <QKeyEvent>
#include <QStyle>
#include <QStyleOptionButton>

#include <algorithm>

CommandButton::CommandButton(const QString &text, QWidget *parent)
    : QPushButton(text, parent)
{
    setAutoDefault(false);
    setDefault(false);
    HeldKeys::instance(); // watching from the first key on
    release_.setSingleShot(true);
    connect(&release_, &QTimer::timeout, this, &CommandButton::keyPressDone);
    connect(this, &QAbstractButton::clicked, this, [this] {
        if (takesClicks())
            emit Click();
    });
    // A new desktop font of another size would not reach a button with a size of its own.
    qApp->installEventFilter(this);
    fitCaption();
}

bool CommandButton::pressesButtons(int key)
{
    return key == Qt::Key_Space || key == Qt::Key_Select || key == Qt::Key_Return
        || key == Qt::Key_Enter;
}

void CommandButton::keyPressEvent(QKeyEvent *event)
{
    if (!pressesButtons(event->key())) {
        QPushButton::keyPressEvent(event);
        return;
    }
    event->accept();
    const HeldKeys::Press press = HeldKeys::instance().press(*event);
    if (release_.isActive()) {
        // The release just before was a held key's repeat after all: still held.
        if (event->key() == heldKey_ && !press.fresh && press.hold == heldSince_) {
            release_.stop();
            return;
        }
        keyPressDone();
        return;
    }
    if (!press.fresh || heldKey_ != 0)
        return;
    heldKey_ = event->key();
    heldSince_ = press.hold;
    setDown(true);
}

void CommandButton::keyReleaseEvent(QKeyEvent *event)
{
    if (!pressesButtons(event->key())) {
        QPushButton::keyReleaseEvent(event);
        return;
    }
    event->accept();
    if (event->isAutoRepeat() || event->key() != heldKey_ || release_.isActive())
        return;
    const int grace = HeldKeys::instance().repeatPairGrace();
    if (grace > 0)
        release_.start(grace);
    else
        keyPressDone();
}

void CommandButton::keyPressDone()
{
    release_.stop();
    const bool pressed = heldKey_ != 0 && hasFocus();
    letGo();
    if (pressed && takesClicks())
        click();
}

void CommandButton::letGo()
{
    release_.stop();
    // Only a key's press is undone here: a mouse button may be down on the button while
    // the window is made active and the focus arrives.
    if (heldKey_ != 0)
        setDown(false);
    heldKey_ = 0;
    heldSince_ = 0;
}

void CommandButton::focusInEvent(QFocusEvent *event)
{
    letGo();
    QPushButton::focusInEvent(event);
}

void CommandButton::focusOutEvent(QFocusEvent *event)
{
    letGo();
    QPushButton::focusOutEvent(event);
}

bool CommandButton::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == qApp && event->type() == QEvent::ApplicationFontChange)
        fitCaption();
    return QPushButton::eventFilter(watched, event);
}

void CommandButton::changeEvent(QEvent *event)
{
    QPushButton::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        fitCaption();
}

void CommandButton::resizeEvent(QResizeEvent *event)
{
    QPushButton::resizeEvent(event);
    fitCaption();
}

void CommandButton::fitCaption()
{
    if (fitting_)
        return;
    fitting_ = true;
    // The desktop's font for a button, as this one would have it without a size of its own.
    const QFont natural = QApplication::font(this);
    QFont size; // only a size of its own: face, weight and style stay the window's
    if (!captionFits(natural)) {
        QFont smaller = natural;
        int pixels = QFontInfo(natural).pixelSize();
        do {
            --pixels;
            smaller.setPixelSize(pixels);
        } while (pixels > 1 && !captionFits(smaller));
        size.setPixelSize(pixels);
    }
    setFont(size);
    fitting_ = false;
}

bool CommandButton::captionFits(const QFont &font) const
{
    QStyleOptionButton option;
    initStyleOption(&option);
    const QStyle *style = this->style();
    // The caption keeps clear of the frame by the style's button margin on each side.
    const int frame = style->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, this);
    const int margin = style->pixelMetric(QStyle::PM_ButtonMargin, &option, this);
    const QFontMetricsF metrics(font);
    const qreal inkWidth = std::max(metrics.horizontalAdvance(text()),
                                    metrics.boundingRect(text()).width());
    return inkWidth + 2 * (frame + margin / 2.0) <= width()
        && metrics.height() + 2 * frame <= height();
}
