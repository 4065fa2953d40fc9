// The toolkit adapter and runtime services the game logic relies on.

#include "clock.h"
#include "errorreport.h"
#include "floatfaults.h"
#include "geometry.h"
#include "listtext.h"
#include "numbertext.h"
#include "randomsource.h"
#include "resultfault.h"
#include "throwingerrorreport.h"

#include <QListWidget>
#include <QtTest>

#include <cfenv>
#include <cfloat>
#include <cmath>
#include <limits>

class TestPlatform : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void singleText_data();
    void singleText();
    void singleTextUsesTheLocaleSeparator_data();
    void singleTextUsesTheLocaleSeparator();
    void integerText();
    void listTextReadsAndSelects();
    void positionsLandOnWholePixels_data();
    void positionsLandOnWholePixels();
    void unplaceablePositionsAreRefused_data();
    void unplaceablePositionsAreRefused();
    void elapsedAcrossMidnight_data();
    void elapsedAcrossMidnight();
    void systemClockFollowsElapsedTimeNotTheWallClock_data();
    void systemClockFollowsElapsedTimeNotTheWallClock();
    void systemClockReadsSecondsSinceMidnight();
    void randomDrawsStayInUnitIntervalAndRepeatAfterReseed();
    void floatFaultsMapToErrors_data();
    void floatFaultsMapToErrors();
    void resultShowsTheFaultWhereThereAreNoFlags_data();
    void resultShowsTheFaultWhereThereAreNoFlags();
};

void TestPlatform::singleText_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << 0.0f << "0";
    QTest::newRow("just below 10.1") << 10.0999994f << "10.1";
    QTest::newRow("seven digits") << 3.14159274f << "3.141593";
    QTest::newRow("no trailing zeros") << 2.5f << "2.5";
    QTest::newRow("small step") << 0.05078125f << "0.05078125";
    QTest::newRow("no group separator") << 86399.5f << "86399.5";
    QTest::newRow("negative") << -1.25f << "-1.25";
}

void TestPlatform::singleText()
{
    QFETCH(float, value);
    QFETCH(QString, text);
    QCOMPARE(::singleText(value), text);
}

void TestPlatform::singleTextUsesTheLocaleSeparator_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("de_DE") << "de_DE" << -2.5f << "-2,5";
    QTest::newRow("sv_SE: ASCII minus") << "sv_SE" << -1.25f << "-1,25";
    QTest::newRow("ar_EG: ASCII digits") << "ar_EG" << 10.0999994f << QString::fromUtf8("10\u066B1");
    QTest::newRow("fa_IR: ASCII digits") << "fa_IR" << 3.5f << QString::fromUtf8("3\u066B5");
    QTest::newRow("bn_BD: ASCII digits") << "bn_BD" << 86399.5f << "86399.5";
    QTest::newRow("de_DE: exponent as in C") << "de_DE" << 1.5e-7f << "1,5e-07";
    QTest::newRow("en_US") << "en_US" << 12345.67f << "12345.67";
}

// Only the decimal separator is the user's: the timer shows the same digits and signs
// as the clicks label beside it.
void TestPlatform::singleTextUsesTheLocaleSeparator()
{
    QFETCH(QString, locale);
    QFETCH(float, value);
    QFETCH(QString, text);
    QLocale::setDefault(QLocale(locale));
    const QString shown = ::singleText(value);
    QLocale::setDefault(QLocale::c());
    QCOMPARE(shown, text);
}

void TestPlatform::integerText()
{
    QCOMPARE(::integerText(0), QStringLiteral("0"));
    QCOMPARE(::integerText(1), QStringLiteral("1"));
    QCOMPARE(::integerText(32767), QStringLiteral("32767"));
    QCOMPARE(::integerText(-32768), QStringLiteral("-32768"));
}

