#include "core/port_name.h"

#include <algorithm>

// Plain character checks, not a regular expression: this runs on the port's worker thread, where Qt's
// compiled matcher keeps a stack of its own for the thread. Freeing that stack at the thread's end faults
// in MinGW builds (its thread-local destructor runs after the thread's emulated TLS is gone), and the
// fault leaves a lock held that the program's exit then waits on for ever.
bool isSimulatedPort(const QString& portText)
{
    const QLatin1String prefix("sim:");
    if (portText == kSimulatedPortName)
        return true;
    if (!portText.startsWith(prefix) || portText.size() == prefix.size())
        return false;
    return std::all_of(portText.begin() + prefix.size(), portText.end(), [](QChar c) {
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
               c == u'_' || c == u'-';
    });
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
