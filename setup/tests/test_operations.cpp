// Every device operation against the simulated display in virtual time, as one golden transcript:
// the bytes in their writes and order, the line settings, the milliseconds between writes (the
// acknowledgement pulses, the pauses), the boxes where they came. Then what varies with the input
// (DEMO blocks, firmware pages and percentages) and the endings that are not a display fault.
#include "setup/tests/operation_cases.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTest>
#include <numeric>

namespace {

// The length fields of the "FM" frames, in order.
QList<int> blockLengths(const SimulatedDisplay& display)
{
    const QList<SimulatedDisplay::Write> writes = display.writes();
    QList<int> lengths;
    for (qsizetype i = 0; i < writes.size(); ++i) {
        const QByteArray& w = writes.at(i).bytes;
        if (w.startsWith(QByteArray::fromHex("1F46521F464D")) && w.size() == 10) // a DEMO block frame
            lengths << (quint8(w.at(8)) << 8 | quint8(w.at(9)));
        if (w == QByteArray::fromHex("1F464D") && i + 2 < writes.size()) // a firmware page frame
            lengths << (quint8(writes.at(i + 2).bytes.at(0)) << 8 | quint8(writes.at(i + 2).bytes.at(1)));
    }
    return lengths;
}

} // namespace

class OperationsTest : public QObject
{
    Q_OBJECT

private slots:
    void goldenTranscript_data()
    {
        QTest::addColumn<int>("op");
        QTest::addColumn<QString>("golden");
        // Both firmware updates from the update request on: the header, three pages, the restart.
        const QString firmwarePages =
            "+1000 1F 46 52 | 1F 46 5A | 96 12 | 05 | 55 AA 5A A5 03 | +222 1F 46 44 28 | "
            "'Progressing       0%' | 'Don't Turn Off Power' | +224 1F 46 52 | 1F 46 4D | 36 74 | 02 00 | "
            "512 bytes crc 3674 | +1266 1F 46 44 28 | 'Progressing    46.5%' | 'Don't Turn Off Power' | "
            "+224 1F 46 52 | 1F 46 4D | 51 97 | 02 00 | 512 bytes crc 5197 | +1266 1F 46 44 28 | "
            "'Progressing      93%' | 'Don't Turn Off Power' | +224 1F 46 52 | 1F 46 4D | 00 A9 | 00 4C | "
            "76 bytes crc 00a9 | +1228 1F 46 44 28 | '**Update Successful*' | '**Display Restart **' | "
            "box Port Status: Firmware Update Sucessfully. / Please make sure DIP-12 in OFF status. / The "
            "display will restart !! | 1F 46 52 | 1F 46 40 | end +5";
        const QString goldens[] = {
            // general write
            "9600,N,8,1 | 02*20 | 115200,N,8,1 | +341 1F 46 52 | 1F 46 4E | AA 8D | 40 | "
            "55 AA 5A A5 20 45 FF 01 00 FF 01 00 00 FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF "
            "54 61 6C 76 65 78 FF FF FF FF FF FF FF FF FF FF 56 51 2D 37 31 78 78 FF FF FF FF FF FF FF FF FF "
            "| "
            "+227 0C | '** Flash Write OK **' | '**Display Restart **' | "
            "box Port Status: Flash Write OK !! / Display will restart !! | 1F 46 52 | 1F 46 40 | end +5",
            // general erase
            "9600,N,8,1 | 02*20 | 115200,N,8,1 | +341 1F 46 52 | 1F 46 4E | 00*4 | "
            "+221 0C '** Flash Erase OK ****Display Restart **' | "
            "box Port Status: Flash Erase OK !! / Display will restart !! | 1F 46 52 | 1F 46 40 | end +5",
            // title write
            "9600,N,8,1 | 0C | 02*20 | 115200,N,8,1 | +342 1F 46 52 | 1F 46 43 | EE 4C | 2F | "
            "55 AA 5A A5 20 00 03 46 72 65 73 68 20 62 72 65 61 64 20 20 20 20 20 20 20 20 20 64 61 69 6C 79 "
            "20 20 20 20 20 20 20 20 20 20 20 20 20 20 20 | "
            "+225 0C | '** Flash Write OK **' | '**Display Restart **' | "
            "box Port Status: Flash Write OK !! / Display will restart !! | 1F 46 52 | 1F 46 40 | end +5",
            // title erase
            "9600,N,8,1 | 02*20 | 115200,N,8,1 | +341 1F 46 52 | 1F 46 43 | 00*4 | "
            "+221 0C '*Flsah Erase OK !! ***Display Restart **' | "
            "box Port Status: Flash Erase OK !! / Display will restart !! | 1F 46 52 | 1F 46 40 | end +5",
            // DEMO write
            "9600,N,8,1 | 02*20 | 115200,N,8,1 | +341 1F 46 52 1F 46 5A B4 12 05 | 55 AA 5A A5 7B | "
            "+222 1F 46 52 1F 46 4D 5D 69 02 00 | 512 bytes crc 5d69 | +266 1F 46 52 1F 46 4D E3 98 02 00 | "
            "512 bytes crc e398 | +266 1F 46 52 1F 46 4D E9 B3 00 4A | 74 bytes crc e9b3 | "
            "+228 0C '** Flash Write OK ****Display Restart **' | "
            "box Port Status: Flash Write OK !! / Display will restart !! | 1F 46 52 | 1F 46 40 | end +5",
            // DEMO erase
            "9600,N,8,1 | 1F 46 52 1F 46 4D 00 00 00 00 | "
            "+231 0C '** Flash Write OK ****Display Restart **' | "
            "box Port Status: Flash Write OK !! / Display will restart !! | 1F 46 52 | 1F 46 40 | end +49",
            // balance
            "9600,N,8,1 | 30*40 | 1F 46 62 0D C8 | end +267",
            // balance store
            "9600,N,8,1 | 1F 46 52 | 1F 46 57 | +227 0C '** Flash Write OK ****Display Restart **' | "
            "box Port Status: Flash Write OK !! / Display will restart !! | 1F 46 52 | 1F 46 40 | end +49",
            // firmware online
            "box Online F/W Upload.: Firmware Update. / Make sure DIP-12 in OFF status. | 9600,N,8,1 | "
            "02*20 | 115200,N,8,1 | +341 1F 46 52 | 1F 46 46 | " +
                firmwarePages,
            // firmware forced
            "box Force Overwrite F/W.: Firmware Update. / Make sure DIP-12 in ON status. | 115200,N,8,1 | "
            "+100 1F 46 52 | 1F 46 46 | " +
                firmwarePages,
        };
        for (const OpCase& op : kOps)
            QTest::newRow(op.name) << int(op.op) << goldens[int(op.op)];
    }
    void goldenTranscript()
    {
        QFETCH(int, op);
        QFETCH(QString, golden);
        Bench bench;
        prepareDisplay(Op(op), bench.display);
        QVERIFY(presentOp(Op(op), bench.access, opInputFile(Op(op), bench.dir)));
        if (qEnvironmentVariableIsSet("PRINT_GOLDEN"))
            qInfo().noquote() << bench.transcript(bench.pacer.now());
        QCOMPARE(bench.transcript(bench.pacer.now()), golden);
        QVERIFY(!bench.display.isOpen());
    }

