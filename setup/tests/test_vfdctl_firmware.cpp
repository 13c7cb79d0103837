// "vfdctl firmware" through the whole command line against the simulated display in virtual time:
// the checks and their exit statuses, the transfer, and its progress on a terminal and in a log.
#include "firmware_test_support.h"
#include "vfdctl_run.h"

#include <QTemporaryDir>
#include <QTest>

using namespace firmware_test;

namespace {

using Run = VfdctlRun;

struct Bench
{
    Bench() : display(pacer) {}
    Run vfdctl(const QStringList& arguments, bool terminal = false)
    {
        return RunVfdctl(QStringList{"--port", "sim"} + arguments, pacer, display, {}, terminal);
    }
    QString file(const QString& name, const QByteArray& content)
    {
        const QString path = dir.filePath(name);
        if (!WriteFile(path, content))
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }
    QTemporaryDir dir;
    VirtualPacer pacer;
    SimulatedDisplay display;
};

} // namespace

class VfdctlFirmwareTest : public QObject
{
    Q_OBJECT

private slots:
    void flashesTheImageWithOneLinePerPage()
    {
        Bench bench;
        const QByteArray image = Pattern(1100);
        const Run run = bench.vfdctl({"firmware", bench.file("FW_VQ7146_V12.WFU", WfuFile(image))});
        QCOMPARE(run.status, 0);
        QVERIFY2(run.err.isEmpty(), qPrintable(run.err));
        QCOMPARE(bench.display.flash().firmware, image);
        QVERIFY(run.out.contains("firmware: page 1 of 3, 0% sent\n"));
        QVERIFY(run.out.contains("firmware: page 2 of 3, 46.5% sent\n"));
        QVERIFY(run.out.contains("firmware: page 3 of 3, 93% sent\n"));
        QVERIFY(run.out.contains("firmware: 3 of 3 pages sent, 100%\n"));
        QVERIFY(run.out.contains("Port Status: Firmware Update Sucessfully."));
        QVERIFY(!run.out.contains('\r'));
    }

    void terminalShowsOneBarWithTimeLeft()
    {
        Bench bench;
        const Run run = bench.vfdctl({"firmware", bench.file("vq7152.wfu", WfuFile(Pattern(2048)))}, true);
        QCOMPARE(run.status, 0);
        // Four pages: the bar is rewritten in place and ends its line at 100%.
        QCOMPARE(run.out.count('\r'), 5);
        QVERIFY(run.out.contains(QRegularExpression(R"(\r\[#{30}\]   100%  page 4/4  0:00 left \n)")));
        QVERIFY(run.out.contains(QRegularExpression(R"(\r\[#{15}\.{15}\]    50%  page 3/4  0:0\d left )")));
        // A box shown after the bar starts on a line of its own.
        QVERIFY(run.out.contains("left \nPort Status: Firmware Update Sucessfully."));
    }

    void forcedUpdate()
    {
        Bench bench;
        SimulatedDisplay::Faults faults;
        faults.dipSwitch12On = true;
        bench.display.setFaults(faults);
        const Run run =
            bench.vfdctl({"firmware", bench.file("vq7140.wfu", WfuFile(Pattern(600))), "--force"});
        QCOMPARE(run.status, 0);
        QVERIFY(run.out.contains("Force Overwrite F/W.: Firmware Update. Make sure DIP-12 in ON status."));
        QVERIFY(!bench.display.wire().startsWith('\x02'));
        QCOMPARE(bench.display.flash().firmware, Pattern(600));
    }

    void refusals_data()
    {
        QTest::addColumn<QStringList>("arguments"); // "FILE" stands for a written file
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("error");
        const QByteArray good = WfuFile(Pattern(10));
        QTest::newRow("extension") << QStringList{"firmware", "FILE"} << "vq7146.bin" << good << 1
                                   << "File Ststus: File Extension Name Error, Please Try Again !!\n";
        QTest::newRow("model") << QStringList{"firmware", "FILE"} << "update.wfu" << good << 1
                               << "File Ststus: File Type Error, Please Try Again !!\n";
        QTest::newRow("CRC") << QStringList{"firmware", "FILE"} << "vq7146.wfu"
                             << QByteArray("123456789") + QByteArray::fromHex("4B37") << 1
                             << "File Ststus: File CRC16 Check-Sum Error !!\n";
        QTest::newRow("no file") << QStringList{"firmware"} << "" << QByteArray() << 2 << "";
        QTest::newRow("two files") << QStringList{"firmware", "FILE", "FILE"} << "vq7146.wfu" << good << 2
                                   << "";
        QTest::newRow("unknown option")
            << QStringList{"firmware", "FILE", "--fast"} << "vq7146.wfu" << good << 2 << "";
    }
    void refusals()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(int, status);
        QFETCH(QString, error);
        Bench bench;
        const QString path = name.isEmpty() ? QString() : bench.file(name, content);
        arguments.replaceInStrings("FILE", path);
        const Run run = bench.vfdctl(arguments);
        QCOMPARE(run.status, status);
        if (status == 1)
            QCOMPARE(run.err, error);
        else
            QVERIFY(run.err.startsWith("vfdctl firmware: "));
        QVERIFY(bench.display.writes().isEmpty());
    }

    void displayFailureExitsWithOne()
    {
        Bench bench;
        SimulatedDisplay::Faults faults;
        faults.vanishAfterWrites = 20;
        bench.display.setFaults(faults);
        const Run run = bench.vfdctl({"firmware", bench.file("vq7146.wfu", WfuFile(Pattern(2000)))}, true);
        QCOMPARE(run.status, 1);
        QCOMPARE(run.err.count("Port Error: COM Port Write Error( 8020) !!"), 1);
        QVERIFY(bench.display.flash().firmware.isEmpty());
    }
};

QTEST_GUILESS_MAIN(VfdctlFirmwareTest)
#include "test_vfdctl_firmware.moc"
