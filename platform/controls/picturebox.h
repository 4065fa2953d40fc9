#pragma once

#include <QFrame>
#include <QPixmap>
#include <QPointF>

// A picture in a 2-pixel sunken frame, drawn unscaled at the top left of the inside.
// It reports a click for a left press followed by a left release, both while enabled.
// A disabled box lets mouse presses through to whatever lies beneath it.
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
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void startPress(const QMouseEvent &event);

    QPixmap picture_;
    bool pressed_ = false;
    QPointF pressScreenPos_;

    // The window system pairs a press with the one before it, wherever that one went.
    // Which widget took the last press tells a double-click on this box from a hit
    // that follows a press just beside it.
    bool lastPressWasHere_ = false;
    quint64 lastPressTime_ = 0;
    bool secondPressOfDoubleClick_ = false;
};
