// Every device operation against every fault of the simulated display, in virtual time: the boxes
// shown, the bytes written (a prefix of the sound run, then at most the NAK lines), the port closed,
// no restart command after a failure, and the time taken held to what the waits' limits allow.
#include "setup/messages/message_catalogue.h"
#include "setup/protocol/display_session.h"
#include "setup/tests/operation_cases.h"

#include <QTest>
#include <numeric>

namespace {

const QByteArray kNakLines = QByteArray("\x0C") + "Flash Write NAK  ???" + "Please Try Again ???";
const QByteArray kRestartCommand = QByteArray::fromHex("1F4640");
constexpr double kStartOfDay = 86399.5; // half a second before midnight
constexpr double kTick = 0.001;         // one polling pass of the virtual pacer
constexpr double kRounding = 0.01;      // the box shows its times to two decimals

struct FaultCase
{
    const char* name;
    Outcome::Kind ending; // how every operation ends with the fault
    int number;           // what failed on the link (LinkFailure), or the acknowledgement step that fails
    // Sets the fault for the operation `op`, whose sound run makes `writes` writes.
    void (*set)(SimulatedDisplay::Faults& f, const OpCase& op, qsizetype writes);
    bool lastWait = false; // the last acknowledgement the operation cannot go on without
};

const FaultCase kFaults[] = {
    {"absent", Outcome::NotReady, 0, [](auto& f, auto&, auto) { f.absent = true; }},
    {"DSR 1.1 s late", Outcome::NotReady, 0, [](auto& f, auto&, auto) { f.dsrDelay = 1.1; }},
    {"step 1: output never drains", Outcome::NoAck, 1,
     [](auto& f, auto&, auto) { f.outputNeverDrains = true; }},
    // Counted from the wait's start, a DSR that falls at the frame is an answer that never ends.
    {"step 5: DSR falls for good at the frame", Outcome::NoAck, 5,
     [](auto& f, auto&, auto) { f.dropDsrAfterFrames = 0; }},
    {"step 3: DSR never drops", Outcome::NoAck, 3, [](auto& f, auto&, auto) { f.acknowledgeFirst = 0; }},
    {"step 4: 30 ms pulse", Outcome::NoAck, 4, [](auto& f, auto&, auto) { f.pulseWidth = 0.03; }},
    {"step 5: 10 s pulse", Outcome::NoAck, 5, [](auto& f, auto&, auto) { f.pulseWidth = 10.0; }},
    {"step 3 at the last wait it needs", Outcome::NoAck, 3,
     [](auto& f, const OpCase& op, auto) { f.acknowledgeFirst = op.strictWaits - 1; }, true},
    {"port missing", Outcome::PortFailed, int(LinkFailure::PortMissing),
     [](auto& f, auto&, auto) { f.portMissing = true; }},
    {"port busy", Outcome::PortFailed, int(LinkFailure::PortBusy),
     [](auto& f, auto&, auto) { f.portBusy = true; }},
    // Not a display that is not ready: the port has no DSR to show one (a pseudo-terminal).
    {"port cannot report DSR", Outcome::PortFailed, int(LinkFailure::DsrUnreadable),
     [](auto& f, auto&, auto) { f.dsrUnreadable = true; }},
    {"vanishes at the first write", Outcome::WriteFailed, int(LinkFailure::WriteFailed),
     [](auto& f, auto&, auto) { f.vanishAfterWrites = 0; }},
    {"vanishes at the second write", Outcome::WriteFailed, int(LinkFailure::WriteFailed),
     [](auto& f, auto&, auto) { f.vanishAfterWrites = 1; }},
    {"vanishes halfway", Outcome::WriteFailed, int(LinkFailure::WriteFailed),
     [](auto& f, auto&, qsizetype writes) { f.vanishAfterWrites = int(writes / 2); }},
    {"vanishes at the last write", Outcome::WriteFailed, int(LinkFailure::WriteFailed),
     [](auto& f, auto&, qsizetype writes) { f.vanishAfterWrites = int(writes - 1); }},
};

QByteArray firstWrites(const QList<SimulatedDisplay::Write>& writes, qsizetype count)
{
    QByteArray bytes;
    for (qsizetype i = 0; i < count && i < writes.size(); ++i)
        bytes += writes.at(i).bytes;
    return bytes;
}

// An operation run against a fault, from half a second before midnight, beside its sound run: what
// a failing run must be a prefix of.
struct FaultRun
{
    FaultRun(const OpCase& op, const FaultCase& fault) : op(op), fault(fault)
    {
        const QString file = opInputFile(op.op, sound.dir);
        prepareDisplay(op.op, sound.display);
        soundPassed = bool(presentOp(op.op, sound.access, file));
        SimulatedDisplay::Faults faults;
        fault.set(faults, op, sound.display.writes().size());
        prepareDisplay(op.op, bench.display, faults);
        start = bench.pacer.now();
        outcome.emplace(presentOp(op.op, bench.access, file));
        took = bench.pacer.now() - start;
    }

