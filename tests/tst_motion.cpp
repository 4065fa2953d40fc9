// The wandering picture: heading walk, straight move, and the five boundary corrections.

#include "fakegeometry.h"
#include "fixedwindow.h"
#include "formstate.h"
#include "geometry.h"
#include "iconmotion.h"
#include "picturebox.h"
#include "throwingerrorreport.h"

#include <QtTest>

#include <cfloat>
#include <cmath>

namespace {

constexpr float kTurnStep = 0.104666672f; // 3.14f × 2 / 60, rounded to single

FormState movingState(float roll, qint16 positive, qint16 stepLength = 150)
{
    FormState state;
    state.piValue = 3.14f;
    state.turnStep = kTurnStep;
    state.turnRoll = roll;
    state.turnPositive = positive;
    state.stepLength = stepLength;
    return state;
}

// Ticks as a round runs them: the heading starts at 0 and carries on from tick to tick,
// and an error comes out as ErrorRaised.
struct Mover
{
    explicit Mover(FormState start) : state(start) {}

    FormState state;
    float heading = 0.0f;
    ThrowingErrorReport errors;

    void tick(ControlGeometry &picture, const WindowGeometry &window)
    {
        moveIcon(heading, state, picture, window, errors);
    }
};

} // namespace

class TestMotion : public QObject
{
    Q_OBJECT

private slots:
    void firstTickFromTheStartPlace_data();
    void firstTickFromTheStartPlace();
    void ticksLandOnWholePixels_data();
    void ticksLandOnWholePixels();
    void drawAtPointNineFiveFlipsTheDrift_data();
    void drawAtPointNineFiveFlipsTheDrift();
    void sixtyTicksTurnBySixPointTwoEight();
    void boundaryCorrections_data();
    void boundaryCorrections();
    void tooSmallWindowMovesThePictureAgainNextTick();
    void resizeBetweenTicksMovesTheBoundsAtOnce();
    void floatingPointFaultsAreRaised_data();
    void floatingPointFaultsAreRaised();
};

void TestMotion::firstTickFromTheStartPlace_data()
{
    QTest::addColumn<qint16>("positive");
    QTest::addColumn<double>("left");
    QTest::addColumn<double>("top");
    QTest::newRow("drifting negative: up") << qint16(0) << 3629.1793 << 2504.3286;
    QTest::newRow("drifting positive: down") << qint16(-1) << 3629.1793 << 2535.6714;
}

void TestMotion::firstTickFromTheStartPlace()
{
    QFETCH(qint16, positive);
    QFETCH(double, left);
    QFETCH(double, top);
    FakeGeometry picture(3480, 2520, 780, 780);
    FixedWindow window(10785, 7920);
    Mover mover(movingState(0.5f, positive));

    mover.tick(picture, window);

    QCOMPARE(mover.heading, positive ? kTurnStep : -kTurnStep);
    QVERIFY2(std::fabs(picture.l - left) < 1e-3, qPrintable(QString::number(picture.l, 'f', 4)));
    QVERIFY2(std::fabs(picture.t - top) < 1e-3, qPrintable(QString::number(picture.t, 'f', 4)));
    QCOMPARE(mover.state.turnPositive, positive);
}

void TestMotion::ticksLandOnWholePixels_data()
{
    QTest::addColumn<qint16>("positive");
    QTest::addColumn<int>("ticks");
    QTest::addColumn<QPoint>("pixels");
    // 3629.18 twips is 241.95 px; 2504.33 is 166.96 px and 2535.67 is 169.04 px.
    QTest::newRow("first tick up") << qint16(0) << 1 << QPoint(242, 167);
    QTest::newRow("first tick down") << qint16(-1) << 1 << QPoint(242, 169);
    // 3630 + 150·cos(0.2093) = 3776.7 -> 252 px; 2535 + 150·sin(0.2093) = 2566.2 -> 171 px.
    QTest::newRow("next tick starts from the rounded place") << qint16(-1) << 2 << QPoint(252, 171);
}

