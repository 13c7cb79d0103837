#pragma once

#include "setup/operations/general_parameters.h"
#include "setup/protocol/outcome.h"

#include <QByteArray>

struct DisplayAccess;

// The 64-byte general parameter record: signature, 20 45, the codes, fixed texts, 0xFF fill.
QByteArray generalParameterRecord(const GeneralParameters& parameters);

// Writes the record into the display ("FN" with CRC, length 0x40 and the record) and restarts it.
Outcome writeGeneralParameters(DisplayAccess& access, const GeneralParameters& parameters);
// Erases the record ("FN" with four zero bytes) and restarts the display.
Outcome eraseGeneralParameters(DisplayAccess& access);
