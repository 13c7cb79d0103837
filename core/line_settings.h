#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

// The line settings of a serial port: speed, parity, data bits and stop bits. Text such as
// "9600,N,8,1" is parsed once, where it comes in (a list, a command-line option, a profile); below
// that the settings travel as this value, and text is made from it only for the person and the trace.
struct LineSettings
{
    enum class Parity { None, Even, Odd, Mark, Space };
    enum class StopBits { One, OneAndHalf, Two };

    qint32 baud = 9600;
    Parity parity = Parity::None;
    int dataBits = 8; // 5 to 8
    StopBits stopBits = StopBits::One;

    // "baud,parity,data bits,stop bits"; blanks around a field are allowed and the parity letter may
    // be either case (core/offered_name.h). Nothing, with the reason in *reason when given, for any other
    // text.
    static std::optional<LineSettings> parse(const QString& text, QString* reason = nullptr);

    // "9600,N,8,1": the parity letter upper case, the stop bits as 1, 1.5 or 2.
    QString toText() const;

    bool operator==(const LineSettings&) const = default;
};
