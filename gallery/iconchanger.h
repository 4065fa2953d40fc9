#pragma once

#include "frmico.h"

#include <QtGlobal>

#include <memory>
#include <optional>

class Clock;
class ErrorReport;
class PictureBox;
class RandomSource;

// A number rounded to the nearest whole number, a half going to the even neighbour.
// Out of the 16-bit range it gives nothing: the conversion overflows.
std::optional<qint16> roundToInteger(double value);

// The gallery element for a draw r in [0, 1): r × (kPictureCount - 1) rounded as above,
// so the two end elements come up half as often as the others.
std::optional<qint16> galleryIndex(float r);

// "Change Icon": puts a randomly drawn gallery picture into the wandering picture box.
// The gallery is built on the first press and kept until the program ends.
class IconChanger
{
public:
    void cmdIco_Click(Clock &clock, RandomSource &random, ErrorReport &errors,
                      PictureBox &picIco);

    const frmIco *gallery() const { return gallery_.get(); }

private:
    std::unique_ptr<frmIco> gallery_;
};
