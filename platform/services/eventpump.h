#pragma once

// Handles every window event that is pending, then returns. The caller goes on waiting
// for `secondsLeft` more: a pump may hand the thread to the system for part of that.
class EventPump
{
public:
    virtual ~EventPump() = default;
    virtual void pumpOnce(double secondsLeft) = 0;
};

class QtEventPump final : public EventPump
{
public:
    void pumpOnce(double secondsLeft) override;
};
