#include "operations/demo_transfer.h"

#include "protocol/crc16.h"
#include "protocol/device_context.h"
#include "protocol/display_ack.h"
#include "protocol/display_port.h"
#include "protocol/file_helpers.h"
#include "protocol/flash_done.h"
#include "protocol/frame.h"
#include "protocol/setup_request.h"

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
bool SendDemoBlocks(DeviceContext& device, const QString& path, qint64 announcedLength,
                    const std::function<void(qint64)>& blockSent)
{
    qint64 start = 1;
    for (;;) {
        const std::optional<QByteArray> ahead = ReadFileBytes(path, start + kDemoBlockSize, 1);
        const std::optional<QByteArray> read = ReadFileBytes(path, start, kDemoBlockSize);
        if (!ahead || !read || FileLength(path) != announcedLength) {
            ShowReadError(device);
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
        device.send(BuildFrame({0x1F, "FR", 0x1F, "FM", crc >> 8, crc & 0xFF, length >> 8, length & 0xFF}));
        device.send(block);
        if (!WaitDisplayAck(device, 0))
            return false;
        start += length;
        if (blockSent)
            blockSent(start - 1);
    }
}

bool ConfirmAndRestart(DeviceContext& device)
{
    device.send(BuildFrame({0x0C, "** Flash Write OK **", "**Display Restart **"}));
    return ReportFlashDoneAndRestart(device, QStringLiteral("Flash Write OK !!"));
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
    bool ok = OpenDisplayPort(device) && SendSetupRequest(device, true);
    qint64 length = -1;
    if (ok) {
        length = FileLength(path);
        ok = length != -1; // gone since it was chosen: nothing to send, nothing to say
    }
    if (ok && length > kDemoMaxLength) { // grew since the look above
        ShowTooLarge(device, length);
        ok = false;
    }
    if (ok) {
        const QByteArray header = DemoHeader(length);
        const quint16 crc = Crc16Value(header);
        device.send(
            BuildFrame({0x1F, "FR", 0x1F, "FZ", crc >> 8, crc & 0xFF, static_cast<int>(header.size())}));
        device.send(header);
        ok = WaitDisplayAck(device, 0) && SendDemoBlocks(device, path, length, blockSent);
    }
    if (ok)
        ok = ConfirmAndRestart(device);
    CloseDisplayPort(device);
    return ok;
}

bool EraseDemo(DeviceContext& device)
{
    bool ok = OpenDisplayPort(device);
    if (ok) {
        device.send(BuildFrame({0x1F, "FR", 0x1F, "FM", 0, 0, 0, 0}));
        ok = WaitDisplayAck(device, 0);
    }
    if (ok)
        ok = ConfirmAndRestart(device);
    CloseDisplayPort(device);
    return ok;
}
