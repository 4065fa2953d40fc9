#include "picturebox.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleHints>

PictureBox::PictureBox(QWidget *parent)
    : QFrame(parent)
{
    setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    // The classic 3-D border shades, so the sunken frame reads clearly on any style.
    QPalette shades = palette();
    shades.setColor(QPalette::Light, QColor(255, 255, 255));
    shades.setColor(QPalette::Midlight, QColor(227, 227, 227));
    shades.setColor(QPalette::Dark, QColor(160, 160, 160));
    shades.setColor(QPalette::Shadow, QColor(105, 105, 105));
    setPalette(shades);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::StrongFocus);
}

void PictureBox::setPicture(const QPixmap &picture)
{
    picture_ = picture;
    update();
}

void PictureBox::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.setClipRect(contentsRect());
    painter.drawPixmap(contentsRect().topLeft(), picture_);
}

void PictureBox::startPress(const QMouseEvent &event)
{
    pressed_ = true;
    pressScreenPos_ = event.globalPosition();
}

void PictureBox::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        startPress(*event);
    event->accept();
}

void PictureBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The second press of a double-click on the picture is not the start of a click; a
    // press that the window system paired with one that went elsewhere is.
    if (event->button() == Qt::LeftButton && !secondPressOfDoubleClick_)
        startPress(*event);
    else
        pressed_ = false;
    event->accept();
}

void PictureBox::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !pressed_)
        return;
    pressed_ = false;
    // The picture moves between waits: a release where the pointer was pressed still
    // belongs to the picture the player hit, even if the box has moved on under it.
    const bool onBox = rect().contains(event->position().toPoint());
    const bool stayed = (event->globalPosition() - pressScreenPos_).manhattanLength()
                        <= QApplication::startDragDistance();
    if (onBox || stayed)
        emit clicked();
}

void PictureBox::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::EnabledChange) {
        if (!isEnabled())
            pressed_ = false;
        setAttribute(Qt::WA_TransparentForMouseEvents, !isEnabled());
    }
    QFrame::changeEvent(event);
}

void PictureBox::showEvent(QShowEvent *event)
{
    qApp->installEventFilter(this);
    QFrame::showEvent(event);
}

void PictureBox::hideEvent(QHideEvent *event)
{
    qApp->removeEventFilter(this);
    lastPressWasHere_ = false;
    QFrame::hideEvent(event);
}

bool PictureBox::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    // Presses reach the window first and then the widget under the pointer: only the
    // widget's share tells where the press went.
    if ((type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick)
        || !watched->isWidgetType())
        return false;
    const auto *mouse = static_cast<const QMouseEvent *>(event);
    if (watched == this) {
        if (type == QEvent::MouseButtonDblClick) {
            const auto interval = quint64(QGuiApplication::styleHints()->mouseDoubleClickInterval());
            secondPressOfDoubleClick_ = lastPressWasHere_
                                        && mouse->timestamp() - lastPressTime_ <= interval;
        }
        lastPressWasHere_ = true;
        lastPressTime_ = mouse->timestamp();
    } else {
        // The box takes every press it gets, so this one went to another widget.
        lastPressWasHere_ = false;
        lastPressTime_ = mouse->timestamp();
    }
    return false;
}
