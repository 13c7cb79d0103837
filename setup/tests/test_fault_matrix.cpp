// Every device operation against every fault of the simulated display, in virtual time: the boxes
// shown, the bytes written (a prefix of a sound run, then at most the NAK lines), the port closed,
// no restart command after a failure, and the time taken held to what the waits' limits allow.
// The last test runs one failing operation per button through the window and checks that every
// device button comes back.
#include "content_bench.h"
#include "firmware_test_support.h"
#include "gui/main_window.h"
#include "gui/outcome_box.h"
#include "operations/demo_transfer.h"
#include "operations/factory_adjustment.h"
#include "operations/firmware_update.h"
#include "operations/general_record.h"
#include "operations/title_page.h"
#include "protocol/display_ack.h"
#include "protocol/display_port.h"
#include "window_fixture.h"

#include <QCheckBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>

namespace {

const QByteArray kNakLines = content_test::kNakLines;
const QByteArray kRestartCommand = QByteArray::fromHex("1F4640");
constexpr double kStartOfDay = 36000.0;
constexpr double kTick = 0.001;    // one polling pass of the virtual pacer
constexpr double kRounding = 0.01; // the box shows its times to two decimals

const QString kDsrNotReady = QStringLiteral("Port Status: Display DSR not ready yet !!");
const QString kPortMissing = QStringLiteral("Port Error: COM Port not Exist( 8002) !!");
const QString kPortBusy = QStringLiteral("Port Error: COM Port Already Open( 8005) !!");
const QString kWriteError = QStringLiteral("Port Error: COM Port Write Error( 8020) !!");
const QString kOnlineReminder =
    QStringLiteral("Online F/W Upload.: Firmware Update.\r\nMake sure DIP-12 in OFF status.");
const QString kForcedReminder =
    QStringLiteral("Force Overwrite F/W.: Firmware Update.\r\nMake sure DIP-12 in ON status.");

// Records, with every box, the virtual time it came and how many writes had been made by then.
class TimedDialogs : public ScriptedDialogs
{
public:
    TimedDialogs(const VirtualPacer& pacer, const SimulatedDisplay& display)
        : pacer_(pacer), display_(display)
    {
    }
    void message(Icon icon, const QString& title, const QString& text, const QString& detail = {}) override
    {
        times << pacer_.now();
        writesBefore << display_.writes().size();
        ScriptedDialogs::message(icon, title, text, detail);
    }
    QList<double> times;
    QList<qsizetype> writesBefore;

private:
    const VirtualPacer& pacer_;
    const SimulatedDisplay& display_;
};

enum class Op {
    GeneralWrite,
    GeneralErase,
    TitleWrite,
    TitleErase,
    DemoWrite,
    DemoErase,
    Balance,
    BalanceStore,
    FirmwareOnline,
    FirmwareForced
};

struct OpInfo
{
    Op op;
    const char* name;
    int writesBeforeFirstWait; // in a sound run, the writes made before the first acknowledgement wait
    bool restarts;             // a sound run ends with the restart command
    int tab;                   // the window's page that starts it, -1 for the factory page
    const char* button;        // the button that starts it, null for the balance slider
};

const OpInfo kOps[] = {
    {Op::GeneralWrite, "general write", 1, true, 0, "ComRegTalvex"},
    {Op::GeneralErase, "general erase", 1, true, 0, "ComCancelReg"},
    {Op::TitleWrite, "title write", 2, true, 2, "ComCoverPage_1"},
    {Op::TitleErase, "title erase", 1, true, 2, "ComCancelCoverPage_0"},
    {Op::DemoWrite, "DEMO write", 1, true, 2, "cmbWriteDEMO"},
    {Op::DemoErase, "DEMO erase", 1, true, 2, "cmbEraseDEMO"},
    {Op::Balance, "balance", 2, false, -1, nullptr},
    {Op::BalanceStore, "balance store", 2, true, -1, "ComFatWrtie"},
    {Op::FirmwareOnline, "firmware online", 1, true, 1, "ComDownLoad"},
    {Op::FirmwareForced, "firmware forced", 7, true, 1, "ComDownLoad"},
};

enum class Fault {
    Absent,
    DsrLate,
    Step1NeverDrains,
    Step2DsrLowAtWait,
    Step3NeverDrops,
    Step4PulseTooShort,
    Step5PulseNeverEnds,
    PortMissing,
    PortBusy,
    VanishAtFirstWrite,
    VanishAtSecondWrite,
    VanishHalfway,
    VanishAtLastWrite,
};

struct FaultInfo
{
    Fault fault;
    const char* name;
    int ackStep; // the acknowledgement step that fails, 0 for none
};

const FaultInfo kFaults[] = {
    {Fault::Absent, "absent", 0},
    {Fault::DsrLate, "DSR 1.1 s late", 0},
    {Fault::Step1NeverDrains, "step 1: output never drains", 1},
    {Fault::Step2DsrLowAtWait, "step 2: DSR falls for good at the frame", 2},
    {Fault::Step3NeverDrops, "step 3: DSR never drops", 3},
    {Fault::Step4PulseTooShort, "step 4: 30 ms pulse", 4},
    {Fault::Step5PulseNeverEnds, "step 5: 10 s pulse", 5},
    {Fault::PortMissing, "port missing", 0},
    {Fault::PortBusy, "port busy", 0},
    {Fault::VanishAtFirstWrite, "vanishes at the first write", 0},
    {Fault::VanishAtSecondWrite, "vanishes at the second write", 0},
    {Fault::VanishHalfway, "vanishes halfway", 0},
    {Fault::VanishAtLastWrite, "vanishes at the last write", 0},
};

struct Bench
{
    Bench() : pacer(kStartOfDay), display(pacer), dialogs(pacer, display), device(display, pacer, dialogs) {}
    VirtualPacer pacer;
    SimulatedDisplay display;
    TimedDialogs dialogs;
    DisplayAccess device;
};

// The files the operations send, made once.
struct Inputs
{
    Inputs()
    {
        demoPath = dir.filePath("shop.dem");
        if (!firmware_test::WriteFile(demoPath, content_test::DemoBytes(1100)))
            qFatal("cannot write %s", qPrintable(demoPath));
    }
    QTemporaryDir dir;
    QString demoPath;
    QByteArray firmwareImage = firmware_test::Pattern(1500) + QByteArray(1, '\0'); // three pages
};

Outcome StartOp(Op op, DisplayAccess& device, const Inputs& inputs)
{
    switch (op) {
    case Op::GeneralWrite:
        return writeGeneralParameters(device, {});
    case Op::GeneralErase:
        return eraseGeneralParameters(device);
    case Op::TitleWrite:
        return writeTitlePage(device, QStringLiteral("Fresh bread"), QStringLiteral("daily"));
    case Op::TitleErase:
        return eraseTitlePage(device);
    case Op::DemoWrite:
        return writeDemo(device, inputs.demoPath);
    case Op::DemoErase:
        return eraseDemo(device);
    case Op::Balance:
        return sendBalance(device, 200);
    case Op::BalanceStore:
        return storeBalance(device);
    case Op::FirmwareOnline:
        return updateFirmware(device, inputs.firmwareImage, false);
    case Op::FirmwareForced:
        return updateFirmware(device, inputs.firmwareImage, true);
    }
    return Outcome::stopped();
}

// Runs the operation and shows its outcome as the window does.
Outcome RunOp(Op op, DisplayAccess& device, const Inputs& inputs)
{
    const Outcome outcome = StartOp(op, device, inputs);
    showOutcome(device.dialogs, outcome);
    return outcome;
}

void PrepareDisplay(Bench& bench, Op op)
{
    SimulatedDisplay::Faults faults;
    faults.dipSwitch12On = op == Op::FirmwareForced;
    bench.display.setFaults(faults);
}

QByteArray FirstWrites(const QList<SimulatedDisplay::Write>& writes, qsizetype count)
{
    QByteArray bytes;
    for (qsizetype i = 0; i < count && i < writes.size(); ++i)
        bytes += writes.at(i).bytes;
    return bytes;
}

double SumOfLimits(int lastStep)
{
    double sum = 0;
    for (int step = 1; step <= lastStep; ++step)
        sum += kAckSteps[step - 1].limit;
    return sum;
}

} // namespace

