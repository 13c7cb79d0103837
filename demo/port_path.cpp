#include "port_path.h"

#include <QRegularExpression>

PortPlatform CurrentPortPlatform()
{
#ifdef Q_OS_WIN
    return PortPlatform::Windows;
#else
    return PortPlatform::Unix;
#endif
}

QString SystemPortPath(const QString& portText, PortPlatform platform)
{
    static const QRegularExpression com(QStringLiteral("^COM([1-9][0-9]*)$"),
                                        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = com.match(portText.trimmed());
    if (!match.hasMatch()) {
        return portText.trimmed();
    }
    const int number = match.captured(1).toInt();
    if (platform == PortPlatform::Windows) {
        return QStringLiteral("\\\\.\\COM%1").arg(number);
    }
    return QStringLiteral("/dev/ttyS%1").arg(number - 1);
}

QString ComPortText(int number)
{
    return QStringLiteral("COM%1").arg(number);
}
