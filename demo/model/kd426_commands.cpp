#include "demo/model/kd426_commands.h"

#include "demo/model/maker_lines.h"

#include <QTime>

namespace Kd426 {

namespace {

const QByteArray kAddressDisplay("\x1B\x3D\x32");
const QByteArray kAddressPrinter("\x1B\x3D\x31\x0D");
const QByteArray kClearDisplay("\x1F\x0D");
const QString kCompanyLine = QStringLiteral("TALVEX SYSTEM.,LTD");

// ESC q and the letter that names a line.
QByteArray lineCommand(char letter)
{
    return QByteArray("\x1B\x71") + letter;
}

Step bytes(const QByteArray& bytes)
{
    return {bytes, false, {}, {}};
}

Step text(const QString& text)
{
    return {{}, false, {}, text};
}

Step prompt(const QByteArray& command, const QString& defaultReply)
{
    return {command, true, defaultReply, {}};
}

QList<Step> timeLine(char letter, const QTime& timeOfDay)
{
    return {
        bytes(kAddressDisplay),
        bytes(lineCommand(letter) + timeOfDay.toString(QStringLiteral("HH:mm:ss")).toLatin1() + kLineEnd)};
}

// There is no ESC "=2" at its start: the next display button addresses the display again.
QList<Step> toPrinter()
{
    return {
        bytes(kAddressPrinter), bytes("\x1B\x21\x11"), text(QStringLiteral("WELCOME TO TALVEX SYSTEM.,LTD")),
        bytes("\x1B\x64\x01"),  bytes("\x1B\x21\x21"), text(makerTelephoneLine()),
        text(makerFaxLine()),   bytes("\x1B\x21\x11"), bytes("\x1B\x64\x05")};
}

QList<Step> modifyInitialDisplay()
{
    const QString initial = QStringLiteral("     TALVEX SYSTEM.,LTD");
    return {bytes(kAddressDisplay), bytes(kClearDisplay), prompt(lineCommand('E'), initial),
            prompt(lineCommand('F'), initial), bytes("\x1B\x73")};
}

} // namespace

QList<Step> buttonSteps(int number, const QTime& timeOfDay)
{
    switch (number) {
    case 1:
        return {bytes(kAddressDisplay), prompt(lineCommand('A'), kCompanyLine)};
    case 2:
    case 3:
    case 4:
        return {bytes(kAddressDisplay),
                prompt(lineCommand(static_cast<char>('A' + number - 1)), QStringLiteral("1"))};
    case 5:
        return {bytes(kAddressDisplay), bytes(kClearDisplay)};
    case 6:
        return {bytes(kAddressDisplay), bytes(kClearDisplay),
                prompt(lineCommand('E'), QStringLiteral(" TALVEX SYSTEM.,LTD "))};
    case 7:
        return {bytes(kAddressDisplay), bytes(kClearDisplay),
                prompt(lineCommand('F') + '\x0E', QStringLiteral("     KD-426"))};
    case 8:
        return toPrinter();
    case 9:
    case 10:
    case 11:
    case 12:
    case 13:
    case 14:
        return {bytes(kAddressDisplay),
                prompt(lineCommand(static_cast<char>('G' + number - 9)), kCompanyLine)};
    case 15:
        return modifyInitialDisplay();
    case 16:
        return timeLine('t', timeOfDay);
    case 17:
        return timeLine('T', timeOfDay);
    default:
        return {};
    }
}

} // namespace Kd426
