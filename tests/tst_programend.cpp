// How the game process ends: "QUIT" and closing the window at once with status 0, even
// mid-round; a run-time error after its report with a non-zero status. Nothing runs after.

#include <QElapsedTimer>
#include <QProcess>
#include <QtTest>

class TestProgramEnd : public QObject
{
    Q_OBJECT

private slots:
    void endsAtOnce_data();
    void endsAtOnce();
};

void TestProgramEnd::endsAtOnce_data()
{
    QTest::addColumn<QString>("scenario");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("reached");
    QTest::addColumn<QString>("report");
    QTest::newRow("QUIT mid-round") << "quit-mid-round" << 0 << QStringList{"round started", "quit"} << "";
    QTest::newRow("close mid-round") << "close-mid-round" << 0 << QStringList{"round started", "close"} << "";
    QTest::newRow("close when idle") << "close-idle" << 0 << QStringList{"close"} << "";
    QTest::newRow("count overflow mid-round") << "overflow-mid-round" << 1
        << QStringList{"round started", "count shown: 32767"} << "Overflow";
    QTest::newRow("floating-point overflow") << "float-fault" << 1 << QStringList{"moving"} << "Overflow";
}

void TestProgramEnd::endsAtOnce()
{
    QFETCH(QString, scenario);
    QFETCH(int, status);
    QFETCH(QStringList, reached);
    QFETCH(QString, report);

    QProcess game;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    game.setProcessEnvironment(env);
    QElapsedTimer timer;
    timer.start();
    game.start(QStringLiteral(GAMECHILD), {scenario});
    QVERIFY(game.waitForFinished(20000));
    const qint64 ms = timer.elapsed();
    const QString out = QString::fromUtf8(game.readAllStandardOutput());

    QCOMPARE(game.exitStatus(), QProcess::NormalExit);
    QCOMPARE(game.exitCode(), status);
    for (const QString &line : reached)
        QVERIFY2(out.contains(line), qPrintable(out));
    for (const char *line : {"after quit", "after close", "after overflow", "after fault",
                                "round finished", "event loop returned"})
        QVERIFY2(!out.contains(line), qPrintable(out));
    if (report.isEmpty()) {
        QVERIFY2(!out.contains("report:"), qPrintable(out));
        QVERIFY2(ms < 5000, qPrintable(QString::number(ms))); // far short of a 10.1 s round
    } else {
        QVERIFY2(out.contains("report: Brinhalt's Quorvel: ") && out.contains(report), qPrintable(out));
    }
}

QTEST_APPLESS_MAIN(TestProgramEnd)
#include "tst_programend.moc"
