// A click storm during a round on the real clock: every press/release pair the window
// system reports as a click is counted exactly once, every pair it makes into a
// double-click on the picture not at all, the count label keeps up, and the round
// still ends on time.

#include "clock.h"
#include "doubleclickcounter.h"
#include "eventpump.h"
#include "form1.h"
#include "picturebox.h"
#include "randomsource.h"
#include "throwingend.h"
#include "throwingerrorreport.h"
#include "toolkit.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTimer>
#include <QtTest>

#include <algorithm>

namespace {

// Draws come once a tick, right after the previous tick's wait and move.
class WatchingRandom final : public RandomSource
{
public:
    WatchingRandom(RandomSource &inner, std::function<void()> atTick)
        : inner_(inner), atTick_(std::move(atTick)) {}
    float next() override
    {
        atTick_();
        return inner_.next();
    }
    void reseed(float reading) override { inner_.reseed(reading); }

private:
    RandomSource &inner_;
    std::function<void()> atTick_;
};

} // namespace

class TestStorm : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { setUpToolkit(*qobject_cast<QApplication *>(QCoreApplication::instance())); }
    void tenThousandPairsInBursts();
};

void TestStorm::tenThousandPairsInBursts()
{
    constexpr int kPairs = 10000;
    constexpr int kPerBurst = 50;

    SystemClock clock;
    StdRandom realRandom(clock.now());
    QtEventPump pump;
    ThrowingEnd end;
    ThrowingErrorReport errors;
    Form1 *formPtr = nullptr;
    QLabel *clicks = nullptr;
    QElapsedTimer sinceTick;
    qint64 longestTickMs = 0;
    int labelMismatches = 0;
    WatchingRandom random(realRandom, [&] {
        if (sinceTick.isValid())
            longestTickMs = std::max(longestTickMs, sinceTick.restart());
        else
            sinceTick.start();
        if (clicks->text() != QString::number(formPtr->state().clickCount))
            ++labelMismatches;
    });
    Form1 form({clock, random, pump, end, errors});
    formPtr = &form;
    clicks = form.findChild<QLabel *>("lblClicks");
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    auto *picture = form.findChild<PictureBox *>("picIco");
    int reported = 0;
    connect(picture, &PictureBox::clicked, this, [&] { ++reported; });
    DoubleClickCounter doubleClicks(picture);

    int sent = 0;
    int timestamp = QTest::lastMouseTimestamp + 1000;
    QTimer bursts;
    bursts.setInterval(30);
    connect(&bursts, &QTimer::timeout, this, [&] {
        QWindow *window = form.windowHandle();
        const QPoint centre = picture->mapTo(&form, QPoint(26, 26));
        const QPointF global = window->mapToGlobal(centre);
        // A millisecond apart, so that the toolkit pairs presses into double-clicks.
        for (int i = 0; i < kPerBurst && sent < kPairs; ++i, ++sent) {
            qt_handleMouseEvent(window, centre, global, Qt::LeftButton, Qt::LeftButton,
                                QEvent::MouseButtonPress, Qt::NoModifier, ++timestamp);
            qt_handleMouseEvent(window, centre, global, Qt::NoButton, Qt::LeftButton,
                                QEvent::MouseButtonRelease, Qt::NoModifier, ++timestamp);
        }
        if (sent == kPairs)
            bursts.stop();
    });
    bursts.start();

    QElapsedTimer roundTime;
    roundTime.start();
    form.cmdGo_Click();
    const qint64 roundMs = roundTime.elapsed();

    QCOMPARE(sent, kPairs);
    QCOMPARE(int(form.state().clickCount), reported);
    QVERIFY2(doubleClicks.count > kPairs / 4, qPrintable(QString::number(doubleClicks.count)));
    QCOMPARE(reported + doubleClicks.count, kPairs);
    QCOMPARE(labelMismatches, 0);
    QCOMPARE(clicks->text(), QString::number(reported));
    QVERIFY2(roundMs >= 10100 - 10 && roundMs <= 10100 + longestTickMs + 20,
             qPrintable(QStringLiteral("%1 ms, longest tick %2 ms").arg(roundMs).arg(longestTickMs)));
    qInfo("%d pairs sent, %d clicks counted, %d double-clicks; round %lld ms, longest tick %lld ms",
          sent, reported, doubleClicks.count, roundMs, longestTickMs);
}

QTEST_MAIN(TestStorm)
#include "tst_storm.moc"
