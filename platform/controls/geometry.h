#pragma once

class QWidget;

// Geometry in twips as the game logic sees it, 15 twips to a device-independent pixel.
inline constexpr float kTwipsPerPixel = 15.0f;

// A control's position and size, read from and written to the control every time.
class ControlGeometry
{
public:
    virtual ~ControlGeometry() = default;
    virtual float left() const = 0;
    virtual float top() const = 0;
    virtual float width() const = 0;
    virtual float height() const = 0;
    // False when the control cannot take that position.
    [[nodiscard]] virtual bool setLeft(float twips) = 0;
    [[nodiscard]] virtual bool setTop(float twips) = 0;
};

// A window's outer size, frame and title bar included.
class WindowGeometry
{
public:
    virtual ~WindowGeometry() = default;
    virtual float width() const = 0;
    virtual float height() const = 0;
};

// A control on screen: a position written in twips lands on the nearest whole pixel.
class WidgetGeometry final : public ControlGeometry
{
public:
    explicit WidgetGeometry(QWidget &widget) : widget_(widget) {}
    float left() const override;
    float top() const override;
    float width() const override;
    float height() const override;
    bool setLeft(float twips) override;
    bool setTop(float twips) override;

private:
    QWidget &widget_;
};

class WindowFrameGeometry final : public WindowGeometry
{
public:
    explicit WindowFrameGeometry(const QWidget &window) : window_(window) {}
    float width() const override;
    float height() const override;

private:
    const QWidget &window_;
};
