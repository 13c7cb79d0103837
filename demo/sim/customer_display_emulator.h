#pragma once

#include "demo_model.h"
#include "kd138_display.h"
#include "kd317_display.h"
#include "kd426_display.h"
#include "sim_log.h"

#include <QObject>

class SimClock;

// The simulated displays of one vfddemo run: one of each model, kept for the whole run so that what a
// screen shows survives the windows that come and go, as a real display on the desk would. One line at a
// time reaches them; the model shown is the one the line was last connected to.
class CustomerDisplayEmulator : public QObject
{
    Q_OBJECT
public:
    explicit CustomerDisplayEmulator(const SimClock& clock);

    // False when a line is connected already (a port the display holds is busy).
    bool connectLine(DemoModel model, const QString& settings);
    void disconnectLine();
    bool isConnected() const { return connected_; }
    void write(const QByteArray& bytes);

    DemoModel model() const { return model_; }
    // What the shown model's screen shows now.
    VfdFrame frame();
    // Switches the shown model off and on again.
    void powerCycle();

    const SimClock& clock() const { return clock_; }
    Kd317Display& kd317() { return kd317_; }
    Kd426Display& kd426() { return kd426_; }
    Kd138Display& kd138() { return kd138_; }
    const SimLog& log() const { return log_; }

signals:
    void lineConnected(DemoModel model);
    // Bytes arrived or the log grew.
    void changed();

private:
    const SimClock& clock_;
    SimLog log_;
    Kd317Display kd317_;
    Kd426Display kd426_;
    Kd138Display kd138_;
    DemoModel model_ = DemoModel::KD317;
    bool connected_ = false;
};
