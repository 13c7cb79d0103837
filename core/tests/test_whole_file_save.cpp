// Saving a file whole: the new bytes, or the old file untouched and the system's reason, also when the
// file system refuses the bytes only at the last flush (a full disk; here a file size limit, the same
// failure for the writer).
#include "core/tests/file_size_limit.h"
#include "core/whole_file_save.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

namespace {

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
}

} // namespace

class WholeFileSaveTest : public QObject
{
    Q_OBJECT

private slots:
    // The file before (none: absent), how the save fails, and the reason it must give (empty: saved).
    void savesWholeOrKeepsTheOld_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("hindrance");
        QTest::addColumn<QString>("reason");
        QTest::newRow("replaced") << QByteArray("old") << QString() << QString();
        QTest::newRow("made") << QByteArray("(none)") << QString() << QString();
        QTest::newRow("a folder in its place") << QByteArray("(none)") << "folder"
                                               << "directory";
#ifdef Q_OS_WIN
        const QString noFolder = "Path not found";
#else
        const QString noFolder = "No such file or directory";
#endif
        QTest::newRow("no folder") << QByteArray("(none)") << "no folder" << noFolder;
#ifdef Q_OS_UNIX
        // 202 bytes do not fit under a limit of 100: the flush fails after half of them.
        QTest::newRow("full at the flush") << QByteArray("old") << "limit"
                                           << "the disk took only 100 of 202 bytes";
        QTest::newRow("full at once") << QByteArray("(none)") << "limit 0"
                                      << "File too large";
#endif
    }
    void savesWholeOrKeepsTheOld()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, hindrance);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        QString path = dir.filePath("kept.flash");
        if (hindrance == "folder")
            QVERIFY(QDir(dir.path()).mkdir("kept.flash"));
        if (hindrance == "no folder")
            path = dir.filePath("gone/kept.flash");
        if (before != "(none)") {
            QFile old(path);
            QVERIFY(old.open(QIODevice::WriteOnly) && old.write(before) == before.size());
        }
        const QByteArray bytes(202, 'x');
        QString error;
        {
#ifdef Q_OS_UNIX
            std::optional<FileSizeLimit> limit;
            if (hindrance.startsWith("limit"))
                limit.emplace(hindrance == "limit" ? 100 : 0);
#endif
            error = saveWholeFile(path, bytes);
        }
        QVERIFY2(error.contains(reason) && error.isEmpty() == reason.isEmpty(), qPrintable(error));
        QCOMPARE(contentOf(path), reason.isEmpty() ? bytes : before);
        // Nothing is left beside it.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(),
                 int(before != "(none)" || reason.isEmpty()));
    }
};

QTEST_GUILESS_MAIN(WholeFileSaveTest)
#include "test_whole_file_save.moc"
