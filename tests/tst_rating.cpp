// The verdict after a round, for every count from 0 to 45 on every speed.

#include "rating.h"
#include "ratingtable.h"

#include <QtTest>

class TestRating : public QObject
{
    Q_OBJECT

private slots:
    void everyCountOnEverySpeed_data();
    void everyCountOnEverySpeed();
    void largestCountStillRates();
};

void TestRating::everyCountOnEverySpeed_data()
{
    QTest::addColumn<int>("speed");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<QString>("message");
    for (int speed = 0; speed <= 3; ++speed) {
        for (int clicks = 0; clicks <= 45; ++clicks) {
            const QString label = expectedRatingLabel(clicks, speed);
            QTest::addRow("speed %d, %d clicks", speed, clicks)
                << speed << clicks << (label == " " ? QString() : label);
        }
    }
}

void TestRating::everyCountOnEverySpeed()
{
    QFETCH(int, speed);
    QFETCH(int, clicks);
    QFETCH(QString, message);
    const char *rated = ratingMessage(qint16(clicks), qint16(speed));
    QCOMPARE(rated ? QString(rated) : QString(), message);
}

void TestRating::largestCountStillRates()
{
    QCOMPARE(QString(ratingMessage(32767, 1)), QStringLiteral("Simply Amazing"));
    QCOMPARE(QString(ratingMessage(32767, 3)), QStringLiteral("are you a superhuman android?"));
    QCOMPARE(ratingMessage(3, 4), nullptr);
}

QTEST_APPLESS_MAIN(TestRating)
#include "tst_rating.moc"
