#include "setup/operations/firmware_file.h"

#include "setup/operations/input_file.h"
#include "setup/protocol/crc16.h"
#include "setup/protocol/file_helpers.h"

#include <QStringList>

namespace {

// The checks of the name alone: ".wfu" and a model of the list in it, in any letter case.
std::optional<Refusal> refuseName(const QString& chosenPath)
{
    const QString name = fileNameOf(chosenPath).toLower().trimmed();
    if (name.isEmpty())
        return Refusal{Refusal::NoFileChosen};
    if (!name.contains(QLatin1String(".wfu")))
        return Refusal{Refusal::FirmwareWithoutExtension};
    for (const QString& model : kFirmwareModels.toLower().split(QLatin1Char(',')))
        if (name.contains(model.trimmed()))
            return std::nullopt;
    return Refusal{Refusal::FirmwareWithoutModel};
}

// The stored CRC, read apart from the image as the file is now: it may have changed meanwhile.
std::optional<quint16> storedCrc(const QString& path, qint64 length)
{
    const std::optional<QByteArray> stored = readFileBytes(path, length - 1, 2);
    if (!stored || stored->size() != 2)
        return std::nullopt;
    return static_cast<quint16>(static_cast<quint8>(stored->at(0)) << 8 | static_cast<quint8>(stored->at(1)));
}

} // namespace

FirmwareFileCheck checkFirmwareFile(const QString& chosenPath)
{
    FirmwareFileCheck check;
    const auto refuse = [&check](Refusal::Kind kind) {
        check.refusal = Refusal{kind};
        return check;
    };
    check.refusal = refuseName(chosenPath);
    if (check.refusal)
        return check;
    // A folder, a FIFO or a device, or a file that has gone since it was chosen, cannot be read.
    if (const std::optional<Refusal> irregular = refuseUnlessRegularFile(chosenPath)) {
        check.refusal = Refusal{Refusal::FirmwareUnreadable, 0, {}, irregular->reason};
        return check;
    }
    const qint64 length = fileLength(chosenPath);
    if (length > kFirmwareFileLimit)
        return refuse(Refusal::FirmwareTooLarge);
    // Fewer than three bytes hold no image: nothing that could be sent.
    if (length < 3)
        return refuse(Refusal::FirmwareUnreadable);
    std::optional<QByteArray> image = readFileBytes(chosenPath, 1, length - 2);
    if (!image || image->size() != length - 2)
        return refuse(Refusal::FirmwareUnreadable);
    image->append('\0');
    const std::optional<quint16> stored = storedCrc(chosenPath, length);
    if (!stored)
        return refuse(Refusal::FirmwareUnreadable);
    if (*stored != crc16Value(*image))
        return refuse(Refusal::FirmwareCrcMismatch);
    check.image = *image;
    return check;
}
