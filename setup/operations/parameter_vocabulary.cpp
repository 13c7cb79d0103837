#include "setup/operations/parameter_vocabulary.h"

#include <QHash>
#include <QList>
#include <utility>

namespace {

using Table = QList<std::pair<const char*, int>>;

int lookup(const Table& table, const QString& name)
{
    for (const auto& [known, code] : table)
        if (name == QLatin1String(known))
            return code;
    return 255;
}

QString reverse(const Table& table, int code)
{
    for (const auto& [known, c] : table)
        if (c == code)
            return QString::fromLatin1(known);
    return code == 255 ? QStringLiteral("(not set)") : QStringLiteral("code %1").arg(code);
}

const Table kBaudRates = {{"4800", 0}, {"9600", 1}, {"19200", 2}, {"38400", 3}, {"115200", 4}};
const Table kFormats = {{"N,8,1", 0}, {"E,8,1", 1}, {"O,8,1", 2}, {"N,7,1", 3}, {"E,7,1", 4}, {"O,7,1", 5}};
const Table kCommands = {{"DSP800", 0}, {"EPSON", 1},  {"ICD2002", 2}, {"ADM787", 3},
                         {"ADM788", 4}, {"EMAX", 5},   {"UTCP", 6},    {"UTCS", 7},
                         {"CD5220", 8}, {"PD3000", 9}, {"BA63", 10}};
const Table kCodePages = {{"PC437", 0},  {"Katakana", 1}, {"PC850", 2},    {"PC860", 3},
                          {"PC863", 4},  {"PC865", 5},    {"Slavonic", 6}, {"Russian", 7},
                          {"Greek", 12}, {"WPC1252", 16}, {"PC858", 19},   {"WPC1257", 65}};
const Table kCharsets = {{"USA", 0},      {"Franch", 1}, {"Germany", 2},  {"UK", 3},
                         {"Denmark1", 4}, {"Sweden", 5}, {"Itlay", 6},    {"Spain", 7},
                         {"Japan", 8},    {"Norway", 9}, {"Denmark2", 10}};
const Table kBrightness = {{"25%", 1}, {"50%", 2}, {"75%", 3}, {"100%", 0}};
const Table kCustomers = {{"None", 255}, {"Kestrel", 1}};
// "Off" is stored as 255, the value of an erased flash byte; only the alternative has a code.
const Table kTableGroup = {{"0", 255}, {"1", 1}};

} // namespace

int baudRateCode(const QString& name)
{
    return lookup(kBaudRates, name);
}
int formatCode(const QString& name)
{
    return lookup(kFormats, name);
}
int commandSetCode(const QString& name)
{
    return lookup(kCommands, name);
}
int codePageCode(const QString& name)
{
    return lookup(kCodePages, name);
}
int charsetCode(const QString& name)
{
    return lookup(kCharsets, name);
}
int brightnessCode(const QString& name)
{
    return lookup(kBrightness, name);
}
int customerIdCode(const QString& name)
{
    return lookup(kCustomers, name);
}
int commandTableGroup(const QString& name)
{
    return lookup(kTableGroup, name);
}
int fontTableGroup(const QString& name)
{
    return lookup(kTableGroup, name);
}
int baudRateTableGroup(const QString& name)
{
    return lookup(kTableGroup, name);
}
int dataFormatTableGroup(const QString& name)
{
    return lookup(kTableGroup, name);
}

const QStringList& baudRateItems()
{
    static const QStringList kItems = {"4800", "9600", "19200", "38400", "115200"};
    return kItems;
}
const QStringList& comFormatItems()
{
    static const QStringList kItems = {"N,8,1", "E,8,1", "O,8,1", "N,7,1", "E,7,1", "O,7,1"};
    return kItems;
}
const QStringList& commandItems()
{
    static const QStringList kItems = {"EPSON",  "CD5220", "DSP800", "EMAX", "ADM788",
                                       "PD3000", "UTCP",   "UTCS",   "BA63"};
    return kItems;
}
const QStringList& codePageItems()
{
    static const QStringList kItems = {"Europe",   "Katakana", "PC850", "PC860",   "PC863",   "PC865",
                                       "Slavonic", "Russian",  "Greek", "WPC1257", "WPC1252", "PC858"};
    return kItems;
}
const QStringList& internationalCharItems()
{
    static const QStringList kItems = {"USA",   "Franch", "Germany", "UK",     "Denmark1", "Sweden",
                                       "Itlay", "Spain",  "Japan",   "Norway", "Denmark2"};
    return kItems;
}
const QStringList& brightnessItems()
{
    static const QStringList kItems = {"100%", "75%", "50%", "25%"};
    return kItems;
}

QString baudRateName(int code)
{
    return reverse(kBaudRates, code);
}
QString comFormatName(int code)
{
    return reverse(kFormats, code);
}
QString commandName(int code)
{
    return reverse(kCommands, code);
}
QString codePageName(int code)
{
    return reverse(kCodePages, code);
}
QString internationalCharName(int code)
{
    return reverse(kCharsets, code);
}
QString brightnessName(int code)
{
    return reverse(kBrightness, code);
}

QByteArray codePageEncoding(int code)
{
    static const QHash<QString, QByteArray> kEncodings = {
        {"PC437", "IBM437"},   {"Katakana", "Shift_JIS"},   {"PC850", "IBM850"},         {"PC860", "IBM860"},
        {"PC863", "IBM863"},   {"PC865", "IBM865"},         {"Russian", "IBM866"},       {"Greek", "IBM737"},
        {"PC858", "IBM00858"}, {"WPC1252", "windows-1252"}, {"WPC1257", "windows-1257"},
    };
    return kEncodings.value(codePageName(code));
}
