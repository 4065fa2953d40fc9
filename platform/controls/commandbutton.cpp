#include "commandbutton.h"

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
    connect(&keys_, &ButtonKeys::pressed, this, [this] {
        if (takesClicks())
            click();
    });
    connect(this, &QAbstractButton::clicked, this, [this] {
        if (takesClicks())
            emit Click();
    });
    // A new desktop font of another size would not reach a button with a size of its own.
    qApp->installEventFilter(this);
    fitCaption();
}

void CommandButton::keyPressEvent(QKeyEvent *event)
{
    if (keys_.keyPress(*event))
        event->accept();
    else
        QPushButton::keyPressEvent(event);
}

void CommandButton::keyReleaseEvent(QKeyEvent *event)
{
    if (keys_.keyRelease(*event))
        event->accept();
    else
        QPushButton::keyReleaseEvent(event);
}

void CommandButton::focusInEvent(QFocusEvent *event)
{
    keys_.letGo();
    QPushButton::focusInEvent(event);
}

void CommandButton::focusOutEvent(QFocusEvent *event)
{
    keys_.letGo();
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