void TestMotion::ticksLandOnWholePixels()
{
    QFETCH(qint16, positive);
    QFETCH(int, ticks);
    QFETCH(QPoint, pixels);
    QWidget window;
    PictureBox box(&window);
    box.setGeometry(232, 168, 52, 52);
    WidgetGeometry picture(box);
    FixedWindow outer(10785, 7920);
    Mover mover(movingState(0.5f, positive));

    for (int tick = 0; tick < ticks; ++tick)
        mover.tick(picture, outer);

    QCOMPARE(box.pos(), pixels);
    QCOMPARE(picture.left(), float(pixels.x() * 15));
    QCOMPARE(picture.top(), float(pixels.y() * 15));
}

void TestMotion::drawAtPointNineFiveFlipsTheDrift_data()
{
    QTest::addColumn<float>("roll");
    QTest::addColumn<qint16>("positive");
    QTest::addColumn<qint16>("positiveAfter");
    QTest::addColumn<float>("headingAfter");
    const float below = std::nextafter(0.95f, 0.0f);
    QTest::newRow("just below, positive keeps") << below << qint16(-1) << qint16(-1) << kTurnStep;
    QTest::newRow("just below, negative keeps") << below << qint16(0) << qint16(0) << -kTurnStep;
    QTest::newRow("0.95, positive flips") << 0.95f << qint16(-1) << qint16(0) << -kTurnStep;
    QTest::newRow("0.95, negative flips") << 0.95f << qint16(0) << qint16(-1) << kTurnStep;
    QTest::newRow("0, keeps") << 0.0f << qint16(0) << qint16(0) << -kTurnStep;
    QTest::newRow("largest draw flips") << std::nextafter(1.0f, 0.0f) << qint16(-1) << qint16(0) << -kTurnStep;
}

void TestMotion::drawAtPointNineFiveFlipsTheDrift()
{
    QFETCH(float, roll);
    QFETCH(qint16, positive);
    QFETCH(qint16, positiveAfter);
    QFETCH(float, headingAfter);
    FakeGeometry picture(3000, 3000, 780, 780);
    FixedWindow window(10785, 7920);
    Mover mover(movingState(roll, positive));
    mover.tick(picture, window);
    QCOMPARE(mover.state.turnPositive, positiveAfter);
    QCOMPARE(mover.heading, headingAfter);
}

void TestMotion::sixtyTicksTurnBySixPointTwoEight()
{
    FakeGeometry picture(3000, 3000, 780, 780);
    FixedWindow window(1e6f, 1e6f);
    Mover mover(movingState(0.0f, -1));
    for (int tick = 0; tick < 60; ++tick)
        mover.tick(picture, window);
    QVERIFY2(std::fabs(mover.heading - 6.28f) < 1e-4f, qPrintable(QString::number(mover.heading, 'g', 9)));
    QVERIFY(std::fabs(mover.heading - 6.2831853f) > 2e-3f);
    // Nearly a closed loop: the picture ends close to where it began, not on it.
    QVERIFY(std::hypot(picture.l - 3000.0f, picture.t - 3000.0f) < 10.0f);
}

void TestMotion::boundaryCorrections_data()
{
    QTest::addColumn<float>("windowWidth");
    QTest::addColumn<float>("windowHeight");
    QTest::addColumn<float>("left");
    QTest::addColumn<float>("top");
    QTest::addColumn<float>("leftAfter");
    QTest::addColumn<float>("topAfter");
    // The picture does not move (step length 0), so only the corrections act.
    QTest::newRow("right edge past the width") << 10785.f << 7920.f << 10006.f << 2000.f << 1440.f << 2000.f;
    QTest::newRow("right edge on the width") << 10785.f << 7920.f << 10005.f << 2000.f << 10005.f << 2000.f;
    QTest::newRow("bottom edge past the height") << 10785.f << 7920.f << 2000.f << 7141.f << 2000.f << 1440.f;
    QTest::newRow("bottom edge on the height") << 10785.f << 7920.f << 2000.f << 7140.f << 2000.f << 7140.f;
    QTest::newRow("left of the window") << 10785.f << 7920.f << -1.f << 2000.f << 8565.f << 2000.f;
    QTest::newRow("left exactly at 0") << 10785.f << 7920.f << 0.f << 2000.f << 0.f << 2000.f;
    QTest::newRow("above the window") << 10785.f << 7920.f << 2000.f << -0.5f << 2000.f << 5700.f;
    QTest::newRow("top exactly at 0") << 10785.f << 7920.f << 2000.f << 0.f << 2000.f << 0.f;
    QTest::newRow("left exactly on the width") << 10785.f << 7920.f << 10785.f << 7000.f << 3000.f << 3000.f;
    QTest::newRow("left on the width, then past it in a narrow window") << 3500.f << 7920.f << 3500.f << 100.f << 1440.f << 3000.f;
    QTest::newRow("near the width only jumps back") << 10785.f << 7920.f << 10784.f << 100.f << 1440.f << 100.f;
    QTest::newRow("off the right and the top") << 10785.f << 7920.f << 10100.f << -5.f << 1440.f << 5700.f;
    QTest::newRow("off the left and the bottom") << 10785.f << 7920.f << -5.f << 9000.f << 8565.f << 1440.f;
}

