#include "setup/sim/display_flash.h"

#include <iterator>

namespace {

// The rates and data formats (each with one stop bit) by the codes the general record stores.
constexpr qint32 kBaudRates[] = {4800, 9600, 19200, 38400, 115200};
struct DataFormat
{
    LineSettings::Parity parity;
    int dataBits;
};
constexpr DataFormat kFormats[] = {{LineSettings::Parity::None, 8}, {LineSettings::Parity::Even, 8},
                                   {LineSettings::Parity::Odd, 8},  {LineSettings::Parity::None, 7},
                                   {LineSettings::Parity::Even, 7}, {LineSettings::Parity::Odd, 7}};

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

LineSettings displayLineSettings(const DisplayFlash& flash)
{
    LineSettings line;
    if (isGeneralRecord(flash.generalRecord)) {
        const auto baudCode = static_cast<quint8>(flash.generalRecord.at(10));
        const auto formatCode = static_cast<quint8>(flash.generalRecord.at(11));
        if (baudCode < std::size(kBaudRates))
            line.baud = kBaudRates[baudCode];
        if (formatCode < std::size(kFormats)) {
            line.parity = kFormats[formatCode].parity;
            line.dataBits = kFormats[formatCode].dataBits;
        }
    }
    return line;
}

QStringList powerOnLines(const DisplayFlash& flash)
{
    if (!isTitleBlock(flash.titleBlock))
        return kOwnLines;
    return {QString::fromLatin1(flash.titleBlock.mid(7, 20)),
            QString::fromLatin1(flash.titleBlock.mid(27, 20))};
}
