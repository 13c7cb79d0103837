#pragma once

#include "demo/emulators/kd138_display.h"
#include "demo/emulators/kd317_display.h"
#include "demo/emulators/kd426_display.h"
#include "demo/emulators/sim_log.h"
#include "demo/model/display_product.h"

#include "core/line_settings.h"

#include <QObject>
#include <atomic>

class Pacer;

// The simulated displays of one vfddemo run: one of each model, kept for the whole run so that what a
// screen shows survives the windows that come and go, as a real display on the desk would. One line at a
// time reaches them; the model shown is the one the line was last connected to. The displays live on
// the GUI thread; a port on another thread takes the line from there and hands its bytes over (see
// EmulatedSerialPort).
class CustomerDisplayEmulator : public QObject
{
    Q_OBJECT
public:
    explicit CustomerDisplayEmulator(const Pacer& clock);

    // Takes the line for one port, from any thread; false when a line is connected already (a port the
    // display holds is busy).
    bool claimLine();
    // Lets go of the line, from any thread.
    void disconnectLine();
    bool isConnected() const { return connected_; }
    // GUI thread: the claimed line now reaches `model`, opened with `settings`.
    void connectLine(DisplayProduct model, const LineSettings& settings);
    // GUI thread: bytes off the line.
    void write(const QByteArray& bytes);

    DisplayProduct model() const { return model_; }
    // What the shown model's screen shows now.
    VfdFrame frame();
    // Switches the shown model off and on again.
    void powerCycle();

    const Pacer& clock() const { return clock_; }
    Kd317Display& kd317() { return kd317_; }
    Kd426Display& kd426() { return kd426_; }
    Kd138Display& kd138() { return kd138_; }
    const SimLog& log() const { return log_; }

signals:
    void lineConnected(DisplayProduct model);
    // Bytes arrived or the log grew.
    void changed();

private:
    const Pacer& clock_;
    SimLog log_;
    Kd317Display kd317_;
    Kd426Display kd426_;
    Kd138Display kd138_;
    DisplayProduct model_ = DisplayProduct::KD317;
    std::atomic_bool connected_ = false;
};
