#pragma once

#include "setup/protocol/refusal.h"

#include <QByteArray>
#include <QString>
#include <optional>

// A .wfu firmware file is the image followed by its CRC-16, high byte first. The CRC covers the
// image plus one 0x00 byte that is not in the file. The file's name, not its content, tells the
// model it is meant for.
constexpr qint64 kFirmwareFileLimit = 49152; // 48 KB, the largest file accepted
inline const QString kFirmwareModels = QStringLiteral("VQ7140, VQ7146, VQ7152");

// What a check of a chosen file found.
struct FirmwareFileCheck
{
    // Why the file was refused: the first check that failed; empty when every check passed.
    std::optional<Refusal> refusal;
    // The image of a file that passed, followed by one 0x00 byte.
    QByteArray image;

    bool valid() const { return !refusal; }
};

// Checks the file the person chose, in order: a name, ".wfu" in it, a model of the list in it, at
// most 48 KB, then the CRC. The path is read as chosen (so a case-sensitive file system still finds it).
FirmwareFileCheck checkFirmwareFile(const QString& chosenPath);
