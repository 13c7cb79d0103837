#pragma once

#include "protocol/outcome.h"

#include <QByteArray>
#include <QString>

struct DisplayAccess;

// The texts of the General page's lists, as the person chose them.
struct GeneralParameters
{
    QString baudRate = QStringLiteral("9600");
    QString dataFormat = QStringLiteral("N,8,1");
    QString commandSet = QStringLiteral("EPSON");
    QString codePage = QStringLiteral("Europe");
    QString internationalCharset = QStringLiteral("USA");
    QString brightness = QStringLiteral("100%");
};

// The 64-byte general parameter record: signature, 20 45, the codes, fixed texts, 0xFF fill.
QByteArray GeneralParameterRecord(const GeneralParameters& parameters);

// Writes the record into the display ("FN" with CRC, length 0x40 and the record) and restarts it.
Outcome WriteGeneralParameters(DisplayAccess& access, const GeneralParameters& parameters);
// Erases the record ("FN" with four zero bytes) and restarts the display.
Outcome EraseGeneralParameters(DisplayAccess& access);
