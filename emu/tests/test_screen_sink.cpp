// The screen file: replaced whole at each change; one that cannot be written whole (a full disk, here
// a file size limit) keeps the last screen written, and is written at the next refresh that can.
#include "core/tests/file_size_limit.h"
#include "emu/screen_sink.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

class ScreenSinkTest : public QObject
{
    Q_OBJECT

private slots:
    void fullDiskKeepsTheLastScreen()
    {
#ifdef Q_OS_UNIX
        QTemporaryDir dir;
        QString text = "first";
        ScreenSink sink([&text] { return text; }, dir.filePath("screen"));
        const auto onDisk = [&dir] {
            QFile file(dir.filePath("screen"));
            return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
        };
        QVERIFY(sink.refresh());
        text = QString(200, 'x');
        {
            FileSizeLimit full(100);
            QVERIFY(!sink.refresh());
        }
        QCOMPARE(onDisk(), "first");
        QVERIFY2(sink.reason().contains("the disk took only 100 of"), qPrintable(sink.reason()));
        QVERIFY(sink.refresh()); // the same screen, now that it fits
        QCOMPARE(onDisk(), text);
#else
        QSKIP("a file size limit is a Unix facility");
#endif
    }
};

QTEST_GUILESS_MAIN(ScreenSinkTest)
#include "test_screen_sink.moc"
