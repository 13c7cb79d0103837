// vfdsetup's and vfddemo's command lines: --help and --version, every usage error named with exit
// status 2, and Qt's own options let through, all answered with no screen to reach (the X11 platform
// with no display aborts the program as soon as the window system is touched).
#include "core/version.h"

#include <QProcess>
#include <QTest>

class TestCommandLines : public QObject
{
    Q_OBJECT
private slots:
    void answeredWithoutAScreen_data();
    void answeredWithoutAScreen();
};

void TestCommandLines::answeredWithoutAScreen_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("output"); // stdout, then stderr
    const QString setup = QStringLiteral(VFDSETUP_PATH);
    const QString demo = QStringLiteral(VFDDEMO_PATH);
    QTest::newRow("version") << demo << "--version" << 0
                             << QStringLiteral("vfddemo %1\n").arg(ProjectVersion::Text);
    QTest::newRow("unknown option") << setup << "--prot sim" << 2
                                    << "vfdsetup: unknown option --prot (see vfdsetup --help)\n";
    QTest::newRow("unknown option, vfddemo")
        << demo << "--bogus --help" << 2 << "vfddemo: unknown option --bogus (see vfddemo --help)\n";
    QTest::newRow("value missing") << setup << "--port --factory" << 2
                                   << "vfdsetup: option --port needs a value\n";
    QTest::newRow("Qt's value missing")
        << demo << "-platform" << 2 << "vfddemo: option -platform needs a value\n";
    // Each option taken with its value, up to the first word that is none.
    QTest::newRow("options taken") << setup
                                   << "-platform offscreen -style=Fusion --style Fusion -geometry 800x600 "
                                      "-reverse --port=sim --port COM2 --factory extra"
                                   << 2 << "vfdsetup: unexpected argument 'extra' (see vfdsetup --help)\n";
    QTest::newRow("vfddemo has no port option") << demo << "-qwindowtitle T --port sim" << 2
                                                << "vfddemo: unknown option --port (see vfddemo --help)\n";
}

void TestCommandLines::answeredWithoutAScreen()
{
    QFETCH(QString, program);
    QFETCH(QString, arguments);
    QFETCH(int, status);
    QFETCH(QString, output);
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    process.setProcessEnvironment(environment);
    process.start(program, arguments.split(u' '));
    QVERIFY(process.waitForFinished(10000));
    QCOMPARE(QString::fromLocal8Bit(process.readAllStandardOutput() + process.readAllStandardError()),
             output);
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), status);
}

QTEST_GUILESS_MAIN(TestCommandLines)
#include "test_command_lines.moc"
