// A timed round from "GO!" to the rating, and the paced wait it is made of.

#include "fakeservices.h"
#include "form1.h"
#include "picturebox.h"
#include "postclick.h"
#include "toolkit.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include <algorithm>
#include <map>
#include <vector>

namespace {

QString text(Form1 &form, const char *label)
{
    return form.findChild<QLabel *>(label)->text();
}

// Selects the item `name`; for a name the list lacks, the selected item takes that text,
// since the list never lets go of its selection.
void selectSpeed(Form1 &form, const QString &name)
{
    auto *list = form.findChild<QListWidget *>("lstSpeed");
    const auto items = list->findItems(name, Qt::MatchExactly);
    if (!items.isEmpty())
        items.first()->setSelected(true);
    else
        list->selectedItems().first()->setText(name);
}

} // namespace

class TestRound : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { setUpToolkit(*qobject_cast<QApplication *>(QCoreApplication::instance())); }

    void startOfRoundShowsZeroAndHidesStartControls();
    void endOfRoundRestoresControlsAndDisablesPicture();
    void waitsPerTickFollowTheSpeed_data();
    void waitsPerTickFollowTheSpeed();
    void timerShowsElapsedSecondsAsSingles();
    void endTestComparesAgainstTheDoubleTenPointOne_data();
    void endTestComparesAgainstTheDoubleTenPointOne();
    void unknownSpeedTextKeepsTheLastSpeed();
    void unknownSpeedOnAFreshWindowRunsWithoutWaits();
    void roundAcrossMidnightEndsOnTime();
    void timeOutOfZeroOrLessDoesNotPump_data();
    void timeOutOfZeroOrLessDoesNotPump();
    void timeOutEndsWhenElapsedEqualsTheWait();
    void timeOutAcrossMidnightEnds();
    void clickPostedDuringWaitIsCountedBeforeTheWaitReturns();
    void stepsOfARoundRunInOrder();
    void boundsAreTheWindowsOuterFrame();
};

void TestRound::startOfRoundShowsZeroAndHidesStartControls()
{
    FakeServices fakes;
    Form1 form(fakes.services());
    form.show();
    form.state().clickCount = 7;
    bool checked = false;
    fakes.pump.onPump = [&] {
        if (checked)
            return;
        checked = true;
        QCOMPARE(text(form, "lblClicks"), QStringLiteral("0"));
        QCOMPARE(text(form, "lblFeedback"), QStringLiteral(" "));
        QCOMPARE(form.state().clickCount, qint16(0));
        QCOMPARE(form.state().speedLevel, qint16(1));
        QCOMPARE(form.state().stepLength, qint16(150));
        QVERIFY(form.findChild<PictureBox *>("picIco")->isEnabled());
        QVERIFY(!form.findChild<QWidget *>("cmdIco")->isVisible());
        QVERIFY(!form.findChild<QWidget *>("cmdGo")->isVisible());
        QVERIFY(!form.findChild<QWidget *>("lstSpeed")->isVisible());
        QVERIFY(form.findChild<QWidget *>("cmdQuit")->isVisible());
    };
    form.cmdGo_Click();
    QVERIFY(checked);
}

void TestRound::endOfRoundRestoresControlsAndDisablesPicture()
{
    FakeServices fakes;
    Form1 form(fakes.services());
    form.show();
    form.cmdGo_Click();
    for (const char *name : {"cmdIco", "cmdGo", "lstSpeed", "cmdQuit"})
        QVERIFY2(form.findChild<QWidget *>(name)->isVisible(), name);
    QVERIFY(!form.findChild<PictureBox *>("picIco")->isEnabled());
    QCOMPARE(text(form, "lblFeedback"), QStringLiteral("This game is best played while awake"));
    QCOMPARE(text(form, "lblClicks"), QStringLiteral("0"));
    QCOMPARE(*form.state().roundStart, 1000.0f);
}

void TestRound::waitsPerTickFollowTheSpeed_data()
{
    QTest::addColumn<QString>("speed");
    QTest::addColumn<int>("pumpsPerWait");
    QTest::addColumn<int>("ticks");
    // The pump lets 1/1024 s pass; a wait of w seconds takes ceil(w × 1024) runs, and the
    // round runs ticks until their total reaches 10.1 s.
    QTest::newRow("EASY 0.05 s") << "EASY" << 52 << 199;         // 51.2 -> 52; 10.1*1024/52 = 198.9
    QTest::newRow("MEDIUM 0.035 s") << "MEDIUM" << 36 << 288;    // 35.84 -> 36; 287.3
    QTest::newRow("INSANITY 0.02 s") << "INSANITY" << 21 << 493; // 20.48 -> 21; 492.5
}

