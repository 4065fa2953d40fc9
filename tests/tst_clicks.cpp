// Counting clicks on the picture, before and during a round, and the counter's overflow.

#include "commandbutton.h"
#include "doubleclickcounter.h"
#include "fakeservices.h"
#include "form1.h"
#include "heldkeys.h"
#include "picturebox.h"
#include "toolkit.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QScopeGuard>
#include <QWindow>
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

// A press and release through the window system's own entry point at a chosen time, so
// that the toolkit pairs quick presses into double-clicks as it does for a real mouse.
void clickAt(QWindow *window, QPoint at, int timestamp)
{
    const QPointF global = window->mapToGlobal(at);
    qt_handleMouseEvent(window, at, global, Qt::LeftButton, Qt::LeftButton,
                        QEvent::MouseButtonPress, Qt::NoModifier, timestamp);
    qt_handleMouseEvent(window, at, global, Qt::NoButton, Qt::LeftButton,
                        QEvent::MouseButtonRelease, Qt::NoModifier, timestamp + 1);
}

// Stands between a control and its handler: counts the presses and keys that reach it
// and keeps them from it, so that a "QUIT" reached by mistake shows as a count, not an exit.
class Catcher final : public QObject
{
public:
    explicit Catcher(QWidget *control) { control->installEventFilter(this); }
    int presses = 0;
    int keys = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            ++presses;
            return true;
        case QEvent::MouseButtonRelease:
            return true;
        case QEvent::KeyPress:
            ++keys;
            return true;
        case QEvent::KeyRelease:
            return true;
        default:
            return false;
        }
    }
};

QPoint centreIn(QWidget *window, QWidget *control)
{
    return control->mapTo(window, control->rect().center());
}

bool offersPress(QWidget *control)
{
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(control);
    return iface->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction());
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
    void pressesOnThePicture_data();
    void pressesOnThePicture();
    void countOverflowsAfter32767();
    void quitEndsTheProgram();
    void quitInsideARoundLeavesTheRoundUnfinished();
    void roundReadsTheCountAsItStoodAtTheLastWait();
    void speedListKeepsItsSelection_data();
    void speedListKeepsItsSelection();
    void hiddenButtonsTakeNoAccessibilityPress();
    void focusNeverFallsToQuitByItself_data();
    void focusNeverFallsToQuitByItself();
    void pictureOverAControl_data();
    void pictureOverAControl();
    void pressesPairedIntoADoubleClick_data();
    void pressesPairedIntoADoubleClick();
    void heldKeyPressesAButtonOnce_data();
    void heldKeyPressesAButtonOnce();
    void focusArrivingMidClickKeepsTheClick();
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

void TestClicks::pressesOnThePicture_data()
{
    QTest::addColumn<QString>("gesture");
    QTest::addColumn<int>("counted");
    QTest::newRow("a double-click's press is no second click, the next click counts")
        << "double-click" << 2;
    QTest::newRow("a press without release, or with another button, is no click") << "no click" << 0;
    QTest::newRow("a release after the picture moved away still counts") << "moved away" << 1;
}

