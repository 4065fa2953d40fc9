#include "geometry.h"

#include <QWidget>

#include <cmath>
#include <optional>

namespace {

float toTwips(int pixels)
{
    return static_cast<float>(pixels) * kTwipsPerPixel;
}

std::optional<int> toPixels(float twips)
{
    const double pixels = std::nearbyint(static_cast<double>(twips) / kTwipsPerPixel);
    if (!(std::fabs(pixels) <= QWIDGETSIZE_MAX))
        return std::nullopt;
    return static_cast<int>(pixels);
}

} // namespace

float WidgetGeometry::left() const { return toTwips(widget_.x()); }
float WidgetGeometry::top() const { return toTwips(widget_.y()); }
float WidgetGeometry::width() const { return toTwips(widget_.width()); }
float WidgetGeometry::height() const { return toTwips(widget_.height()); }

bool WidgetGeometry::setLeft(float twips)
{
    const auto x = toPixels(twips);
    if (!x)
        return false;
    widget_.move(*x, widget_.y());
    return true;
}

bool WidgetGeometry::setTop(float twips)
{
    const auto y = toPixels(twips);
    if (!y)
        return false;
    widget_.move(widget_.x(), *y);
    return true;
}

float WindowFrameGeometry::width() const { return toTwips(window_.frameGeometry().width()); }
float WindowFrameGeometry::height() const { return toTwips(window_.frameGeometry().height()); }