class FaultMatrixTest : public QObject
{
    Q_OBJECT

private slots:
    void everyOperationAgainstEveryFault_data()
    {
        QTest::addColumn<int>("op");
        QTest::addColumn<int>("fault");
        for (const OpInfo& op : kOps)
            for (const FaultInfo& fault : kFaults)
                QTest::addRow("%s / %s", op.name, fault.name) << int(op.op) << int(fault.fault);
    }
    void everyOperationAgainstEveryFault()
    {
        QFETCH(int, op);
        QFETCH(int, fault);
        const OpInfo& opInfo = kOps[op];
        const FaultInfo& faultInfo = kFaults[fault];
        const Op operation = opInfo.op;
        Inputs inputs;

        // The sound run: what a failing run must be a prefix of.
        Bench sound;
        PrepareDisplay(sound, operation);
        QVERIFY(RunOp(operation, sound.device, inputs));
        const QList<SimulatedDisplay::Write> soundWrites = sound.display.writes();
        QCOMPARE(sound.display.wire().contains(kRestartCommand), opInfo.restarts);
        QVERIFY(!sound.display.isOpen());
        QVERIFY(soundWrites.size() >= opInfo.writesBeforeFirstWait);

        Bench bench;
        PrepareDisplay(bench, operation);
        SimulatedDisplay::Faults f = bench.display.faults();
        qsizetype vanishAt = -1;
        switch (faultInfo.fault) {
        case Fault::Absent:
            f.absent = true;
            break;
        case Fault::DsrLate:
            f.dsrDelay = 1.1;
            break;
        case Fault::Step1NeverDrains:
            f.outputNeverDrains = true;
            break;
        case Fault::Step2DsrLowAtWait:
            f.dropDsrAfterFrames = 0;
            break;
        case Fault::Step3NeverDrops:
            f.acknowledgeFirst = 0;
            break;
        case Fault::Step4PulseTooShort:
            f.pulseWidth = 0.03;
            break;
        case Fault::Step5PulseNeverEnds:
            f.pulseWidth = 10.0;
            break;
        case Fault::PortMissing:
            f.portMissing = true;
            break;
        case Fault::PortBusy:
            f.portBusy = true;
            break;
        case Fault::VanishAtFirstWrite:
            vanishAt = 0;
            break;
        case Fault::VanishAtSecondWrite:
            vanishAt = 1;
            break;
        case Fault::VanishHalfway:
            vanishAt = soundWrites.size() / 2;
            break;
        case Fault::VanishAtLastWrite:
            vanishAt = soundWrites.size() - 1;
            break;
        }
        f.vanishAfterWrites = static_cast<int>(vanishAt);
        bench.display.setFaults(f);

        const double start = bench.pacer.now();
        const Outcome outcome = RunOp(operation, bench.device, inputs);
        const double took = bench.pacer.now() - start;
        const QByteArray wire = bench.display.wire();
        const QStringList messages = bench.dialogs.messages();
        const QList<ScriptedDialogs::Shown> shown = bench.dialogs.shown();

        // Common to every fault: the port is closed and the display is never told to restart.
        QVERIFY(!bench.display.isOpen());
        QVERIFY2(!wire.contains(kRestartCommand), wire.toHex(' ').constData());

        QStringList expected;
        if (operation == Op::FirmwareOnline)
            expected << kOnlineReminder;
        if (operation == Op::FirmwareForced)
            expected << kForcedReminder;
        const qsizetype reminders = expected.size();

        // Whatever was stored, an operation that could not finish its writes is not a success.
        QVERIFY(!outcome);

        if (vanishAt >= 0) {
            // Everything up to the lost write, then nothing: no wait, no drain, one box.
            for (qsizetype i = reminders; i < sound.dialogs.shown().size(); ++i)
                if (sound.dialogs.writesBefore.at(i) <= vanishAt)
                    expected << sound.dialogs.messages().at(i);
            expected << kWriteError;
            QCOMPARE(outcome.kind(), Outcome::WriteFailed);
            QCOMPARE(outcome.number(), LinkError::WriteFailed);
            // A confirmation line lost before the success box: no success box after the "Port Error" one.
            QCOMPARE(messages, expected);
            QCOMPARE(shown.last().icon, Dialogs::Critical);
            QVERIFY(!shown.last().detail.isEmpty());
            QCOMPARE(wire.toHex(' '), FirstWrites(soundWrites, vanishAt).toHex(' '));
            const double lostAt = soundWrites.at(vanishAt).time;
            QVERIFY2(qAbs(took - lostAt) <= 2 * kTick, qPrintable(QString::number(took)));
            return;
        }

        if (faultInfo.fault == Fault::Absent || faultInfo.fault == Fault::DsrLate) {
            expected << kDsrNotReady;
            QCOMPARE(outcome.kind(), Outcome::NotReady);
            QCOMPARE(messages, expected);
            QCOMPARE(shown.last().icon, Dialogs::Exclamation);
            QVERIFY(wire.isEmpty());
            // Given up just past the limit after the open, not earlier and not much later.
            QVERIFY2(took > kDsrAfterOpenLimit && took <= kDsrAfterOpenLimit + 2 * kTick,
                     qPrintable(QString::number(took)));
            return;
        }
        if (faultInfo.fault == Fault::PortMissing || faultInfo.fault == Fault::PortBusy) {
            expected << (faultInfo.fault == Fault::PortMissing ? kPortMissing : kPortBusy);
            QCOMPARE(outcome.kind(), Outcome::PortFailed);
            QCOMPARE(outcome.number(),
                     faultInfo.fault == Fault::PortMissing ? LinkError::PortMissing : LinkError::PortInUse);
            QCOMPARE(messages, expected);
            QCOMPARE(shown.last().icon, Dialogs::Critical);
            QVERIFY(!shown.last().detail.isEmpty());
            QVERIFY(wire.isEmpty());
            QCOMPARE(took, 0.0);
            return;
        }

        // An acknowledgement that fails at `step` of the operation's first wait.
        const int step = faultInfo.ackStep;
        const int before = opInfo.writesBeforeFirstWait;
        const QList<SimulatedDisplay::Write> writes = bench.display.writes();
        QCOMPARE(wire.toHex(' '), (FirstWrites(soundWrites, before) + kNakLines).toHex(' '));
        const double waitStart = writes.at(before - 1).time; // writes take no time: the wait began here
        QCOMPARE(waitStart, soundWrites.at(before - 1).time);

        QCOMPARE(messages.size(), reminders + 1);
        QCOMPARE(messages.mid(0, reminders), expected);
        const QString prefix = QStringLiteral("Display ack. failed: Process.%1( %2/")
                                   .arg(step)
                                   .arg(shortDecimal(kStartOfDay + waitStart, 2));
        const QString text = messages.last();
        QVERIFY2(text.startsWith(prefix), qPrintable(text));
        const bool dsrHigh = step == 1 || step == 3 || step == 4;
        const QString suffix = dsrHigh ? QStringLiteral("/True)") : QStringLiteral("/False)");
        QVERIFY2(text.endsWith(suffix), qPrintable(text));
        bool number = false;
        const double deadline =
            text.mid(prefix.size(), text.size() - prefix.size() - suffix.size()).toDouble(&number);
        QVERIFY2(number, qPrintable(text));
        QCOMPARE(shown.last().icon, Dialogs::Exclamation);
        QCOMPARE(outcome.kind(), Outcome::NoAck);
        QCOMPARE(outcome.step(), step);
        QCOMPARE(QStringLiteral("Display ack. failed: ") + outcome.text(), text);

        // The step's deadline: its own limit after the steps before it, which are bounded by theirs.
        const double limit = kAckSteps[step - 1].limit;
        const double fromWait = deadline - (kStartOfDay + waitStart);
        QVERIFY2(fromWait >= limit - kRounding && fromWait <= SumOfLimits(step) + kRounding,
                 qPrintable(QString::number(fromWait)));
        const double boxAt = bench.dialogs.times.last() - waitStart;
        if (step == 4) {
            // DSR came back before the pulse had lasted its 50 ms: failed at once, before the deadline.
            QVERIFY2(boxAt < fromWait && boxAt >= 0.03, qPrintable(QString::number(boxAt)));
        } else {
            // Failed as the deadline passed.
            QVERIFY2(qAbs(boxAt - fromWait) <= kRounding, qPrintable(QString::number(boxAt)));
        }
        // After the box, only the close: the NAK lines drain, or the close gives up at its limit.
        const double closing = took - bench.dialogs.times.last();
        if (step == 1)
            QVERIFY2(closing > kDrainLimit && closing <= kDrainLimit + 2 * kTick,
                     qPrintable(QString::number(closing)));
        else
            QVERIFY2(closing < kDrainLimit, qPrintable(QString::number(closing)));
        QVERIFY(took <= waitStart + SumOfLimits(step) + kDrainLimit + kRounding);
    }

