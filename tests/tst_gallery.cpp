// "Change Icon": which gallery element a draw picks, and what a press changes.

#include "fakeservices.h"
#include "form1.h"
#include "frmico.h"
#include "iconchanger.h"
#include "picturebox.h"
#include "randomsource.h"
#include "toolkit.h"

#include <QApplication>
#include <QLabel>
#include <QtTest>

#include <array>
#include <cmath>

class TestGallery : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { setUpToolkit(*qobject_cast<QApplication *>(QCoreApplication::instance())); }

    void halvesRoundToEven_data();
    void halvesRoundToEven();
    void drawsMapToIndices_data();
    void drawsMapToIndices();
    void everyDrawGivesAnIndexFrom0To56WithHalfWeightEnds();
    void seededPressesPickTheEndsHalfAsOften();
    void firstPressBuildsAHiddenGalleryThatLaterPressesReuse();
    void pressChangesOnlyThePicture();
    void sameClockReadingGivesTheSamePicture();
    void roundAfterPressesMovesTheNewPicture();
    void galleryHasAllElementsAndNoOthers();
};

void TestGallery::halvesRoundToEven_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("rounded");
    QTest::newRow("0.5") << 0.5 << 0;
    QTest::newRow("just above 0.5") << std::nextafter(0.5, 1.0) << 1;
    QTest::newRow("1.5") << 1.5 << 2;
    QTest::newRow("2.5") << 2.5 << 2;
    QTest::newRow("55.5") << 55.5 << 56;
    QTest::newRow("just below 55.5") << std::nextafter(55.5, 0.0) << 55;
    QTest::newRow("-2.5") << -2.5 << -2;
    QTest::newRow("32767.4") << 32767.4 << 32767;
}

void TestGallery::halvesRoundToEven()
{
    QFETCH(double, value);
    QFETCH(int, rounded);
    QCOMPARE(roundToInteger(value), std::optional<qint16>(qint16(rounded)));
    QCOMPARE(roundToInteger(32767.5), std::nullopt);
    QCOMPARE(roundToInteger(-32768.6), std::nullopt);
}

void TestGallery::drawsMapToIndices_data()
{
    QTest::addColumn<float>("r");
    QTest::addColumn<int>("index");
    QTest::newRow("0") << 0.0f << 0;
    QTest::newRow("1/16: 3.5 to 4") << 0.0625f << 4;
    QTest::newRow("0.1875: 10.5 to 10") << 0.1875f << 10;
    QTest::newRow("0.3125: 17.5 to 18") << 0.3125f << 18;
    QTest::newRow("0.6875: 38.5 to 38") << 0.6875f << 38;
    QTest::newRow("0.9375: 52.5 to 52") << 0.9375f << 52;
    QTest::newRow("largest draw") << std::nextafter(1.0f, 0.0f) << 56;
    const float nearHalf = 0.5f / 56.0f; // the single nearest 1/112 lies just above it
    QTest::newRow("just above a half: 1") << nearHalf << 1;
    QTest::newRow("just below a half: 0") << std::nextafter(nearHalf, 0.0f) << 0;
}

void TestGallery::drawsMapToIndices()
{
    QFETCH(float, r);
    QFETCH(int, index);
    QCOMPARE(galleryIndex(r), std::optional<qint16>(qint16(index)));
}

void TestGallery::everyDrawGivesAnIndexFrom0To56WithHalfWeightEnds()
{
    // Every draw the generator can make: k / 2^24 for k = 0 … 2^24 − 1.
    std::array<int, 57> hits{};
    for (std::uint32_t k = 0; k < (1u << 24); ++k) {
        const std::optional<qint16> index = galleryIndex(float(k) * 0x1p-24f);
        QVERIFY(index && *index >= 0 && *index <= 56);
        ++hits[*index];
    }
    for (int i = 1; i <= 55; ++i)
        QVERIFY(std::abs(hits[i] - hits[1]) <= 1);
    QVERIFY(std::abs(2 * hits[0] - hits[1]) <= 2);
    QVERIFY(std::abs(2 * hits[56] - hits[1]) <= 2);
}

void TestGallery::seededPressesPickTheEndsHalfAsOften()
{
    StdRandom random(0.0f);
    std::array<int, 57> hits{};
    constexpr int kPresses = 200000;
    for (int press = 0; press < kPresses; ++press) {
        random.reseed(float(press) * 0.001f); // one press a millisecond apart
        ++hits[*galleryIndex(random.next())];
    }
    const double middle = kPresses / 56.0; // each of 1 … 55 carries 1/56 of the draws
    for (int i = 1; i <= 55; ++i)
        QVERIFY2(std::abs(hits[i] - middle) < 0.15 * middle, qPrintable(QString::number(i)));
    QVERIFY(std::abs(hits[0] - middle / 2) < 0.15 * middle);
    QVERIFY(std::abs(hits[56] - middle / 2) < 0.15 * middle);
}

