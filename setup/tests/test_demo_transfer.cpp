// The DEMO file check and transfer against the simulated display in virtual time: blocks by file
// size, header bytes, the file's last bytes held back, refused sizes, a file that goes away or
// cannot be read during the transfer, failed acknowledgements, and the erase's one frame.
#include "content_bench.h"
#include "operations/demo_file.h"
#include "operations/demo_transfer.h"
#include "presented.h"
#include "protocol/crc16.h"

#include <QDir>
#include <QTest>

using namespace content_test;

namespace {

struct SentBlock
{
    QByteArray frame;
    QByteArray data;
};

// The "FM" blocks of a DEMO write, each its 10-byte frame and the data write that follows it.
QList<SentBlock> Blocks(const QList<SimulatedDisplay::Write>& writes)
{
    QList<SentBlock> blocks;
    for (qsizetype i = 0; i + 1 < writes.size(); ++i)
        if (writes.at(i).bytes.size() == 10 &&
            writes.at(i).bytes.startsWith(QByteArray::fromHex("1F46521F464D")))
            blocks.append({writes.at(i).bytes, writes.at(i + 1).bytes});
    return blocks;
}

} // namespace

class DemoTransferTest : public QObject
{
    Q_OBJECT

private slots:
    void writeSendsTheFileInBlocks_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("pageByte");
        QTest::addColumn<QList<int>>("blocks");
        QTest::newRow("1000 bytes") << 1000 << 0x7A << QList<int>{512, 486};
        QTest::newRow("512 bytes") << 512 << 0x79 << QList<int>{510};
        QTest::newRow("513 bytes: one byte held back") << 513 << 0x7A << QList<int>{512};
        QTest::newRow("514 bytes") << 514 << 0x7A << QList<int>{512};
        QTest::newRow("515 bytes") << 515 << 0x7A << QList<int>{512, 1};
        QTest::newRow("1025 bytes") << 1025 << 0x7B << QList<int>{512, 512};
        QTest::newRow("signature only") << 4 << 0x79 << QList<int>{2};
        QList<int> largest(134, 512);
        largest << 510;
        QTest::newRow("69120 bytes, 135 pages") << 69120 << 0xFF << largest;
    }
    void writeSendsTheFileInBlocks()
    {
        QFETCH(int, size);
        QFETCH(int, pageByte);
        QFETCH(QList<int>, blocks);
        Bench bench;
        const QByteArray content = DemoBytes(size);
        const QString path = bench.file("show.dem", content);
        QList<qint64> progress;

        QVERIFY(
            Presented(bench.dialogs, writeDemo(bench.device, path, [&](qint64 sent) { progress << sent; })));

        const auto writes = bench.display.writes();
        QCOMPARE(writes.at(0).bytes, kSetupRequest);
        const QByteArray header =
            QByteArray::fromHex("55AA5AA5") + QByteArray(1, static_cast<char>(pageByte));
        QCOMPARE(demoHeader(size), header);
        QCOMPARE(writes.at(1).bytes,
                 QByteArray::fromHex("1F46521F465A") + crc16(header) + QByteArray("\x05"));
        QCOMPARE(writes.at(2).bytes, header);
        const QList<SentBlock> sent = Blocks(writes);
        QCOMPARE(sent.size(), blocks.size());
        qint64 position = 0;
        for (qsizetype i = 0; i < sent.size(); ++i) {
            const QByteArray expected = content.mid(position, blocks.at(i));
            QCOMPARE(sent.at(i).data, expected);
            QCOMPARE(sent.at(i).frame.mid(6, 2), crc16(expected));
            QCOMPARE(static_cast<quint8>(sent.at(i).frame.at(8)) << 8 |
                         static_cast<quint8>(sent.at(i).frame.at(9)),
                     blocks.at(i));
            position += blocks.at(i);
            QCOMPARE(progress.value(i), position);
        }
        QCOMPARE(writes.size(), 3 + 2 * sent.size() + 3);
        QVERIFY(bench.display.wire().endsWith(kWriteOkLines + kRestart));
        QCOMPARE(bench.display.flash().demo, content.left(position));
        QCOMPARE(bench.display.flash().demoPages, pageByte - 0x78);
        QCOMPARE(bench.dialogs.messages(), QStringList{kWriteOkBox});
        QVERIFY(!bench.display.isOpen());
    }

    void thousandByteHeaderFrame()
    {
        Bench bench;
        QVERIFY(Presented(bench.dialogs, writeDemo(bench.device, bench.file("a.dem", DemoBytes(1000)))));
        const auto writes = bench.display.writes();
        QCOMPARE(writes.at(1).bytes.toHex(' '), QByteArray("1f 46 52 1f 46 5a 74 d3 05"));
        QCOMPARE(writes.at(2).bytes.toHex(' '), QByteArray("55 aa 5a a5 7a"));
        const QList<SentBlock> sent = Blocks(writes);
        QCOMPARE(sent.at(0).frame.mid(8).toHex(' '), QByteArray("02 00"));
        QCOMPARE(sent.at(1).frame.mid(8).toHex(' '), QByteArray("01 e6"));
    }

    // One byte past the limit is a row of test_bad_input's DEMO files.
    void tooLargeFileIsRefusedBeforeAnythingIsSent()
    {
        const int size = 100000;
        Bench bench;
        QVERIFY(demoHeader(size).isNull());
        QVERIFY(!Presented(bench.dialogs, writeDemo(bench.device, bench.file("big.dem", DemoBytes(size)))));
        QVERIFY(bench.display.writes().isEmpty());
        QVERIFY(!bench.display.isOpen());
        QCOMPARE(bench.dialogs.messages().size(), 1);
        QVERIFY(bench.dialogs.messages().first().startsWith("File Ststus: DEMO File too large!"));
        QVERIFY(bench.dialogs.messages().first().contains(QString::number(size)));
        QCOMPARE(bench.dialogs.shown().first().icon, Dialogs::Critical);
    }

    void failedAcknowledgementEndsTheWrite_data()
    {
        QTest::addColumn<int>("acknowledged");
        QTest::addColumn<int>("blocksSent");
        QTest::newRow("header") << 1 << 0;
        QTest::newRow("third block") << 4 << 3;
    }
    void failedAcknowledgementEndsTheWrite()
    {
        QFETCH(int, acknowledged);
        QFETCH(int, blocksSent);
        Bench bench;
        bench.faults([&](auto& f) { f.acknowledgeFirst = acknowledged; });
        QVERIFY(!Presented(bench.dialogs, writeDemo(bench.device, bench.file("a.dem", DemoBytes(2000)))));
        QCOMPARE(Blocks(bench.display.writes()).size(), blocksSent);
        const QByteArray wire = bench.display.wire();
        QVERIFY(wire.endsWith(kNakLines));
        QVERIFY(!wire.contains("Flash Write OK"));
        QVERIFY(!wire.contains(QByteArray::fromHex("1F4640")));
        QCOMPARE(bench.dialogs.messages().size(), 1);
        QVERIFY(bench.dialogs.messages().first().startsWith("Display ack. failed: "));
        QVERIFY(!bench.display.isOpen());
    }

    void fileThatChangesDuringTheTransferEndsIt_data()
    {
        QTest::addColumn<QString>("change");
        QTest::newRow("cannot be read") << "folder";
        QTest::newRow("removed") << "remove";
        QTest::newRow("cut short") << "shrink";
        QTest::newRow("grown") << "grow";
    }
    void fileThatChangesDuringTheTransferEndsIt()
    {
        QFETCH(QString, change);
        Bench bench;
        const QString path = bench.file("a.dem", DemoBytes(2000));
        const auto afterFirstBlock = [&](qint64 sent) {
            if (sent != 512)
                return;
            if (change == "folder") { // exists, but no bytes can be read from it
                QFile::remove(path);
                QDir().mkdir(path);
            } else if (change == "remove") {
                QFile::remove(path);
            } else {
                QFile file(path);
                QVERIFY(file.resize(change == "shrink" ? 600 : 2600));
            }
        };

        QVERIFY(!Presented(bench.dialogs, writeDemo(bench.device, path, afterFirstBlock)));

        QCOMPARE(Blocks(bench.display.writes()).size(), 1);
        QCOMPARE(bench.dialogs.messages(), QStringList{"File Error: Open File Error !!"});
        QCOMPARE(bench.dialogs.shown().first().icon, Dialogs::Critical);
        QVERIFY(!bench.display.wire().contains(QByteArray::fromHex("1F4640")));
        QVERIFY(!bench.display.wire().contains("Flash Write OK"));
        QVERIFY(!bench.display.isOpen());
    }

    void eraseSendsOneTenByteFrameWithoutSetupRequest()
    {
        Bench bench;
        DisplayFlash flash;
        flash.demo = DemoBytes(100);
        bench.display.setFlash(flash);

        QVERIFY(Presented(bench.dialogs, eraseDemo(bench.device)));

        const auto writes = bench.display.writes();
        QCOMPARE(writes.at(0).bytes.toHex(' '), QByteArray("1f 46 52 1f 46 4d 00 00 00 00"));
        QCOMPARE(writes.at(0).settings, QString("9600,N,8,1"));
        // The next write waits for the acknowledgement: 10 bytes at 9600 baud, then the pulse.
        QVERIFY(writes.at(1).time - writes.at(0).time > 0.2);
        QCOMPARE(bench.display.wire(), writes.at(0).bytes + kWriteOkLines + kRestart);
        QVERIFY(bench.display.flash().demo.isEmpty());
        QCOMPARE(bench.dialogs.messages(), QStringList{kWriteOkBox});
        QVERIFY(!bench.display.isOpen());
    }

    void fileCheck_data()
    {
        QTest::addColumn<QByteArray>("content"); // "<missing>" and "<folder>" name no file
        QTest::addColumn<int>("check");
        QTest::addColumn<QString>("message");
        QTest::newRow("signature only")
            << QByteArray::fromHex("55AA5AA5") << int(DemoFileCheck::Accepted) << "";
        QTest::newRow("DEMO file") << DemoBytes(1000) << int(DemoFileCheck::Accepted) << "";
        QTest::newRow("three bytes") << QByteArray::fromHex("55AA5A") << int(DemoFileCheck::Invalid)
                                     << "File Ststus: InValid File!";
        QTest::newRow("empty") << QByteArray() << int(DemoFileCheck::Invalid) << "File Ststus: InValid File!";
        QTest::newRow("missing") << QByteArray("<missing>") << int(DemoFileCheck::Invalid)
                                 << "File Ststus: InValid File!";
        QTest::newRow("wrong signature") << QByteArray::fromHex("55AA5AA4FFFF") << int(DemoFileCheck::Illegal)
                                         << "File Ststus: Illegal DEMO File!";
        QTest::newRow("firmware image") << QByteArray::fromHex("0200108000000000")
                                        << int(DemoFileCheck::Illegal) << "File Ststus: Illegal DEMO File!";
        QTest::newRow("folder") << QByteArray("<folder>") << int(DemoFileCheck::ReadError)
                                << "File Error: Open File Error !!";
    }
    void fileCheck()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, check);
        QFETCH(QString, message);
        Bench bench;
        QString path = bench.dir.filePath("x.dem");
        if (content == "<folder>")
            QVERIFY(QDir().mkdir(path));
        else if (content != "<missing>")
            path = bench.file("x.dem", content);
        const DemoFileCheck result = checkDemoFile(path);
        QCOMPARE(int(result), check);
        showDemoFileCheck(bench.dialogs, result);
        QCOMPARE(bench.dialogs.messages(), message.isEmpty() ? QStringList{} : QStringList{message});
        if (!message.isEmpty())
            QCOMPARE(bench.dialogs.shown().first().icon, Dialogs::Critical);
    }

    void fileNameIsTheLastComponent_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("name");
        QTest::newRow("folder path") << "/home/tech/demos/shop.dem"
                                     << "shop.dem";
        QTest::newRow("bare name") << "shop.dem"
                                   << "shop.dem";
        QTest::newRow("empty") << ""
                               << "";
#ifdef Q_OS_WIN
        QTest::newRow("backslashes") << "C:\\demos\\shop.dem"
                                     << "shop.dem";
#else
        QTest::newRow("a backslash is part of a name here") << "/tmp/a\\b.dem"
                                                            << "a\\b.dem";
#endif
    }
    void fileNameIsTheLastComponent()
    {
        QFETCH(QString, path);
        QFETCH(QString, name);
        QCOMPARE(demoFileName(path), name);
    }
};

QTEST_GUILESS_MAIN(DemoTransferTest)
#include "test_demo_transfer.moc"
