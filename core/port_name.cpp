#include "core/port_name.h"

bool IsSimulatedPort(const QString& portText)
{
    return portText == kSimulatedPortName;
}

bool IsComPortText(const QString& portText)
{
    return portText.startsWith(QLatin1String("COM"));
}

std::optional<int> ComPortNumber(const QString& portText)
{
    QString digits = portText;
    digits.replace(QLatin1String("COM"), QLatin1String("0"));
    bool ok = false;
    const int number = digits.toInt(&ok, 10);
    if (!ok || number < 1 || digits.startsWith(QLatin1Char('+')) || digits.startsWith(QLatin1Char('-')))
        return std::nullopt;
    return number;
}

std::optional<QString> SystemPortName(const QString& portText)
{
    if (!IsComPortText(portText))
        return portText;
    const std::optional<int> number = ComPortNumber(portText);
    if (!number)
        return std::nullopt;
#ifdef Q_OS_WIN
    return QStringLiteral("\\\\.\\COM%1").arg(*number);
#else
    return QStringLiteral("/dev/ttyS%1").arg(*number - 1);
#endif
}
