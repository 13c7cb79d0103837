// Every window, and each kind of job its buttons give the device worker (a button that runs the same kind
// of job as one here fails the same way), against every way the port can fail: the one box the person sees,
// the bytes of the sound run up to the failure and none after, the port let go, no pause held after the
// failure, and the window usable again. Then one job's steps as the worker's thread does them, done here
// on the test's own: a write fails when its bytes have not left within one second and the line time (ten
// bits a character), and the end of the program cuts a pause short at its next look, every 50 ms.
#include "demo/link/port_job_runner.h"
#include "demo/link/port_messages.h"
#include "demo/model/byte_text.h"
#include "demo/tests/demo_harness.h"
#include "demo/windows/demo_window.h"

#include <QRegularExpression>
#include <QTest>

namespace {

const QString kPortChoice = QStringLiteral("PLEASE SELECT COMPORT");
const QString kEpson = QStringLiteral("ESC/poc command list");
const QString kKd426 = QString::fromUtf8("KD426-繁體");
const QString kKd138 = QStringLiteral("KD138 DEMO");

// One thing the person does that reaches the port, always COM2.
struct Operation
{
    const char* name;
    QString reach;        // the steps from the launcher to the window the operation starts on
    QString steps;        // what the person does there (DemoHarness::perform)
    QStringList replies;  // the answers to the operation's prompts
    QString afterFailure; // the window the person is on once the port has failed
    // The window ENTER on another port (COM3) opens from there; empty: the person repeats the operation
    // on the same window once the port is back.
    QString anotherPort;
};

const QString kToEpson = QStringLiteral("Command6 Option2 Command1");
const QString kToKd426 = QStringLiteral("Command7 Option2 Command1");
const QString kToKd138 = QStringLiteral("Command8 Option2 Command1");

const QList<Operation>& operations()
{
    static const QList<Operation> kOperations = {
        {"KD-317 ENTER", "Command6", "Option2 Command1", {}, kPortChoice, kEpson},
        {"KD-426 ENTER", "Command7", "Option2 Command1", {}, kPortChoice, kKd426},
        {"KD-138 ENTER", "Command8", "Option2 Command1", {}, kPortChoice, kKd138},
        {"epson fixed", kToEpson, "Command1", {}, kPortChoice, kEpson},
        {"epson brightness", kToEpson, "Command11", {"3"}, kPortChoice, kEpson},
        {"epson reverse", kToEpson, "Command16", {"AB"}, kPortChoice, kEpson},
        {"epson vertical scroll", kToEpson, "Command18", {}, kPortChoice, kEpson},
        {"epson horizontal scroll", kToEpson, "Command19", {}, kPortChoice, kEpson},
        {"epson time", kToEpson, "Command28", {"12", "30"}, kPortChoice, kEpson},
        {"epson END TEST", kToEpson, "Command30", {}, kEpson, {}},
        {"epson mirror key", kToEpson, "key:5:X", {}, kPortChoice, kEpson},
        {"epson to CHARACTER", kToEpson, "Command14", {}, kPortChoice, kEpson},
        {"epson to internation", kToEpson, "Command15", {}, kPortChoice, kEpson},
        {"CHARACTER ENTER", kToEpson + " Command14", "Option2 Command1", {}, kPortChoice, kEpson},
        {"CHARACTER CLOSE", kToEpson + " Command14", "Command2", {}, kPortChoice, kEpson},
        {"internation ENTER", kToEpson + " Command15", "Option3 Command1", {}, kPortChoice, kEpson},
        {"internation CANCEL", kToEpson + " Command15", "Command2", {}, kPortChoice, kEpson},
        {"KD-426 line 1", kToKd426, "Command1", {"Hi"}, kKd426, {}},
        {"KD-426 modify initial display", kToKd426, "Command15", {"A", "B"}, kKd426, {}},
        {"KD-426 time", kToKd426, "Command17", {}, kKd426, {}},
        {"KD-426 to printer", kToKd426, "Command8", {}, kKd426, {}},
        {"KD-138 input line 1", kToKd138, "Command1", {}, kKd138, {}},
        {"KP-685", "", "Command4", {"COM2"}, "talvex_main", {}},
    };
    return kOperations;
}

enum Failure { NoPortChosen, OpenFails, WriteFails, PortGone };

// How the system fails an open, as the link reports it, and the number the person sees.
struct OpenFault
{
    const char* name;
    LinkStatus status;
    bool atSettings; // the port refuses the line settings rather than the open
    int shownNumber;
};

const QList<OpenFault> kOpenFaults = {
    {"port missing", {LinkFailure::PortMissing, "No such file or directory"}, false, 8002},
    {"port in use", {LinkFailure::PortBusy, "Device or resource busy"}, false, 8005},
    {"not this user's", {LinkFailure::AccessDenied, "Permission denied"}, false, 8005},
    {"settings refused", {LinkFailure::SettingsRefused, "Invalid argument"}, true, 8015},
    {"open fails", {LinkFailure::OpenFailed, "Input/output error"}, false, 8000},
};

// The record of the operation on a port that works, and the virtual time it takes.
QStringList soundRun(const Operation& operation, int& ms)
{
    DemoHarness h;
    h.perform(operation.reach);
    h.clearLog();
    const qint64 start = h.ms();
    h.answer(operation.replies);
    h.perform(operation.steps);
    ms = int(h.ms() - start);
    if (!h.line.log.filter("box ").isEmpty())
        qFatal("the sound run of %s showed a box", operation.name);
    return h.line.log;
}

// The entries of a record before its n-th entry that starts with `kind` (n from 1).
QStringList entriesBefore(const QStringList& log, const QString& kind, int n)
{
    for (int i = 0; i < log.size(); ++i) {
        n -= log[i].startsWith(kind) ? 1 : 0;
        if (n == 0)
            return log.mid(0, i);
    }
    return log;
}

// Virtual time in which the program ends once `endMs` have passed.
class EndingPacer : public VirtualPacer
{
public:
    EndingPacer(StopSource& stop, qint64 endMs) : stop_(stop), endMs_(endMs) {}
    void sleep(int ms) override
    {
        VirtualPacer::sleep(ms);
        if (milliseconds() >= endMs_)
            stop_.requestStop();
    }

private:
    StopSource& stop_;
    qint64 endMs_;
};

} // namespace

