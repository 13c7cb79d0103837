#pragma once

#include "core/offered_name.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <array>
#include <optional>

// The six settings of the General page as the display stores them: one byte each, the code the
// vocabulary (operations/parameter_vocabulary.h) gives the name the person chose. 255 is "not set",
// the value of an erased flash byte, and also what a name the vocabulary does not know gives.
// The defaults are the codes of the names "Set to Default" picks (generalSettings()).
struct GeneralParameters
{
    quint8 baudRate = 1;             // "9600"
    quint8 dataFormat = 0;           // "N,8,1"
    quint8 commandSet = 1;           // "EPSON"
    quint8 codePage = 255;           // "Europe": the display keeps its own code page
    quint8 internationalCharset = 0; // "USA"
    quint8 brightness = 0;           // "100%"

    friend bool operator==(const GeneralParameters&, const GeneralParameters&) = default;
};

// One list of the General page: the names it offers, the name "Set to Default" picks, the one
// mapping from a name to its code, and the field the code goes to.
struct GeneralSetting
{
    const QStringList& (*items)();
    const char* defaultName;
    int (*code)(const QString& name);
    quint8 GeneralParameters::*field;

    // The code of a name as text came in (typed texts the list does not offer give 255).
    quint8 codeOf(const QString& name) const { return static_cast<quint8>(code(name)); }
    // The name the list offers for what a person typed (an option, a profile's value), as the list
    // spells it; nothing when it offers none.
    std::optional<QString> itemNamed(const QString& typed) const { return offeredName(items(), typed); }
};

// The six settings in the page's order: baud rate, data format, command set, code page,
// international character set, brightness.
const std::array<GeneralSetting, 6>& generalSettings();

// The codes of six names given in the page's order; where the names come in as text (a bench, a test).
GeneralParameters generalParametersNamed(const QStringList& names);
