// Checksums, frames, wire text and the file helpers: the bytes every operation is built from.
#include "core/port_name.h"
#include "protocol/crc16.h"
#include "protocol/file_helpers.h"
#include "protocol/frame.h"

#include <QTemporaryDir>
#include <QTest>

class TransportBasicsTest : public QObject
{
    Q_OBJECT

private slots:
    void crc_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<int>("value");
        QTest::newRow("abc") << QByteArray("abc") << 0x5749;
        QTest::newRow("123456789") << QByteArray("123456789") << 0x4B37;
        QTest::newRow("header of one page") << QByteArray::fromHex("55AA5AA501") << 0x5793;
        QTest::newRow("empty") << QByteArray() << 0xFFFF;
        QTest::newRow("digits and the appended zero") << QByteArray("123456789\0", 10) << 0xD60A;
        QTest::newRow("the same bytes in another order") << QByteArray("bac") << 0xA7B9;
    }
    void crc()
    {
        QFETCH(QByteArray, input);
        QFETCH(int, value);
        QCOMPARE(int(crc16Value(input)), value);
        QCOMPARE(crc16(input), QByteArray::fromHex(QByteArray::number(value, 16).rightJustified(4, '0')));
    }

    void frames()
    {
        QCOMPARE(buildFrame({0x1F, "FR"}), QByteArray::fromHex("1F4652"));
        QCOMPARE(buildFrame({0x1F, "FR", 0x1F, "FM", 0, 0, 0, 0}),
                 QByteArray::fromHex("1F46521F464D00000000"));
        QCOMPARE(buildFrame({FrameItem::word(0x5793)}), QByteArray::fromHex("5793"));
        QCOMPARE(buildFrame({FrameItem::word(255)}), QByteArray::fromHex("00FF"));
        QCOMPARE(buildFrame({FrameItem::word(256)}), QByteArray::fromHex("0100"));
        QCOMPARE(buildFrame({FrameItem::word(65535)}), QByteArray::fromHex("FFFF"));
        const QByteArray ok = buildFrame({12, "** Flash Write OK **", "**Display Restart **"});
        QCOMPARE(ok.size(), 41);
        QCOMPARE(ok, QByteArray("\x0C** Flash Write OK ****Display Restart **"));
        // An empty text adds nothing; a boolean or a floating-point number is not an item at all.
        QCOMPARE(buildFrame({0x1F, "", "FR"}), QByteArray::fromHex("1F4652"));
        static_assert(!std::is_convertible_v<bool, FrameItem> && !std::is_convertible_v<double, FrameItem>);
        QVERIFY(!buildFrame({}).isNull());
    }

    void frameItemsOutOfRangeFailTheWholeFrame()
    {
        QVERIFY(buildFrame({0x1F, 256}).isNull());
        QVERIFY(buildFrame({0x1F, -1}).isNull());
        QVERIFY(buildFrame({0x1F, FrameItem::word(65536)}).isNull());
        QVERIFY(buildFrame({0x1F, QStringLiteral("Привет")}).isNull()); // outside the wire code page
    }

    void portNames_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("system");
        QTest::newRow("COM1") << "COM1"
                              << "/dev/ttyS0";
        QTest::newRow("COM39") << "COM39"
                               << "/dev/ttyS38";
        QTest::newRow("COM12") << "COM12"
                               << "/dev/ttyS11";
        QTest::newRow("USB adapter") << "/dev/ttyUSB0"
                                     << "/dev/ttyUSB0";
        QTest::newRow("COM without number") << "COMx"
                                            << "";
        QTest::newRow("COM0") << "COM0"
                              << "";
        QTest::newRow("lower case is a system name") << "com3"
                                                     << "com3";
    }
    void portNames()
    {
#ifdef Q_OS_WIN
        QSKIP("Unix device names");
#endif
        QFETCH(QString, text);
        QFETCH(QString, system);
        QCOMPARE(systemPortName(text).value_or(QString()), system);
    }

    void readsFileBytes_data()
    {
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("count");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray ten("0123456789");
        QTest::newRow("3,0 of 10") << 10 << 3 << 0 << ten.mid(2);
        QTest::newRow("9,5 of 10") << 10 << 9 << 5 << ten.mid(8);
        QTest::newRow("11,1 of 10") << 10 << 11 << 1 << QByteArray();
        QTest::newRow("0,1 of 10") << 10 << 0 << 1 << QByteArray();
        QTest::newRow("1,4 of 3") << 3 << 1 << 4 << ten.left(3);
        QTest::newRow("empty file") << 0 << 1 << 0 << QByteArray();
    }
    void readsFileBytes()
    {
        QFETCH(int, length);
        QFETCH(int, start);
        QFETCH(int, count);
        QFETCH(QByteArray, expected);
        QTemporaryDir dir;
        const QString path = dir.filePath("f.bin");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("0123456789").left(length));
        file.close();
        const auto bytes = ::readFileBytes(path, start, count);
        QVERIFY(bytes.has_value());
        QCOMPARE(*bytes, expected);
        QCOMPARE(byteCount(bytes), qint64(expected.size()));
        QCOMPARE(fileLength(path), qint64(length));
        // Nothing stays open: the file can be removed at once, also on Windows.
        QVERIFY(QFile::remove(path));
    }

    void missingEmptyAndFolder()
    {
        QTemporaryDir dir;
        QVERIFY(!fileExists(QString()));
        QCOMPARE(fileLength(QString()), qint64(-1));
        QVERIFY(!fileExists(dir.filePath("missing")));
        QCOMPARE(fileLength(dir.filePath("missing")), qint64(-1));
        QCOMPARE(byteCount(::readFileBytes(dir.filePath("missing"), 1, 0)), qint64(0));
        QVERIFY(::readFileBytes(dir.filePath("missing"), 1, 0).has_value());
        QVERIFY(fileExists(dir.path()));
        // A folder exists but cannot be read: a failure, not an empty file.
        QVERIFY(!::readFileBytes(dir.path(), 1, 0).has_value());
        QCOMPARE(byteCount(::readFileBytes(dir.path(), 1, 0)), qint64(0));
    }
};

QTEST_GUILESS_MAIN(TransportBasicsTest)
#include "test_transport_basics.moc"
