// vfdctl as a person meets it: the program itself, its output on a pseudo-terminal, on simulated
// displays in real time. Each port has its live line and its trace lines; SIGINT and SIGTERM stop the
// run alike, and what was printed reaches the terminal however the run ends.
#include "setup/tests/pty_pair.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>

class VfdctlProcessTest : public QObject
{
    Q_OBJECT

private slots:
    // The signals sent once one port has failed and the other waits for its answer, and what the
    // terminal then shows.
    void signalsStopTheRun_data()
    {
        QTest::addColumn<QList<int>>("sent");
        QTest::addColumn<QStringList>("shown");
        const QString failed = "sim:b: Port Status: Display DSR not ready yet !!";
        QTest::newRow("SIGTERM") << QList<int>{SIGTERM}
                                 << QStringList{failed, "sim    interrupted  "}; // a row
        QTest::newRow("SIGINT, then SIGTERM")
            << QList<int>{SIGINT, SIGTERM} << QStringList{failed, "Interrupted again: stopped at once"};
    }
    void signalsStopTheRun()
    {
        QFETCH(QList<int>, sent);
        QFETCH(QStringList, shown);
        PtyPair terminal;
        QVERIFY(terminal.ok());
        QProcess vfdctl;
        QTemporaryDir state; // where the run keeps its simulated displays, not the user's folder
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_STATE_HOME", state.path());
        vfdctl.setProcessEnvironment(environment);
        vfdctl.setChildProcessModifier([path = terminal.path().toLocal8Bit()] {
            const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY);
            ::dup2(fd, STDOUT_FILENO), ::dup2(fd, STDERR_FILENO);
        });
        vfdctl.start(VFDCTL_PATH, {"--trace", "--ports", "sim,sim:b", "--sim-fault", "sim=no-ack",
                                   "--sim-fault", "sim:b=absent", "params", "erase"});
        QString screen;
        const auto shows = [&](const QString& text) {
            return QTest::qWaitFor([&] { return (screen += terminal.read(1 << 16, 20)).contains(text); },
                                   20000);
        };
        // The live lines: the failure of one port, the step of the other.
        QVERIFY2(shows("\r\x1b[2Ksim:b  Port Status: Display DSR not ready yet !!") &&
                     shows("\r\x1b[2Ksim    params erase"),
                 qPrintable(screen));
        // Each trace line carries the port it happened on.
        QVERIFY(screen.contains(QRegularExpression("sim:b: \\S+ open +sim:b\n")));
        // Held stopped meanwhile: the signals all come before the run can end, however busy the machine.
        for (int signal : QList<int>{SIGSTOP} + sent + QList<int>{SIGCONT})
            ::kill(static_cast<pid_t>(vfdctl.processId()), signal);
        QVERIFY(vfdctl.waitForFinished(20000));
        screen += terminal.read(1 << 16, 200);
        QVERIFY(vfdctl.exitStatus() == QProcess::NormalExit && vfdctl.exitCode() == 130);
        if (sent.size() == 1) // stopped at its next frame, the run keeps each display's flash
            QVERIFY(QFile::exists(state.filePath("talvex-display-tools/simulated-displays/sim-b.flash")));
        for (const QString& text : shown)
            QVERIFY2(screen.contains(text), qPrintable(text + " in:\n" + screen));
    }
};

QTEST_GUILESS_MAIN(VfdctlProcessTest)
#include "test_vfdctl_process.moc"
