// The bench every device test stands on: the simulated display in virtual time, scripted dialogs that
// note where each box came among the writes, files in a throw-away folder, and the wire transcript
// that golden rows are compared with.
#pragma once

#include "core/pacer.h"
#include "setup/protocol/crc16.h"
#include "setup/protocol/display_access.h"
#include "setup/sim/simulated_display.h"
#include "setup/tests/scripted_dialogs.h"

#include <QFile>
#include <QTemporaryDir>
#include <atomic>
#include <functional>

// A write as it reads in a transcript: a run of one byte as "02*20", printable text in quotes (after
// a leading control byte in hex: "0C '** Flash ...'"), up to 64 bytes in hex, longer as length and CRC.
inline QString wireBytes(const QByteArray& bytes)
{
    if (bytes.size() > 3 && bytes.count(bytes.at(0)) == bytes.size())
        return QStringLiteral("%1*%2").arg(QString(bytes.left(1).toHex().toUpper())).arg(bytes.size());
    const qsizetype lead = !bytes.isEmpty() && quint8(bytes.at(0)) < 0x20 ? 1 : 0;
    const bool text = bytes.size() - lead >= 4 && std::all_of(bytes.begin() + lead, bytes.end(), [](char c) {
                          return c >= 0x20 && c < 0x7F && c != '|';
                      });
    if (text)
        return QString(bytes.left(lead).toHex().toUpper() + (lead ? " '" : "'") + bytes.mid(lead) + "'");
    if (bytes.size() <= 64)
        return QString(bytes.toHex(' ').toUpper());
    return QStringLiteral("%1 bytes crc %2")
        .arg(bytes.size())
        .arg(crc16Value(bytes), 4, 16, QLatin1Char('0'));
}

inline QString boxText(const ScriptedDialogs::Shown& box)
{
    static const char* const kIcons[] = {"", "(x) ", "(!) ", "(i) "};
    QString text = QStringLiteral("box %1%2: %3").arg(QLatin1String(kIcons[box.icon]), box.title, box.text);
    text.replace(QLatin1String("\r\n"), QLatin1String(" / "));
    return box.detail.isEmpty() ? text : text + QStringLiteral(" (%1)").arg(box.detail);
}

// What crossed the wire, joined by " | ": the line settings whenever they change, each write with the
// milliseconds since the one before or since time 0 ("+241 "), each box where it came, and with `until` the
// milliseconds from the last write to then ("end +2").
inline QString transcript(const SimulatedDisplay& display, const ScriptedDialogs& dialogs, double until = -1)
{
    QStringList out;
    QList<ScriptedDialogs::Shown> boxes;
    for (const ScriptedDialogs::Shown& box : dialogs.shown())
        if (box.detail != QLatin1String("file") && box.detail != QLatin1String("input"))
            boxes << box;
    const QList<SimulatedDisplay::Write> writes = display.writes();
    QString settings;
    double last = 0;
    qsizetype next = 0;
    for (qsizetype i = 0; i <= writes.size(); ++i) {
        while (next < boxes.size() && boxes.at(next).at <= i)
            out << boxText(boxes.at(next++));
        if (i == writes.size())
            break;
        const SimulatedDisplay::Write& write = writes.at(i);
        if (write.settings != settings)
            out << (settings = write.settings);
        const int gap = qRound((write.time - last) * 1000);
        out << (gap > 0 ? QStringLiteral("+%1 ").arg(gap) : QString()) + wireBytes(write.bytes);
        last = write.time;
    }
    if (until >= 0)
        out << QStringLiteral("end +%1").arg(qRound((until - last) * 1000));
    return out.join(QLatin1String(" | "));
}

// Writes `bytes` to `path`; false when the file cannot be written whole.
inline bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Virtual time on a busy host: from each stall's start (ms) the host is off the processor for its length,
// so the pass or sleep that reaches it ends only after it. The display's time runs on meanwhile.
class StallingPacer : public VirtualPacer
{
public:
    using VirtualPacer::VirtualPacer;
    QList<QPair<int, int>> stalls; // {from ms, for ms}
    void pump() override
    {
        VirtualPacer::pump();
        sitOutStall();
    }
    void sleep(int milliseconds) override
    {
        VirtualPacer::sleep(milliseconds);
        sitOutStall();
    }

private:
    void sitOutStall()
    {
        for (const auto& [from, length] : stalls)
            if (milliseconds() >= from && milliseconds() < from + length)
                VirtualPacer::sleep(int(from + length - milliseconds()));
    }
};

struct Bench
{
    explicit Bench(double startOfDay = 36000.0)
        : pacer(startOfDay), display(pacer), access(display, pacer, dialogs, {}, stop.token())
    {
        dialogs.sequence = [this] { return display.writes().size(); };
    }
    StallingPacer pacer;
    SimulatedDisplay display;
    ScriptedDialogs dialogs;
    StopSource stop;
    DisplayAccess access;
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
        if (!writeFile(path, bytes))
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }
    QString transcript(double until = -1) const { return ::transcript(display, dialogs, until); }
};

// A DEMO file of `length` bytes: the signature, then bytes that differ from block to block.
inline QByteArray demoBytes(qint64 length)
{
    QByteArray bytes(length, '\0');
    const QByteArray signature = QByteArray::fromHex("55AA5AA5");
    for (qint64 i = 0; i < length; ++i)
        bytes[i] = i < 4 ? signature.at(i) : static_cast<char>((i * 7 + i / 512) & 0xFF);
    return bytes;
}

// A recognisable firmware image of `size` bytes: neighbouring pages differ.
inline QByteArray imageBytes(qsizetype size)
{
    QByteArray bytes(size, '\0');
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
    return bytes;
}

// A .wfu file holding `image`: the image, then the CRC of image + 0x00, high byte first.
inline QByteArray wfuFile(const QByteArray& image)
{
    return image + crc16(image + QByteArray(1, '\0'));
}
