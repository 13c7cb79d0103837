#pragma once

#include "core/line_settings.h"

#include <QByteArray>

// What a receiver set to `heard` makes of `bytes` sent back to back at `sent`: the line is rebuilt bit by
// bit (start bit, data bits from the lowest, parity, stop bits) and sampled as a UART samples it, in the
// middle of each of its own bits, from every fall of the line. At another speed or format this is the
// garbage a real display shows. Parity and framing errors keep the byte, as the displays do; a speed
// that is not known gives nothing.
QByteArray resampleLine(const QByteArray& bytes, const LineSettings& sent, const LineSettings& heard);
