// The verdict after a round, for every count from 0 to 45 on every speed.

#include "rating.h"

#include <QtTest>

namespace {

struct Band
{
    int from, to; // inclusive
    const char *message; // nullptr: the label keeps its blank
};

const std::vector<Band> kEasy{
    {0, 9, "This game is best played while awake"},
    {10, 10, nullptr},
    {11, 19, "Maybe you should let somebody else play..."},
    {20, 20, nullptr},
    {21, 29, "You're getting better"},
    {30, 30, nullptr},
    {31, 39, "Wow, pretty good"},
    {40, 40, nullptr},
    {41, 45, "Simply Amazing"},
};
const std::vector<Band> kMedium{
    {0, 4, "Try playing with your hand this time"},
    {5, 5, nullptr},
    {6, 19, "Maybe you should let somebody else play..."},
    {20, 20, nullptr},
    {21, 29, "Wow, pretty good"},
    {30, 30, nullptr},
    {31, 45, "Simply Amazing"},
};
const std::vector<Band> kInsanity{
    {0, 4, "don't feel bad, this is impossible"},
    {5, 5, nullptr},
    {6, 9, "wow, even i'm scared of that score"},
    {10, 10, nullptr},
    {11, 45, "are you a superhuman android?"},
};
const std::vector<Band> kNoSpeed{{0, 45, nullptr}};

} // namespace

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
    const std::pair<int, const std::vector<Band> *> speeds[] = {
        {0, &kNoSpeed}, {1, &kEasy}, {2, &kMedium}, {3, &kInsanity}};
    for (const auto &[speed, bands] : speeds) {
        for (const Band &band : *bands) {
            for (int clicks = band.from; clicks <= band.to; ++clicks) {
                QTest::addRow("speed %d, %d clicks", speed, clicks)
                    << speed << clicks << (band.message ? QString(band.message) : QString());
            }
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