void TestPlatform::listTextReadsAndSelects()
{
    QListWidget list;
    list.addItems({"EASY", "MEDIUM", "INSANITY"});
    QCOMPARE(listText(list), QString());
    QVERIFY(setListText(list, "MEDIUM"));
    QCOMPARE(listText(list), QStringLiteral("MEDIUM"));
    QVERIFY(setListText(list, "EASY"));
    QCOMPARE(list.selectedItems().size(), 1);
    QCOMPARE(listText(list), QStringLiteral("EASY"));
    QVERIFY(!setListText(list, "easy"));
    QCOMPARE(listText(list), QStringLiteral("EASY"));
}

void TestPlatform::positionsLandOnWholePixels_data()
{
    QTest::addColumn<float>("twips");
    QTest::addColumn<int>("pixels");
    QTest::newRow("exact") << 3480.0f << 232;
    QTest::newRow("rounds up") << 3629.18f << 242;
    QTest::newRow("rounds down") << 2504.32f << 167;
    QTest::newRow("negative") << -220.0f << -15;
    QTest::newRow("half to even") << 22.5f << 2;
}

void TestPlatform::positionsLandOnWholePixels()
{
    QFETCH(float, twips);
    QFETCH(int, pixels);
    QWidget parent;
    QWidget child(&parent);
    WidgetGeometry geometry(child);
    QVERIFY(geometry.setLeft(twips));
    QVERIFY(geometry.setTop(twips));
    QCOMPARE(child.pos(), QPoint(pixels, pixels));
    QCOMPARE(geometry.left(), float(pixels * 15));
    QCOMPARE(geometry.top(), float(pixels * 15));
}

void TestPlatform::unplaceablePositionsAreRefused_data()
{
    QTest::addColumn<float>("twips");
    QTest::newRow("largest single") << FLT_MAX;
    QTest::newRow("infinity") << INFINITY;
    QTest::newRow("not a number") << NAN;
    QTest::newRow("far left") << -1e12f;
}

void TestPlatform::unplaceablePositionsAreRefused()
{
    QFETCH(float, twips);
    QWidget parent;
    QWidget child(&parent);
    child.move(7, 9);
    WidgetGeometry geometry(child);
    QVERIFY(!geometry.setLeft(twips));
    QVERIFY(!geometry.setTop(twips));
    QCOMPARE(child.pos(), QPoint(7, 9));
}

void TestPlatform::elapsedAcrossMidnight_data()
{
    QTest::addColumn<float>("start");
    QTest::addColumn<float>("now");
    QTest::addColumn<float>("elapsed");
    QTest::newRow("same day") << 1000.0f << 1010.5f << 10.5f;
    QTest::newRow("no time") << 5.0f << 5.0f << 0.0f;
    QTest::newRow("over midnight") << 86395.0f << 5.0f << 10.0f;
    QTest::newRow("just after midnight") << 86399.5f << 0.0f << 0.5f;
}

void TestPlatform::elapsedAcrossMidnight()
{
    QFETCH(float, start);
    QFETCH(float, now);
    QFETCH(float, elapsed);
    QCOMPARE(elapsedSince(start, now), elapsed);
}

void TestPlatform::systemClockFollowsElapsedTimeNotTheWallClock_data()
{
    QTest::addColumn<qint64>("startMs");
    QTest::addColumn<qint64>("wallStepMs");
    QTest::addColumn<qint64>("elapsedNs");
    QTest::addColumn<float>("reading");
    QTest::newRow("wall clock back 1 s") << qint64(43200000) << qint64(-1000) << qint64(2000000000) << 43202.0f;
    QTest::newRow("end of summer time") << qint64(43200000) << qint64(-3600000) << qint64(2000000000) << 43202.0f;
    QTest::newRow("wall clock forward 1 h") << qint64(43200000) << qint64(3600000) << qint64(2000000000) << 43202.0f;
    QTest::newRow("past midnight") << qint64(86399000) << qint64(0) << qint64(2500000000) << 1.5f;
    QTest::newRow("last millisecond of the day") << qint64(86399999) << qint64(0) << qint64(500000) << 86399.9921875f;
}