void TestGallery::firstPressBuildsAHiddenGalleryThatLaterPressesReuse()
{
    FakeServices fakes;
    Form1 form(fakes.services());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const auto visibleWindows = [] {
        int count = 0;
        for (QWidget *w : QApplication::topLevelWidgets())
            count += w->isVisible();
        return count;
    };
    const int before = visibleWindows();
    QVERIFY(!form.iconChanger().gallery());
    form.cmdIco_Click();
    const frmIco *gallery = form.iconChanger().gallery();
    QVERIFY(gallery);
    QCOMPARE(visibleWindows(), before);
    form.cmdIco_Click();
    form.cmdIco_Click();
    QCOMPARE(form.iconChanger().gallery(), gallery);
    QCOMPARE(visibleWindows(), before);
}

void TestGallery::pressChangesOnlyThePicture()
{
    FakeServices fakes;
    fakes.random.script = {0.5f}; // × 56 = 28
    Form1 form(fakes.services());
    form.show();
    auto *picture = form.findChild<PictureBox *>("picIco");
    picture->move(300, 200);
    picture->setEnabled(false);
    form.state().clickCount = 9;
    form.state().speedLevel = 2;
    const QStringList labels{"lblTimer", "lblClicks", "lblFeedback", "Label1", "Lable2"};
    QStringList textsBefore;
    for (const QString &name : labels)
        textsBefore << form.findChild<QLabel *>(name)->text();

    form.cmdIco_Click();

    QCOMPARE(fakes.random.reseeds.size(), std::size_t(1));
    QCOMPARE(fakes.random.reseeds.front(), 1000.0f);
    QCOMPARE(picture->picture().toImage(), form.iconChanger().gallery()->p(28)->toImage());
    QVERIFY(picture->picture().toImage() != builtInPicture(0).toImage());
    QCOMPARE(picture->geometry(), QRect(300, 200, 52, 52));
    QVERIFY(!picture->isEnabled());
    QCOMPARE(form.state().clickCount, qint16(9));
    QCOMPARE(form.state().speedLevel, qint16(2));
    QStringList textsAfter;
    for (const QString &name : labels)
        textsAfter << form.findChild<QLabel *>(name)->text();
    QCOMPARE(textsAfter, textsBefore);
}

void TestGallery::sameClockReadingGivesTheSamePicture()
{
    FakeClock clock(4321.0);
    StdRandom random(0.0f);
    FakePump pump(clock);
    ThrowingEnd end;
    ThrowingErrorReport errors;
    Form1 form({clock, random, pump, end, errors});
    auto *picture = form.findChild<PictureBox *>("picIco");
    form.cmdIco_Click();
    const QImage first = picture->picture().toImage();
    random.next(); // whatever ran in between, the reseed starts the sequence over
    form.cmdIco_Click();
    QCOMPARE(picture->picture().toImage(), first);
}

void TestGallery::roundAfterPressesMovesTheNewPicture()
{
    FakeServices fakes;
    fakes.random.script = {0.25f, 0.5f}; // elements 14, then a first tick's draw
    Form1 form(fakes.services());
    auto *picture = form.findChild<PictureBox *>("picIco");
    form.cmdIco_Click();
    const QImage chosen = picture->picture().toImage();
    QCOMPARE(chosen, form.iconChanger().gallery()->p(14)->toImage());
    QPoint afterFirstTick;
    fakes.pump.onPump = [&] {
        if (fakes.random.draws == 3 && afterFirstTick.isNull())
            afterFirstTick = picture->pos();
    };
    form.cmdGo_Click();
    QCOMPARE(afterFirstTick, QPoint(242, 167)); // the usual first step: right and up
    QCOMPARE(picture->picture().toImage(), chosen);
    QCOMPARE(picture->size(), QSize(52, 52));
}

void TestGallery::galleryHasAllElementsAndNoOthers()
{
    frmIco gallery;
    for (int i = 0; i < 57; ++i) {
        QVERIFY(gallery.p(i));
        QCOMPARE(gallery.p(i)->size(), QSize(48, 48));
    }
    QCOMPARE(gallery.p(0)->toImage(), builtInPicture(0).toImage());
    QVERIFY(!gallery.p(-1));
    QVERIFY(!gallery.p(57));
}

QTEST_MAIN(TestGallery)
#include "tst_gallery.moc"
