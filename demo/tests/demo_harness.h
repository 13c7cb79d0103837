#pragma once

#include "demo/link/demo_context.h"
#include "demo/windows/navigator.h"

#include "core/device_worker.h"
#include "core/dialogs.h"
#include "core/pacer.h"
#include "core/serial_link.h"

#include <QMutex>
#include <QStringList>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <optional>

// Everything that reaches the line, the pauses, and what the person sees and is asked, in order:
// "open COM3 9600,n,8,1", "write 1F 58 02", "pause 5000", "ask PROMPT [DEFAULT]" (a prompt titled other
// than "vfddemo": "ask (TITLE) PROMPT [DEFAULT]"), "box TITLE: TEXT",
// "close", "end". Written from the device worker's thread and the GUI thread.
struct FakeLine
{
    void record(const QString& entry);

    QStringList log;
    std::optional<LinkStatus> openFailure;     // how the system fails an open
    std::optional<LinkStatus> settingsFailure; // how the port refuses the line settings
    int failWriteNumber = 0;                   // the n-th write (counted over the run) fails; 0 never
    // The adapter is pulled out just before the n-th write (counted over the run); 0 never. The handle
    // stays open, as the system's does, but that write and every later one fail.
    int vanishBeforeWrite = 0;
    QStringList gonePorts; // ports pulled out: they cannot be opened, and writes to them fail
    bool stuck = false;    // written bytes never leave
    int writes = 0;
    int openPorts = 0;
    QMutex mutex;
};

// A link that records into its line instead of reaching a port.
class FakeSerialPort : public SerialLink
{
public:
    explicit FakeSerialPort(FakeLine& line) : line_(line) {}
    ~FakeSerialPort() override { close(); }

    void setPortName(const QString& name) override { portText_ = name; }
    QString portName() const override { return portText_; }
    LinkStatus setSettings(const LineSettings& settings) override;
    LineSettings settings() const override { return settings_; }
    LinkStatus open() override;
    void close() override;
    bool isOpen() const override { return open_; }
    LinkStatus write(const QByteArray& bytes) override;
    DsrLevel dsr() override { return open_ ? DsrLevel::High : DsrLevel::Low; }
    qint64 bytesToWrite() override { return open_ && line_.stuck ? 1 : 0; }

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
    void message(Icon icon, const QString& title, const QString& text, const QString& detail = {}) override;
    QString input(const QString& title, const QString& prompt, const QString& defaultText,
                  bool* accepted = nullptr) override;
    QString openFile(const QString&) override { return {}; }

    FakeLine* line = nullptr;
    std::deque<std::optional<QString>> replies;
    QList<Icon> icons; // of the boxes shown
};

class CustomerDisplayEmulator;
class EmulatedSerialPort;

// A whole vfddemo run on the recording port, virtual time and the scripted dialogs. The port work runs
// on the device worker's thread as in the program; every step waits until it has ended.
class DemoHarness
{
public:
    // The recording port, or `real` when one is given: then a poll of the line also takes real time (for
    // a real port whose bytes take real time to leave). "sim" reaches `emulator` when one is given.
    explicit DemoHarness(CustomerDisplayEmulator* emulator = nullptr, std::unique_ptr<SerialLink> real = {});
    ~DemoHarness();

    QWidget* current() const { return navigator.current(); }
    template <class Window> Window* currentAs() const { return qobject_cast<Window*>(current()); }
    QString currentTitle() const { return current() ? current()->windowTitle() : QString(); }

    // Does what the person does, one step after another, each waiting until the port work has ended:
    // "Command6" (a click on the control of that name), "cell:12" (a click on mirror cell 12), "key:5:X"
    // (X typed into cell 5), "enter:5", "boudrate:2400,e,7,2" or "boudrate:#3" (the settings list),
    // "command:7" (the command list), "system:1" (the system port list), "settings:TEXT" (the line
    // settings in force), "close" (the window closed), "type:TEXT" (TEXT, "_" for a blank, typed key by key
    // where the focus is), "burst:TEXT" (the same keys all at once, faster than the port work),
    // "clock:SECONDS" (the wall clock put forward or back).
    void perform(const QString& steps);
    void click(const QString& objectName);
    // The answers to the coming prompts; "<cancel>" stands for Cancel.
    void answer(const QStringList& replies);
    // Runs the GUI thread until the device worker has ended all its work and the windows it handed
    // over are gone; meanwhile `duringPause` runs (on this thread) while each pause is held.
    void settle();
    void clearLog() { line.log.clear(); }

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

    FakeLine line;
    HarnessPacer pacer;
    ScriptedDialogs dialogs;
    // Runs on the GUI thread while each pause of the port work is held; nothing when empty.
    std::function<void()> duringPause;

private:
    void pauseBegins(int ms); // on the worker's thread
    DemoContext makeContext();

    QMutex pauseMutex_;
    // Not a QWaitCondition, whose wait retakes the mutex out of the thread sanitizer's sight.
    std::condition_variable_any pauseReleased_;
    bool pauseHeld_ = false;
    std::unique_ptr<EmulatedSerialPort> simulated_;

public:
    DeviceWorker worker;
    DemoContext context{makeContext()};
    Navigator navigator{context};
};

// How many top-level windows are shown; vfddemo shows one at a time.
int visibleWindows();
