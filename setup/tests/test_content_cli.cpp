// vfdctl's title, demo and balance commands through VfdctlMain against the simulated display in
// virtual time: exit statuses, usage errors that send nothing, and the bytes each command writes.
#include "content_bench.h"
#include "vfdctl_run.h"

#include <QTest>

using namespace content_test;

namespace {

using Run = VfdctlRun;

// Runs vfdctl --port sim with `words`; "{dir}" in a word becomes the bench's folder.
Run Vfdctl(Bench& bench, const QStringList& words)
{
    QStringList arguments{"--port", "sim"};
    for (QString word : words)
        arguments << word.replace("{dir}", bench.dir.path());
    return RunVfdctl(arguments, bench.pacer, bench.display);
}

} // namespace

class ContentCliTest : public QObject
{
    Q_OBJECT

private slots:
    void commands_data()
    {
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("wireStart"); // "" with status 2: nothing may be written
        QTest::addColumn<QString>("said");         // a piece of stdout or stderr

        const QByteArray titleWrite = QByteArray("\x0C") + kSetupRequest;
        QTest::newRow("title write") << QStringList{"title", "write", "Fresh bread", "daily"} << 0
                                     << titleWrite << "Port Status: Flash Write OK !!";
        QTest::newRow("title write, empty lines")
            << QStringList{"title", "write", "", ""} << 0 << titleWrite << "";
        QTest::newRow("title write --file") << QStringList{"title", "write", "--file", "{dir}/two.txt"} << 0
                                            << titleWrite << "Flash Write OK";
        QTest::newRow("title write, one line given")
            << QStringList{"title", "write", "x"} << 2 << QByteArray() << "give two lines";
        QTest::newRow("title write, both forms")
            << QStringList{"title", "write", "a", "b", "--file", "{dir}/two.txt"} << 2 << QByteArray()
            << "give two lines";
        QTest::newRow("title erase") << QStringList{"title", "erase"} << 0
                                     << kSetupRequest + QByteArray::fromHex("1F46521F464300000000")
                                     << "Flash Erase OK";
        QTest::newRow("demo write") << QStringList{"demo", "write", "{dir}/shop.dem"} << 0
                                    << kSetupRequest + QByteArray::fromHex("1F46521F465A74D305")
                                    << "Flash Write OK";
        QTest::newRow("demo write, not a DEMO") << QStringList{"demo", "write", "{dir}/two.txt"} << 1
                                                << QByteArray() << "File Ststus: Illegal DEMO File!";
        QTest::newRow("demo erase") << QStringList{"demo", "erase"} << 0
                                    << QByteArray::fromHex("1F46521F464D00000000") + kWriteOkLines << "";
        QTest::newRow("demo, no file") << QStringList{"demo", "write"} << 2 << QByteArray() << "expected";
        QTest::newRow("balance 6") << QStringList{"balance", "6"} << 0
                                   << QByteArray(40, '0') + QByteArray::fromHex("1F46620D06") << "balance: 6";
        QTest::newRow("balance 255") << QStringList{"balance", "255"} << 0
                                     << QByteArray(40, '0') + QByteArray::fromHex("1F46620DFF") << "";
        QTest::newRow("balance -1") << QStringList{"balance", "-1"} << 2 << QByteArray() << "0 to 255";
        QTest::newRow("balance text") << QStringList{"balance", "bright"} << 2 << QByteArray() << "0 to 255";
        QTest::newRow("balance, nothing") << QStringList{"balance"} << 2 << QByteArray() << "0 to 255";
        QTest::newRow("balance --store")
            << QStringList{"balance", "--store"} << 0 << QByteArray::fromHex("1F46521F4657") + kWriteOkLines
            << "stored 128";
    }
    void commands()
    {
        QFETCH(QStringList, words);
        QFETCH(int, status);
        QFETCH(QByteArray, wireStart);
        QFETCH(QString, said);
        Bench bench;
        bench.file("two.txt", "Fresh bread\ndaily\n");
        bench.file("shop.dem", DemoBytes(1000));

        const Run run = Vfdctl(bench, words);

        QVERIFY2(run.status == status, qPrintable(run.out + run.err));
        QVERIFY2(bench.display.wire().startsWith(wireStart),
                 bench.display.wire().left(64).toHex(' ').constData());
        if (wireStart.isEmpty())
            QVERIFY(bench.display.wire().isEmpty());
        QVERIFY2((run.out + run.err).contains(said), qPrintable(run.out + run.err));
        QVERIFY(!bench.display.isOpen());
    }

    void demoWriteStoresTheFile()
    {
        Bench bench;
        const QByteArray content = DemoBytes(5000);
        bench.file("d.dem", content);
        const Run run = Vfdctl(bench, {"demo", "write", "{dir}/d.dem"});
        QCOMPARE(run.status, 0);
        QCOMPARE(bench.display.flash().demo, content.left(4998));
        QVERIFY(run.out.contains("demo: 4998 bytes, 10 pages announced"));
    }

    void unansweredBalanceFails()
    {
        Bench bench;
        bench.faults([](auto& f) { f.acknowledgeFirst = 0; });
        const Run run = Vfdctl(bench, {"balance", "50"});
        QCOMPARE(run.status, 1);
        QVERIFY(run.err.contains("Display ack. failed"));
    }
};

QTEST_GUILESS_MAIN(ContentCliTest)
#include "test_content_cli.moc"
