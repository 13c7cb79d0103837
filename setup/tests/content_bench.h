// What the wait, title page, DEMO and balance tests share: an operation bench in virtual time against
// the simulated display, and files written into a temporary folder.
#pragma once

#include "protocol/display_access.h"
#include "scripted_dialogs.h"
#include "sim/simulated_display.h"

#include <QFile>
#include <QTemporaryDir>
#include <functional>

namespace content_test {

inline const QByteArray kSetupRequest(20, '\x02');
inline const QByteArray kNakLines = QByteArray("\x0C") + "Flash Write NAK  ???" + "Please Try Again ???";
inline const QByteArray kWriteOkLines = QByteArray("\x0C") + "** Flash Write OK **" + "**Display Restart **";
inline const QByteArray kRestart = QByteArray::fromHex("1F46521F4640");
inline const QString kWriteOkBox =
    QStringLiteral("Port Status: Flash Write OK !!\r\nDisplay will restart !!");

struct Bench
{
    explicit Bench(double startOfDay = 36000.0)
        : pacer(startOfDay), display(pacer), device(display, pacer, dialogs)
    {
    }
    VirtualPacer pacer;
    SimulatedDisplay display;
    ScriptedDialogs dialogs;
    DisplayAccess device;
    QTemporaryDir dir;

    void faults(const std::function<void(SimulatedDisplay::Faults&)>& change)
    {
        SimulatedDisplay::Faults f = display.faults();
        change(f);
        display.setFaults(f);
    }
    // Writes `bytes` to a file of the temporary folder and returns its path.
    QString file(const QString& name, const QByteArray& bytes) const
    {
        const QString path = dir.filePath(name);
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }
};

// A DEMO file of `length` bytes: the signature, then bytes that differ from block to block, so a
// block sent twice or out of order cannot pass for the right one.
inline QByteArray DemoBytes(qint64 length)
{
    QByteArray bytes(length, '\0');
    const QByteArray signature = QByteArray::fromHex("55AA5AA5");
    for (qint64 i = 0; i < length; ++i)
        bytes[i] = i < 4 ? signature.at(i) : static_cast<char>((i * 7 + i / 512) & 0xFF);
    return bytes;
}

} // namespace content_test
