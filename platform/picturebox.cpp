#include "picturebox.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

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

void PictureBox::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        pressed_ = true;
        pressScreenPos_ = event->globalPosition();
    }
    event->accept();
}

void PictureBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The second press of a double-click is not the start of a click.
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
    if (event->type() == QEvent::EnabledChange && !isEnabled())
        pressed_ = false;
    QFrame::changeEvent(event);
}
