#pragma once

#include "link/demo_context.h"
#include "link/port_worker.h"
#include "windows/navigator.h"

#include "core/dialogs.h"
#include "core/pacer.h"
#include "core/serial_link.h"

#include <QAbstractButton>
#include <QList>
#include <QMutex>
#include <QStringList>
#include <QWaitCondition>
#include <deque>
#include <functional>
#include <memory>
#include <optional>

// One record of everything that reaches the line and the pauses, in order:
// "open COM3 9600,n,8,1", "write 1F 58 02", "pause 5000", "close". Written on the port worker's
// thread; read once the worker is idle (DemoHarness::settle).
using WireLog = QStringList;

// How the recording port behaves.
struct FakeLine
{
    WireLog* log = nullptr;
    std::optional<LinkStatus> openFailure;     // how the system fails an open
    std::optional<LinkStatus> settingsFailure; // how the port refuses the line settings
    int failWriteNumber = 0;                   // the n-th write (counted over the run) fails; 0 never
    // The adapter is pulled out just before the n-th write (counted over the run); 0 never. The handle
    // stays open, as the system's does, but that write and every later one fail.
    int vanishBeforeWrite = 0;
    QStringList gonePorts; // ports pulled out: they cannot be opened, and writes to them fail
    int writes = 0;
    int openPorts = 0;
};

// A link that records into its line instead of reaching a port.
class FakeSerialPort : public SerialLink
{
public:
    explicit FakeSerialPort(FakeLine& line) : line_(line) {}
    ~FakeSerialPort() override;

    void setPortName(const QString& name) override { portText_ = name; }
    QString portName() const override { return portText_; }
    LinkStatus setSettings(const LineSettings& settings) override;
    LineSettings settings() const override { return settings_; }
    LinkStatus open() override;
    void close() override;
    bool isOpen() const override { return open_; }
    LinkStatus write(const QByteArray& bytes) override;
    bool dsr() override { return open_; }
    qint64 bytesToWrite() override { return 0; }

private:
    FakeLine& line_;
    QString portText_;
    LineSettings settings_;
    bool open_ = false;
};

// Answers prompts from a script (nothing for Cancel) and records what was shown.
class ScriptedDialogs : public Dialogs
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

    void message(Icon icon, const QString& title, const QString& text, const QString& detail = {}) override;
    QString input(const QString& title, const QString& prompt, const QString& defaultText,
                  bool* accepted = nullptr) override;
    QString openFile(const QString&) override { return {}; }

    const FakeLine* line = nullptr; // the line whose writes each prompt notes
    std::deque<std::optional<QString>> replies;
    QList<Prompt> prompts;
    QList<Message> messages;
};

// A whole vfddemo run on the recording port, virtual time and the scripted dialogs. The port work runs
// on the port worker's thread as in the program; every click waits until it has ended.
class DemoHarness
{
public:
    // What the run's port worker reaches; the recording port when none is given.
    using LinkMaker = std::function<std::unique_ptr<SerialLink>(DemoHarness&)>;
    explicit DemoHarness(LinkMaker makeLink = {}, bool realTimeWaits = false);
    ~DemoHarness();

    QWidget* current() const { return navigator.current(); }
    template <class Window> Window* currentAs() const { return qobject_cast<Window*>(current()); }
    QString currentTitle() const;

    // Clicks the named control of the window shown now, as the person would, and settles.
    void click(const QString& objectName);
    QAbstractButton* button(const QString& objectName) const;
    // Runs the GUI thread until the port worker has ended all its work and the windows it handed
    // over are gone; meanwhile `duringPause` runs (on this thread) while each pause is held.
    void settle();
    // Only the writes of the record, as hexadecimal.
    QStringList writes() const;
    // The writes, as hexadecimal, and the pauses ("pause 5000") of the record, in order.
    QStringList traffic() const;
    void clearLog() { log.clear(); }

    // Walks from the launcher to a demonstration window on COM<port>.
    void reachEpson(int port = 1);
    void reachKd426(int port = 1);
    void reachKd138(int port = 1);

    // Milliseconds of virtual time since the run began; only pauses take time.
    qint64 ms() const { return pacer.milliseconds(); }

    // Virtual time that starts at 09:05:07; with real-time waits a poll of the line also takes real time
    // (for a real port whose bytes take real time to leave).
    class HarnessPacer : public VirtualPacer
    {
    public:
        explicit HarnessPacer(bool realTimeWaits)
            : VirtualPacer(9 * 3600 + 5 * 60 + 7), realTimeWaits_(realTimeWaits)
        {
        }
        void pump() override;

    private:
        bool realTimeWaits_;
    };

    WireLog log;
    FakeLine line;
    HarnessPacer pacer;
    ScriptedDialogs dialogs;
    // Runs on the GUI thread while each pause of the port work is held; nothing when empty.
    std::function<void()> duringPause;

private:
    void pauseBegins(int ms); // on the worker's thread
    DemoContext makeContext();

    QMutex pauseMutex_;
    QWaitCondition pauseReleased_;
    bool pauseHeld_ = false;

public:
    PortWorker worker;
    DemoContext context{makeContext()};
    Navigator navigator{context};
    int ended = 0;
};

// How many top-level windows are shown; vfddemo shows one at a time.
int VisibleWindows();

// "1F 58 02" from a byte string.
QString Hex(const QByteArray& bytes);
