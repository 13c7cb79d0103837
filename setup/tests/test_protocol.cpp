// The pieces every operation is built from (their checksums are in every golden transcript): frames,
// wire text, the display's codes and record, the parser of the simulated display, the
// waits of a display session to the millisecond (whole operations, the forced mode's missing setup
// request among them: the golden transcripts; failing: the fault matrix), and the boxes of outcomes.
#include "setup/messages/outcome_box.h"
#include "setup/operations/factory_adjustment.h"
#include "setup/operations/general_record.h"
#include "setup/operations/parameter_vocabulary.h"
#include "setup/protocol/display_session.h"
#include "setup/protocol/frame.h"
#include "setup/sim/display_parser.h"
#include "setup/tests/device_bench.h"

#include <QTest>

namespace {

const QByteArray kSetupRequest(20, '\x02');

QString describe(const DisplayParser::Item& item)
{
    using Item = DisplayParser::Item;
    if (item.kind != Item::Command)
        return QStringLiteral("%1 %2").arg(item.kind).arg(item.byte, 2, 16, QLatin1Char('0'));
    return QStringLiteral("F%1 %2%3")
        .arg(QLatin1Char(item.letter))
        .arg(item.length)
        .arg(item.erase ? " erase" : "");
}

} // namespace

class ProtocolTest : public QObject
{
    Q_OBJECT

private slots:
    void frames()
    {
        QCOMPARE(buildFrame({12, QString::fromUtf8("\u20AC\u00FC")}), QByteArray("\x0C\x80\xFC"));
        QVERIFY(!buildFrame({}).isNull());
        // An item out of range fails the whole frame; a boolean or a floating-point number is no item.
        QVERIFY(buildFrame({0x1F, 256}).isNull());
        QVERIFY(buildFrame({0x1F, -1}).isNull());
        QVERIFY(buildFrame({FrameItem::word(65536)}).isNull());
        QVERIFY(buildFrame({0x1F, QString::fromUtf8("\u0416")}).isNull());
        static_assert(!std::is_convertible_v<bool, FrameItem> && !std::is_convertible_v<double, FrameItem>);
        // A balance outside one byte has no record: refused, with nothing sent.
        Bench bench;
        QVERIFY(balanceRecord(256).isNull() && balanceRecord(-1).isNull());
        QCOMPARE(sendBalance(bench.access, 256).kind(), Outcome::Refused);
        QVERIFY(bench.display.writes().isEmpty());
    }

    // The codes the display stores for every name the General page offers, in the lists' order;
    // names it does not offer (or in another case) are "not set".
    void vocabulary_data()
    {
        QTest::addColumn<int>("list");
        QTest::addColumn<QByteArray>("codes");
        QTest::newRow("baud rate") << 0 << QByteArray::fromHex("0001020304");
        QTest::newRow("data format") << 1 << QByteArray::fromHex("000102030405");
        QTest::newRow("command set") << 2 << QByteArray::fromHex("01080005040906070A");
        QTest::newRow("code page") << 3 << QByteArray::fromHex("FF010203040506070C411013");
        QTest::newRow("charset") << 4 << QByteArray::fromHex("000102030405060708090A");
        QTest::newRow("brightness") << 5 << QByteArray::fromHex("00030201");
    }
    void vocabulary()
    {
        QFETCH(int, list);
        QFETCH(QByteArray, codes);
        const GeneralSetting& setting = generalSettings()[list];
        QByteArray got;
        for (const QString& name : setting.items())
            got += char(setting.codeOf(name));
        QCOMPARE(got.toHex(' '), codes.toHex(' '));
        QCOMPARE(setting.codeOf(setting.items().first().toLower() + " "), quint8(255));
        QCOMPARE(int(GeneralParameters().*(setting.field)),
                 setting.code(QString::fromLatin1(setting.defaultName)));
        QCOMPARE(commandSetCode("ICD2002"), 2); // known to the display, not offered
        QCOMPARE(commandSetCode("ADM787"), 3);
        QCOMPARE(codePageCode("PC437"), 0);
    }

    // The record: signature, 20 45, the codes each at its own byte, fixed texts, 0xFF fill.
    void generalRecord()
    {
        const QByteArray record = generalParameterRecord({0x11, 0x12, 0x13, 0x14, 0x15, 0x16});
        QCOMPARE(record.toHex(' '),
                 (QByteArray::fromHex("55AA5AA52045FF131514111216FFFFFFFFFF") + QByteArray(14, '\xFF') +
                  "Talvex" + QByteArray(10, '\xFF') + "VQ-71xx" + QByteArray(9, '\xFF'))
                     .toHex(' '));
    }

