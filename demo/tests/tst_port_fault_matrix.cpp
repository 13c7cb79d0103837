// Every window and operation that opens or writes the port, against every way the port can fail: the
// one box the person sees, the bytes of the sound run up to the failure and none after, the port let
// go, no pause held after the failure, and the window usable again.
#include "demo_harness.h"
#include "windows/demo_window.h"
#include "windows/escpos_demo_window.h"
#include "windows/mirror_grid.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTest>
#include <algorithm>

namespace {

const QString PortChoice = QStringLiteral("PLEASE SELECT COMPORT");
const QString Epson = QStringLiteral("ESC/poc command list");
const QString Kd426 = QString::fromUtf8("KD426-繁體");
const QString Kd138 = QStringLiteral("KD138 DEMO");
const QString Launcher = QStringLiteral("talvex_main");

// One thing the person does that reaches the port, always COM2.
struct Operation
{
    const char* name;
    QStringList reach;    // the clicks from the launcher to the window the operation starts on
    QStringList steps;    // control names, "cell N" (a click on mirror cell N) or "key N X" (X typed in N)
    QStringList replies;  // the answers to the operation's prompts
    bool choosesPort;     // the steps pick the port (Option2) on a port selection
    QString afterFailure; // the window the person is on once the port has failed
    // The window ENTER on another port (COM3) opens from there; empty: the person repeats the operation
    // on the same window once the port is back.
    QString anotherPort;
    bool endsProgram = false;
};

const QStringList ToEpson{"Command6", "Option2", "Command1"};
const QStringList ToCharacter = ToEpson + QStringList{"Command14"};
const QStringList ToInternation = ToEpson + QStringList{"Command15"};
const QStringList ToKd426{"Command7", "Option2", "Command1"};
const QStringList ToKd138{"Command8", "Option2", "Command1"};

const QList<Operation>& Operations()
{
    static const QList<Operation> operations = {
        {"KD-317 ENTER", {"Command6"}, {"Option2", "Command1"}, {}, true, PortChoice, Epson},
        {"KD-426 ENTER", {"Command7"}, {"Option2", "Command1"}, {}, true, PortChoice, Kd426},
        {"KD-138 ENTER", {"Command8"}, {"Option2", "Command1"}, {}, true, PortChoice, Kd138},
        {"epson fixed", ToEpson, {"Command1"}, {}, false, PortChoice, Epson},
        {"epson position", ToEpson, {"Command9"}, {"2", "5"}, false, PortChoice, Epson},
        {"epson brightness", ToEpson, {"Command11"}, {"3"}, false, PortChoice, Epson},
        {"epson blink", ToEpson, {"Command12"}, {"7"}, false, PortChoice, Epson},
        {"epson initialize", ToEpson, {"Command13"}, {}, false, PortChoice, Epson},
        {"epson reverse", ToEpson, {"Command16"}, {"AB"}, false, PortChoice, Epson},
        {"epson overwrite", ToEpson, {"Command17"}, {}, false, PortChoice, Epson},
        {"epson vertical scroll", ToEpson, {"Command18"}, {}, false, PortChoice, Epson},
        {"epson horizontal scroll", ToEpson, {"Command19"}, {}, false, PortChoice, Epson},
        {"epson self-test", ToEpson, {"Command27"}, {}, false, PortChoice, Epson},
        {"epson time", ToEpson, {"Command28"}, {"12", "30"}, false, PortChoice, Epson},
        {"epson END TEST", ToEpson, {"Command30"}, {}, false, Epson, {}, true},
        {"epson mirror click", ToEpson, {"cell 12"}, {}, false, PortChoice, Epson},
        {"epson mirror key", ToEpson, {"key 5 X"}, {}, false, PortChoice, Epson},
        {"epson to CHARACTER", ToEpson, {"Command14"}, {}, false, PortChoice, Epson},
        {"epson to internation", ToEpson, {"Command15"}, {}, false, PortChoice, Epson},
        {"CHARACTER ENTER", ToCharacter, {"Option2", "Command1"}, {}, false, PortChoice, Epson},
        {"CHARACTER CLOSE", ToCharacter, {"Command2"}, {}, false, PortChoice, Epson},
        {"internation ENTER", ToInternation, {"Option3", "Command1"}, {}, false, PortChoice, Epson},
        {"internation CANCEL", ToInternation, {"Command2"}, {}, false, PortChoice, Epson},
        {"KD-426 line 1", ToKd426, {"Command1"}, {"Hi"}, false, Kd426, {}},
        {"KD-426 clear", ToKd426, {"Command5"}, {}, false, Kd426, {}},
        {"KD-426 double line 2", ToKd426, {"Command7"}, {"AB"}, false, Kd426, {}},
        {"KD-426 horizontal line 3", ToKd426, {"Command11"}, {"Z"}, false, Kd426, {}},
        {"KD-426 modify initial display", ToKd426, {"Command15"}, {"A", "B"}, false, Kd426, {}},
        {"KD-426 time", ToKd426, {"Command17"}, {}, false, Kd426, {}},
        {"KD-426 to printer", ToKd426, {"Command8"}, {}, false, Kd426, {}},
        {"KD-138 input line 1", ToKd138, {"Command1"}, {}, false, Kd138, {}},
        {"KD-138 clear", ToKd138, {"Command2"}, {}, false, Kd138, {}},
        {"KP-685", {}, {"Command4"}, {"COM2"}, false, Launcher, {}},
    };
    return operations;
}

enum Failure {
    NoPortChosen,
    PortMissing,
    PortInUse,
    SettingsRefused,
    OpenFailsOtherwise,
    FirstWriteFails,
    MiddleWriteFails,
    LastWriteFails,
    PortGoneBeforeFirstWrite,
};

// How the system fails an open, as the link reports it, and the number and words the person sees.
struct OpenFault
{
    LinkStatus status;
    bool atSettings; // the port refuses the line settings rather than the open
    int shownNumber;
};

OpenFault OpenError(Failure failure)
{
    switch (failure) {
    case PortMissing:
        return {{LinkError::PortMissing, QStringLiteral("No such file or directory")}, false, 8002};
    case PortInUse:
        return {{LinkError::PortInUse, QStringLiteral("Permission denied")}, false, 8005};
    case SettingsRefused:
        return {{LinkError::OpenFailed, QStringLiteral("Invalid argument")}, true, 8015};
    default:
        return {{LinkError::OpenFailed, QStringLiteral("Input/output error")}, false, 8000};
    }
}

QLineEdit* Cell(DemoHarness& h, int index)
{
    return h.currentAs<EscPosDemoWindow>()->mirrorGrid()->cellEdit(index);
}

// Walks to the window the operation starts on and clears the record.
void Reach(DemoHarness& h, const Operation& operation)
{
    for (const QString& name : operation.reach) {
        h.click(name);
    }
    h.clearLog();
}

void Perform(DemoHarness& h, const Operation& operation, bool skipPortChoice = false)
{
    h.dialogs.replies.clear(); // answers a failed run left unasked are not the person's next ones
    for (const QString& reply : operation.replies) {
        h.dialogs.replies.push_back(reply);
    }
    for (const QString& step : operation.steps) {
        const QStringList words = step.split(' ');
        if (words[0] == "cell") {
            QTest::mouseClick(Cell(h, words[1].toInt()), Qt::LeftButton);
        } else if (words[0] == "key") {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, words[2]);
            QApplication::sendEvent(Cell(h, words[1].toInt()), &press);
        } else if (!(skipPortChoice && step.startsWith("Option"))) {
            h.click(step);
        }
        h.settle();
    }
}

