// Counting clicks on the picture, before and during a round, and the counter's overflow.

#include "form1.h"
#include "picturebox.h"
#include "standins.h"
#include "toolkit.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QtTest>

namespace {

QString clicksText(Form1 &form)
{
    return form.findChild<QLabel *>("lblClicks")->text();
}

void send(QWidget *widget, QEvent::Type type, QPoint at = {20, 20})
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, widget->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

} // namespace

class TestClicks : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { setUpToolkit(*qobject_cast<QApplication *>(QCoreApplication::instance())); }

    void clickBeforeTheFirstRoundIsCounted();
    void clickInsideAWaitIsCountedAndShown();
    void disabledPictureTakesNoClicks();
    void doubleClickPressIsNotASecondClick();
    void pressWithoutReleaseOrOtherButtonIsNoClick();
    void releaseAfterThePictureMovedAwayStillCounts();
    void countOverflowsAfter32767();
    void quitEndsTheProgram();
    void quitInsideARoundLeavesTheRoundUnfinished();
    void roundReadsTheCountAsItStoodAtTheLastWait();
};

void TestClicks::clickBeforeTheFirstRoundIsCounted()
{
    FakeServices fakes;
    Form1 form(fakes.services());
    form.show();
    QCOMPARE(clicksText(form), QStringLiteral(" 0"));
    QTest::mouseClick(form.findChild<PictureBox *>("picIco"), Qt::LeftButton);
    QCOMPARE(form.state().clickCount, qint16(1));
    QCOMPARE(clicksText(form), QStringLiteral("1"));
}

void TestClicks::clickInsideAWaitIsCountedAndShown()
{
    FakeServices fakes;
    Form1 form(fakes.services());
    form.show();
    auto *picture = form.findChild<PictureBox *>("picIco");
    QStringList seenAfterClick;
    fakes.pump.onPump = [&] {
        if (fakes.pump.runs % 100 == 0) {
            QTest::mouseClick(picture, Qt::LeftButton, {}, QPoint(20, 20));
            seenAfterClick << clicksText(form);
        }
    };
    form.cmdGo_Click();
    QCOMPARE(seenAfterClick.value(0), QStringLiteral("1"));
    QCOMPARE(seenAfterClick.value(1), QStringLiteral("2"));
    const int clicks = int(seenAfterClick.size());
    QCOMPARE(form.state().clickCount, qint16(clicks));
    QCOMPARE(clicksText(form), QString::number(clicks));
    QCOMPARE(clicks, 199 * 52 / 100);
}

void TestClicks::disabledPictureTakesNoClicks()
{
    FakeServices fakes;
    Form1 form(fakes.services());
    form.show();
    form.cmdGo_Click();
    const QString before = form.findChild<QLabel *>("lblFeedback")->text();
    QTest::mouseClick(form.findChild<PictureBox *>("picIco"), Qt::LeftButton);
    QCOMPARE(form.state().clickCount, qint16(0));
    QCOMPARE(clicksText(form), QStringLiteral("0"));
    QCOMPARE(form.findChild<QLabel *>("lblFeedback")->text(), before);
}

void TestClicks::doubleClickPressIsNotASecondClick()
{
    FakeServices fakes;
    Form1 form(fakes.services());
    form.show();
    auto *picture = form.findChild<PictureBox *>("picIco");
    send(picture, QEvent::MouseButtonPress);
    send(picture, QEvent::MouseButtonRelease);
    send(picture, QEvent::MouseButtonDblClick);
    send(picture, QEvent::MouseButtonRelease);
    QCOMPARE(form.state().clickCount, qint16(1));
    // A third, ordinary press and release counts again.
    send(picture, QEvent::MouseButtonPress);
    send(picture, QEvent::MouseButtonRelease);
    QCOMPARE(form.state().clickCount, qint16(2));
}

void TestClicks::pressWithoutReleaseOrOtherButtonIsNoClick()
{
    FakeServices fakes;
    Form1 form(fakes.services());
    form.show();
    auto *picture = form.findChild<PictureBox *>("picIco");
    send(picture, QEvent::MouseButtonRelease);
    QTest::mouseClick(picture, Qt::RightButton);
    QTest::mouseClick(picture, Qt::MiddleButton);
    // Pressed, dragged far off the picture and released there: no click.
    send(picture, QEvent::MouseButtonPress);
    send(picture, QEvent::MouseButtonRelease, QPoint(300, 300));
    QCOMPARE(form.state().clickCount, qint16(0));
}

void TestClicks::releaseAfterThePictureMovedAwayStillCounts()
{
    FakeServices fakes;
    Form1 form(fakes.services());
    form.show();
    auto *picture = form.findChild<PictureBox *>("picIco");
    const QPoint pointer = picture->mapToGlobal(QPoint(40, 40));
    send(picture, QEvent::MouseButtonPress, picture->mapFromGlobal(pointer));
    picture->move(picture->pos() + QPoint(30, 0)); // a tick moved it on under the pointer
    send(picture, QEvent::MouseButtonRelease, picture->mapFromGlobal(pointer));
    QCOMPARE(form.state().clickCount, qint16(1));
}

void TestClicks::countOverflowsAfter32767()
{
    FakeServices fakes;
    Form1 form(fakes.services());
    form.state().clickCount = 32766;
    form.picIco_Click();
    QCOMPARE(form.state().clickCount, qint16(32767));
    QCOMPARE(clicksText(form), QStringLiteral("32767"));
    try {
        form.picIco_Click();
        QFAIL("the 32768th click raised no error");
    } catch (const ErrorRaised &raised) {
        QCOMPARE(raised.error, RuntimeError::Overflow);
    }
    QCOMPARE(form.state().clickCount, qint16(32767));
    QCOMPARE(clicksText(form), QStringLiteral("32767"));
}

void TestClicks::quitEndsTheProgram()
{
    FakeServices fakes;
    Form1 form(fakes.services());
    QVERIFY_THROWS_EXCEPTION(ProgramEnded, form.cmdQuit_Click());
    QCOMPARE(fakes.end.calls, 1);
}

void TestClicks::quitInsideARoundLeavesTheRoundUnfinished()
{
    FakeServices fakes;
    Form1 form(fakes.services());
    form.show();
    fakes.pump.onPump = [&] {
        if (fakes.random.draws == 5)
            form.cmdQuit_Click();
    };
    QVERIFY_THROWS_EXCEPTION(ProgramEnded, form.cmdGo_Click());
    QCOMPARE(fakes.end.calls, 1);
    QCOMPARE(fakes.random.draws, 5);
    QVERIFY(!form.findChild<QWidget *>("cmdGo")->isVisible());
    QVERIFY(form.findChild<QWidget *>("picIco")->isEnabled());
    QCOMPARE(form.findChild<QLabel *>("lblFeedback")->text(), QStringLiteral(" "));
}

void TestClicks::roundReadsTheCountAsItStoodAtTheLastWait()
{
    FakeServices fakes;
    Form1 form(fakes.services());
    form.show();
    form.findChild<QListWidget *>("lstSpeed")->setCurrentRow(2); // INSANITY
    fakes.pump.onPump = [&] {
        if (fakes.pump.runs % 21 == 1 && fakes.random.draws <= 11)
            form.picIco_Click();
    };
    form.cmdGo_Click();
    QCOMPARE(form.state().clickCount, qint16(11));
    QCOMPARE(form.findChild<QLabel *>("lblFeedback")->text(),
             QStringLiteral("are you a superhuman android?"));
}

QTEST_MAIN(TestClicks)
#include "tst_clicks.moc"
