// A thousand rounds back to back: after every one the controls, the count, the verdict,
// the picture's size and the window's object count are what a fresh round leaves.

#include "fakeservices.h"
#include "form1.h"
#include "geometry.h"
#include "peakmemory.h"
#include "picturebox.h"
#include "ratingtable.h"
#include "toolkit.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include <random>

class TestSoak : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { setUpToolkit(*qobject_cast<QApplication *>(QCoreApplication::instance())); }
    void thousandRounds();
};

void TestSoak::thousandRounds()
{
    FakeServices fakes;
    fakes.clock.perReading = 1.0 / 1024;
    fakes.pump.step = 1.0 / 128;
    Form1 form(fakes.services());
    form.show();
    auto *picture = form.findChild<PictureBox *>("picIco");
    auto *list = form.findChild<QListWidget *>("lstSpeed");
    auto *go = form.findChild<QPushButton *>("cmdGo");
    auto *changeIcon = form.findChild<QPushButton *>("cmdIco");
    auto *clicks = form.findChild<QLabel *>("lblClicks");
    auto *feedback = form.findChild<QLabel *>("lblFeedback");
    WidgetGeometry pictureGeometry(*picture);

    std::mt19937 dice(20261207);
    int delivered = 0;
    fakes.pump.onPump = [&] {
        if (dice() % 8 == 0) {
            QTest::mouseClick(picture, Qt::LeftButton, {}, QPoint(26, 26));
            ++delivered;
        }
    };

    changeIcon->click(); // the gallery is built once, before the count is taken
    const qsizetype objects = form.findChildren<QObject *>().size();
    const long rssBefore = residentKiB();
    int speedLevel = 0;
    int totalClicks = 0;

    for (int round = 0; round < 1000; ++round) {
        for (unsigned presses = dice() % 3; presses > 0; --presses)
            changeIcon->click();
        const int speed = int(dice() % 4); // 3: the list's text names no speed
        QListWidgetItem *renamed = nullptr;
        if (speed < 3) {
            list->setCurrentRow(speed);
            speedLevel = speed + 1;
        } else {
            renamed = list->selectedItems().first();
            renamed->setText(renamed->text().toLower());
        }

        delivered = 0;
        go->click();
        if (renamed)
            renamed->setText(renamed->text().toUpper());
        totalClicks += delivered;

        const QString where = QStringLiteral("round %1").arg(round);
        QVERIFY2(go->isVisible() && changeIcon->isVisible() && list->isVisible(), qPrintable(where));
        QVERIFY2(!picture->isEnabled(), qPrintable(where));
        QCOMPARE(form.state().clickCount, qint16(delivered));
        QCOMPARE(clicks->text(), QString::number(delivered));
        QCOMPARE(form.state().speedLevel, qint16(speedLevel));
        QCOMPARE(feedback->text(), expectedRatingLabel(delivered, speedLevel));
        QCOMPARE(pictureGeometry.width(), 780.0f);
        QCOMPARE(pictureGeometry.height(), 780.0f);
        QCOMPARE(form.findChildren<QObject *>().size(), objects);

        QTest::mouseClick(picture, Qt::LeftButton); // between rounds: not counted
        QCOMPARE(form.state().clickCount, qint16(delivered));
    }
    qInfo("1000 rounds, %d clicks counted, %.0f s of game time; RSS %ld KiB before, %ld KiB after, peak %ld KiB",
          totalClicks, fakes.clock.seconds - 1000.0, rssBefore, residentKiB(), peakResidentKiB());
}

QTEST_MAIN(TestSoak)
#include "tst_soak.moc"
