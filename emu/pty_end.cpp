#include "emu/pty_end.h"

#include "emu/terminal_settings.h"

#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

PtyEnd::PtyEnd(const LineSettings& displaySettings, QObject* parent)
    : FarEnd(parent), displaySettings_(displaySettings)
{
}

PtyEnd::~PtyEnd()
{
    delete notifier_;
    if (slave_ >= 0)
        ::close(slave_);
    if (master_ >= 0)
        ::close(master_);
}

LinkStatus PtyEnd::open()
{
    const auto fail = [](const char* step) {
        return LinkStatus::failure(
            LinkFailure::OpenFailed,
            QStringLiteral("%1: %2").arg(QLatin1String(step), QString::fromLocal8Bit(std::strerror(errno))));
    };
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0)
        return fail("posix_openpt");
    if (grantpt(master_) != 0 || unlockpt(master_) != 0)
        return fail("grantpt");
    const char* slaveName = ptsname(master_);
    if (slaveName == nullptr)
        return fail("ptsname");
    path_ = QString::fromLocal8Bit(slaveName);
    slave_ = ::open(slaveName, O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (slave_ < 0)
        return fail("open");
    if (!setRawTerminal(slave_, displaySettings_))
        return fail("tcsetattr");
    // Linux keeps every pseudo-terminal at 8 data bits without parity, whatever is asked; only the speed
    // and the stop bits then tell a program's settings apart.
    const std::optional<LineSettings> kept = terminalSettings(slave_);
    carriesFormat_ =
        kept && kept->dataBits == displaySettings_.dataBits && kept->parity == displaySettings_.parity;
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
    notifier_ = new QSocketNotifier(master_, QSocketNotifier::Read);
    connect(notifier_, &QSocketNotifier::activated, this, &PtyEnd::readAvailable);
    retry_ = new QTimer(this);
    retry_->setInterval(50);
    retry_->setSingleShot(true);
    connect(retry_, &QTimer::timeout, this, [this] { notifier_->setEnabled(true); });
    return LinkStatus::success();
}

void PtyEnd::readAvailable()
{
    char buffer[4096];
    while (true) {
        const ssize_t got = ::read(master_, buffer, sizeof buffer);
        if (got > 0) {
            // The settings are read as the bytes are taken: the program sets them before it writes.
            LineSettings sentAt = terminalSettings(slave_).value_or(displaySettings_);
            if (!carriesFormat_) {
                sentAt.dataBits = displaySettings_.dataBits;
                sentAt.parity = displaySettings_.parity;
            }
            emit received(QByteArray(buffer, static_cast<qsizetype>(got)), sentAt);
            continue;
        }
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return;
        // A hang-up (EIO): no slave is open. The master would report it again at once, so wait a little
        // before looking again.
        notifier_->setEnabled(false);
        retry_->start();
        return;
    }
}