    const OpCase& op;
    const FaultCase& fault;
    Bench sound{kStartOfDay};
    Bench bench{kStartOfDay};
    bool soundPassed = false;
    std::optional<Outcome> outcome;
    double start = 0;
    double took = 0;
};

// The port lost at a write: everything up to it, then nothing (no wait, no drain).
void expectLostWrite(const FaultRun& run, qsizetype lostAt)
{
    const QList<SimulatedDisplay::Write> soundWrites = run.sound.display.writes();
    QCOMPARE(run.bench.display.wire().toHex(' '), firstWrites(soundWrites, lostAt).toHex(' '));
    QCOMPARE_LE(qAbs(run.took - soundWrites.at(lostAt).time), 2 * kTick);
}

// Failed at the open, nothing written: a port the system refuses at once (with its reason), DSR given
// up just past its limit, not earlier and not much later.
void expectFailedOpen(const FaultRun& run)
{
    const bool dsr = run.fault.ending == Outcome::NotReady;
    QVERIFY(run.bench.display.wire().isEmpty());
    QVERIFY2(dsr ? run.took > kDsrAfterOpenLimit && run.took <= kDsrAfterOpenLimit + 2 * kTick
                 : run.took == 0.0,
             qPrintable(QString::number(run.took)));
}

// No acknowledgement at the fault's step: the writes of the sound run up to that wait, the box, then
// the NAK lines. The box tells the time of day at which the wait began, DSR at the failure, and the
// step's deadline: its own limit after the steps before it, which are bounded by theirs.
void expectMissingAck(const FaultRun& run, qsizetype before)
{
    const int step = run.fault.number;
    const AckFailure& failure = run.outcome->ackFailure();
    const QList<SimulatedDisplay::Write> writes = run.bench.display.writes();
    if (run.fault.lastWait) { // after the setup request: the display reads the lines
        QCOMPARE_GT(before, run.op.writesBeforeWait);
        QCOMPARE(run.bench.display.screen(), (QStringList{"Flash Write NAK  ???", "Please Try Again ???"}));
    } else {
        QCOMPARE(before, run.op.writesBeforeWait);
    }
    QCOMPARE(run.bench.display.wire().toHex(' '),
             (firstWrites(run.sound.display.writes(), before) + kNakLines).toHex(' '));
    QCOMPARE(run.bench.dialogs.shown().last().at, before);
    const double waitStart = writes.at(before - 1).time; // writes take no time: the wait began here
    QCOMPARE(waitStart, run.sound.display.writes().at(before - 1).time);
    QCOMPARE(failure.waitStart, wrapToDay(kStartOfDay + waitStart));
    QCOMPARE(failure.dsr, step == 1 || step == 3 || step == 4);
    QCOMPARE_LT(failure.deadline, 86400.0); // seconds since midnight, also past it
    const double fromWait = wrapToDay(failure.deadline - failure.waitStart);
    QCOMPARE_GE(fromWait, kAckStepLimits[step - 1] - kRounding);
    QCOMPARE_LE(fromWait, std::accumulate(kAckStepLimits, kAckStepLimits + step, 0.0) + kRounding);
    // After the box, only the close: the NAK lines drain, or the close gives up at its limit.
    const double afterNak = run.took - (writes.last().time - run.start);
    QVERIFY2(step == 1 ? afterNak > kDrainLimit && afterNak <= kDrainLimit + 2 * kTick
                       : afterNak < kDrainLimit,
             qPrintable(QString::number(afterNak)));
    const double failedAt = writes.last().time - waitStart; // the NAK lines follow the box at once
    if (step == 4) // DSR came back before the pulse had lasted its 50 ms: failed at once
        QVERIFY2(failedAt < fromWait && failedAt >= 0.03, qPrintable(QString::number(failedAt)));
    else // failed as the deadline passed
        QCOMPARE_LE(qAbs(failedAt - fromWait), kRounding);
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
                if (!fault.lastWait || op.strictWaits > 1)
                    QTest::addRow("%s / %s", op.name, fault.name) << int(op.op) << int(&fault - kFaults);
    }
    void everyOperationAgainstEveryFault()
    {
        QFETCH(int, op);
        QFETCH(int, fault);
        const FaultRun run(kOps[op], kFaults[fault]);
        QVERIFY(run.soundPassed);
        // Common to every fault: its ending (a failed link says why), the port closed, the display never
        // told to restart, the boxes of the sound run before the failing write or wait, then the
        // failure's own box (its words: test_protocol): a missing acknowledgement's before the NAK
        // lines, any other at the end.
        const Outcome& outcome = *run.outcome;
        const QByteArray wire = run.bench.display.wire();
        const bool noAck = outcome.kind() == Outcome::NoAck;
        QCOMPARE(outcome.kind(), run.fault.ending);
        QCOMPARE(noAck ? outcome.ackFailure().step : int(outcome.link().what), run.fault.number);
        QVERIFY(outcome.link().ok() || !outcome.link().reason.isEmpty());
        QVERIFY(!run.bench.display.isOpen());
        QVERIFY2(!wire.contains(kRestartCommand), wire.toHex(' ').constData());
        const qsizetype lostAt = run.bench.display.faults().vanishAfterWrites;
        const qsizetype beforeNak = run.bench.display.writes().size() - 3; // the NAK lines are three writes
        const qsizetype writes = lostAt >= 0 ? lostAt : noAck ? beforeNak : 0;
        QStringList boxes;
        for (const ScriptedDialogs::Shown& box : run.sound.dialogs.shown())
            if (box.at <= writes)
                boxes << box.title + ": " + box.text;
        const std::optional<Message> failure =
            noAck ? noticeMessage(Notice::ackFailed(outcome.ackFailure())) : outcomeMessage(outcome);
        QCOMPARE(run.bench.dialogs.messages(), boxes << failure->title + ": " + failure->text);
        if (lostAt >= 0)
            expectLostWrite(run, lostAt);
        else if (noAck)
            expectMissingAck(run, beforeNak);
        else
            expectFailedOpen(run);
    }
};

QTEST_GUILESS_MAIN(FaultMatrixTest)
#include "test_fault_matrix.moc"
