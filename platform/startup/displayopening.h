#pragma once

// Watches the opening of the window system connection. If it cannot be opened, Qt's
// own report is replaced by one plain line that names the display it could not open,
// and the program ends with status 1.
// Messages Qt prints while opening it are passed on once the window system is there.
class DisplayOpening
{
public:
    DisplayOpening();
    ~DisplayOpening();
    void opened();

    DisplayOpening(const DisplayOpening &) = delete;
    DisplayOpening &operator=(const DisplayOpening &) = delete;
};
