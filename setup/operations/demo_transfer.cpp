#include "setup/operations/demo_transfer.h"

#include "setup/protocol/crc16.h"
#include "setup/protocol/display_session.h"
#include "setup/protocol/file_helpers.h"
#include "setup/protocol/frame.h"

namespace {

Outcome tooLarge(qint64 length)
{
    return Outcome::refused({Refusal::DemoTooLarge, length});
}

Outcome readError()
{
    return Outcome::refused({Refusal::FileUnreadable});
}

// Sends the file's blocks. Each is read from disk just before it goes out, after a one-byte look
// ahead that tells whether it is the last one; the last block leaves the file's final two bytes
// behind. The file must keep the length announced in the header: a file that shrank or vanished
// would otherwise end early and be reported as written.
Outcome sendDemoBlocks(DisplaySession& display, const QString& path, qint64 announcedLength,
                       const std::function<void(qint64)>& blockSent)
{
    qint64 start = 1;
    for (;;) {
        const std::optional<QByteArray> ahead = readFileBytes(path, start + kDemoBlockSize, 1);
        const std::optional<QByteArray> read = readFileBytes(path, start, kDemoBlockSize);
        if (!ahead || !read || fileLength(path) != announcedLength)
            return readError();
        QByteArray block = *read;
        if (byteCount(ahead) == 0) {
            if (block.size() <= 2)
                return display.outcome();
            block.chop(2);
        }
        if (block.isEmpty())
            return display.outcome();
        const quint16 crc = crc16Value(block);
        const int length = static_cast<int>(block.size());
        display.writeAll(
            {buildFrame({0x1F, "FR", 0x1F, "FM", crc >> 8, crc & 0xFF, length >> 8, length & 0xFF}), block});
        if (Outcome ack = display.awaitAck(); !ack)
            return ack;
        start += length;
        if (blockSent)
            blockSent(start - 1);
    }
}

Outcome confirmAndRestart(DisplaySession& display)
{
    display.writeFrame({0x0C, "** Flash Write OK **", "**Display Restart **"});
    return display.confirmAndRestart(Outcome::FlashWriteOk);
}

} // namespace

QByteArray demoHeader(qint64 fileLength)
{
    if (fileLength < 0 || fileLength > kDemoMaxLength)
        return {};
    const qint64 pages = (fileLength + kDemoBlockSize - 1) / kDemoBlockSize;
    return buildFrame({0x55, 0xAA, 0x5A, 0xA5, kDemoPageBase + pages});
}

Outcome writeDemo(DisplayAccess& access, const QString& path, const std::function<void(qint64)>& blockSent)
{
    // Refused before the port is opened, so that nothing at all is sent for it.
    if (const qint64 length = fileLength(path); length > kDemoMaxLength)
        return tooLarge(length);
    // A file that is there but cannot be read (a folder, no permission) is refused before the port
    // opens too: its header alone would already clear the DEMO the display holds.
    if (fileExists(path) && !readFileBytes(path, 1, 1))
        return readError();
    DisplaySession display(access);
    if (Outcome setup = display.sendSetupRequest(); !setup)
        return setup;
    const qint64 length = fileLength(path);
    // Gone since it was chosen: nothing to send, nothing to say.
    if (length == -1)
        return Outcome::refused({Refusal::FileGone});
    // Grown since the look above.
    if (length > kDemoMaxLength)
        return tooLarge(length);
    const QByteArray header = demoHeader(length);
    const quint16 crc = crc16Value(header);
    display.writeAll(
        {buildFrame({0x1F, "FR", 0x1F, "FZ", crc >> 8, crc & 0xFF, static_cast<int>(header.size())}),
         header});
    if (Outcome ack = display.awaitAck(); !ack)
        return ack;
    if (Outcome blocks = sendDemoBlocks(display, path, length, blockSent); !blocks)
        return blocks;
    return confirmAndRestart(display);
} // the session drains and closes the port, whatever path leaves

Outcome eraseDemo(DisplayAccess& access)
{
    DisplaySession display(access);
    if (Outcome open = display.outcome(); !open)
        return open;
    display.writeFrame({0x1F, "FR", 0x1F, "FM", 0, 0, 0, 0});
    if (Outcome ack = display.awaitAck(); !ack)
        return ack;
    return confirmAndRestart(display);
}
