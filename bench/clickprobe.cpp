#include "clickprobe.h"

#include "postclick.h"
#include "tickrecorder.h"

#include <QLabel>
#include <QWidget>

ClickProbe::ClickProbe(QWidget &picture, QLabel &counter, const TickRecorder &recorder,
                       double windowMs, unsigned seed)
    : picture_(picture)
    , counter_(counter)
    , recorder_(recorder)
    , engine_(seed)
    , offsetMs_(0.0, windowMs)
{
    latencies_.reserve(512);
}

void ClickProbe::beforePump()
{
    if (!recorder_.waiting())
        return;
    const std::size_t wait = recorder_.waits().size();
    if (wait != plannedWait_) {
        plannedWait_ = wait;
        plannedOffsetMs_ = wait % 2 == 0 ? offsetMs_(engine_) : -1.0;
    }
    if (pending_ || plannedOffsetMs_ < 0.0)
        return;
    const auto now = std::chrono::steady_clock::now();
    const double intoWaitMs =
        std::chrono::duration<double, std::milli>(now - recorder_.waits().back().start).count();
    if (intoWaitMs < plannedOffsetMs_)
        return;

    plannedOffsetMs_ = -1.0;
    pending_ = true;
    pendingWait_ = wait;
    textBefore_ = counter_.text();
    postedAt_ = std::chrono::steady_clock::now();
    postClick(picture_, QPointF(picture_.width() / 2.0, picture_.height() / 2.0));
}

void ClickProbe::afterPump()
{
    if (!pending_ || counter_.text() == textBefore_)
        return;
    const auto now = std::chrono::steady_clock::now();
    pending_ = false;
    // A count that only shows after its wait is over did not make it in time.
    if (recorder_.waits().size() != pendingWait_)
        ++missed_;
    latencies_.push_back(std::chrono::duration<double, std::micro>(now - postedAt_).count());
}
