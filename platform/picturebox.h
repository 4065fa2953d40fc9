#pragma once

#include <QFrame>
#include <QPixmap>
#include <QPointF>

// A picture in a 2-pixel sunken frame, drawn unscaled at the top left of the inside.
// It reports a click for a left press followed by a left release, both while enabled.
class PictureBox : public QFrame
{
    Q_OBJECT

public:
    explicit PictureBox(QWidget *parent = nullptr);

    QPixmap picture() const { return picture_; }
    void setPicture(const QPixmap &picture);

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    QPixmap picture_;
    bool pressed_ = false;
    QPointF pressScreenPos_;
};
