#pragma once

#include "demo_clock.h"
#include "demo_context.h"
#include "demo_dialogs.h"
#include "navigator.h"
#include "serial_port.h"

#include <QList>
#include <QStringList>
#include <deque>
#include <functional>

#include <QAbstractButton>

// One record of everything that reaches the line and the clock, in order:
// "open COM3 9600,n,8,1", "write 1F 58 02", "pause 5000", "close".
using WireLog = QStringList;

// How the recording port behaves: every port it makes logs into the same record.
struct FakeLine
{
    WireLog* log = nullptr;
    std::optional<PortError> openFailure;
    int failWriteNumber = 0; // the n-th write (counted over the run) fails; 0 never
    // The adapter is pulled out just before the n-th write (counted over the run); 0 never. The handle
    // stays open, as the system's does, but that write and every later one fail.
    int vanishBeforeWrite = 0;
    QStringList gonePorts; // ports pulled out: they cannot be opened, and writes to them fail
    int writes = 0;
    int openPorts = 0;
};

class FakeSerialPort : public SerialPort
{
public:
    explicit FakeSerialPort(FakeLine& line) : line_(line) {}
    ~FakeSerialPort() override;
    bool open(const QString& portText, const QString& settings) override;
    bool write(const QByteArray& bytes) override;
    void close() override;
    bool isOpen() const override { return open_; }
    PortError error() const override { return error_; }

private:
    FakeLine& line_;
    QString portText_;
    bool open_ = false;
    PortError error_;
};

// A clock that takes no real time: pauses are logged and move the time of day on.
class FakeClock : public DemoClock
{
public:
    explicit FakeClock(WireLog& log) : log_(log) {}
    void pause(int ms) override;
    QTime currentTime() const override { return now; }

    QTime now = QTime(9, 5, 7);
    std::function<void()> duringPause; // runs inside every pause, to look at the window then

private:
    WireLog& log_;
};

// Answers prompts from a script (nothing for Cancel) and records what was shown.
class ScriptedDialogs : public DemoDialogs
{
public:
    struct Prompt
    {
        QString prompt, title, defaultReply;
        int writesBefore = 0; // the line's writes (counted over the run) when the prompt came up
    };
    struct Message
    {
        Icon icon;
        QString title, text;
    };

    std::optional<QString> askText(QWidget* parent, const QString& prompt, const QString& title,
                                   const QString& defaultReply) override;
    void showMessage(QWidget* parent, Icon icon, const QString& title, const QString& text) override;

    const FakeLine* line = nullptr; // the line whose writes each prompt notes
    std::deque<std::optional<QString>> replies;
    QList<Prompt> prompts;
    QList<Message> messages;
};

// A whole vfddemo run on the recording port, the fake clock and the scripted dialogs.
class DemoHarness
{
public:
    DemoHarness();
    ~DemoHarness();

    QWidget* current() const { return navigator.current(); }
    template <class Window> Window* currentAs() const { return qobject_cast<Window*>(current()); }
    QString currentTitle() const;

    // Clicks the named control of the window shown now, as the person would.
    void click(const QString& objectName);
    QAbstractButton* button(const QString& objectName) const;
    // Only the writes of the record, as hexadecimal.
    QStringList writes() const;
    // The writes, as hexadecimal, and the pauses ("pause 5000") of the record, in order.
    QStringList traffic() const;
    void clearLog() { log.clear(); }

    // Walks from the launcher to a demonstration window on COM<port>.
    void reachEpson(int port = 1);
    void reachKd426(int port = 1);
    void reachKd138(int port = 1);

    WireLog log;
    FakeLine line;
    FakeClock clock{log};
    ScriptedDialogs dialogs;
    DemoContext context;
    Navigator navigator{context};
    int ended = 0;
};

// How many top-level windows are shown; vfddemo shows one at a time.
int VisibleWindows();

// "1F 58 02" from a byte string.
QString Hex(const QByteArray& bytes);
