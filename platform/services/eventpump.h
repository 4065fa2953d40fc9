#pragma once

// Handles every window event that is pending, then returns.
class EventPump
{
public:
    virtual ~EventPump() = default;
    virtual void pumpOnce() = 0;
};

class QtEventPump final : public EventPump
{
public:
    void pumpOnce() override;
};
