#pragma once

#include "setup/gui/device_buttons.h"
#include "setup/protocol/display_access.h"
#include "setup/protocol/outcome.h"

#include <QObject>
#include <functional>
#include <memory>

class DeviceWorker;
class GuiDialogs;
class SimulatedDisplay;
class SimulatedFlashFile;
class TrafficLog;

// What the window's operations run on: the one pacer of the run, the dialogs, the simulated
// display behind the "sim" port, and how a real port is made (null: a QtSerialLink; tests swap it).
struct DeviceServices
{
    Pacer* pacer = nullptr;
    Dialogs* dialogs = nullptr;
    SimulatedDisplay* simulatedDisplay = nullptr;
    std::function<std::unique_ptr<SerialLink>()> makeRealLink;
    TrafficLog* trafficLog = nullptr; // what crossed the wire, for the traffic view
    // The window's own boxes (null when the dialogs are another kind): told that the window is
    // closing before anything waits for the worker, so that no box can hold that wait, and asking the
    // operation to stop when the event loop ends under one of them.
    GuiDialogs* windowDialogs = nullptr;
    // Where the simulated display's flash is kept between runs (null: nowhere).
    const SimulatedFlashFile* simulatedFlashFile = nullptr;
    // How the "sim" port opens the simulated display (null: the display itself).
    SerialLink* simulatedPort = nullptr;
};

// Runs one device operation at a time on the window's device worker, the thread that owns its port
// for the window's life. The GUI thread never waits: the device buttons are locked while the operation
// runs. From the worker only the notices the protocol waits on reach the person; the outcome comes back
// as a queued result, and on the GUI thread the `whenDone` callback hears it, its box is shown and the
// buttons are unlocked.
class OperationRunner : public QObject
{
    Q_OBJECT

public:
    OperationRunner(DeviceServices services, QObject* parent = nullptr);
    // Shuts down and waits for the operation in hand; the worker then closes the port.
    ~OperationRunner() override;

    // The operation runs on the worker; the outcome it gives is shown on the GUI thread.
    using Operation = std::function<Outcome(DisplayAccess&)>;
    // On the GUI thread, once the operation has ended with the port closed, before its outcome's box.
    using WhenDone = std::function<void(const Outcome&)>;

    // False (and nothing runs) while another operation runs.
    bool run(const PortSelection& selection, Operation operation, WhenDone whenDone = {});
    bool busy() const;
    DeviceButtons& buttons() { return buttons_; }
    const DeviceServices& services() const { return services_; }

    // Asks the running operation to stop at its next wait; nothing more is sent.
    void requestStop();
    // The person's "Cancel": a stop request that the operation may tell the person about, which a
    // stop for the window's closing must not.
    void cancel()
    {
        cancelled_ = true;
        requestStop();
    }
    // True once the running (or the last) operation was cancelled.
    bool cancelled() const { return cancelled_; }
    // Waits (processing no events) until the worker has ended. For shutdown only.
    void waitForIdle();
    // Asks the operation to stop and tells the window's boxes that the window is closing: what must
    // happen before anything waits for the worker (at destruction, or when the event loop ends).
    void shutDown();

signals:
    void operationFinished();

private:
    DeviceServices services_;
    DeviceButtons buttons_;
    std::unique_ptr<DeviceWorker> worker_;
    bool cancelled_ = false;
};
