#include "core/port_name.h"

#include <QRegularExpression>

bool isSimulatedPort(const QString& portText)
{
    static const QRegularExpression kNamedSimulation(QStringLiteral("^sim:[A-Za-z0-9_-]+$"));
    return portText == kSimulatedPortName || kNamedSimulation.match(portText).hasMatch();
}

bool isComPortText(const QString& portText)
{
    return portText.startsWith(QLatin1String("COM"));
}

std::optional<int> comPortNumber(const QString& portText)
{
    QString digits = portText;
    digits.replace(QLatin1String("COM"), QLatin1String("0"));
    bool ok = false;
    const int number = digits.toInt(&ok, 10);
    if (!ok || number < 1 || digits.startsWith(QLatin1Char('+')) || digits.startsWith(QLatin1Char('-')))
        return std::nullopt;
    return number;
}

std::optional<QString> systemPortName(const QString& portText)
{
    if (!isComPortText(portText))
        return portText;
    const std::optional<int> number = comPortNumber(portText);
    if (!number)
        return std::nullopt;
#ifdef Q_OS_WIN
    return QStringLiteral("\\\\.\\COM%1").arg(*number);
#else
    return QStringLiteral("/dev/ttyS%1").arg(*number - 1);
#endif
}

std::optional<int> comPortOpening(const QString& systemName, int highest)
{
    for (int n = 1; n <= highest; ++n)
        if (systemPortName(QStringLiteral("COM%1").arg(n)) == systemName)
            return n;
    return std::nullopt;
}
