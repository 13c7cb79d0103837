// Every device operation against every fault of the simulated display, in virtual time: the boxes
// shown, the bytes written (a prefix of the sound run, then at most the NAK lines), the port closed,
// no restart command after a failure, and the time taken held to what the waits' limits allow.
#include "operation_cases.h"
#include "protocol/display_session.h"

#include <QTest>

namespace {

const QByteArray kNakLines = QByteArray("\x0C") + "Flash Write NAK  ???" + "Please Try Again ???";
const QByteArray kRestartCommand = QByteArray::fromHex("1F4640");
constexpr double kStartOfDay = 86399.5; // half a second before midnight
constexpr double kTick = 0.001;         // one polling pass of the virtual pacer
constexpr double kRounding = 0.01;      // the box shows its times to two decimals

enum class Fault {
    Absent,
    DsrLate,
    Step1NeverDrains,
    Step2DsrLowAtWait,
    Step3NeverDrops,
    Step4PulseTooShort,
    Step5PulseNeverEnds,
    LastStrictWait,
    PortMissing,
    PortBusy,
    VanishAtFirstWrite,
    VanishAtSecondWrite,
    VanishHalfway,
    VanishAtLastWrite,
};

struct FaultCase
{
    Fault fault;
    const char* name;
    int ackStep; // the acknowledgement step that fails, 0 for none
};

const FaultCase kFaults[] = {
    {Fault::Absent, "absent", 0},
    {Fault::DsrLate, "DSR 1.1 s late", 0},
    {Fault::Step1NeverDrains, "step 1: output never drains", 1},
    {Fault::Step2DsrLowAtWait, "step 2: DSR falls for good at the frame", 2},
    {Fault::Step3NeverDrops, "step 3: DSR never drops", 3},
    {Fault::Step4PulseTooShort, "step 4: 30 ms pulse", 4},
    {Fault::Step5PulseNeverEnds, "step 5: 10 s pulse", 5},
    {Fault::LastStrictWait, "step 3 at the last wait it needs", 3},
    {Fault::PortMissing, "port missing", 0},
    {Fault::PortBusy, "port busy", 0},
    {Fault::VanishAtFirstWrite, "vanishes at the first write", 0},
    {Fault::VanishAtSecondWrite, "vanishes at the second write", 0},
    {Fault::VanishHalfway, "vanishes halfway", 0},
    {Fault::VanishAtLastWrite, "vanishes at the last write", 0},
};

QByteArray firstWrites(const QList<SimulatedDisplay::Write>& writes, qsizetype count)
{
    QByteArray bytes;
    for (qsizetype i = 0; i < count && i < writes.size(); ++i)
        bytes += writes.at(i).bytes;
    return bytes;
}

double sumOfLimits(int lastStep)
{
    double sum = 0;
    for (int step = 1; step <= lastStep; ++step)
        sum += kAckStepLimits[step - 1];
    return sum;
}

// The box of a failure as "Title: text" (its words and icon: test_protocol): the notice of a missing
// acknowledgement, told before the NAK lines, or else the outcome's box at the end.
QStringList boxOf(const Outcome& outcome)
{
    ScriptedDialogs dialogs;
    if (outcome.kind() == Outcome::NoAck)
        dialogs.tell(Notice::ackFailed(outcome.ackFailure()));
    else
        showOutcome(dialogs, outcome);
    return dialogs.messages();
}

SimulatedDisplay::Faults faultsFor(const FaultCase& fault, const OpCase& op, qsizetype soundWrites)
{
    SimulatedDisplay::Faults f;
    f.absent = fault.fault == Fault::Absent;
    f.dsrDelay = fault.fault == Fault::DsrLate ? 1.1 : 0.0;
    f.outputNeverDrains = fault.fault == Fault::Step1NeverDrains;
    f.dropDsrAfterFrames = fault.fault == Fault::Step2DsrLowAtWait ? 0 : -1;
    f.acknowledgeFirst = fault.fault == Fault::Step3NeverDrops  ? 0
                         : fault.fault == Fault::LastStrictWait ? op.strictWaits - 1
                                                                : -1;
    f.pulseWidth = fault.fault == Fault::Step4PulseTooShort    ? 0.03
                   : fault.fault == Fault::Step5PulseNeverEnds ? 10.0
                                                               : 0.2;
    f.portMissing = fault.fault == Fault::PortMissing;
    f.portBusy = fault.fault == Fault::PortBusy;
    const qsizetype vanish[] = {0, 1, soundWrites / 2, soundWrites - 1};
    if (fault.fault >= Fault::VanishAtFirstWrite)
        f.vanishAfterWrites = int(vanish[int(fault.fault) - int(Fault::VanishAtFirstWrite)]);
    return f;
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
        for (const OpCase& op : kOps)
            for (const FaultCase& fault : kFaults)
                if (fault.fault != Fault::LastStrictWait || op.strictWaits > 1)
                    QTest::addRow("%s / %s", op.name, fault.name) << int(op.op) << int(fault.fault);
    }
    void everyOperationAgainstEveryFault()
    {
        QFETCH(int, op);
        QFETCH(int, fault);
        const OpCase& opCase = kOps[op];
        const FaultCase& faultCase = kFaults[fault];

        // The sound run: what a failing run must be a prefix of.
        Bench sound(kStartOfDay);
        const QString file = opInputFile(opCase.op, sound.dir);
        prepareDisplay(opCase.op, sound.display);
        QVERIFY(presentOp(opCase.op, sound.access, file));
        const QList<SimulatedDisplay::Write> soundWrites = sound.display.writes();
        const QList<ScriptedDialogs::Shown> soundBoxes = sound.dialogs.shown();

        Bench bench(kStartOfDay);
        prepareDisplay(opCase.op, bench.display, faultsFor(faultCase, opCase, soundWrites.size()));
        const qsizetype vanishAt = bench.display.faults().vanishAfterWrites;
        const double start = bench.pacer.now();
        const Outcome outcome = presentOp(opCase.op, bench.access, file);
        const double took = bench.pacer.now() - start;
        const QByteArray wire = bench.display.wire();
        const QList<ScriptedDialogs::Shown> shown = bench.dialogs.shown();
        const QStringList messages = bench.dialogs.messages();

        // Common to every fault: not a success, the port closed, the display never told to restart.
        QVERIFY(!outcome);
        QVERIFY(!bench.display.isOpen());
        QVERIFY2(!wire.contains(kRestartCommand), wire.toHex(' ').constData());
        const qsizetype reminders = opCase.op == Op::FirmwareOnline || opCase.op == Op::FirmwareForced;
        QStringList expected = sound.dialogs.messages().mid(0, reminders);

        if (vanishAt >= 0) {
            // Everything up to the lost write, then nothing: no wait, no drain, one box.
            for (qsizetype i = reminders; i < soundBoxes.size(); ++i)
                if (soundBoxes.at(i).at <= vanishAt)
                    expected << sound.dialogs.messages().at(i);
            QCOMPARE(outcome.kind(), Outcome::WriteFailed);
            QCOMPARE(outcome.link().number, LinkError::WriteFailed);
            QVERIFY(!outcome.link().reason.isEmpty());
            QCOMPARE(messages, expected << boxOf(outcome));
            QCOMPARE(wire.toHex(' '), firstWrites(soundWrites, vanishAt).toHex(' '));
            QCOMPARE_LE(qAbs(took - soundWrites.at(vanishAt).time), 2 * kTick);
            return;
        }
        if (faultCase.ackStep == 0) {
            // Failed at the open, nothing written, one box: a port the system refuses at once (its
            // reason in the detail), DSR given up just past its limit, not earlier and not much later.
            const bool dsr = faultCase.fault == Fault::Absent || faultCase.fault == Fault::DsrLate;
            const int number =
                faultCase.fault == Fault::PortMissing ? LinkError::PortMissing : LinkError::PortInUse;
            QCOMPARE(outcome.kind(), dsr ? Outcome::NotReady : Outcome::PortFailed);
            QVERIFY(dsr || (outcome.link().number == number && !outcome.link().reason.isEmpty()));
            QCOMPARE(messages, expected << boxOf(outcome));
            QVERIFY(wire.isEmpty());
            QVERIFY2(dsr ? took > kDsrAfterOpenLimit && took <= kDsrAfterOpenLimit + 2 * kTick : took == 0.0,
                     qPrintable(QString::number(took)));
            return;
        }

        // An acknowledgement that fails at `step`: the writes of the sound run up to that wait, then
        // the NAK lines, and the box in between.
        const int step = faultCase.ackStep;
        const AckFailure& failure = outcome.ackFailure();
        QCOMPARE(outcome.kind(), Outcome::NoAck);
        QCOMPARE(failure.step, step);
        QVERIFY(wire.endsWith(kNakLines));
        const QList<SimulatedDisplay::Write> writes = bench.display.writes();
        const qsizetype before = writes.size() - 3; // the NAK lines are three writes
        if (faultCase.fault ==
            Fault::LastStrictWait) { // after the setup request: the display reads the lines
            QCOMPARE_GT(before, opCase.writesBeforeWait);
            QCOMPARE(bench.display.screen(), (QStringList{"Flash Write NAK  ???", "Please Try Again ???"}));
        } else {
            QCOMPARE(before, opCase.writesBeforeWait);
        }
        QCOMPARE(wire.toHex(' '), (firstWrites(soundWrites, before) + kNakLines).toHex(' '));
        QCOMPARE(shown.last().at, before);                   // the box before the NAK lines
        const double waitStart = writes.at(before - 1).time; // writes take no time: the wait began here
        QCOMPARE(waitStart, soundWrites.at(before - 1).time);

        // The box tells the time of day at which the wait began, DSR at the failure, and the step's
        // deadline: its own limit after the steps before it, which are bounded by theirs.
        QCOMPARE(messages, expected << boxOf(outcome));
        QCOMPARE(failure.waitStart, wrapToDay(kStartOfDay + waitStart));
        QCOMPARE(failure.dsr, step == 1 || step == 3 || step == 4);
        QCOMPARE_LT(failure.deadline, 86400.0); // seconds since midnight, also past it
        const double fromWait = wrapToDay(failure.deadline - failure.waitStart);
        QCOMPARE_GE(fromWait, kAckStepLimits[step - 1] - kRounding);
        QCOMPARE_LE(fromWait, sumOfLimits(step) + kRounding);
        // After the box, only the close: the NAK lines drain, or the close gives up at its limit.
        const double afterNak = took - (writes.last().time - start);
        if (step == 1) {
            QCOMPARE_GT(afterNak, kDrainLimit);
            QCOMPARE_LE(afterNak, kDrainLimit + 2 * kTick);
        } else {
            QCOMPARE_LT(afterNak, kDrainLimit);
        }
        const double failedAt = writes.last().time - waitStart; // the NAK lines follow the box at once
        if (step == 4) // DSR came back before the pulse had lasted its 50 ms: failed at once
            QVERIFY2(failedAt < fromWait && failedAt >= 0.03, qPrintable(QString::number(failedAt)));
        else // failed as the deadline passed
            QCOMPARE_LE(qAbs(failedAt - fromWait), kRounding);
    }
};

QTEST_GUILESS_MAIN(FaultMatrixTest)
#include "test_fault_matrix.moc"
