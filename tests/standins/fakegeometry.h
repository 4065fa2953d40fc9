#pragma once

#include "geometry.h"

// A control whose geometry is plain singles, with no pixel rounding.
class FakeGeometry final : public ControlGeometry
{
public:
    FakeGeometry(float left, float top, float width, float height)
        : l(left), t(top), w(width), h(height) {}
    float left() const override { return l; }
    float top() const override { return t; }
    float width() const override { return w; }
    float height() const override { return h; }
    bool setLeft(float twips) override { l = twips; return true; }
    bool setTop(float twips) override { t = twips; return true; }
    float l, t, w, h;
};