class TestPortFaultMatrix : public QObject
{
    Q_OBJECT
private slots:
    void portFails_data();
    void portFails();
    void oneJobEnds_data();
    void oneJobEnds();
};

void TestPortFaultMatrix::portFails_data()
{
    QTest::addColumn<int>("operation");
    QTest::addColumn<int>("failure");
    QTest::addColumn<int>("fault");         // the open fault, or the failing write counted from the first
    QTest::addColumn<QStringList>("sound"); // the record of the sound run
    QTest::addColumn<int>("soundMs");
    QTest::addColumn<QStringList>("before"); // what of it comes before the failure
    QTest::addColumn<QString>("box");
    const QString notOpened = QStringLiteral("box Port Error: COM2 cannot be opened (error %1):\n%2");
    const QString writeFailed = QStringLiteral("box Port Error: COM2 failed while writing (error 8030):\n%1");
    for (int index = 0; index < operations().size(); ++index) {
        const Operation& operation = operations()[index];
        int ms = 0;
        const QStringList sound = soundRun(operation, ms);
        const auto row = [&](const char* name, Failure failure, int fault, const QStringList& before,
                             const QString& box) {
            QTest::addRow("%s / %s", operation.name, name)
                << index << int(failure) << fault << sound << ms << before << box;
        };
        if (QStringList{"Command6", "Command7", "Command8"}.contains(operation.reach))
            row("no port chosen", NoPortChosen, 0, {},
                "box Port Error: No COM port has been chosen.\nPlease choose a port.");
        for (int fault = 0;
             !sound.filter(QRegularExpression("^open ")).isEmpty() && fault < kOpenFaults.size(); ++fault) {
            const OpenFault& open = kOpenFaults[fault];
            row(open.name, OpenFails, fault, entriesBefore(sound, "open ", 1),
                notOpened.arg(open.shownNumber).arg(open.status.reason));
        }
        const int n = int(sound.filter(QRegularExpression("^write ")).size());
        const QString broken = writeFailed.arg("Input/output error");
        if (n >= 1) {
            row("first write fails", WriteFails, 1, entriesBefore(sound, "write ", 1), broken);
            row("port gone before the first write", PortGone, 1, entriesBefore(sound, "write ", 1),
                writeFailed.arg("No such device"));
        }
        if (n >= 3)
            row("middle write fails", WriteFails, n / 2 + 1, entriesBefore(sound, "write ", n / 2 + 1),
                broken);
        if (n >= 2)
            row("last write fails", WriteFails, n, entriesBefore(sound, "write ", n), broken);
    }
}

