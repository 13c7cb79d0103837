#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

class Dialogs;

// A .wfu firmware file is the image followed by its CRC-16, high byte first. The CRC covers the
// image plus one 0x00 byte that is not in the file. The file's name, not its content, tells the
// model it is meant for.
constexpr qint64 kFirmwareFileLimit = 49152; // 48 KB, the largest file accepted
inline const QString kFirmwareModels = QStringLiteral("VQ7140, VQ7146, VQ7152");

// What a check of a chosen file leaves behind.
struct FirmwareFileCheck
{
    // True only when every check passed.
    bool FirmwareFileValid = false;
    // The image followed by one 0x00 byte, present once the file's bytes have been read (also when
    // the CRC then fails); absent when the check stopped earlier, so the held image is left alone.
    std::optional<QByteArray> FirmwareImage;
    // What the file box shows afterwards: the chosen path in upper case, or "???".
    QString shownText;
};

// Checks the file the person chose, in order: a name, ".wfu" in it, a model of the list in it, at
// most 48 KB, then the CRC. The first failing check shows its box (title "File Ststus") and ends it.
// The path is read as chosen (so a case-sensitive file system still finds it) and shown in upper
// case; `showText` (when given) receives each text for the file box at the moment it changes.
FirmwareFileCheck validateFirmwareFile(const QString& chosenPath, Dialogs& dialogs,
                                       const std::function<void(const QString&)>& showText = {});

// The name part of a path: what follows the last separator of this platform ("/" and "\" on
// Windows, "/" elsewhere).
QString lastPathComponent(const QString& path);
