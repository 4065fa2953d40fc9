#include "iconmotion.h"

#include "errorreport.h"
#include "floatfaults.h"
#include "formstate.h"
#include "geometry.h"

#include <cmath>

namespace {

constexpr float kKeepDrift = 0.95f;     // draws below this keep the drift's sign
constexpr float kResetPosition = 3000.0f;
constexpr double kMargin = 1440.0;      // one inch

void turn(float &heading, FormState &state)
{
    const bool positive = state.turnPositive != kFalse;
    if (state.turnRoll < kKeepDrift) {
        heading = positive ? heading + state.turnStep : heading - state.turnStep;
    } else if (positive) {
        heading = heading - state.turnStep;
        state.turnPositive = kFalse;
    } else {
        heading = heading + state.turnStep;
        state.turnPositive = kTrue;
    }
}

void setLeft(ControlGeometry &picIco, float twips, ErrorReport &errors)
{
    if (!picIco.setLeft(twips))
        errors.raise(RuntimeError::InvalidPropertyValue);
}

void setTop(ControlGeometry &picIco, float twips, ErrorReport &errors)
{
    if (!picIco.setTop(twips))
        errors.raise(RuntimeError::InvalidPropertyValue);
}

void move(float heading, const FormState &state, ControlGeometry &picIco, ErrorReport &errors)
{
    const double step = state.stepLength;

    clearFloatFaults();
    const double cosine = std::cos(static_cast<double>(heading));
    const auto left = static_cast<float>(step * cosine + static_cast<double>(picIco.left()));
    checkFloatFaults(errors, left);
    setLeft(picIco, left, errors);

    clearFloatFaults();
    const double sine = std::sin(static_cast<double>(heading));
    const auto top = static_cast<float>(step * sine + static_cast<double>(picIco.top()));
    checkFloatFaults(errors, top);
    setTop(picIco, top, errors);
}

void keepInside(ControlGeometry &picIco, const WindowGeometry &form, ErrorReport &errors)
{
    if (picIco.left() == form.width()) {
        setLeft(picIco, kResetPosition, errors);
        setTop(picIco, kResetPosition, errors);
    }

    if (picIco.left() < 0.0f) {
        clearFloatFaults();
        const auto left = static_cast<float>(static_cast<double>(form.width()) - kMargin
                                             - static_cast<double>(picIco.width()));
        checkFloatFaults(errors, left);
        setLeft(picIco, left, errors);
    }

    clearFloatFaults();
    const float bottom = picIco.height() + picIco.top();
    const bool belowBottom = bottom > form.height();
    checkFloatFaults(errors, bottom);
    if (belowBottom)
        setTop(picIco, static_cast<float>(kMargin), errors);

    clearFloatFaults();
    const float right = picIco.width() + picIco.left();
    const bool pastRight = right > form.width();
    checkFloatFaults(errors, right);
    if (pastRight)
        setLeft(picIco, static_cast<float>(kMargin), errors);

    if (picIco.top() < 0.0f) {
        clearFloatFaults();
        const auto top = static_cast<float>(static_cast<double>(form.height()) - kMargin
                                            - static_cast<double>(picIco.height()));
        checkFloatFaults(errors, top);
        setTop(picIco, top, errors);
    }
}

} // namespace

void moveIcon(float &heading, FormState &state, ControlGeometry &picIco,
              const WindowGeometry &form, ErrorReport &errors)
{
    turn(heading, state);
    move(heading, state, picIco, errors);
    keepInside(picIco, form, errors);
}
