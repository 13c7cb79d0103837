#include "operations/firmware_file.h"

#include "core/dialogs.h"
#include "protocol/crc16.h"
#include "protocol/file_helpers.h"

#include <QFileInfo>

namespace {

const QString kTitle = QStringLiteral("File Ststus");
const QString kOpenFileError = QStringLiteral("Open File Error !!");

} // namespace

QString lastPathComponent(const QString& path)
{
#ifdef Q_OS_WIN
    const qsizetype cut = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
#else
    const qsizetype cut = path.lastIndexOf(QLatin1Char('/'));
#endif
    return path.mid(cut + 1);
}

FirmwareFileCheck validateFirmwareFile(const QString& chosenPath, Dialogs& dialogs,
                                       const std::function<void(const QString&)>& showText)
{
    FirmwareFileCheck check;
    const auto show = [&](const QString& text) {
        check.shownText = text;
        if (showText)
            showText(text);
    };
    const auto refuse = [&](const QString& message) {
        dialogs.message(Dialogs::Critical, kTitle, message);
        return check;
    };

    show(chosenPath.toUpper());
    const QString name = lastPathComponent(chosenPath).toLower().trimmed();
    if (name.isEmpty())
        return refuse(QStringLiteral("No File Select, Please Try Again !!"));
    if (!name.contains(QLatin1String(".wfu"))) {
        refuse(QStringLiteral("File Extension Name Error, Please Try Again !!"));
        show(QStringLiteral("???"));
        return check;
    }
    bool knownModel = false;
    for (const QString& model : kFirmwareModels.toLower().split(QLatin1Char(','))) {
        if (name.contains(model.trimmed())) {
            knownModel = true;
            break;
        }
    }
    if (!knownModel) {
        refuse(QStringLiteral("File Type Error, Please Try Again !!"));
        show(QStringLiteral("???"));
        return check;
    }

    // A folder, or a file that has gone since it was chosen, cannot be read.
    if (!fileExists(chosenPath) || QFileInfo(chosenPath).isDir())
        return refuse(kOpenFileError);
    const qint64 length = fileLength(chosenPath);
    if (length > kFirmwareFileLimit)
        return refuse(QStringLiteral("File Size over 48K, Please Try Again !!"));
    // Fewer than three bytes hold no image: nothing that could be sent.
    if (length < 3)
        return refuse(kOpenFileError);

    const std::optional<QByteArray> image = readFileBytes(chosenPath, 1, length - 2);
    if (!image || image->size() != length - 2)
        return refuse(kOpenFileError);
    check.FirmwareImage = *image + QByteArray(1, '\0');
    const quint16 computed = crc16Value(*check.FirmwareImage);

    // Read apart from the image, as the file is now: it may have changed meanwhile.
    const std::optional<QByteArray> stored = readFileBytes(chosenPath, length - 1, 2);
    if (!stored || stored->size() != 2)
        return refuse(kOpenFileError);
    const quint16 storedValue =
        static_cast<quint16>(static_cast<quint8>(stored->at(0)) << 8 | static_cast<quint8>(stored->at(1)));
    if (storedValue != computed)
        return refuse(QStringLiteral("File CRC16 Check-Sum Error !!"));

    check.FirmwareFileValid = true;
    return check;
}
