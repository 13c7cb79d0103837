#include "emu/terminal_settings.h"

#include <termios.h>
#include <utility>

namespace {

constexpr std::pair<speed_t, qint32> kSpeeds[] = {
    {B50, 50},         {B75, 75},         {B110, 110},       {B134, 134},     {B150, 150},
    {B200, 200},       {B300, 300},       {B600, 600},       {B1200, 1200},   {B1800, 1800},
    {B2400, 2400},     {B4800, 4800},     {B9600, 9600},     {B19200, 19200}, {B38400, 38400},
    {B57600, 57600},   {B115200, 115200}, {B230400, 230400},
#ifdef B460800
    {B460800, 460800}, {B921600, 921600},
#endif
};

} // namespace

std::optional<LineSettings> terminalSettings(int fd)
{
    termios mode{};
    if (tcgetattr(fd, &mode) != 0)
        return std::nullopt;
    LineSettings line;
    line.baud = 0;
    for (const auto& [code, baud] : kSpeeds) {
        if (cfgetospeed(&mode) == code)
            line.baud = baud;
    }
    switch (mode.c_cflag & CSIZE) {
    case CS5:
        line.dataBits = 5;
        break;
    case CS6:
        line.dataBits = 6;
        break;
    case CS7:
        line.dataBits = 7;
        break;
    default:
        line.dataBits = 8;
        break;
    }
    using Parity = LineSettings::Parity;
    const bool odd = (mode.c_cflag & PARODD) != 0;
    line.parity = (mode.c_cflag & PARENB) == 0 ? Parity::None : odd ? Parity::Odd : Parity::Even;
#ifdef CMSPAR
    if ((mode.c_cflag & PARENB) != 0 && (mode.c_cflag & CMSPAR) != 0)
        line.parity = odd ? Parity::Mark : Parity::Space;
#endif
    line.stopBits = (mode.c_cflag & CSTOPB) != 0 ? LineSettings::StopBits::Two : LineSettings::StopBits::One;
    return line;
}

bool setRawTerminal(int fd, const LineSettings& settings)
{
    termios mode{};
    if (tcgetattr(fd, &mode) != 0)
        return false;
    cfmakeraw(&mode);
    speed_t speed = B9600;
    for (const auto& [code, baud] : kSpeeds) {
        if (baud == settings.baud)
            speed = code;
    }
    cfsetispeed(&mode, speed);
    cfsetospeed(&mode, speed);
    static constexpr tcflag_t kSizes[] = {CS5, CS6, CS7, CS8};
    mode.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB);
#ifdef CMSPAR
    mode.c_cflag &= ~CMSPAR;
#endif
    mode.c_cflag |= kSizes[qBound(5, settings.dataBits, 8) - 5] | CLOCAL | CREAD;
    using Parity = LineSettings::Parity;
    if (settings.parity != Parity::None)
        mode.c_cflag |= PARENB;
    if (settings.parity == Parity::Odd || settings.parity == Parity::Mark)
        mode.c_cflag |= PARODD;
#ifdef CMSPAR
    if (settings.parity == Parity::Mark || settings.parity == Parity::Space)
        mode.c_cflag |= CMSPAR;
#endif
    if (settings.stopBits != LineSettings::StopBits::One)
        mode.c_cflag |= CSTOPB;
    return tcsetattr(fd, TCSANOW, &mode) == 0;
}
