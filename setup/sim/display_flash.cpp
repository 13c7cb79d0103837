#include "sim/display_flash.h"

namespace {
const QStringList kBaudRates = {"4800", "9600", "19200", "38400", "115200"};
const QStringList kFormats = {"N,8,1", "E,8,1", "O,8,1", "N,7,1", "E,7,1", "O,7,1"};
const QStringList kOwnLines = {"  Talvex  VQ-71xx   ", "  Customer Display  "};
} // namespace

bool isGeneralRecord(const QByteArray& record)
{
    return record.size() == 64 && record.startsWith(kBlockSignature);
}

bool isTitleBlock(const QByteArray& block)
{
    return block.size() == 47 && block.startsWith(kBlockSignature + QByteArray::fromHex("200003"));
}

QString displayLineSettings(const DisplayFlash& flash)
{
    QString baud = QStringLiteral("9600");
    QString format = QStringLiteral("N,8,1");
    if (isGeneralRecord(flash.generalRecord)) {
        const int baudCode = static_cast<quint8>(flash.generalRecord.at(10));
        const int formatCode = static_cast<quint8>(flash.generalRecord.at(11));
        if (baudCode < kBaudRates.size())
            baud = kBaudRates.at(baudCode);
        if (formatCode < kFormats.size())
            format = kFormats.at(formatCode);
    }
    return baud + QLatin1Char(',') + format;
}

QStringList powerOnLines(const DisplayFlash& flash)
{
    if (!isTitleBlock(flash.titleBlock))
        return kOwnLines;
    return {QString::fromLatin1(flash.titleBlock.mid(7, 20)),
            QString::fromLatin1(flash.titleBlock.mid(27, 20))};
}
