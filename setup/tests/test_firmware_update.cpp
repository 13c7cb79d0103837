// The firmware transfer against the simulated display in virtual time: the bytes of every frame and
// their order, pages and percentages, both modes, missing acknowledgements, a stop request, and how
// long the whole transfer takes.
#include "firmware_test_support.h"
#include "operations/firmware_update.h"
#include "presented.h"
#include "protocol/display_access.h"
#include "scripted_dialogs.h"
#include "sim/simulated_display.h"

#include <QElapsedTimer>
#include <QTest>

using namespace firmware_test;

namespace {

const QByteArray kFR = QByteArray::fromHex("1F4652");
const QByteArray kFD40 = QByteArray::fromHex("1F464428");
const QString kOnlineReminder = "Online F/W Upload.: Firmware Update.\r\nMake sure DIP-12 in OFF status.";
const QString kForcedReminder = "Force Overwrite F/W.: Firmware Update.\r\nMake sure DIP-12 in ON status.";
const QString kSuccess =
    "Port Status: Firmware Update Sucessfully.\r\nPlease make sure DIP-12 in OFF status.\r\n"
    "The display will restart !!";

struct Bench
{
    Bench() : display(pacer), device(display, pacer, dialogs, {}, &stop) {}
    VirtualPacer pacer;
    SimulatedDisplay display;
    ScriptedDialogs dialogs;
    std::atomic_bool stop = false;
    DisplayAccess device;

    void faults(const std::function<void(SimulatedDisplay::Faults&)>& change)
    {
        SimulatedDisplay::Faults f = display.faults();
        change(f);
        display.setFaults(f);
    }
    // The held image (image + 0x00) is what the window passes.
    Outcome update(const QByteArray& image, bool forced = false, const FirmwareProgress& progress = {})
    {
        return Presented(dialogs, updateFirmware(device, image + QByteArray(1, '\0'), forced, progress));
    }
    // The write that follows each write equal to `marker`.
    QList<QByteArray> after(const QByteArray& marker, int distance = 1) const
    {
        const QList<SimulatedDisplay::Write> writes = display.writes();
        QList<QByteArray> found;
        for (int i = 0; i + distance < writes.size(); ++i)
            if (writes.at(i).bytes == marker)
                found << writes.at(i + distance).bytes;
        return found;
    }
};

// The transfer as the protocol describes it, written out from the table of its frames.
QByteArray ExpectedWire(const QByteArray& image, bool forced)
{
    const int pages = static_cast<int>((image.size() + 511) / 512);
    QByteArray wire = forced ? QByteArray() : QByteArray(20, '\x02');
    wire += kFR + QByteArray::fromHex("1F4646");
    const QByteArray header = QByteArray::fromHex("55AA5AA5") + QByteArray(1, char(pages));
    wire += kFR + QByteArray::fromHex("1F465A") + crc16(header) + QByteArray("\x05") + header;
    for (int sent = 0; sent < image.size(); sent += 512) {
        const QByteArray page = image.mid(sent, 512);
        const QString percentage = firmwarePercentage(sent, image.size());
        wire += kFD40 + ("Progressing" + percentage.rightJustified(9)).toLatin1() + "Don't Turn Off Power";
        wire += kFR + QByteArray::fromHex("1F464D") + crc16(page) + char(page.size() >> 8) +
                char(page.size() & 0xFF) + page;
    }
    wire += kFD40 + "**Update Successful*" + "**Display Restart **";
    wire += kFR + QByteArray::fromHex("1F4640");
    return wire;
}

} // namespace

