#include "setup/operations/demo_file.h"

#include "setup/operations/input_file.h"
#include "setup/protocol/file_helpers.h"
#include "setup/protocol/frame.h"

std::optional<Refusal> checkDemoFile(const QString& path)
{
    // A missing file is too short, as the window has always said; a FIFO or a device is not opened.
    if (fileExists(path) && !isRegularFile(path))
        return refuseUnlessRegularFile(path);
    const std::optional<QByteArray> head = readFileBytes(path, 1, 4);
    if (!head)
        return Refusal{Refusal::FileUnreadable};
    if (byteCount(head) != 4)
        return Refusal{Refusal::DemoTooShort};
    if (*head != buildFrame({0x55, 0xAA, 0x5A, 0xA5}))
        return Refusal{Refusal::DemoWithoutSignature};
    return std::nullopt;
}