void TestClicks::pressesOnThePicture()
{
    QFETCH(QString, gesture);
    QFETCH(int, counted);
    FakeServices fakes;
    Form1 form(fakes.services());
    form.show();
    auto *picture = form.findChild<PictureBox *>("picIco");
    if (gesture == "double-click") {
        send(picture, QEvent::MouseButtonPress);
        send(picture, QEvent::MouseButtonRelease);
        send(picture, QEvent::MouseButtonDblClick);
        send(picture, QEvent::MouseButtonRelease);
        QCOMPARE(form.state().clickCount, qint16(1));
        // A third, ordinary press and release counts again.
        send(picture, QEvent::MouseButtonPress);
        send(picture, QEvent::MouseButtonRelease);
    } else if (gesture == "no click") {
        send(picture, QEvent::MouseButtonRelease);
        QTest::mouseClick(picture, Qt::RightButton);
        QTest::mouseClick(picture, Qt::MiddleButton);
        // Pressed, dragged far off the picture and released there: no click.
        send(picture, QEvent::MouseButtonPress);
        send(picture, QEvent::MouseButtonRelease, QPoint(300, 300));
    } else {
        const QPoint pointer = picture->mapToGlobal(QPoint(40, 40));
        send(picture, QEvent::MouseButtonPress, picture->mapFromGlobal(pointer));
        picture->move(picture->pos() + QPoint(30, 0)); // a tick moved it on under the pointer
        send(picture, QEvent::MouseButtonRelease, picture->mapFromGlobal(pointer));
    }
    QCOMPARE(form.state().clickCount, qint16(counted));
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

void TestClicks::speedListKeepsItsSelection_data()
{
    QTest::addColumn<QString>("gesture");
    QTest::newRow("click on the blank strip below the items") << "blank";
    QTest::newRow("Ctrl+click on the selected item") << "ctrl-click";
    QTest::newRow("Ctrl+Space on the selected item") << "ctrl-space";
    QTest::newRow("accessibility: unselect the row") << "unselect-row";
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
    QTest::newRow("accessibility: clear the selection") << "clear";
#endif
}

// With no speed selected the round would run its ticks back to back, deaf to "QUIT".
void TestClicks::speedListKeepsItsSelection()
{
    QFETCH(QString, gesture);
    FakeServices fakes;
    Form1 form(fakes.services());
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QWindow *window = form.windowHandle();
    auto *list = form.findChild<QListWidget *>("lstSpeed");
    const auto itemAt = [&](int row) {
        return list->viewport()->mapTo(&form, list->visualItemRect(list->item(row)).center());
    };
    const QPoint blank = list->viewport()->mapTo(&form, QPoint(10, list->viewport()->height() - 3));
    QVERIFY(!list->indexAt(list->viewport()->mapFrom(&form, blank)).isValid());

    if (gesture == "blank") {
        QTest::mouseClick(window, Qt::LeftButton, {}, blank);
    } else if (gesture == "ctrl-click") {
        QTest::mouseClick(window, Qt::LeftButton, Qt::ControlModifier, itemAt(0));
    } else if (gesture == "ctrl-space") {
        list->setFocus();
        QTest::keyClick(window, Qt::Key_Space, Qt::ControlModifier);
    } else if (gesture == "unselect-row") {
        QAccessible::queryAccessibleInterface(list)->tableInterface()->unselectRow(0);
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
    } else if (gesture == "clear") {
        QAccessible::queryAccessibleInterface(list)->selectionInterface()->clear();
#endif
    }
    QCOMPARE(list->selectedItems().size(), 1);
    QCOMPARE(list->selectedItems().first()->text(), QStringLiteral("EASY"));

    // The selection still moves to another item.
    QTest::mouseClick(window, Qt::LeftButton, {}, itemAt(2));
    QCOMPARE(list->selectedItems().size(), 1);
    QCOMPARE(list->selectedItems().first()->text(), QStringLiteral("INSANITY"));
}

// A hidden "GO!" pressed over accessibility would start a round inside the round, and a
// hidden "Change Icon" would swap the picture mid-round.
void TestClicks::hiddenButtonsTakeNoAccessibilityPress()
{
    FakeServices fakes;
    Form1 form(fakes.services());
    form.show();
    auto *go = form.findChild<QWidget *>("cmdGo");
    auto *changeIcon = form.findChild<QWidget *>("cmdIco");
    auto *picture = form.findChild<PictureBox *>("picIco");
    QVERIFY(offersPress(go) && offersPress(changeIcon));
    const qint64 pictureBefore = picture->picture().cacheKey();
    bool tried = false;
    fakes.pump.onPump = [&] {
        if (tried || fakes.random.draws != 5)
            return;
        tried = true;
        QVERIFY(!offersPress(go));
        QVERIFY(!offersPress(changeIcon));
        for (QWidget *button : {go, changeIcon})
            QAccessible::queryAccessibleInterface(button)->actionInterface()->doAction(
                QAccessibleActionInterface::pressAction());
        QTest::qWait(300); // longer than a button's animated press
    };
    form.cmdGo_Click();
    QVERIFY(tried);
    QCOMPARE(fakes.random.draws, 199);
    QCOMPARE(picture->picture().cacheKey(), pictureBefore);
    QVERIFY(offersPress(go) && offersPress(changeIcon));
}

void TestClicks::focusNeverFallsToQuitByItself_data()
{
    QTest::addColumn<bool>("byKeyboard");
    QTest::newRow("GO! pressed with Space") << true;
    QTest::newRow("GO! clicked") << false;
}

// Hiding a focused "GO!" would hand the focus on to "QUIT", and the next Space would end
// the game. Space during the round does nothing; after it, Space starts the next round.
void TestClicks::focusNeverFallsToQuitByItself()
{
    QFETCH(bool, byKeyboard);
    FakeServices fakes;
    Form1 form(fakes.services());
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QWindow *window = form.windowHandle();
    auto *go = form.findChild<QWidget *>("cmdGo");
    Catcher quit(form.findChild<QWidget *>("cmdQuit"));
    QString focusedInRound;
    fakes.pump.onPump = [&] {
        if (fakes.random.draws == 3 && focusedInRound.isEmpty()) {
            focusedInRound = QApplication::focusWidget()->objectName();
            QTest::keyClick(window, Qt::Key_Space);
            QTest::keyClick(window, Qt::Key_Space);
        }
    };
    if (byKeyboard) {
        for (int tabs = 0; tabs < 3; ++tabs)
            QTest::keyClick(window, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), go);
        QTest::keyClick(window, Qt::Key_Space);
    } else {
        QTest::mouseClick(window, Qt::LeftButton, {}, centreIn(&form, go));
    }
    QCOMPARE(fakes.random.draws, 199);
    QCOMPARE(focusedInRound, QStringLiteral("picIco"));
    QCOMPARE(quit.keys, 0);
    QCOMPARE(QApplication::focusWidget(), go);

    focusedInRound.clear();
    QTest::keyClick(window, Qt::Key_Space);
    QCOMPARE(fakes.random.draws, 2 * 199);
    QCOMPARE(quit.keys, 0);
}

