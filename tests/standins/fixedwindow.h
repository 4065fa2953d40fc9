#pragma once

#include "geometry.h"

// A window of a fixed outer size, in twips.
class FixedWindow final : public WindowGeometry
{
public:
    FixedWindow(float width, float height) : w(width), h(height) {}
    float width() const override { return w; }
    float height() const override { return h; }
    float w, h;
};