    void windowButtonsComeBackAfterAFailure_data()
    {
        QTest::addColumn<int>("op");
        for (const OpInfo& op : kOps)
            QTest::newRow(op.name) << int(op.op);
    }
    void windowButtonsComeBackAfterAFailure()
    {
        QFETCH(int, op);
        const Op operation = kOps[op].op;
        Inputs inputs;
        WindowFixture w;
        MainWindow& window = *w.window;
        ScriptedDialogs& dialogs = w.dialogs;
        SimulatedDisplay& display = w.display;
        const auto button = [&](const char* name) { return w.find(name); };
        const auto showTab = [&](int tab) { w.showTab(tab); }; // each control is clicked on its page

        // Every button allowed: a DEMO file and a firmware file chosen.
        showTab(2);
        dialogs.scriptFile(inputs.demoPath);
        QTest::mouseClick(button("Command1"), Qt::LeftButton);
        const QString firmwarePath = w.dir.filePath("FW_VQ7146.wfu");
        QVERIFY(
            firmware_test::WriteFile(firmwarePath, firmware_test::WfuFile(inputs.firmwareImage.chopped(1))));
        showTab(1);
        dialogs.scriptFile(firmwarePath);
        QTest::mouseClick(button("ComOpenFile_0"), Qt::LeftButton);
        dialogs.clear();
        const QList<const char*> deviceButtons{"ComRegTalvex", "ComCancelReg",   "ComOpenFile_0",
                                               "ComDownLoad",  "ComCoverPage_1", "ComCancelCoverPage_0",
                                               "cmbWriteDEMO", "cmbEraseDEMO",   "ComFatWrtie"};
        for (const char* name : deviceButtons)
            QVERIFY2(button(name)->isEnabled(), name);

        SimulatedDisplay::Faults faults;
        faults.acknowledgeFirst = 0; // step 3 at the first wait
        faults.dipSwitch12On = operation == Op::FirmwareForced;
        display.setFaults(faults);
        window.findChild<QCheckBox*>("chkOverwrite")->setChecked(operation == Op::FirmwareForced);

        const OpInfo& info = kOps[op];
        if (info.tab < 0)
            window.showFactoryPage();
        else
            showTab(info.tab);
        QSignalSpy done(&window.runner(), &OperationRunner::operationFinished);
        if (info.button)
            QTest::mouseClick(button(info.button), Qt::LeftButton);
        else
            window.findChild<QSlider*>("Slider1")->setValue(200);
        QVERIFY(window.runner().busy());
        for (const char* name : deviceButtons)
            QVERIFY2(!button(name)->isEnabled(), name);
        QVERIFY(done.wait(10000));

        for (const char* name : deviceButtons)
            QVERIFY2(button(name)->isEnabled(), name);
        QVERIFY(!window.runner().busy());
        QVERIFY(!display.isOpen());
        const QStringList messages = dialogs.messages();
        QVERIFY(!messages.isEmpty());
        QVERIFY2(messages.last().startsWith("Display ack. failed: Process.3( "), qPrintable(messages.last()));
        QVERIFY(display.wire().endsWith(kNakLines));
        QVERIFY(!display.wire().contains(kRestartCommand));
    }
};

QTEST_MAIN(FaultMatrixTest)
#include "test_fault_matrix.moc"