// What the operation does on a port that works.
struct SoundRun
{
    QStringList writes;
    int writesBeforeOpen = -1; // -1: the operation opens no port
    int ms = 0;
    QList<int> writesAtPrompt; // counted from the operation's start

    // The prompts shown before the failure that comes after `sent` sound writes.
    int promptsBefore(int sent) const
    {
        return int(std::count_if(writesAtPrompt.begin(), writesAtPrompt.end(),
                                 [sent](int writes) { return writes <= sent; }));
    }
};

SoundRun RunSound(const Operation& operation)
{
    DemoHarness h;
    Reach(h, operation);
    const int writesBefore = h.line.writes;
    const qint64 start = h.ms();
    Perform(h, operation);
    if (!h.dialogs.messages.isEmpty()) {
        qFatal("the sound run of %s showed a box", operation.name);
    }
    SoundRun sound{h.writes(), -1, int(h.ms() - start), {}};
    for (const ScriptedDialogs::Prompt& prompt : h.dialogs.prompts) {
        sound.writesAtPrompt.append(prompt.writesBefore - writesBefore);
    }
    int written = 0;
    for (const QString& entry : h.log) {
        if (entry.startsWith("open ")) {
            sound.writesBeforeOpen = written;
            break;
        }
        written += entry.startsWith("write ") ? 1 : 0;
    }
    return sound;
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
    QTest::addColumn<int>("failingWrite"); // counted from the operation's first write
    QTest::addColumn<QStringList>("soundWrites");
    QTest::addColumn<int>("soundMs");
    QTest::addColumn<int>("sentBefore"); // how many of the sound run's writes go out before the failure
    QTest::addColumn<int>("prompts");    // how many of its prompts come up before the failure
    QTest::addColumn<QString>("text");
    const QString notOpened = QStringLiteral("COM2 cannot be opened (error %1):\n%2");
    const QString writeFailed = QStringLiteral("COM2 failed while writing (error 8030):\n%1");
    for (int index = 0; index < Operations().size(); ++index) {
        const Operation& operation = Operations()[index];
        const SoundRun sound = RunSound(operation);
        const int n = int(sound.writes.size());
        const auto row = [&](const char* failure, int kind, int failingWrite, int sent, const QString& text) {
            QTest::addRow("%s / %s", operation.name, failure)
                << index << kind << failingWrite << sound.writes << sound.ms << sent
                << sound.promptsBefore(sent) << text;
        };
        if (operation.choosesPort) {
            row("no port chosen", NoPortChosen, 0, 0, "No COM port has been chosen.\nPlease choose a port.");
        }
        if (sound.writesBeforeOpen >= 0) {
            const QList<std::pair<const char*, Failure>> openFailures = {
                {"port missing", PortMissing},
                {"port in use", PortInUse},
                {"settings refused", SettingsRefused},
                {"open fails", OpenFailsOtherwise}};
            for (const auto& [name, failure] : openFailures) {
                const OpenFault error = OpenError(failure);
                row(name, failure, 0, sound.writesBeforeOpen,
                    notOpened.arg(error.shownNumber).arg(error.status.reason));
            }
        }
        if (n >= 1) {
            row("first write fails", FirstWriteFails, 1, 0, writeFailed.arg("Input/output error"));
            row("port gone before the first write", PortGoneBeforeFirstWrite, 1, 0,
                writeFailed.arg("No such device"));
        }
        if (n >= 3) {
            row("middle write fails", MiddleWriteFails, n / 2 + 1, n / 2,
                writeFailed.arg("Input/output error"));
        }
        if (n >= 2) {
            row("last write fails", LastWriteFails, n, n - 1, writeFailed.arg("Input/output error"));
        }
    }
}

