#pragma once

#include <QObject>

#include <chrono>
#include <functional>

class QWidget;

// Watches a window for its first paint. `onFirstFrame` gets the moment the window's
// first paint event arrived and the moment the event loop came back after it, that is
// once the whole first frame, children included, had gone to the window system.
class FirstPaintProbe final : public QObject
{
public:
    using TimePoint = std::chrono::steady_clock::time_point;
    using Handler = std::function<void(TimePoint paint, TimePoint frame)>;

    FirstPaintProbe(QWidget &window, Handler onFirstFrame);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget &window_;
    Handler onFirstFrame_;
    bool seen_ = false;
};