void TestClicks::pictureOverAControl_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("counted");
    QTest::newRow("enabled picture over QUIT takes the hit") << "cmdQuit" << true << 1;
    QTest::newRow("disabled picture over QUIT lets the press through") << "cmdQuit" << false << 0;
    QTest::newRow("disabled picture over GO! lets the press through") << "cmdGo" << false << 0;
    QTest::newRow("enabled picture over a label takes the hit") << "lblFeedback" << true << 1;
}

// After a round the picture may come to rest over a button; disabled, it must not keep
// the player from quitting or starting the next round.
void TestClicks::pictureOverAControl()
{
    QFETCH(QString, control);
    QFETCH(bool, enabled);
    QFETCH(int, counted);
    FakeServices fakes;
    Form1 form(fakes.services());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    auto *picture = form.findChild<PictureBox *>("picIco");
    auto *beneath = form.findChild<QWidget *>(control);
    Catcher catcher(beneath);
    picture->move(beneath->pos());
    picture->setEnabled(enabled);
    QTest::mouseClick(form.windowHandle(), Qt::LeftButton, {}, beneath->pos() + QPoint(10, 10));
    QCOMPARE(int(form.state().clickCount), counted);
    const bool isButton = qobject_cast<QPushButton *>(beneath) != nullptr;
    QCOMPARE(catcher.presses, counted == 0 && isButton ? 1 : 0);
}

void TestClicks::pressesPairedIntoADoubleClick_data()
{
    QTest::addColumn<int>("firstDx");
    QTest::addColumn<int>("gapMs");
    QTest::addColumn<int>("doubleClicks");
    QTest::addColumn<int>("counted");
    QTest::newRow("press just beside the picture, then a hit") << -4 << 100 << 1 << 1;
    QTest::newRow("double-click on the picture counts once") << 0 << 100 << 1 << 1;
    QTest::newRow("two hits further apart than a double-click") << 0 << 600 << 0 << 2;
}

// The window system pairs a press with the one before it wherever that went; only a
// double-click on the picture itself loses its second press.
void TestClicks::pressesPairedIntoADoubleClick()
{
    QFETCH(int, firstDx);
    QFETCH(int, gapMs);
    QFETCH(int, doubleClicks);
    QFETCH(int, counted);
    FakeServices fakes;
    Form1 form(fakes.services());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    auto *picture = form.findChild<PictureBox *>("picIco");
    DoubleClickCounter paired(picture);
    const QPoint hit = picture->pos() + QPoint(1, 20);
    QCOMPARE(form.childAt(hit + QPoint(firstDx, 0)) == picture, firstDx == 0);

    const int t = QTest::lastMouseTimestamp + 1000;
    clickAt(form.windowHandle(), hit + QPoint(firstDx, 0), t);
    clickAt(form.windowHandle(), hit, t + gapMs);
    QTest::lastMouseTimestamp = t + gapMs + 1000;
    QCOMPARE(paired.count, doubleClicks);
    QCOMPARE(int(form.state().clickCount), counted);
}