class FirmwareUpdateTest : public QObject
{
    Q_OBJECT

private slots:
    void pages_data()
    {
        QTest::addColumn<int>("imageSize");
        QTest::addColumn<int>("pages");
        QTest::addColumn<QByteArray>("lengthFields"); // the page length fields, in order
        QTest::newRow("one byte") << 1 << 1 << QByteArray::fromHex("0001");
        QTest::newRow("512: one full page") << 512 << 1 << QByteArray::fromHex("0200");
        QTest::newRow("513: a second page of one byte") << 513 << 2 << QByteArray::fromHex("02000001");
        QTest::newRow("49150: the largest file")
            << 49150 << 96 << QByteArray::fromHex("0200").repeated(95) + QByteArray::fromHex("01FE");
    }
    void pages()
    {
        QFETCH(int, imageSize);
        QFETCH(int, pages);
        QFETCH(QByteArray, lengthFields);
        Bench bench;
        const QByteArray image = Pattern(imageSize);
        QElapsedTimer real;
        real.start();
        QVERIFY(bench.update(image));
        // One second after the update request and after each page, plus the acknowledgements; the
        // largest file's 96 pages still take only a few seconds of real time.
        QVERIFY2(bench.pacer.now() >= pages + 1.0, qPrintable(QString::number(bench.pacer.now())));
        QVERIFY2(bench.pacer.now() < pages * 1.6 + 3, qPrintable(QString::number(bench.pacer.now())));
        QVERIFY2(real.elapsed() < 5000, qPrintable(QString::number(real.elapsed())));

        QCOMPARE(bench.display.wire(), ExpectedWire(image, false));
        const QByteArray header = bench.after(QByteArray::fromHex("1F465A"), 3).value(0);
        QCOMPARE(header, QByteArray::fromHex("55AA5AA5") + QByteArray(1, char(pages)));
        QCOMPARE(bench.after(QByteArray::fromHex("1F464D"), 2).join(), lengthFields);
        // The display holds exactly the image after its restart, never the appended 0x00.
        QCOMPARE(bench.display.flash().firmware, image);
        QCOMPARE(bench.display.restarts(), 1);
        QCOMPARE(bench.dialogs.messages(), (QStringList{kOnlineReminder, kSuccess}));
        QCOMPARE(bench.dialogs.shown().last().icon, Dialogs::NoIcon);
        QVERIFY(!bench.display.isOpen());
        // Everything sent before the close reached the display, the restart included.
        QCOMPARE(bench.display.writes().last().settings, QString("115200,N,8,1"));
    }

    void percentage_data()
    {
        QTest::addColumn<qint64>("sent");
        QTest::addColumn<qint64>("length");
        QTest::addColumn<QString>("text");
        QTest::newRow("nothing") << 0LL << 3000LL << "0%";
        QTest::newRow("whole") << 1500LL << 3000LL << "50%";
        QTest::newRow("17.06 cut, not rounded") << 512LL << 3000LL << "17%";
        QTest::newRow("34.13") << 1024LL << 3000LL << "34.1%";
        QTest::newRow("68.26 cut to 68.2") << 2048LL << 3000LL << "68.2%";
        QTest::newRow("99.89 stays below 100") << 49100LL << 49150LL << "99.8%";
        QTest::newRow("37.5") << 3LL << 8LL << "37.5%";
        QTest::newRow("all") << 3000LL << 3000LL << "100%";
    }
    void percentage()
    {
        QFETCH(qint64, sent);
        QFETCH(qint64, length);
        QFETCH(QString, text);
        QCOMPARE(firmwarePercentage(sent, length), text);
    }

    void progressLinesAndLabel()
    {
        Bench bench;
        QStringList labels;
        QList<int> pageIndexes;
        QVERIFY(bench.update(Pattern(3000), false, [&](int page, int pages, const QString& percentage) {
            QCOMPARE(pages, 6);
            pageIndexes << page;
            labels << percentage;
        }));
        QCOMPARE(labels, (QStringList{"0%", "17%", "34.1%", "51.2%", "68.2%", "85.3%", "100%"}));
        QCOMPARE(pageIndexes, (QList<int>{0, 1, 2, 3, 4, 5, 6}));
        QStringList lines;
        for (const QByteArray& line : bench.after(kFD40))
            lines << QString::fromLatin1(line);
        QCOMPARE(lines, (QStringList{"Progressing       0%", "Progressing      17%", "Progressing    34.1%",
                                     "Progressing    51.2%", "Progressing    68.2%", "Progressing    85.3%",
                                     "**Update Successful*"}));
        for (const QByteArray& line : bench.after(kFD40, 2).mid(0, 6))
            QCOMPARE(line, QByteArray("Don't Turn Off Power"));
    }

    void forcedModeSendsNoSetupRequest()
    {
        Bench bench;
        bench.faults([](auto& f) { f.dipSwitch12On = true; });
        const QByteArray image = Pattern(1200);
        QVERIFY(bench.update(image, true));
        QCOMPARE(bench.display.wire(), ExpectedWire(image, true));
        QCOMPARE(bench.dialogs.messages(), (QStringList{kForcedReminder, kSuccess}));
        QCOMPARE(bench.dialogs.shown().first().icon, Dialogs::NoIcon);
        QCOMPARE(bench.display.flash().firmware, image);
    }

