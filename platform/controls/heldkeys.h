#pragma once

#include <QHash>
#include <QObject>

class QCoreApplication;
class QKeyEvent;

// Which keys the player is holding down, across all the game's windows, and whether a
// key press begins a new hold or repeats a held key. Window systems report a held
// key's repeat in different forms, and each is told apart here:
// - presses marked as repeats (Windows);
// - release-and-press pairs marked as repeats (Wayland, and X11 most of the time);
// - presses that are not marked at all (X11 with detectable auto-repeat);
// - on X11 now and then, an unmarked release and press that carry one time stamp.
// Only the key events the window system hands to a window are watched.
class HeldKeys final : public QObject
{
    Q_OBJECT

public:
    struct Press
    {
        bool fresh;   // a new hold, not a held key's repeat
        quint64 hold; // the hold it belongs to, 0 for a press no window saw
    };

    // The application's own, made the first time it is asked for: it watches from then
    // on and goes with the application.
    static HeldKeys &of(QCoreApplication &app);

    // Where a held key can repeat as an unmarked release and press with one time stamp
    // (X11), a release ends a hold only once `graceMs` have passed without that press.
    // 0 (the default): every unmarked release ends its hold at once.
    void setRepeatPairGrace(int graceMs) { graceMs_ = graceMs; }
    int repeatPairGrace() const { return graceMs_; }

    // What the window system made of `event`, a key press now being delivered.
    Press press(const QKeyEvent &event) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit HeldKeys(QCoreApplication &app);
    void pressed(const QKeyEvent &event);
    void released(const QKeyEvent &event);

    struct Key
    {
        bool down = false;
        bool released = false;
        quint64 releasedAt = 0;
        quint64 hold = 0;
    };
    QHash<int, Key> keys_;
    quint64 holds_ = 0;
    int graceMs_ = 0;

    struct Seen
    {
        int key = 0;
        quint64 timestamp = 0;
        Press verdict{true, 0};
    };
    Seen lastPress_;
    bool seenAny_ = false;
};
