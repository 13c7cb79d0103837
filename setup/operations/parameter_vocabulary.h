#pragma once

#include <QString>
#include <QStringList>

// The names the General page shows and the one-byte codes the display stores for them. Every
// mapping compares exactly (case-sensitive, no trimming); a name it does not know gives 255, which
// is also the code of "not set" (an erased flash byte).

int ChkBaudRateSelect(const QString& name);
int ChkComFormatSelect(const QString& name);
int ChkCommandSelect(const QString& name);
int ChkCodePageSelect(const QString& name);
int ChkInternationalCharSelect(const QString& name);
int ChkBrightnessSelect(const QString& name);
int ChkCustimerID(const QString& name);
int ChkCommandTableGroup(const QString& name);
int ChkFontTableGroup(const QString& name);
int ChkBaudRateTableGroup(const QString& name);
int ChkDataFormatTableGroup(const QString& name);

// The items of the lists, in the order they are offered.
const QStringList& BaudRateItems();
const QStringList& ComFormatItems();
const QStringList& CommandItems();
const QStringList& CodePageItems();
const QStringList& InternationalCharItems();
const QStringList& BrightnessItems();

// The names that a code stands for (the reverse mapping), for showing what a display holds.
QString BaudRateName(int code);
QString ComFormatName(int code);
QString CommandName(int code);
QString CodePageName(int code);
QString InternationalCharName(int code);
QString BrightnessName(int code);
