// A simulated VQ71xx display at the master end of a pseudo-terminal, for a program that opens the slave
// end as its serial port (the Windows vfdctl under Wine, with the prefix's com1 linked to the slave).
// A pseudo-terminal has no DSR: the display plays its line into a file that the fake_modem_lines
// library, preloaded into the program, answers the modem-line ioctls from.
//
// Usage: pty_display LINK_PATH LINE_FILE
// Makes LINK_PATH a symbolic link to the slave, runs until SIGTERM or SIGINT, then prints what the
// display received and holds: its acknowledgements, its title page and its screen.
#include "core/pacer.h"
#include "setup/sim/display_flash.h"
#include "setup/sim/simulated_display.h"
#include "setup/tests/fake_modem_lines.h"

#include <QCoreApplication>
#include <QFile>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/mman.h>
#include <termios.h>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t ending = 0;

void onStop(int)
{
    ending = 1;
}

// The file the preloaded library maps: DSR's level and its count of changes.
FakeModemLinesShared* mapLineFile(const char* path)
{
    const int fd = ::open(path, O_RDWR | O_CREAT | O_TRUNC, 0600);
    if (fd < 0 || ::ftruncate(fd, sizeof(FakeModemLinesShared)) != 0)
        return nullptr;
    void* map = ::mmap(nullptr, sizeof(FakeModemLinesShared), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    ::close(fd);
    return map == MAP_FAILED ? nullptr : new (map) FakeModemLinesShared{};
}

// The speed the program has set on its end (the terminal keeps it, though no bits cross at it).
qint32 programSpeed(int master)
{
    termios line = {};
    if (::tcgetattr(master, &line) != 0)
        return 0;
    switch (::cfgetospeed(&line)) {
    case B1200:
        return 1200;
    case B2400:
        return 2400;
    case B4800:
        return 4800;
    case B9600:
        return 9600;
    case B19200:
        return 19200;
    case B38400:
        return 38400;
    case B57600:
        return 57600;
    case B115200:
        return 115200;
    default:
        return 0;
    }
}

// Hands what the program wrote to the display, at the speed the program sends at, and plays the
// display's DSR onto the shared line, every millisecond, until a stop signal.
void serve(int master, SimulatedDisplay& display, FakeModemLinesShared& line)
{
    char buffer[4096];
    while (!ending) {
        pollfd ready = {master, POLLIN, 0};
        if (::poll(&ready, 1, 1) > 0 && (ready.revents & POLLIN)) {
            LineSettings settings = display.settings();
            settings.baud = programSpeed(master);
            if (settings.baud != 0 && settings.baud != display.settings().baud)
                display.setSettings(settings);
            const ssize_t got = ::read(master, buffer, sizeof buffer);
            if (got > 0)
                display.write(QByteArray(buffer, static_cast<int>(got)));
        }
        const int high = display.dsrLine() ? 1 : 0;
        if (high != line.dsrHigh.load()) {
            line.dsrHigh.store(high);
            line.dsrChanges.fetch_add(1);
        }
    }
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: pty_display LINK_PATH LINE_FILE\n");
        return 2;
    }
    int master = -1;
    int slave = -1;
    if (::openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) {
        std::perror("pty_display: openpty");
        return 1;
    }
    termios raw = {};
    ::tcgetattr(slave, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(slave, TCSANOW, &raw);
    FakeModemLinesShared* line = mapLineFile(argv[2]);
    QFile::remove(QString::fromLocal8Bit(argv[1]));
    if (!line || ::symlink(::ptsname(master), argv[1]) != 0) {
        std::perror("pty_display");
        return 1;
    }
    RealPacer pacer;
    SimulatedDisplay display(pacer);
    display.open();
    line->dsrHigh.store(display.dsrLine() ? 1 : 0);
    std::signal(SIGTERM, onStop);
    std::signal(SIGINT, onStop);
    std::printf("%s\n", ::ptsname(master));
    std::fflush(stdout);
    serve(master, display, *line);
    std::printf("acknowledgements %d\n", display.acknowledgements());
    for (const QString& row : display.screen())
        std::printf("screen |%s|\n", qPrintable(row));
    std::printf("title block %s\n", display.flash().titleBlock.toHex().constData());
    ::unlink(argv[1]);
    return 0;
}
