#include "floorround.h"

#include "clock.h"
#include "eventpump.h"
#include "randomsource.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QWidget>

#include <cmath>

namespace {
constexpr double kRoundSeconds = 10.1;
constexpr double kStepPixels = 10.0;
constexpr double kTurn = 3.14 * 2.0 / 60.0;
}

FloorRound::FloorRound(QWidget &window, Clock &clock, RandomSource &random, EventPump &pump)
    : window_(window)
    , clock_(clock)
    , random_(random)
    , pump_(pump)
    , frame_(window.findChild<QFrame *>(QStringLiteral("picIco")))
    , timer_(window.findChild<QLabel *>(QStringLiteral("lblTimer")))
    , clicks_(window.findChild<QLabel *>(QStringLiteral("lblClicks")))
{
    frame_->installEventFilter(this);
}

void FloorRound::play(double waitSeconds)
{
    count_ = 0;
    clicks_->setText(QString::number(count_));
    for (const char *name : {"cmdIco", "cmdGo", "lstSpeed"})
        window_.findChild<QWidget *>(QString::fromLatin1(name))->hide();

    const float start = clock_.now();
    while (elapsedSince(start, clock_.now()) < kRoundSeconds) {
        timer_->setText(QString::number(elapsedSince(start, clock_.now())));
        heading_ += random_.next() < 0.95f ? kTurn : -kTurn;
        const float waitStart = clock_.now();
        double elapsed = 0;
        while ((elapsed = elapsedSince(waitStart, clock_.now())) < waitSeconds)
            pump_.pumpOnce(waitSeconds - elapsed);
        step();
    }
}

void FloorRound::step()
{
    int x = qRound(frame_->x() + kStepPixels * std::cos(heading_));
    int y = qRound(frame_->y() + kStepPixels * std::sin(heading_));
    // Back into the window, heading away from the edge it met.
    if (x < 0 || x + frame_->width() > window_.width()) {
        heading_ = M_PI - heading_;
        x = qBound(0, x, window_.width() - frame_->width());
    }
    if (y < 0 || y + frame_->height() > window_.height()) {
        heading_ = -heading_;
        y = qBound(0, y, window_.height() - frame_->height());
    }
    // The design sets Left, then Top: two moves a tick.
    frame_->move(x, frame_->y());
    frame_->move(x, y);
}

bool FloorRound::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == frame_ && event->type() == QEvent::MouseButtonRelease) {
        ++count_;
        clicks_->setText(QString::number(count_));
        return true;
    }
    return false;
}
