#pragma once

#include <QIODevice>
#include <QMutex>
#include <QStringList>
#include <QTextStream>

// Where the ports of a run with several ports print. Piped, every line goes out at once, prefixed
// with its port. On a terminal, each port has one live line (its latest output: the step, the
// firmware's progress and time left), rewritten in place; failure lines go out at once, prefixed,
// above the block.
class FleetConsole
{
public:
    // Each live line starts with `step`, the command as given.
    FleetConsole(const QStringList& ports, const QString& step, QTextStream& out, QTextStream& err,
                 bool terminal);

    // A piece of one port's output: a whole line, or (`complete` false) the start of a line so far,
    // which only the live line shows.
    void print(int port, bool error, const QString& line, bool complete = true);

private:
    void redrawLocked();

    QMutex mutex_;
    QStringList ports_;
    QTextStream& out_;
    QTextStream& err_;
    bool terminal_;
    int width_ = 0; // of the widest port name
    QStringList live_;
    bool drawn_ = false;
};

// The device behind one port's output stream: hands what the port writes to the console, one
// line at a time (a line ends at a line feed or, for a line rewritten in place, a carriage return).
class PortOutputDevice : public QIODevice
{
public:
    PortOutputDevice(FleetConsole& console, int port, bool error);

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override;

private:
    FleetConsole& console_;
    int port_;
    bool error_;
    QByteArray pending_;
};
