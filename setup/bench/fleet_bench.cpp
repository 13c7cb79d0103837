// Measures vfdctl on many ports at once: N = 1, 4 and 8 simulated displays flashed with the same
// 96-page image in real time, through vfdctl's own entry. Prints the wall time of each run, its
// ratio to N = 1 (the goal: at most 1.05 for N = 8, each port as fast as alone), and the processor
// time per display, which is spent almost wholly in the waits for DSR and the one-second pauses.
// Before them, the same update of one display on the virtual pacer: the time the protocol itself takes
// (the bytes at the line's speed, the display's pulses, the pauses; each wait looking once per virtual
// millisecond), which every run is also read against (the goal for N = 1: at most 1.02).
// Run: build/default/setup/bench/bench_fleet [--pages P] [--counts 1,4,8]
// (a full run takes about two minutes per count; --pages 8 gives a quick look).
#include "core/pacer.h"
#include "setup/bench/bench_loop.h"
#include "setup/cli/vfdctl.h"
#include "setup/operations/firmware_update.h"
#include "setup/protocol/crc16.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

// A firmware file of `pages` pages: the image, then the CRC of image + 0x00, high byte first.
QByteArray firmwareFile(int pages)
{
    QByteArray image(pages * kFirmwarePageSize - 2, '\0');
    for (qsizetype i = 0; i < image.size(); ++i)
        image[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    return image + crc16(image + QByteArray(1, '\0'));
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int pages = args.contains("--pages") ? args.value(args.indexOf("--pages") + 1).toInt() : 96;
    QList<int> counts{1, 4, 8};
    if (args.contains("--counts")) {
        counts.clear();
        for (const QString& n : args.value(args.indexOf("--counts") + 1).split(','))
            counts << n.toInt();
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("FW_VQ7146_BENCH.wfu"));
    QFile file(path);
    if (pages < 1 || pages > 96 || !file.open(QIODevice::WriteOnly) || file.write(firmwareFile(pages)) < 0)
        return 2;
    file.close();

    QTextStream report(stdout);
    QString ignored;
    QTextStream ignoredStream(&ignored);
    VirtualPacer protocolClock;
    VfdctlEnvironment virtualTime;
    virtualTime.pacer = &protocolClock;
    vfdctlMain({"--quiet", "--port", "sim", "firmware", path}, ignoredStream, ignoredStream, virtualTime);
    const double minimum = protocolClock.now();
    report << "pages " << pages << ", protocol time (virtual pacer) " << QString::number(minimum, 'f', 1)
           << " s; real time\n"
           << "  N   status   wall s   N / 1   N / protocol   cpu s   cpu s per display   cpu per display\n";
    double wallOne = 0;
    for (int n : counts) {
        QStringList ports{QStringLiteral("sim")};
        for (int i = 1; i < n; ++i)
            ports << QStringLiteral("sim:%1").arg(i);
        QString out;
        QString err;
        QTextStream outStream(&out);
        QTextStream errStream(&err);
        QElapsedTimer wall;
        wall.start();
        const double cpuStart = processSeconds();
        const int status =
            vfdctlMain({"--quiet", "--ports", ports.join(','), "firmware", path}, outStream, errStream);
        const double cpu = processSeconds() - cpuStart;
        const double seconds = wall.nsecsElapsed() / 1e9;
        if (wallOne == 0)
            wallOne = seconds;
        report << QStringLiteral("%1   %2   %3   %4   %5   %6   %7   %8%\n")
                      .arg(n, 2)
                      .arg(status, 6)
                      .arg(seconds, 6, 'f', 1)
                      .arg(seconds / wallOne, 5, 'f', 3)
                      .arg(seconds / minimum, 12, 'f', 3)
                      .arg(cpu, 5, 'f', 2)
                      .arg(cpu / n, 17, 'f', 3)
                      .arg(100.0 * cpu / n / seconds, 14, 'f', 2);
        report.flush();
    }
    return 0;
}