    // A DEMO goes in blocks of 512, without the file's last two bytes, announced as 0x78 + pages; the
    // display holds what was sent (a stored balance: test_profile).
    void demoBlocks_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("pageByte");
        QTest::addColumn<QList<int>>("blocks");
        QTest::newRow("signature only") << 4 << 0x79 << QList<int>{2};
        QTest::newRow("512") << 512 << 0x79 << QList<int>{510};
        QTest::newRow("513: one byte held back") << 513 << 0x7A << QList<int>{512};
        QTest::newRow("515") << 515 << 0x7A << QList<int>{512, 1};
        QTest::newRow("69120, 135 pages") << 69120 << 0xFF << QList<int>(134, 512) + QList<int>{510};
    }
    void demoBlocks()
    {
        QFETCH(int, size);
        QFETCH(int, pageByte);
        QFETCH(QList<int>, blocks);
        Bench bench;
        const QByteArray content = demoBytes(size);
        QList<qint64> progress;
        QVERIFY(
            writeDemo(bench.access, bench.file("a.dem", content), [&](qint64 sent) { progress << sent; }));
        QCOMPARE(bench.display.writes().at(2).bytes, QByteArray::fromHex("55AA5AA5") + char(pageByte));
        QCOMPARE(blockLengths(bench.display), blocks);
        QCOMPARE(progress.size(), blocks.size());
        QCOMPARE(bench.display.flash().demo, content.left(std::accumulate(blocks.begin(), blocks.end(), 0)));
    }

    // Pages of 512 bytes, one second after the request and after each; the largest file in real seconds.
    void firmwarePages_data()
    {
        QTest::addColumn<int>("imageSize");
        QTest::addColumn<QList<int>>("pages");
        QTest::newRow("one byte") << 1 << QList<int>{1};
        QTest::newRow("512: one full page") << 512 << QList<int>{512};
        QTest::newRow("513") << 513 << QList<int>{512, 1};
        QTest::newRow("49150: the largest file") << 49150 << QList<int>(95, 512) + QList<int>{510};
    }
    void firmwarePages()
    {
        QFETCH(int, imageSize);
        QFETCH(QList<int>, pages);
        Bench bench;
        const QByteArray image = imageBytes(imageSize);
        QList<int> reported;
        QElapsedTimer real;
        real.start();
        QVERIFY(updateFirmware(bench.access, image + '\0', false,
                               [&](int page, int count, const QString&) { reported << page << count; }));
        QCOMPARE_LT(real.elapsed(), 5000);
        QCOMPARE(blockLengths(bench.display), pages);
        const int count = int(pages.size());
        QCOMPARE(bench.display.writes().at(7).bytes, QByteArray::fromHex("55AA5AA5") + char(count));
        QCOMPARE(reported.mid(reported.size() - 2), (QList<int>{count, count}));
        QCOMPARE(bench.display.flash().firmware, image);
        QCOMPARE_GE(bench.pacer.now(), count + 1.1);
        QCOMPARE_LT(bench.pacer.now(), count * 1.6 + 3);
    }

    // Cut, never rounded, even just below 100 (the sound runs show 0%, 46.5%, 93% and 100%, the
    // window's bar 42.6%).
    void firmwarePercentage() { QCOMPARE(::firmwarePercentage(49100, 49150), QString("99.8%")); }

    // Pages and their texts go on without an acknowledgement: the wire is that of a sound run.
    void firmwarePagesNeedNoAcknowledgement()
    {
        Bench sound, bench;
        bench.faults([](auto& f) { f.acknowledgeFirst = 2; }); // the setup request and the header only
        QVERIFY(runOp(Op::FirmwareOnline, sound.access, {}));
        QVERIFY(presentOp(Op::FirmwareOnline, bench.access, {}));
        QCOMPARE(bench.display.wire(), sound.display.wire());
        QCOMPARE(bench.dialogs.messages(), sound.dialogs.messages());
    }

    // Stopped between two pages: nothing more is written, no pause or wait follows, the port closes.
    void stopRequestSendsNothingMore()
    {
        Bench bench;
        qsizetype writesAtStop = -1;
        double stoppedAt = 0;
        QVERIFY(
            !updateFirmware(bench.access, kFirmwareImage + '\0', false, [&](int page, int, const QString&) {
                if (page != 1)
                    return;
                bench.stop.requestStop();
                writesAtStop = bench.display.writes().size();
                stoppedAt = bench.pacer.now();
            }));
        QCOMPARE(bench.display.writes().size(), writesAtStop);
        QCOMPARE_LT(bench.pacer.now() - stoppedAt, 0.01);
        QCOMPARE(bench.dialogs.messages().size(), 1); // the mode reminder only
        QVERIFY(!bench.display.isOpen());
        // An image of nothing but the appended 0x00 is never sent.
        bench.access.stop = {};
        const qsizetype writes = bench.display.writes().size();
        QCOMPARE(updateFirmware(bench.access, QByteArray(1, '\0'), false).refusal().kind,
                 Refusal::NoFirmwareImage);
        QCOMPARE(bench.display.writes().size(), writes);
    }

    // A DEMO file that changes or goes while it is sent: "Open File Error !!" after the block that was
    // read, no confirmation, no restart. Gone before the first block: nothing after the setup request.
    void demoFileChangesDuringTheTransfer_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<int>("afterBytes");
        QTest::addColumn<QString>("golden");
        QTest::newRow("gone before the first block")
            << "remove" << 0 << QString("9600,N,8,1 | 02*20 | end +341");
        const QString afterFirstBlock =
            "9600,N,8,1 | 02*20 | 115200,N,8,1 | +341 1F 46 52 1F 46 5A 76 53 05 | 55 AA 5A A5 7C | "
            "+222 1F 46 52 1F 46 4D 5D 69 02 00 | 512 bytes crc 5d69 | "
            "box (x) File Error: Open File Error !! | end +266";
        QTest::newRow("made a folder") << "folder" << 512 << afterFirstBlock;
        QTest::newRow("removed") << "remove" << 512 << afterFirstBlock;
        QTest::newRow("cut short") << "shrink" << 512 << afterFirstBlock;
        QTest::newRow("grown") << "grow" << 512 << afterFirstBlock;
    }
    void demoFileChangesDuringTheTransfer()
    {
        QFETCH(QString, change);
        QFETCH(int, afterBytes);
        QFETCH(QString, golden);
        Bench bench;
        const QString path = bench.file("a.dem", demoBytes(2000));
        const auto alter = [&] {
            QFile::remove(path);
            if (change == "folder")
                QDir().mkdir(path);
            else if (change != "remove")
                bench.file("a.dem", demoBytes(change == "shrink" ? 600 : 2600));
        };
        if (afterBytes == 0)
            alter();
        const Outcome outcome = writeDemo(bench.access, path, [&](qint64 sent) {
            if (sent == afterBytes)
                alter();
        });
        showOutcome(bench.dialogs, outcome);
        if (qEnvironmentVariableIsSet("PRINT_GOLDEN"))
            qInfo().noquote() << bench.transcript(bench.pacer.now());
        QCOMPARE(bench.transcript(bench.pacer.now()), golden);
    }
};

QTEST_GUILESS_MAIN(OperationsTest)
#include "test_operations.moc"