void TestClicks::heldKeyPressesAButtonOnce_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("pressed");
    // Each step 40 ms after the one before, as a key repeats. p: the key goes down,
    // r: it goes up; P: a press marked as a repeat; m: a release and a press marked as a
    // repeat; d: an unmarked press of the held key; x: an unmarked release and press of
    // one time stamp; then the button that has the focus from there on, as after a round.
    const int space = Qt::Key_Space;
    QTest::newRow("Windows: repeats are marked presses") << "cmdIco" << space << "p P P P P r" << "cmdIco";
    QTest::newRow("Wayland, X11: marked release-press pairs") << "cmdIco" << space << "p m m m m r" << "cmdIco";
    QTest::newRow("X11 detectable repeat: unmarked presses") << "cmdIco" << space << "p d d d d r" << "cmdIco";
    QTest::newRow("X11: some pairs unmarked") << "cmdIco" << space << "p m x m x x r" << "cmdIco";
    QTest::newRow("Windows: held when GO! gets the focus") << "picIco" << space << "p P cmdGo P P r" << "";
    QTest::newRow("Wayland: held when GO! gets the focus") << "picIco" << space << "p m cmdGo m m r" << "";
    QTest::newRow("X11 detectable: held when GO! gets the focus") << "picIco" << space << "p d cmdGo d d r" << "";
    QTest::newRow("X11: held when GO! gets the focus") << "picIco" << space << "p x cmdGo x m r" << "";
    QTest::newRow("held when GO! gets the focus, then pressed") << "picIco" << space
        << "p m cmdGo m r p r" << "cmdGo";
    QTest::newRow("Return on Change Icon") << "cmdIco" << int(Qt::Key_Return) << "p m m r" << "cmdIco";
    QTest::newRow("Enter on GO!") << "cmdGo" << int(Qt::Key_Enter) << "p P r" << "cmdGo";
    QTest::newRow("Return on the list") << "lstSpeed" << int(Qt::Key_Return) << "p r" << "";
    QTest::newRow("Enter on the picture") << "picIco" << int(Qt::Key_Enter) << "p r" << "";
}

// A held key must not press a button at each repeat, whatever form the window system
// gives the repeat, nor press the button that gets the focus while it is held: after a
// round, "GO!" gets it back, and a still-held Space would wipe the rating with a new round.
void TestClicks::heldKeyPressesAButtonOnce()
{
    QFETCH(QString, focus);
    QFETCH(int, key);
    QFETCH(QString, keys);
    QFETCH(QString, pressed);
    FakeServices fakes;
    Form1 form(fakes.services());
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QWindow *window = form.windowHandle();
    QMap<QString, int> clicks;
    for (auto *button : form.findChildren<CommandButton *>())
        connect(button, &CommandButton::Click, this, [&clicks, button] { ++clicks[button->objectName()]; });
    const bool unmarkedPairs = keys.contains('x');
    HeldKeys &held = HeldKeys::of(*QCoreApplication::instance());
    const int grace = held.repeatPairGrace();
    held.setRepeatPairGrace(unmarkedPairs ? 50 : 0);
    const auto restore = qScopeGuard([&held, grace] { held.setRepeatPairGrace(grace); });
    form.findChild<QWidget *>(focus)->setFocus();

    static quint64 time = 1000000; // time stamps only grow, from row to row as well
    const auto send = [&](QEvent::Type type, bool repeat) {
        QKeyEvent event(type, key, Qt::NoModifier, QString(), repeat);
        event.setTimestamp(time);
        QCoreApplication::sendEvent(window, &event);
    };
    const QStringList steps = keys.split(' ');
    for (int i = 0; i < steps.size(); ++i) {
        time += 40;
        const QString &step = steps[i];
        if (i == steps.size() - 1)
            QVERIFY2(clicks.isEmpty(), "pressed before the key went up");
        if (step == "p") {
            send(QEvent::KeyPress, false);
        } else if (step == "r") {
            send(QEvent::KeyRelease, false);
        } else if (step == "P") {
            send(QEvent::KeyPress, true);
        } else if (step == "m" || step == "x") {
            send(QEvent::KeyRelease, step == "m");
            send(QEvent::KeyPress, step == "m");
        } else if (step == "d") {
            send(QEvent::KeyPress, false);
        } else {
            form.findChild<QWidget *>(step)->setFocus();
        }
    }
    QMap<QString, int> expected;
    if (!pressed.isEmpty())
        expected[pressed] = 1;
    if (unmarkedPairs)
        QTRY_COMPARE(clicks, expected);
    QTest::qWait(unmarkedPairs ? 100 : 0);
    QCOMPARE(clicks, expected);
    QCOMPARE(int(form.state().clickCount), 0);
}

// On X11 without a window manager the window is made active, and the button gets the
// focus, only between the mouse button's press and its release: the click must stand.
void TestClicks::focusArrivingMidClickKeepsTheClick()
{
    FakeServices fakes;
    Form1 form(fakes.services());
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    auto *changeIcon = form.findChild<CommandButton *>("cmdIco");
    int clicks = 0;
    connect(changeIcon, &CommandButton::Click, this, [&clicks] { ++clicks; });
    const QPoint at = centreIn(&form, changeIcon);
    QTest::mousePress(form.windowHandle(), Qt::LeftButton, {}, at);
    QFocusEvent activated(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    QCoreApplication::sendEvent(changeIcon, &activated);
    QTest::mouseRelease(form.windowHandle(), Qt::LeftButton, {}, at);
    QCOMPARE(clicks, 1);
}

QTEST_MAIN(TestClicks)
#include "tst_clicks.moc"