    // The simulated display's parser: inputs the fuzzers found faults with (the erase forms and the
    // balance are parsed in the golden transcripts).
    void parser_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("FZ with a zero header, then F@")
            << QByteArray::fromHex("1F465A0000001F4640") << QStringList{"FZ 0", "F@ 0"};
        QTest::newRow("FR FZ zero, then a character")
            << QByteArray::fromHex("1F46521F465A00000074") << QStringList{"FR 0", "FZ 0", "2 74"};
        QTest::newRow("FN zero header, then not zero")
            << QByteArray::fromHex("1F464E0000000141") << QStringList{"4 00", "2 41"};
    }
    void parser()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, items);
        QStringList seen;
        DisplayParser parser([&](const DisplayParser::Item& item) { seen << describe(item); });
        parser.feed(bytes);
        QCOMPARE(seen, items);
    }

    // The two presence waits, to the millisecond: 1.0 s for DSR after the open (the selection applied to
    // the port first), 0.6 s before the setup request, both measured from their start; DSR that comes
    // within the limit is taken when it comes; none is given up without a look after the limit, even
    // when the host was away across it. A display not seen after the open leaves the port closed.
    void presenceWaits_data()
    {
        QTest::addColumn<bool>("afterOpen"); // else before the setup request
        QTest::addColumn<double>("dsrAt");   // seconds after the open
        QTest::addColumn<QList<int>>("stall");
        QTest::addColumn<bool>("seen");
        QTest::addColumn<double>("endsAfter");
        const QList<int> none;
        QTest::newRow("open: DSR at 0.999 s") << true << 0.999 << none << true << 0.999;
        QTest::newRow("open: DSR at 1.02 s") << true << 1.02 << none << false << 1.001;
        QTest::newRow("open: away 0.5-1.2 s, DSR at 0.9 s")
            << true << 0.9 << QList<int>{500, 700} << true << 1.2;
        QTest::newRow("open: away 0.5-1.2 s, no DSR") << true << 9.0 << QList<int>{500, 700} << false << 1.2;
        QTest::newRow("ready: DSR at 0.599 s") << false << 0.599 << none << true << 0.599;
        QTest::newRow("ready: DSR at 0.62 s") << false << 0.62 << none << false << 0.601;
        QTest::newRow("ready: away 0.3-0.8 s, DSR at 0.5 s")
            << false << 0.5 << QList<int>{300, 500} << true << 0.8;
    }
    void presenceWaits()
    {
        QFETCH(bool, afterOpen);
        QFETCH(double, dsrAt);
        QFETCH(QList<int>, stall);
        QFETCH(bool, seen);
        QFETCH(double, endsAfter);
        // The wait before the setup request starts 0.1 s after the open; times in the rows are from
        // the start of the wait they test.
        const int lead = afterOpen ? 0 : 100;
        Bench bench;
        bench.pacer.stalls = {{lead + stall.value(0), stall.value(1)}};
        bench.faults([&](auto& f) { f.dsrDelay = afterOpen ? dsrAt : 0; });
        bench.access.selection.port = "COM3";
        bench.access.selection.setLine("115200", "E,7,1");
        DisplaySession session(bench.access);
        if (afterOpen) {
            QCOMPARE(session.isOpen(), seen);
            QCOMPARE(bench.display.isOpen(), seen);
            QCOMPARE(bench.display.settings().toText(), QString("115200,E,7,1"));
            QCOMPARE(bench.display.portName(), QString("COM3"));
        } else {
            // DSR falls once the open has seen it (the line from the display comes only at dsrAt).
            bench.pacer.advance(lead);
            bench.faults([&](auto& f) { f.dsrDelay = lead / 1000.0 + dsrAt; });
            QCOMPARE(bool(session.waitReady()), seen);
        }
        QCOMPARE_LE(qAbs(bench.pacer.now() - lead / 1000.0 - endsAfter), 0.0005);
        QVERIFY(!session.write(QByteArray())); // a frame that could not be built is never written
        QVERIFY(bench.display.wire().isEmpty());
    }

    // The acknowledgement of a setup request, to the millisecond, on a port that counts DSR changes and
    // on one that only looks ("polled"): the pulse starts 20 ms after the last byte (20 bytes at 9600
    // baud take about 21 ms). With a grace the wait never fails: it ends at the grace or at the failure,
    // whichever is later. On a busy host (off the processor {from ms, for ms} after the wait's start)
    // changes count from the wait's start, no step is decided without a look after its limit, and where
    // the host looked too late to tell an answer from a glitch the answer is neither ("unknown"), with how
    // long DSR went unwatched. (Sound pulses: the golden transcripts; plain failures: the fault matrix.)
    void acknowledgement_data()
    {
        QTest::addColumn<double>("pulseWidth"); // 0: no pulse at all
        QTest::addColumn<double>("grace");
        QTest::addColumn<QList<int>>("stall");
        QTest::addColumn<bool>("polled");
        QTest::addColumn<QString>("verdict");
        QTest::addColumn<double>("endsAfter"); // -1: not timed
        // A polled port that looked away across step 3's limit cannot tell whether a whole pulse came
        // and went unseen.
        for (const bool polled : {false, true}) {
            const auto row = [polled](const char* name, double width, double grace, QList<int> stall,
                                      const char* counted, const char* looked, double endsAfter = -1) {
                QTest::addRow("%s%s", polled ? "polled: " : "", name)
                    << width << grace << stall << polled << QString(polled ? looked : counted) << endsAfter;
            };
            row("60 ms pulse", 0.06, 0, {0, 0}, "ack", "ack", 0.101);
            row("grace: step 4 early, on at the grace", 0.03, 1.0, {0, 0}, "ack", "ack", 1.001);
            row("grace: step 3 after the grace, on then", 0, 1.0, {0, 0}, "ack", "ack", 3.022);
            row("away 60 ms as the output left", 0.2, 0, {21, 60}, "ack", "ack", 0.242);
            row("away 300 ms across the whole pulse", 0.2, 0, {30, 300}, "unknown", "unknown");
            row("20 ms glitch, away 150 ms after its drop", 0.02, 0, {43, 150}, "unknown", "unknown");
            row("20 ms glitch, away 15 ms after its drop", 0.02, 0, {43, 15}, "Process.4", "Process.4");
            row("60 ms pulse, away 40 ms across step 4's limit", 0.06, 0, {80, 40}, "unknown", "unknown");
            row("no pulse, away 500 ms across step 3's limit", 0, 0, {2900, 500}, "Process.3", "unknown");
        }
    }
    void acknowledgement()
    {
        QFETCH(double, pulseWidth);
        QFETCH(double, grace);
        QFETCH(QList<int>, stall);
        QFETCH(bool, polled);
        QFETCH(QString, verdict);
        QFETCH(double, endsAfter);
        Bench bench;
        bench.faults([&](auto& f) {
            f.pulseWidth = pulseWidth;
            f.acknowledgeFirst = pulseWidth > 0 ? -1 : 0;
            f.dsrPolled = polled;
        });
        DisplaySession session(bench.access);
        QVERIFY(session.write(kSetupRequest));
        const double start = bench.pacer.now();
        bench.pacer.stalls = {{int(start * 1000) + stall[0], stall[1]}};
        const Outcome ack = session.awaitAck(grace);
        const AckFailure& failure = ack.ackFailure();
        const QString said = ack                                 ? QString("ack")
                             : ack.kind() == Outcome::AckTooLate ? QString("unknown")
                                                                 : QString("Process.%1").arg(failure.step);
        QCOMPARE(said, verdict);
        // Unknown only where DSR went unwatched longer than a glitch may last.
        QCOMPARE(failure.unwatchedMs > 20, verdict == "unknown");
        if (endsAfter >= 0)
            QCOMPARE_LE(qAbs(bench.pacer.now() - start - endsAfter), 0.003);
        if (ack)
            QCOMPARE(bench.transcript(), QString("9600,N,8,1 | 02*20"));
    }

    // The simulated line keeps its newest writes only, up to a count and a size; the newest always.
    void keptWrites()
    {
        Bench bench;
        DisplaySession session(bench.access);
        for (int i = 0; i <= SimulatedLine::kKeptWrites; ++i)
            session.write(QByteArray::number(i));
        QCOMPARE(bench.display.writes().size(), SimulatedLine::kKeptWrites);
        QCOMPARE(bench.display.writes().first().bytes, "1");
        session.write(QByteArray(SimulatedLine::kKeptBytes + 1, 'x'));
        QCOMPARE(bench.display.writes().size(), 1);
    }

    // A stop request or a failed link (a write, or DSR that can no longer be read while an acknowledgement
    // is awaited) ends every wait at once and nothing more is sent, even what the line would take again;
    // what was written before a stop still leaves before the close, and what was left when the link failed
    // is lost with it.
    void halted_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("stop request") << "stop";
        QTest::newRow("write failed, the next would pass") << "write";
        QTest::newRow("DSR unreadable in the acknowledgement") << "dsr";
    }
    void halted()
    {
        QFETCH(QString, how);
        Bench bench;
        bench.faults([&](auto& f) {
            f.acknowledgeFirst = 0;
            f.failWrite = how == "write" ? 2 : -1;
        });
        DisplaySession session(bench.access);
        QVERIFY(session.write(kSetupRequest));
        if (how == "stop")
            bench.stop.requestStop();
        if (how == "dsr") {
            bench.faults([](auto& f) { f.dsrUnreadable = true; });
            QCOMPARE(session.awaitAck(1.0).link().what, LinkFailure::DsrUnreadable);
        }
        QVERIFY(!session.write("lost"));
        const double before = bench.pacer.now();
        QVERIFY(!session.awaitAck(1.0) && !session.awaitAck(0));
        QVERIFY(!session.write("more"));
        QCOMPARE(bench.pacer.now(), before);
        QCOMPARE(bench.display.wire(), kSetupRequest);
        QVERIFY(session.close());
        QCOMPARE(bench.display.inSetupState(), how == "stop");
    }

    // What failed on a link as the window shows it at the end (vfdctl the same as lines: test_vfdctl),
    // with the system's reason as the detail: the numbers of the serial control the displays were first
    // driven by, and a port that cannot report DSR, which is not a display that is not ready.
    void linkFailureBoxes_data()
    {
        QTest::addColumn<LinkFailure>("what");
        QTest::addColumn<QString>("text");
        QTest::newRow("missing") << LinkFailure::PortMissing << "COM Port not Exist( 8002) !!";
        QTest::newRow("busy") << LinkFailure::PortBusy << "COM Port Already Open( 8005) !!";
        QTest::newRow("open here") << LinkFailure::PortOpenHere << "COM Port Already Open( 8015) !!";
        QTest::newRow("access denied") << LinkFailure::AccessDenied << "COM Port Already Open( 8005) !!";
        QTest::newRow("bad name") << LinkFailure::BadPortName << "COM Port Open Error( 8010) !!";
        QTest::newRow("settings refused") << LinkFailure::SettingsRefused << "COM Port Open Error( 8010) !!";
        QTest::newRow("open failed") << LinkFailure::OpenFailed << "COM Port Open Error( 8010) !!";
        QTest::newRow("write failed") << LinkFailure::WriteFailed << "COM Port Write Error( 8020) !!";
        QTest::newRow("DSR unreadable") << LinkFailure::DsrUnreadable << "COM Port cannot report DSR !!";
    }
    void linkFailureBoxes()
    {
        QFETCH(LinkFailure, what);
        QFETCH(QString, text);
        ScriptedDialogs dialogs;
        const LinkStatus status{what, "why"};
        showOutcome(dialogs, what == LinkFailure::WriteFailed ? Outcome::writeFailed(status)
                                                              : Outcome::portFailed(status));
        QCOMPARE(boxText(dialogs.shown().first()), "box (x) Port Error: " + text + " (why)");
    }

    // The other outcomes' boxes: a display that is not ready, a missing acknowledgement where it
    // failed, told before the NAK lines and not again.
    void outcomeBoxes()
    {
        const auto shown = [](const Outcome& outcome) {
            ScriptedDialogs dialogs;
            showOutcome(dialogs, outcome);
            if (outcome.kind() == Outcome::NoAck)
                dialogs.tell(Notice::ackFailed(outcome.ackFailure()));
            return dialogs.shown().size() == 1 ? boxText(dialogs.shown().first()) : QString();
        };
        QCOMPARE(shown(Outcome::notReady()), "box (!) Port Status: Display DSR not ready yet !!");
        QCOMPARE(shown(Outcome::noAck({3, 86399.5, 5.52, true})),
                 "box (!) Display ack. failed: Process.3( 86399.5/5.52/True)");
        QCOMPARE(shown(Outcome::noAck({5, 120, 121.3, false})),
                 "box (!) Display ack. failed: Process.5( 120/121.3/False)");
    }
};

QTEST_GUILESS_MAIN(ProtocolTest)
#include "test_protocol.moc"