void TestRound::waitsPerTickFollowTheSpeed()
{
    QFETCH(QString, speed);
    QFETCH(int, pumpsPerWait);
    QFETCH(int, ticks);

    FakeServices fakes;
    Form1 form(fakes.services());
    selectSpeed(form, speed);
    std::map<int, int> pumpsByTick;
    fakes.pump.onPump = [&] { ++pumpsByTick[fakes.random.draws]; };
    form.cmdGo_Click();

    QCOMPARE(fakes.random.draws, ticks);
    QCOMPARE(int(pumpsByTick.size()), ticks);
    for (const auto &[tick, pumps] : pumpsByTick)
        QCOMPARE(pumps, pumpsPerWait);
}

void TestRound::timerShowsElapsedSecondsAsSingles()
{
    FakeServices fakes;
    Form1 form(fakes.services());
    QStringList shown;
    auto *timer = form.findChild<QLabel *>("lblTimer");
    int lastDraw = -1;
    fakes.pump.onPump = [&] {
        if (fakes.random.draws != lastDraw) {
            lastDraw = fakes.random.draws;
            shown << timer->text();
        }
    };
    form.cmdGo_Click();
    QCOMPARE(shown.value(0), QStringLiteral("0"));
    QCOMPARE(shown.value(1), QStringLiteral("0.05078125")); // 52/1024 s, seven digits
}

void TestRound::endTestComparesAgainstTheDoubleTenPointOne_data()
{
    QTest::addColumn<float>("elapsed");
    QTest::addColumn<int>("ticks");
    QTest::addColumn<QString>("timer");
    QTest::newRow("largest single below 10.1") << 10.0999994f << 1 << "10.1";
    QTest::newRow("single nearest 10.1") << 10.1000004f << 0 << " 0";
}

void TestRound::endTestComparesAgainstTheDoubleTenPointOne()
{
    QFETCH(float, elapsed);
    QFETCH(int, ticks);
    QFETCH(QString, timer);

    FakeServices fakes;
    fakes.clock.seconds = 20.0;
    fakes.clock.script = {0.0f, elapsed, elapsed};
    Form1 form(fakes.services());
    form.cmdGo_Click();
    QCOMPARE(fakes.random.draws, ticks);
    QCOMPARE(text(form, "lblTimer"), timer);
}

void TestRound::unknownSpeedTextKeepsTheLastSpeed()
{
    FakeServices fakes;
    Form1 form(fakes.services());
    selectSpeed(form, "MEDIUM");
    form.cmdGo_Click();
    QCOMPARE(form.state().speedLevel, qint16(2));

    selectSpeed(form, QString());
    const int pumpsBefore = fakes.pump.runs;
    form.cmdGo_Click();
    QCOMPARE(form.state().speedLevel, qint16(2));
    QCOMPARE(fakes.pump.runs - pumpsBefore, 288 * 36);
}

void TestRound::unknownSpeedOnAFreshWindowRunsWithoutWaits()
{
    FakeServices fakes;
    fakes.clock.perReading = 1.0 / 64;
    Form1 form(fakes.services());
    selectSpeed(form, QString());
    form.cmdGo_Click();
    QCOMPARE(form.state().speedLevel, qint16(0));
    QCOMPARE(fakes.pump.runs, 0);
    QVERIFY(fakes.random.draws > 0);
    QCOMPARE(text(form, "lblFeedback"), QStringLiteral(" "));
}

void TestRound::roundAcrossMidnightEndsOnTime()
{
    FakeServices fakes;
    fakes.clock.seconds = 86400.0 - 4.0;
    Form1 form(fakes.services());
    form.cmdGo_Click();
    const double roundLength = fakes.clock.seconds - (86400.0 - 4.0);
    // Readings before midnight come in steps of 1/128 s, the single's resolution there.
    QVERIFY2(roundLength > 10.1 - 1.0 / 128 && roundLength < 10.1 + 0.06,
             qPrintable(QString::number(roundLength)));
}

void TestRound::timeOutOfZeroOrLessDoesNotPump_data()
{
    QTest::addColumn<double>("wait");
    QTest::newRow("zero") << 0.0;
    QTest::newRow("negative") << -1.0;
}

void TestRound::timeOutOfZeroOrLessDoesNotPump()
{
    QFETCH(double, wait);
    FakeServices fakes;
    Form1 form(fakes.services());
    form.TimeOut(wait);
    QCOMPARE(fakes.pump.runs, 0);
    QCOMPARE(fakes.clock.readings, 2);
}

void TestRound::timeOutEndsWhenElapsedEqualsTheWait()
{
    FakeServices fakes;
    Form1 form(fakes.services());
    fakes.clock.script = {1.0f, 1.25f, 1.5f};
    form.TimeOut(0.5);
    QCOMPARE(fakes.pump.runs, 1);
    QCOMPARE(fakes.clock.readings, 3);
    // The pump hears what is left of the wait, not the whole wait.
    QCOMPARE(fakes.pump.lastSecondsLeft, 0.25);
}

void TestRound::timeOutAcrossMidnightEnds()
{
    FakeServices fakes;
    fakes.clock.seconds = 86400.0 - 1.0 / 128; // a reading a single can hold exactly
    Form1 form(fakes.services());
    form.TimeOut(0.05);
    QCOMPARE(fakes.pump.runs, 52); // as for a wait at any other time of day
}

