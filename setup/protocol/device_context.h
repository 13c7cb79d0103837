#pragma once

#include "core/dialogs.h"
#include "core/line_settings.h"
#include "core/link_status.h"
#include "core/pacer.h"
#include "core/serial_link.h"

#include <QByteArray>
#include <QString>
#include <atomic>

// The port selection of the main window or of vfdctl's options, read by OpenDisplayPort.
struct PortSelection
{
    QString port = QStringLiteral("COM1");
    LineSettings line;
    // Why the settings the person gave do not parse; empty when they do. Opening then fails with it.
    QString lineRefusal;

    // Parses the speed ("9600") and the format ("N,8,1") as the person gave them, once.
    void setLine(const QString& baud, const QString& format)
    {
        const std::optional<LineSettings> parsed =
            LineSettings::parse(baud + QLatin1Char(',') + format, &lineRefusal);
        if (parsed) {
            line = *parsed;
            lineRefusal.clear();
        }
    }
};

// What a device operation works with: the port, time, the person, and the selection.
// Every byte of an operation goes out through send(), so that two rules hold in one place:
// once the person has closed the window (stop requested) nothing more is sent, and once a
// write has failed nothing more is sent and the failure is reported once.
class DeviceContext
{
public:
    DeviceContext(SerialLink& link, Pacer& pacer, Dialogs& dialogs, PortSelection selection = {},
                  const std::atomic_bool* stopRequested = nullptr)
        : link(link), pacer(pacer), dialogs(dialogs), selection(std::move(selection)), stop_(stopRequested)
    {
    }

    SerialLink& link;
    Pacer& pacer;
    Dialogs& dialogs;
    PortSelection selection;

    // Writes bytes unless the operation has been stopped or the link has failed. Returns
    // false when nothing (more) can be sent; a write failure is shown to the person once.
    bool send(const QByteArray& bytes);

    bool stopRequested() const { return stop_ && stop_->load(); }
    bool linkFailed() const { return !fault_.ok(); }
    // True when the operation must not go on: stopped or the link failed.
    bool halted() const { return stopRequested() || linkFailed(); }
    const LinkStatus& fault() const { return fault_; }

private:
    const std::atomic_bool* stop_;
    LinkStatus fault_;
};
