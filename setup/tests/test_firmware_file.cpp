// The firmware file checks: their order, their exact boxes, the held image (the file's image plus
// one 0x00 byte), and what the file box shows afterwards.
#include "firmware_test_support.h"
#include "operations/firmware_file.h"
#include "protocol/crc16.h"
#include "scripted_dialogs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace firmware_test;

namespace {

const QString kTitle = QStringLiteral("File Ststus");

QByteArray Swapped(QByteArray file)
{
    std::swap(file[file.size() - 1], file[file.size() - 2]);
    return file;
}

} // namespace

class FirmwareFileTest : public QObject
{
    Q_OBJECT

private slots:
    void checks_data()
    {
        QTest::addColumn<QString>("name");       // file name in a fresh folder; "" chooses nothing
        QTest::addColumn<QByteArray>("content"); // the file's bytes
        QTest::addColumn<QString>("message");    // the one box shown, "" for none
        QTest::addColumn<bool>("imageRead");     // the image was read (held even when the CRC fails)
        QTest::addColumn<bool>("shownUnknown");  // the box shows "???" rather than the path

        const QByteArray digits("123456789");
        QTest::newRow("maker's name, any case")
            << "FW_VQ7146_V12.WFU" << WfuFile(Pattern(1000)) << "" << true << false;
        QTest::newRow("VQ7140") << "vq7140.wfu" << WfuFile(Pattern(10)) << "" << true << false;
        QTest::newRow("VQ7152, .wfu not at the end")
            << "a_vq7152.wfu.bak" << WfuFile(Pattern(10)) << "" << true << false;
        QTest::newRow("49152 bytes, the limit")
            << "vq7146.wfu" << WfuFile(Pattern(49150)) << "" << true << false;
        QTest::newRow("49153 bytes, refused before the CRC")
            << "vq7146.wfu" << QByteArray(49153, 'x') << "File Size over 48K, Please Try Again !!" << false
            << false;
        QTest::newRow("CRC over the image plus 0x00")
            << "vq7146.wfu" << digits + QByteArray::fromHex("D60A") << "" << true << false;
        QTest::newRow("plain CRC of the image") << "vq7146.wfu" << digits + QByteArray::fromHex("4B37")
                                                << "File CRC16 Check-Sum Error !!" << true << false;
        QTest::newRow("CRC bytes swapped") << "vq7146.wfu" << Swapped(digits + QByteArray::fromHex("D60A"))
                                           << "File CRC16 Check-Sum Error !!" << true << false;
        QTest::newRow("3 bytes: one image byte") << "vq7146.wfu" << WfuFile("A") << "" << true << false;
        QTest::newRow("2 bytes: no image")
            << "vq7146.wfu" << crc16(QByteArray(1, '\0')) << "Open File Error !!" << false << false;
        QTest::newRow("1 byte") << "vq7146.wfu" << QByteArray("x") << "Open File Error !!" << false << false;
        QTest::newRow("empty file") << "vq7146.wfu" << QByteArray() << "Open File Error !!" << false << false;
        QTest::newRow("wrong extension") << "vq7146.bin" << WfuFile(Pattern(10))
                                         << "File Extension Name Error, Please Try Again !!" << false << true;
        QTest::newRow("no model in the name") << "update.wfu" << WfuFile(Pattern(10))
                                              << "File Type Error, Please Try Again !!" << false << true;
        QTest::newRow("nothing chosen")
            << "" << QByteArray() << "No File Select, Please Try Again !!" << false << false;
    }
    void checks()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        QFETCH(QString, message);
        QFETCH(bool, imageRead);
        QFETCH(bool, shownUnknown);