void TestPortFaultMatrix::portFails()
{
    QFETCH(int, operation);
    QFETCH(int, failure);
    QFETCH(int, failingWrite);
    QFETCH(QStringList, soundWrites);
    QFETCH(int, soundMs);
    QFETCH(int, sentBefore);
    QFETCH(int, prompts);
    QFETCH(QString, text);
    const Operation& op = Operations()[operation];
    DemoHarness h;
    Reach(h, op);
    const ScriptedDialogs& shown = h.dialogs;
    if (failure >= PortMissing && failure <= OpenFailsOtherwise) {
        const OpenFault fault = OpenError(Failure(failure));
        (fault.atSettings ? h.line.settingsFailure : h.line.openFailure) = fault.status;
    } else if (failure == PortGoneBeforeFirstWrite) {
        h.line.vanishBeforeWrite = h.line.writes + failingWrite;
    } else if (failure != NoPortChosen) {
        h.line.failWriteNumber = h.line.writes + failingWrite;
    }
    const qint64 start = h.ms();
    Perform(h, op, failure == NoPortChosen);

    // One box, telling exactly what failed, and no prompt after the failure.
    QCOMPARE(shown.messages.size(), 1);
    QCOMPARE(int(shown.messages[0].icon), int(Dialogs::Critical));
    QCOMPARE(shown.messages[0].title, QStringLiteral("Port Error"));
    QCOMPARE(shown.messages[0].text, text);
    QCOMPARE(shown.prompts.size(), prompts);

    // The sound run's bytes up to the failure; after it the port is only closed: no write, no reopen,
    // no pause.
    QCOMPARE(h.writes(), soundWrites.mid(0, sentBefore));
    const qsizetype failed =
        h.log.indexOf(QRegularExpression("(open failed|failed write).*")); // whole entries
    QCOMPARE(failed < 0, failure == NoPortChosen);
    for (const QString& entry : h.log.mid(failed + 1)) {
        QCOMPARE(entry, QStringLiteral("close"));
    }
    QVERIFY(h.ms() - start <= soundMs);
    QCOMPARE(h.line.openPorts, 0);

    // The person can go on at once.
    QCOMPARE(h.currentTitle(), op.afterFailure);
    QCOMPARE(VisibleWindows(), 1);
    auto* window = qobject_cast<DemoWindow*>(h.current());
    QVERIFY(window != nullptr && window->isEnabled() && !window->isBusy());
    QCOMPARE(h.ended, op.endsProgram ? 1 : 0);
    if (op.endsProgram) {
        return;
    }
    h.line.openFailure.reset();
    h.line.settingsFailure.reset();
    h.line.failWriteNumber = 0;
    h.line.vanishBeforeWrite = 0;
    h.clearLog();
    if (!op.anotherPort.isEmpty()) {
        h.click("Option3");
        h.click("Command1");
        QCOMPARE(h.currentTitle(), op.anotherPort);
        QCOMPARE(h.log.value(0), QStringLiteral("open COM3 9600,n,8,1"));
    } else {
        h.line.gonePorts.clear(); // plugged in again
        Perform(h, op);
        QCOMPARE(h.writes(), soundWrites);
    }
    QCOMPARE(shown.messages.size(), 1);
}

QTEST_MAIN(TestPortFaultMatrix)
#include "tst_port_fault_matrix.moc"
