#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The names the General page shows and the one-byte codes the display stores for them. Every
// mapping compares exactly (case-sensitive, no trimming): what a person types is matched to a name of
// its list where it comes in (GeneralSetting::itemNamed). A name it does not know gives 255, which is
// also the code of "not set" (an erased flash byte).

int baudRateCode(const QString& name);
int formatCode(const QString& name);
int commandSetCode(const QString& name);
int codePageCode(const QString& name);
int charsetCode(const QString& name);
int brightnessCode(const QString& name);
int customerIdCode(const QString& name);
int commandTableGroup(const QString& name);
int fontTableGroup(const QString& name);
int baudRateTableGroup(const QString& name);
int dataFormatTableGroup(const QString& name);

// The items of the lists, in the order they are offered.
const QStringList& baudRateItems();
const QStringList& comFormatItems();
const QStringList& commandItems();
const QStringList& codePageItems();
const QStringList& internationalCharItems();
const QStringList& brightnessItems();

// The names that a code stands for (the reverse mapping), for showing what a display holds.
QString baudRateName(int code);
QString comFormatName(int code);
QString commandName(int code);
QString codePageName(int code);
QString internationalCharName(int code);
QString brightnessName(int code);

// The text encoding (a name Qt's converters know) that writes the characters a display with this code
// page shows, byte for byte: "IBM866" for Russian, "Shift_JIS" for Katakana (its single bytes
// 0xA1..0xDF are the half-width katakana), ...; empty for a code page that has none here.
QByteArray codePageEncoding(int code);
