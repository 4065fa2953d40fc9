// How the game process ends: "QUIT" and closing the window at once with status 0, even
// mid-round; a run-time error after its report with a non-zero status. Nothing runs after.
// And the ends before any window: --help (-h), --version, and no display to open.

#include <QElapsedTimer>
#include <QProcess>
#include <QtTest>

class TestProgramEnd : public QObject
{
    Q_OBJECT

private slots:
    void endsAtOnce_data();
    void endsAtOnce();
    void endsBeforeAnyWindow_data();
    void endsBeforeAnyWindow();
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

void TestProgramEnd::endsBeforeAnyWindow_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("display"); // "offscreen", or the DISPLAY to try, or none
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    const QString usage = "Usage: quorvel (a reflex game: pick a speed, press GO! and click the "
                          "wandering picture; no options but -h or --help, and --version)\n";
    QTest::newRow("--version") << QStringList{"--version"} << "offscreen" << 0 << "quorvel 1.0.0\n" << "";
    QTest::newRow("--help") << QStringList{"--help"} << "offscreen" << 0 << usage << "";
    QTest::newRow("-h, as --help") << QStringList{"-h"} << "offscreen" << 0 << usage << "";
    QTest::newRow("no display") << QStringList{} << "" << 1 << ""
        << "quorvel: cannot open a display (set DISPLAY or WAYLAND_DISPLAY)\n";
    QTest::newRow("no display, other arguments ignored") << QStringList{"-platform", "offscreen"}
        << "" << 1 << "" << "quorvel: cannot open a display (set DISPLAY or WAYLAND_DISPLAY)\n";
    // A player whose DISPLAY names no server is told which one could not be opened.
    QTest::newRow("DISPLAY names no server") << QStringList{} << ":77" << 1 << ""
        << "quorvel: cannot open display :77\n";
}

void TestProgramEnd::endsBeforeAnyWindow()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, display);
    QFETCH(int, status);
    QFETCH(QString, out);
    QFETCH(QString, err);
#ifdef Q_OS_WIN
    if (display != QLatin1String("offscreen"))
        QSKIP("Windows always has its desktop to open a window on");
#endif

    QProcess game;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "WAYLAND_SOCKET"})
        env.remove(name);
    if (display == QLatin1String("offscreen"))
        env.insert("QT_QPA_PLATFORM", "offscreen");
    else if (!display.isEmpty())
        env.insert("DISPLAY", display);
    game.setProcessEnvironment(env);
    game.start(QStringLiteral(QUORVEL), arguments);
    QVERIFY(game.waitForFinished(20000));
    QCOMPARE(game.exitStatus(), QProcess::NormalExit);
    QCOMPARE(game.exitCode(), status);
    // Windows ends its text lines with CR LF.
    const auto text = [](const QByteArray &bytes) { return QString::fromUtf8(bytes).replace("\r\n", "\n"); };
    QCOMPARE(text(game.readAllStandardOutput()), out);
    QCOMPARE(text(game.readAllStandardError()), err);
}

QTEST_APPLESS_MAIN(TestProgramEnd)
#include "tst_programend.moc"
