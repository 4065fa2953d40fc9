#include "firstpaintprobe.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

FirstPaintProbe::FirstPaintProbe(QWidget &window, Handler onFirstFrame)
    : window_(window)
    , onFirstFrame_(std::move(onFirstFrame))
{
    window_.installEventFilter(this);
}

bool FirstPaintProbe::eventFilter(QObject *watched, QEvent *event)
{
    if (!seen_ && watched == &window_ && event->type() == QEvent::Paint) {
        seen_ = true;
        const TimePoint paint = std::chrono::steady_clock::now();
        // The children and the flush to the window system follow in the same pass;
        // a zero timer fires once that pass is over.
        QTimer::singleShot(0, this, [this, paint] {
            window_.removeEventFilter(this);
            onFirstFrame_(paint, std::chrono::steady_clock::now());
        });
    }
    return false;
}
