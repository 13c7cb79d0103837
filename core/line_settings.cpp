#include "core/line_settings.h"

#include "core/offered_name.h"
#include "core/quoted_value.h"

#include <QStringList>
#include <algorithm>

namespace {

bool allDigits(const QString& text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
}

} // namespace

std::optional<LineSettings> LineSettings::parse(const QString& text, QString* reason)
{
    const auto refuse = [&](const QString& why) -> std::optional<LineSettings> {
        if (reason)
            *reason = QStringLiteral("Invalid settings %1: %2").arg(quotedValue(text, u'"'), why);
        return std::nullopt;
    };
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4)
        return refuse(QStringLiteral("expected baud,parity,data bits,stop bits"));

    LineSettings line;
    const QString baud = parts[0].trimmed();
    bool ok = false;
    line.baud = baud.toInt(&ok);
    if (!allDigits(baud) || !ok || line.baud <= 0)
        return refuse(QStringLiteral("the baud rate must be a positive whole number"));

    static const QStringList kParities = {QStringLiteral("N"), QStringLiteral("E"), QStringLiteral("O"),
                                          QStringLiteral("M"), QStringLiteral("S")};
    const std::optional<QString> parity = offeredName(kParities, parts[1].trimmed());
    if (!parity)
        return refuse(QStringLiteral("the parity must be N, E, O, M or S"));
    line.parity = static_cast<Parity>(kParities.indexOf(*parity));

    const QString data = parts[2].trimmed();
    if (data.size() != 1 || data[0] < QLatin1Char('5') || data[0] > QLatin1Char('8'))
        return refuse(QStringLiteral("the data bits must be 5, 6, 7 or 8"));
    line.dataBits = data[0].unicode() - '0';

    const QString stop = parts[3].trimmed();
    if (stop == QLatin1String("1"))
        line.stopBits = StopBits::One;
    else if (stop == QLatin1String("1.5"))
        line.stopBits = StopBits::OneAndHalf;
    else if (stop == QLatin1String("2"))
        line.stopBits = StopBits::Two;
    else
        return refuse(QStringLiteral("the stop bits must be 1, 1.5 or 2"));
    return line;
}

QString LineSettings::toText() const
{
    static const char* const kParityLetters = "NEOMS";
    static const char* const kStopTexts[] = {"1", "1.5", "2"};
    return QStringLiteral("%1,%2,%3,%4")
        .arg(baud)
        .arg(QLatin1Char(kParityLetters[static_cast<int>(parity)]))
        .arg(dataBits)
        .arg(QLatin1String(kStopTexts[static_cast<int>(stopBits)]));
}