    void headerNotAcknowledgedEndsTheUpdate()
    {
        Bench bench;
        bench.faults([](auto& f) { f.acknowledgeFirst = 1; }); // the setup request only
        QVERIFY(!bench.update(Pattern(1200)));
        const QByteArray wire = bench.display.wire();
        const QByteArray header = QByteArray::fromHex("55AA5AA503");
        QVERIFY(wire.contains(header));
        // After the header only the refusal lines; no page, no success text, no restart.
        QCOMPARE(wire.mid(wire.indexOf(header) + header.size()),
                 QByteArray("\x0C") + "Flash Write NAK  ???" + "Please Try Again ???");
        const QStringList messages = bench.dialogs.messages();
        QCOMPARE(messages.size(), 2);
        QCOMPARE(messages.first(), kOnlineReminder);
        QVERIFY(messages.last().startsWith("Display ack. failed: Process."));
        QVERIFY(!bench.display.isOpen());
        QVERIFY(bench.display.flash().firmware.isEmpty());
    }

    void pagesGoOnWithoutAcknowledgements()
    {
        Bench bench;
        bench.faults([](auto& f) { f.acknowledgeFirst = 2; }); // setup request and header only
        const QByteArray image = Pattern(1300);
        QVERIFY(bench.update(image));
        QCOMPARE(bench.display.wire(), ExpectedWire(image, false));
        QCOMPARE(bench.dialogs.messages(), (QStringList{kOnlineReminder, kSuccess}));
        QCOMPARE(bench.display.flash().firmware, image);
        QVERIFY(!bench.display.isOpen());
    }

    void stopRequestSendsNothingMore()
    {
        Bench bench;
        int writesAtStop = -1;
        double stoppedAt = 0;
        QVERIFY(!bench.update(Pattern(3000), false, [&](int page, int, const QString&) {
            if (page == 2) {
                bench.stop = true;
                writesAtStop = bench.display.writes().size();
                stoppedAt = bench.pacer.now();
            }
        }));
        QCOMPARE(bench.display.writes().size(), writesAtStop);
        QCOMPARE(bench.dialogs.messages(), QStringList{kOnlineReminder});
        QVERIFY(!bench.display.isOpen());
        QVERIFY(bench.pacer.now() - stoppedAt < 0.01); // no pause, no wait after the stop
        QVERIFY(bench.display.flash().firmware.isEmpty());
    }

    void emptyImageIsNeverSent()
    {
        Bench bench;
        QVERIFY(!Presented(bench.dialogs, updateFirmware(bench.device, QByteArray(1, '\0'), false)));
        QVERIFY(!Presented(bench.dialogs, updateFirmware(bench.device, QByteArray(), false)));
        QCOMPARE(bench.dialogs.messages(), QStringList(2, "File Ststus: File Error, Please Try Again !!"));
        QVERIFY(bench.display.writes().isEmpty());
        QCOMPARE(bench.display.portName(), QString()); // never opened
    }

    void realTimeOverhead()
    {
        if (qEnvironmentVariableIsEmpty("VFDSETUP_BENCHMARK"))
            QSKIP("set VFDSETUP_BENCHMARK=1 to time a real 4-page update");
        RealPacer pacer;
        SimulatedDisplay display(pacer);
        ScriptedDialogs dialogs;
        DisplayAccess device(display, pacer, dialogs);
        const double start = pacer.now();
        QVERIFY(Presented(dialogs, updateFirmware(device, Pattern(2048) + QByteArray(1, '\0'), false)));
        const double wall = pacer.now() - start;

        const SimulatedDisplay::Faults faults = display.faults();
        double minimum = 0.1 + 1.0 + 4 * 1.0; // rate switch, update request, one pause per page
        // Acknowledgements awaited: the setup request, the header, and the text and the page of each
        // page (the final text is acknowledged too, but nothing waits for it).
        minimum += (2 + 2 * 4) * (faults.ackLatency + faults.pulseWidth);
        for (const SimulatedDisplay::Write& write : display.writes()) // 10 bits a character on N,8,1
            minimum += write.bytes.size() * 10.0 / write.settings.section(',', 0, 0).toDouble();
        const double overhead = 100.0 * (wall - minimum) / minimum;
        qInfo("4 pages: %.3f s wall, %.3f s minimum, %.2f %% above", wall, minimum, overhead);
        QVERIFY(overhead < 2.0);
    }
};

QTEST_GUILESS_MAIN(FirmwareUpdateTest)
#include "test_firmware_update.moc"