void TestMotion::boundaryCorrections()
{
    QFETCH(float, windowWidth);
    QFETCH(float, windowHeight);
    QFETCH(float, left);
    QFETCH(float, top);
    QFETCH(float, leftAfter);
    QFETCH(float, topAfter);
    FakeGeometry picture(left, top, 780, 780);
    FixedWindow window(windowWidth, windowHeight);
    Mover mover(movingState(0.5f, 0, 0));
    mover.tick(picture, window);
    QCOMPARE(picture.l, leftAfter);
    QCOMPARE(picture.t, topAfter);
    QCOMPARE(mover.heading, -kTurnStep);
    QCOMPARE(mover.state.turnPositive, qint16(0));
}

void TestMotion::tooSmallWindowMovesThePictureAgainNextTick()
{
    // 2000 − 1440 − 780 = −220: the corrected place is itself off the left edge.
    FakeGeometry picture(-5, 100, 780, 780);
    FixedWindow window(2000, 3000);
    Mover mover(movingState(0.5f, 0, 0));
    mover.tick(picture, window);
    QCOMPARE(picture.l, -220.0f);
    picture.l = -1;
    mover.tick(picture, window);
    QCOMPARE(picture.l, -220.0f);
    // The same holds downwards: 3000 − 1440 − 780 = 780 stays inside, but 2000 does not.
    window.h = 2000;
    picture.t = -3;
    mover.tick(picture, window);
    QCOMPARE(picture.t, -220.0f);
}

void TestMotion::resizeBetweenTicksMovesTheBoundsAtOnce()
{
    FakeGeometry picture(6000, 2000, 780, 780);
    FixedWindow window(10785, 7920);
    Mover mover(movingState(0.5f, 0, 0));
    mover.tick(picture, window);
    QCOMPARE(picture.l, 6000.0f);
    window.w = 6500;
    mover.tick(picture, window);
    QCOMPARE(picture.l, 1440.0f);
    window.h = 2500;
    mover.tick(picture, window);
    QCOMPARE(picture.t, 1440.0f);
}

void TestMotion::floatingPointFaultsAreRaised_data()
{
    QTest::addColumn<float>("left");
    QTest::addColumn<float>("top");
    QTest::addColumn<float>("size");
    QTest::addColumn<float>("turnStep");
    QTest::addColumn<int>("error");
    QTest::newRow("bottom edge overflows") << 100.f << FLT_MAX << FLT_MAX << kTurnStep
                                           << int(RuntimeError::Overflow);
    QTest::newRow("right edge overflows") << FLT_MAX << 100.f << FLT_MAX << kTurnStep
                                          << int(RuntimeError::Overflow);
    QTest::newRow("cosine of an infinite heading") << 100.f << 100.f << 780.f << INFINITY
                                                   << int(RuntimeError::InvalidOperation);
}

void TestMotion::floatingPointFaultsAreRaised()
{
    QFETCH(float, left);
    QFETCH(float, top);
    QFETCH(float, size);
    QFETCH(float, turnStep);
    QFETCH(int, error);
    FakeGeometry picture(left, top, size, size);
    FixedWindow window(1e30f, 1e30f);
    Mover mover(movingState(0.5f, -1, turnStep == kTurnStep ? 0 : 150));
    mover.state.turnStep = turnStep;
    try {
        mover.tick(picture, window);
        QFAIL("no error raised");
    } catch (const ErrorRaised &raised) {
        QCOMPARE(int(raised.error), error);
    }
}

QTEST_MAIN(TestMotion)
#include "tst_motion.moc"
