#include "setup/gui/display_flash_view.h"

#include "setup/operations/parameter_vocabulary.h"
#include "setup/protocol/crc16.h"
#include "setup/sim/display_code_page.h"

namespace {

// Offsets of the codes in the 64-byte general record.
constexpr int kCommandAt = 7;
constexpr int kCharsetAt = 8;
constexpr int kCodePageAt = 9;
constexpr int kBaudAt = 10;
constexpr int kFormatAt = 11;
constexpr int kBrightnessAt = 12;

int storedCode(const QByteArray& record, int offset)
{
    return static_cast<quint8>(record.at(offset));
}

QString sizeAndCrc(const QByteArray& bytes)
{
    const QString crc = QString::number(crc16Value(bytes), 16).toUpper().rightJustified(4, QLatin1Char('0'));
    return QStringLiteral("%1 bytes, CRC %2").arg(bytes.size()).arg(crc);
}

} // namespace

int storedCodePage(const DisplayFlash& flash)
{
    return isGeneralRecord(flash.generalRecord) ? storedCode(flash.generalRecord, kCodePageAt)
                                                : DisplayCodePage::NotSet;
}

int storedBrightnessPercent(const DisplayFlash& flash)
{
    if (!isGeneralRecord(flash.generalRecord))
        return 100;
    switch (storedCode(flash.generalRecord, kBrightnessAt)) {
    case 3:
        return 75;
    case 2:
        return 50;
    case 1:
        return 25;
    default:
        return 100;
    }
}

DisplayFlashView describeDisplayFlash(const DisplayFlash& flash, int liveBalance)
{
    DisplayFlashView view;
    const QByteArray& record = flash.generalRecord;
    if (isGeneralRecord(record)) {
        view.general = QStringLiteral("stored");
        view.baudRate = baudRateName(storedCode(record, kBaudAt));
        view.dataFormat = comFormatName(storedCode(record, kFormatAt));
        view.commandSet = commandName(storedCode(record, kCommandAt));
        view.codePage = codePageName(storedCode(record, kCodePageAt));
        view.internationalCharset = internationalCharName(storedCode(record, kCharsetAt));
        view.brightness = brightnessName(storedCode(record, kBrightnessAt));
    } else {
        view.general =
            QStringLiteral("erased: the display runs at %1").arg(displayLineSettings(flash).toText());
        const QString erased = QStringLiteral("(erased)");
        view.baudRate = view.dataFormat = view.commandSet = view.codePage = view.internationalCharset =
            view.brightness = erased;
    }

    if (isTitleBlock(flash.titleBlock)) {
        // The lines as the display draws them, in its own code page.
        const DisplayCodePage codePage(storedCodePage(flash));
        view.titlePage =
            QStringLiteral("\"%1\" / \"%2\"")
                .arg(codePage.text(flash.titleBlock.mid(7, 20)), codePage.text(flash.titleBlock.mid(27, 20)));
    } else {
        view.titlePage = QStringLiteral("(erased): the display shows its own lines");
    }

    view.demo =
        flash.demo.isEmpty()
            ? QStringLiteral("(erased)")
            : QStringLiteral("%1, %2 pages announced").arg(sizeAndCrc(flash.demo)).arg(flash.demoPages);
    view.firmware = flash.firmware.isEmpty() ? QStringLiteral("factory image") : sizeAndCrc(flash.firmware);
    view.balance = liveBalance == flash.balance
                       ? QString::number(flash.balance)
                       : QStringLiteral("%1 (in use %2)").arg(flash.balance).arg(liveBalance);
    return view;
}
