#include "operations/demo_transfer.h"

#include "protocol/crc16.h"
#include "protocol/device_context.h"
#include "protocol/display_session.h"
#include "protocol/file_helpers.h"
#include "protocol/frame.h"

namespace {

void ShowTooLarge(DeviceContext& device, qint64 length)
{
    device.dialogs.message(
        Dialogs::Critical, QStringLiteral("File Ststus"),
        QStringLiteral("DEMO File too large!\r\n%1 bytes; the display takes at most %2 bytes "
                       "(%3 pages of %4). Nothing was written.")
            .arg(length)
            .arg(kDemoMaxLength)
            .arg(kDemoMaxPages)
            .arg(kDemoBlockSize));
}

void ShowReadError(DeviceContext& device)
{
    device.dialogs.message(Dialogs::Critical, QStringLiteral("File Error"),
                           QStringLiteral("Open File Error !!"));
}

// Sends the file's blocks. Each is read from disk just before it goes out, after a one-byte look
// ahead that tells whether it is the last one; the last block leaves the file's final two bytes
// behind. The file must keep the length announced in the header: a file that shrank or vanished
// would otherwise end early and be reported as written.
bool SendDemoBlocks(DisplaySession& display, const QString& path, qint64 announcedLength,
                    const std::function<void(qint64)>& blockSent)
{
    qint64 start = 1;
    for (;;) {
        const std::optional<QByteArray> ahead = ReadFileBytes(path, start + kDemoBlockSize, 1);
        const std::optional<QByteArray> read = ReadFileBytes(path, start, kDemoBlockSize);
        if (!ahead || !read || FileLength(path) != announcedLength) {
            ShowReadError(display.device());
            return false;
        }
        QByteArray block = *read;
        if (ByteCount(ahead) == 0) {
            if (block.size() <= 2)
                return true;
            block.chop(2);
        }
        if (block.isEmpty())
            return true;
        const quint16 crc = Crc16Value(block);
        const int length = static_cast<int>(block.size());
        display.writeFrame({0x1F, "FR", 0x1F, "FM", crc >> 8, crc & 0xFF, length >> 8, length & 0xFF});
        display.write(block);
        if (!display.awaitAck())
            return false;
        start += length;
        if (blockSent)
            blockSent(start - 1);
    }
}

bool ConfirmAndRestart(DisplaySession& display)
{
    display.writeFrame({0x0C, "** Flash Write OK **", "**Display Restart **"});
    return display.confirmAndRestart(QStringLiteral("Flash Write OK !!"));
}

} // namespace

QByteArray DemoHeader(qint64 fileLength)
{
    if (fileLength < 0 || fileLength > kDemoMaxLength)
        return {};
    const qint64 pages = (fileLength + kDemoBlockSize - 1) / kDemoBlockSize;
    return BuildFrame({0x55, 0xAA, 0x5A, 0xA5, kDemoPageBase + pages});
}

bool WriteDemo(DeviceContext& device, const QString& path, const std::function<void(qint64)>& blockSent)
{
    // Refused before the port is opened, so that nothing at all is sent for it.
    if (const qint64 length = FileLength(path); length > kDemoMaxLength) {
        ShowTooLarge(device, length);
        return false;
    }
    // A file that is there but cannot be read (a folder, no permission) is refused before the port
    // opens too: its header alone would already clear the DEMO the display holds.
    if (FileExists(path) && !ReadFileBytes(path, 1, 1)) {
        ShowReadError(device);
        return false;
    }
    DisplaySession display(device);
    if (!display.sendSetupRequest())
        return false;
    const qint64 length = FileLength(path);
    // Gone since it was chosen: nothing to send, nothing to say.
    if (length == -1)
        return false;
    // Grown since the look above.
    if (length > kDemoMaxLength) {
        ShowTooLarge(device, length);
        return false;
    }
    const QByteArray header = DemoHeader(length);
    const quint16 crc = Crc16Value(header);
    display.writeFrame({0x1F, "FR", 0x1F, "FZ", crc >> 8, crc & 0xFF, static_cast<int>(header.size())});
    display.write(header);
    if (!display.awaitAck() || !SendDemoBlocks(display, path, length, blockSent))
        return false;
    return ConfirmAndRestart(display);
}

bool EraseDemo(DeviceContext& device)
{
    DisplaySession display(device);
    if (!display.isOpen())
        return false;
    display.writeFrame({0x1F, "FR", 0x1F, "FM", 0, 0, 0, 0});
    if (!display.awaitAck())
        return false;
    return ConfirmAndRestart(display);
}
