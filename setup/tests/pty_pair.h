// A pseudo-terminal pair for the tests of the real port link: the link opens the slave by its path,
// the test plays the display on the master side.
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>
#ifdef Q_OS_MACOS
#include <util.h>
#else
#include <pty.h>
#endif

// The slave descriptor stays open for the whole test: its line settings are what the link set
// (termios belongs to the terminal), and the pair does not hang up between two opens of the link.
class PtyPair
{
public:
    PtyPair()
    {
        char name[256] = {};
        if (::openpty(&master_, &slave_, name, nullptr, nullptr) != 0)
            return;
        path_ = QString::fromLocal8Bit(name);
        // The far side takes bytes as they come; the slave is left cooked, so the link must make it raw.
        termios raw{};
        ::tcgetattr(master_, &raw);
        ::cfmakeraw(&raw);
        ::tcsetattr(master_, TCSANOW, &raw);
        ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    }
    ~PtyPair()
    {
        closeMaster();
        if (slave_ >= 0)
            ::close(slave_);
    }
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool ok() const { return master_ >= 0 && !path_.isEmpty(); }
    const QString& path() const { return path_; }

    // What arrives until `count` bytes have come or `timeoutMs` has passed. What has arrived is read
    // whole: the far side of a tty is woken to write more only once it is drained.
    QByteArray read(qsizetype count, int timeoutMs = 2000)
    {
        QByteArray got;
        QElapsedTimer timer;
        timer.start();
        do {
            pollfd fd{master_, POLLIN, 0};
            if (::poll(&fd, 1, 10) <= 0 || !(fd.revents & POLLIN))
                continue;
            char buffer[4096];
            ssize_t n = 0;
            while ((n = ::read(master_, buffer, sizeof buffer)) > 0)
                got.append(buffer, n);
        } while (got.size() < count && timer.elapsed() < timeoutMs);
        return got;
    }
    termios lineSettings() const
    {
        termios t{};
        ::tcgetattr(slave_, &t);
        return t;
    }
    // The display goes away: writes to the slave fail from now on.
    void closeMaster()
    {
        if (master_ >= 0)
            ::close(master_);
        master_ = -1;
    }

private:
    int master_ = -1;
    int slave_ = -1;
    QString path_;
};