void TestRound::clickPostedDuringWaitIsCountedBeforeTheWaitReturns()
{
    FakeClock clock(500.0, 1.0 / 4096);
    FakeRandom random;
    QtEventPump pump;
    ThrowingEnd end;
    ThrowingErrorReport errors;
    Form1 form({clock, random, pump, end, errors});
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    postClick(*form.findChild<QWidget *>("picIco"), QPointF(10, 10));
    form.TimeOut(0.05);
    QCOMPARE(form.state().clickCount, qint16(1));
    QCOMPARE(text(form, "lblClicks"), QStringLiteral("1"));
}

// What the controls and the form state looked like at each moment the round touched a
// service or the picture's Enabled.
struct Moment
{
    QString what;
    qint16 clickCount, speedLevel, stepLength;
    QString clicks, feedback, timer;
    bool pictureEnabled, startControlsShown;
};

void TestRound::stepsOfARoundRunInOrder()
{
    FakeServices fakes;
    fakes.clock.perReading = 1.0 / 64;
    Form1 form(fakes.services());
    form.show();
    auto *picture = form.findChild<QWidget *>("picIco");
    form.state().clickCount = 7;
    picture->setEnabled(false);
    form.findChild<QLabel *>("lblFeedback")->setText("before");

    std::vector<Moment> journal;
    auto note = [&](const char *what) {
        journal.push_back({what, form.state().clickCount, form.state().speedLevel,
                           form.state().stepLength, text(form, "lblClicks"), text(form, "lblFeedback"),
                           text(form, "lblTimer"), picture->isEnabled(),
                           form.findChild<QWidget *>("cmdGo")->isVisible()});
    };
    fakes.clock.onReading = [&] { note("clock"); };
    fakes.random.script = {0.5f};
    fakes.pump.onPump = [&] {
        if (fakes.random.draws == 1 && fakes.pump.runs == 1)
            note("first wait");
    };
    struct EnabledWatch : QObject
    {
        std::function<void()> seen;
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() == QEvent::EnabledChange)
                seen();
            return false;
        }
    } watch;
    watch.seen = [&] { note("picture enabled changed"); };
    picture->installEventFilter(&watch);
    form.cmdGo_Click();

    // Steps 1 to 5 come before the clock is read for the round's start; 8 and 9 after.
    const Moment &start = journal.at(1);
    QCOMPARE(journal.at(0).what, QStringLiteral("picture enabled changed"));
    QCOMPARE(start.what, QStringLiteral("clock"));
    QCOMPARE(start.clickCount, qint16(0));
    QCOMPARE(start.clicks, QStringLiteral("0"));
    QVERIFY(start.pictureEnabled);
    QCOMPARE(start.feedback, QStringLiteral(" "));
    QCOMPARE(start.speedLevel, qint16(1));
    QCOMPARE(start.stepLength, qint16(0));
    QVERIFY(start.startControlsShown);
    const Moment &endTest = journal.at(2);
    QCOMPARE(endTest.stepLength, qint16(150));
    QVERIFY(!endTest.startControlsShown);
    // The caption takes a reading of its own: the third one, 2/64 s after the start.
    const auto firstWait = std::find_if(journal.begin(), journal.end(),
                                        [](const Moment &m) { return m.what == "first wait"; });
    QVERIFY(firstWait != journal.end());
    QCOMPARE(firstWait->timer, QStringLiteral("0.03125"));
    // At the end the start controls come back, then the picture is disabled, then rated.
    const Moment &end = journal.back();
    QCOMPARE(end.what, QStringLiteral("picture enabled changed"));
    QVERIFY(!end.pictureEnabled);
    QVERIFY(end.startControlsShown);
    QCOMPARE(end.feedback, QStringLiteral(" "));
    QCOMPARE(text(form, "lblFeedback"), QStringLiteral("This game is best played while awake"));
}

void TestRound::boundsAreTheWindowsOuterFrame()
{
    // One tick on a framed window: the picture ends with its right edge past the client
    // area but inside the outer width, which is where the right-edge correction looks.
    FakeServices fakes;
    Form1 form(fakes.services());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const int outer = form.frameGeometry().width();
    QVERIFY2(outer > form.width(), qPrintable(QString::number(outer)));
    auto *picture = form.findChild<QWidget *>("picIco");
    // The first tick moves 149.2 twips right, which lands 10 pixels further on.
    const int landing = outer - 52;
    QVERIFY(landing * 15 + 780 > 711 * 15);
    picture->move(landing - 10, picture->y());
    fakes.random.script = {0.5f};
    // Start, end test, caption, the wait's start and its one check, then the end.
    fakes.clock.script = {1000.0f, 1000.0f, 1000.0f, 1000.0f, 1000.0625f, 1011.0f};
    form.cmdGo_Click();
    QCOMPARE(fakes.random.draws, 1);
    QCOMPARE(picture->x(), landing);
}

QTEST_MAIN(TestRound)
#include "tst_round.moc"