        QTemporaryDir dir;
        QString path;
        if (!name.isEmpty()) {
            path = dir.filePath(name);
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        ScriptedDialogs dialogs;
        QStringList shownTexts;
        const FirmwareFileCheck check =
            validateFirmwareFile(path, dialogs, [&](const QString& text) { shownTexts << text; });

        QCOMPARE(check.FirmwareFileValid, message.isEmpty());
        if (message.isEmpty()) {
            QVERIFY(dialogs.shown().isEmpty());
        } else {
            QCOMPARE(dialogs.messages(), QStringList{kTitle + ": " + message});
            QCOMPARE(dialogs.shown().first().icon, Dialogs::Critical);
        }
        QCOMPARE(check.FirmwareImage.has_value(), imageRead);
        if (imageRead) // the image and one 0x00 byte, never the stored CRC
            QCOMPARE(*check.FirmwareImage, content.left(content.size() - 2) + QByteArray(1, '\0'));
        // The path is shown in upper case at once; a name that is refused is replaced by "???" after its box.
        QCOMPARE(shownTexts.first(), path.toUpper());
        QCOMPARE(check.shownText, shownUnknown ? QStringLiteral("???") : path.toUpper());
        QCOMPARE(shownTexts.last(), check.shownText);
    }

    // On a case-sensitive file system the upper-cased text names no file; the chosen path still reads.
    void lowerCasePathIsReadAsChosen()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("fw_vq7146_v12.wfu");
        const QByteArray image = Pattern(700);
        QVERIFY(WriteFile(path, WfuFile(image)));
        ScriptedDialogs dialogs;
        const FirmwareFileCheck check = validateFirmwareFile(path, dialogs);
        QVERIFY2(check.FirmwareFileValid, qPrintable(dialogs.messages().join('\n')));
        QCOMPARE(*check.FirmwareImage, image + QByteArray(1, '\0'));
        QCOMPARE(check.shownText, path.toUpper());
    }

    void unreadableChoicesAreOpenErrors_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("a folder") << "folder";
        QTest::newRow("a file gone since it was chosen") << "missing";
    }
    void unreadableChoicesAreOpenErrors()
    {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        const QString path = dir.filePath("vq7146.wfu");
        if (kind == "folder")
            QVERIFY(QDir(dir.path()).mkdir("vq7146.wfu"));
        ScriptedDialogs dialogs;
        const FirmwareFileCheck check = validateFirmwareFile(path, dialogs);
        QVERIFY(!check.FirmwareFileValid);
        QVERIFY(!check.FirmwareImage);
        QCOMPARE(dialogs.messages(), QStringList{kTitle + ": Open File Error !!"});
        QCOMPARE(check.shownText, path.toUpper());
    }

    void lastComponent_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("component");
        QTest::newRow("plain") << "/a/b/FW_VQ7146.wfu"
                               << "FW_VQ7146.wfu";
        QTest::newRow("no folder") << "vq7146.wfu"
                                   << "vq7146.wfu";
        QTest::newRow("folder only") << "/a/b/"
                                     << "";
#ifdef Q_OS_WIN
        QTest::newRow("backslash") << "C:\\fw\\vq7146.wfu"
                                   << "vq7146.wfu";
        QTest::newRow("mixed") << "C:/fw\\x/vq7146.wfu"
                               << "vq7146.wfu";
#else
        // A backslash is an ordinary character of a name here.
        QTest::newRow("backslash in a name") << "/fw/a\\vq7146.wfu"
                                             << "a\\vq7146.wfu";
#endif
    }
    void lastComponent()
    {
        QFETCH(QString, path);
        QFETCH(QString, component);
        QCOMPARE(lastPathComponent(path), component);
    }

    // A name that is only a folder path has no file name.
    void folderPathIsNoSelection()
    {
        QTemporaryDir dir;
        ScriptedDialogs dialogs;
        const FirmwareFileCheck check = validateFirmwareFile(dir.path() + "/", dialogs);
        QVERIFY(!check.FirmwareFileValid);
        QCOMPARE(dialogs.messages(), QStringList{kTitle + ": No File Select, Please Try Again !!"});
    }
};

QTEST_GUILESS_MAIN(FirmwareFileTest)
#include "test_firmware_file.moc"
