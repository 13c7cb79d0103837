// Every window, and each kind of job its buttons give the port worker (a button that runs the same kind
// of job as one here fails the same way), against every way the port can fail: the one box the person sees,
// the bytes of the sound run up to the failure and none after, the port let go, no pause held after the
// failure, and the window usable again.
#include "demo_harness.h"
#include "windows/demo_window.h"

#include <QRegularExpression>
#include <QTest>

namespace {

const QString PortChoice = QStringLiteral("PLEASE SELECT COMPORT");
const QString Epson = QStringLiteral("ESC/poc command list");
const QString Kd426 = QString::fromUtf8("KD426-繁體");
const QString Kd138 = QStringLiteral("KD138 DEMO");

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

const QString ToEpson = QStringLiteral("Command6 Option2 Command1");
const QString ToKd426 = QStringLiteral("Command7 Option2 Command1");
const QString ToKd138 = QStringLiteral("Command8 Option2 Command1");

const QList<Operation>& Operations()
{
    static const QList<Operation> operations = {
        {"KD-317 ENTER", "Command6", "Option2 Command1", {}, PortChoice, Epson},
        {"KD-426 ENTER", "Command7", "Option2 Command1", {}, PortChoice, Kd426},
        {"KD-138 ENTER", "Command8", "Option2 Command1", {}, PortChoice, Kd138},
        {"epson fixed", ToEpson, "Command1", {}, PortChoice, Epson},
        {"epson brightness", ToEpson, "Command11", {"3"}, PortChoice, Epson},
        {"epson reverse", ToEpson, "Command16", {"AB"}, PortChoice, Epson},
        {"epson vertical scroll", ToEpson, "Command18", {}, PortChoice, Epson},
        {"epson horizontal scroll", ToEpson, "Command19", {}, PortChoice, Epson},
        {"epson time", ToEpson, "Command28", {"12", "30"}, PortChoice, Epson},
        {"epson END TEST", ToEpson, "Command30", {}, Epson, {}},
        {"epson mirror key", ToEpson, "key:5:X", {}, PortChoice, Epson},
        {"epson to CHARACTER", ToEpson, "Command14", {}, PortChoice, Epson},
        {"epson to internation", ToEpson, "Command15", {}, PortChoice, Epson},
        {"CHARACTER ENTER", ToEpson + " Command14", "Option2 Command1", {}, PortChoice, Epson},
        {"CHARACTER CLOSE", ToEpson + " Command14", "Command2", {}, PortChoice, Epson},
        {"internation ENTER", ToEpson + " Command15", "Option3 Command1", {}, PortChoice, Epson},
        {"internation CANCEL", ToEpson + " Command15", "Command2", {}, PortChoice, Epson},
        {"KD-426 line 1", ToKd426, "Command1", {"Hi"}, Kd426, {}},
        {"KD-426 modify initial display", ToKd426, "Command15", {"A", "B"}, Kd426, {}},
        {"KD-426 time", ToKd426, "Command17", {}, Kd426, {}},
        {"KD-426 to printer", ToKd426, "Command8", {}, Kd426, {}},
        {"KD-138 input line 1", ToKd138, "Command1", {}, Kd138, {}},
        {"KP-685", "", "Command4", {"COM2"}, "talvex_main", {}},
    };
    return operations;
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

const QList<OpenFault> OpenFaults = {
    {"port missing", {LinkError::PortMissing, "No such file or directory"}, false, 8002},
    {"port in use", {LinkError::PortInUse, "Permission denied"}, false, 8005},
    {"settings refused", {LinkError::OpenFailed, "Invalid argument"}, true, 8015},
    {"open fails", {LinkError::OpenFailed, "Input/output error"}, false, 8000},
};

// The record of the operation on a port that works, and the virtual time it takes.
QStringList SoundRun(const Operation& operation, int& ms)
{
    DemoHarness h;
    h.perform(operation.reach);
    h.clearLog();
    const qint64 start = h.ms();
    h.answer(operation.replies);
    h.perform(operation.steps);
    ms = int(h.ms() - start);
    if (!h.line.log.filter("box ").isEmpty()) {
        qFatal("the sound run of %s showed a box", operation.name);
    }
    return h.line.log;
}

// The entries of a record before its n-th entry that starts with `kind` (n from 1).
QStringList Before(const QStringList& log, const QString& kind, int n)
{
    for (int i = 0; i < log.size(); ++i) {
        n -= log[i].startsWith(kind) ? 1 : 0;
        if (n == 0) {
            return log.mid(0, i);
        }
    }
    return log;
}

} // namespace

class TestPortFaultMatrix : public QObject
{
    Q_OBJECT
private slots:
    void portFails_data();
    void portFails();
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
    for (int index = 0; index < Operations().size(); ++index) {
        const Operation& operation = Operations()[index];
        int ms = 0;
        const QStringList sound = SoundRun(operation, ms);
        const auto row = [&](const char* name, Failure failure, int fault, const QStringList& before,
                             const QString& box) {
            QTest::addRow("%s / %s", operation.name, name)
                << index << int(failure) << fault << sound << ms << before << box;
        };
        if (QStringList{"Command6", "Command7", "Command8"}.contains(operation.reach)) {
            row("no port chosen", NoPortChosen, 0, {},
                "box Port Error: No COM port has been chosen.\nPlease choose a port.");
        }
        for (int fault = 0;
             !sound.filter(QRegularExpression("^open ")).isEmpty() && fault < OpenFaults.size(); ++fault) {
            const OpenFault& open = OpenFaults[fault];
            row(open.name, OpenFails, fault, Before(sound, "open ", 1),
                notOpened.arg(open.shownNumber).arg(open.status.reason));
        }
        const int n = int(sound.filter(QRegularExpression("^write ")).size());
        const QString broken = writeFailed.arg("Input/output error");
        if (n >= 1) {
            row("first write fails", WriteFails, 1, Before(sound, "write ", 1), broken);
            row("port gone before the first write", PortGone, 1, Before(sound, "write ", 1),
                writeFailed.arg("No such device"));
        }
        if (n >= 3) {
            row("middle write fails", WriteFails, n / 2 + 1, Before(sound, "write ", n / 2 + 1), broken);
        }
        if (n >= 2) {
            row("last write fails", WriteFails, n, Before(sound, "write ", n), broken);
        }
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
    const Operation& op = Operations()[operation];
    DemoHarness h;
    h.perform(op.reach);
    h.clearLog();
    if (failure == OpenFails) {
        (OpenFaults[fault].atSettings ? h.line.settingsFailure : h.line.openFailure) =
            OpenFaults[fault].status;
    } else if (failure == PortGone) {
        h.line.vanishBeforeWrite = h.line.writes + fault;
    } else if (failure == WriteFails) {
        h.line.failWriteNumber = h.line.writes + fault;
    }
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
    for (const QString& entry : log.mid(failed + 1)) {
        QVERIFY2(entry == "close" || entry == "end" || entry.startsWith("box "), qPrintable(entry));
    }
    QVERIFY(h.ms() - start <= soundMs);
    QCOMPARE(h.line.openPorts, 0);

    // The person can go on at once.
    QCOMPARE(h.currentTitle(), op.afterFailure);
    QCOMPARE(VisibleWindows(), 1);
    auto* window = qobject_cast<DemoWindow*>(h.current());
    QVERIFY(window != nullptr && window->isEnabled() && !window->isBusy());
    QCOMPARE(log.contains("end"), op.steps == "Command30");
    if (log.contains("end")) {
        return;
    }
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

QTEST_MAIN(TestPortFaultMatrix)
#include "tst_port_fault_matrix.moc"