// Wall-clock steps during a round would end it at once or stretch it by an hour; and the
// day's last readings must not round up to 86400, which is outside the day.
void TestPlatform::systemClockFollowsElapsedTimeNotTheWallClock()
{
    QFETCH(qint64, startMs);
    QFETCH(qint64, wallStepMs);
    QFETCH(qint64, elapsedNs);
    QFETCH(float, reading);
    qint64 wallMs = startMs;
    qint64 monotonicNs = 7000000000;
    SystemClock clock({[&] { return wallMs; }, [&] { return monotonicNs; }});
    wallMs += wallStepMs;
    monotonicNs += elapsedNs;
    QCOMPARE(clock.now(), reading);
    QVERIFY(clock.now() < 86400.0f);
}

void TestPlatform::systemClockReadsSecondsSinceMidnight()
{
    SystemClock clock;
    const float reading = clock.now();
    const double expected = QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
    QVERIFY(reading >= 0.0f && reading < 86400.0f);
    QVERIFY(std::fabs(reading - expected) < 1.0 || std::fabs(reading - expected) > 86399.0);
}

void TestPlatform::randomDrawsStayInUnitIntervalAndRepeatAfterReseed()
{
    StdRandom random(1234.5f);
    double sum = 0;
    constexpr int kDraws = 100000;
    for (int i = 0; i < kDraws; ++i) {
        const float r = random.next();
        QVERIFY(r >= 0.0f && r < 1.0f);
        sum += r;
    }
    QVERIFY(std::fabs(sum / kDraws - 0.5) < 0.01);

    random.reseed(777.25f);
    const float first = random.next();
    const float second = random.next();
    random.reseed(777.25f);
    QCOMPARE(random.next(), first);
    QCOMPARE(random.next(), second);
    random.reseed(777.5f);
    QVERIFY(random.next() != first);
}

void TestPlatform::floatFaultsMapToErrors_data()
{
    QTest::addColumn<int>("fault");
    QTest::addColumn<int>("error");
    QTest::newRow("overflow") << FE_OVERFLOW << int(RuntimeError::Overflow);
    QTest::newRow("division by zero") << FE_DIVBYZERO << int(RuntimeError::DivisionByZero);
    QTest::newRow("invalid") << FE_INVALID << int(RuntimeError::InvalidOperation);
    QTest::newRow("inexact is no fault") << FE_INEXACT << -1;
    QTest::newRow("underflow is no fault") << FE_UNDERFLOW << -1;
}

void TestPlatform::floatFaultsMapToErrors()
{
    QFETCH(int, fault);
    QFETCH(int, error);
    ThrowingErrorReport errors;
    clearFloatFaults();
    std::feraiseexcept(fault);
    int raised = -1;
    try {
        checkFloatFaults(errors, 0.0);
    } catch (const ErrorRaised &e) {
        raised = int(e.error);
    }
    clearFloatFaults();
    QCOMPARE(raised, error);
}

void TestPlatform::resultShowsTheFaultWhereThereAreNoFlags_data()
{
    QTest::addColumn<double>("result");
    QTest::addColumn<int>("error");
    const double huge = std::numeric_limits<double>::max();
    QTest::newRow("NaN") << std::nan("") << int(RuntimeError::InvalidOperation);
    QTest::newRow("+infinity") << HUGE_VAL << int(RuntimeError::Overflow);
    QTest::newRow("-infinity") << -HUGE_VAL << int(RuntimeError::Overflow);
    QTest::newRow("largest single") << double(FLT_MAX) << -1;
    QTest::newRow("largest double") << huge << -1;
    QTest::newRow("window position") << 10005.0 << -1;
    QTest::newRow("negative zero") << -0.0 << -1;
}

// Guards the browser build's fault check, which has only the result to go on.
void TestPlatform::resultShowsTheFaultWhereThereAreNoFlags()
{
    QFETCH(double, result);
    QFETCH(int, error);
    const auto fault = faultInResult(result);
    QCOMPARE(fault ? int(*fault) : -1, error);
}

QTEST_MAIN(TestPlatform)
#include "tst_platform.moc"