void TestPortFaultMatrix::portFails()
{
    QFETCH(int, operation);
    QFETCH(int, failure);
    QFETCH(int, fault);
    QFETCH(QStringList, sound);
    QFETCH(int, soundMs);
    QFETCH(QStringList, before);
    QFETCH(QString, box);
    const Operation& op = operations()[operation];
    DemoHarness h;
    h.perform(op.reach);
    h.clearLog();
    if (failure == OpenFails)
        (kOpenFaults[fault].atSettings ? h.line.settingsFailure : h.line.openFailure) =
            kOpenFaults[fault].status;
    else if (failure == PortGone)
        h.line.vanishBeforeWrite = h.line.writes + fault;
    else if (failure == WriteFails)
        h.line.failWriteNumber = h.line.writes + fault;
    const qint64 start = h.ms();
    h.answer(op.replies);
    h.perform(failure == NoPortChosen ? QString(op.steps).remove("Option2 ") : op.steps);

    // The sound run up to the failure, then one box telling exactly what failed, and nothing more than
    // the port closed: no write, no reopen, no pause, no prompt.
    const QStringList log = h.line.log;
    QCOMPARE(log.mid(0, before.size()), before);
    QCOMPARE(log.filter("box "), QStringList{box});
    QCOMPARE(int(h.dialogs.icons.value(0)), int(Dialogs::Critical));
    const qsizetype failed = failure == NoPortChosen ? before.size() - 1 : before.size();
    QVERIFY(failure == NoPortChosen ||
            log.value(failed).contains(QRegularExpression("^(open failed|failed write)")));
    for (const QString& entry : log.mid(failed + 1))
        QVERIFY2(entry == "close" || entry == "end" || entry.startsWith("box "), qPrintable(entry));
    QVERIFY(h.ms() - start <= soundMs);
    QCOMPARE(h.line.openPorts, 0);

    // The person can go on at once.
    QCOMPARE(h.currentTitle(), op.afterFailure);
    QCOMPARE(visibleWindows(), 1);
    auto* window = qobject_cast<DemoWindow*>(h.current());
    QVERIFY(window != nullptr && window->isEnabled() && !window->isBusy());
    QCOMPARE(log.contains("end"), op.steps == "Command30");
    if (log.contains("end"))
        return;
    h.line.openFailure.reset();
    h.line.settingsFailure.reset();
    h.line.failWriteNumber = 0;
    h.line.vanishBeforeWrite = 0;
    h.line.gonePorts.clear(); // plugged in again
    h.clearLog();
    if (!op.anotherPort.isEmpty()) {
        h.perform("Option3 Command1");
        QCOMPARE(h.currentTitle(), op.anotherPort);
        QCOMPARE(h.line.log.value(0), QStringLiteral("open COM3 9600,n,8,1"));
    } else {
        h.answer(op.replies);
        h.perform(op.steps);
        QCOMPARE(h.line.log, sound);
    }
    QCOMPARE(h.dialogs.icons.size(), 1);
}

void TestPortFaultMatrix::oneJobEnds_data()
{
    QTest::addColumn<QString>("settings");
    QTest::addColumn<QByteArray>("bytes"); // written before a minute's pause
    QTest::addColumn<bool>("stuck");       // the line never takes them
    QTest::addColumn<int>("endMs");        // the program ends then
    QTest::addColumn<int>("ms");
    QTest::addColumn<QString>("box");
    const QString stuck = "COM2 failed while writing (error 8030):\nThe line did not take the bytes in time.";
    QTest::newRow("one byte at 9600")
        << "9600,n,8,1" << QByteArray(1, 'x') << true << 999'999 << 1001 << stuck;
    QTest::newRow("480 bytes at 4800")
        << "4800,n,8,1" << QByteArray(480, 'x') << true << 999'999 << 2000 << stuck;
    QTest::newRow("the program ends in a pause")
        << "9600,n,8,1" << QByteArray("A") << false << 120 << 150 << "";
}

void TestPortFaultMatrix::oneJobEnds()
{
    QFETCH(QString, settings);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, stuck);
    QFETCH(int, endMs);
    QFETCH(int, ms);
    QFETCH(QString, box);
    FakeLine line;
    line.stuck = stuck;
    FakeSerialPort link(line);
    StopSource stop;
    EndingPacer pacer(stop, endMs);
    DevicePort port(link, pacer, stop.token());
    PortJob job;
    job.open("COM2", *LineSettings::parse(settings), DisplayProduct::KD317)
        .write(bytes)
        .pause(60000)
        .write("B")
        .close();
    const JobResult result = PortJobRunner(port, nullptr, {}).run(job);
    QCOMPARE(pacer.milliseconds(), ms);
    QCOMPARE(result.stopped ? QString() : portFailedMessage(result).text, box);
    QCOMPARE(line.log, (QStringList{"open COM2 " + settings, "write " + hexBytes(bytes), "close"}));
}

QTEST_MAIN(TestPortFaultMatrix)
#include "test_port_fault_matrix.moc"
