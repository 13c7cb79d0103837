#pragma once

#include "gui/display_flash_view.h"
#include "sim/display_code_page.h"
#include "sim/simulated_display.h"

#include <functional>

#include <QWidget>

class QCheckBox;
class QLabel;
class QPushButton;
class QTimer;
class VfdScreen;

// A window that shows the simulated display as a person would see the real one beside the till:
// its screen, its DSR line, what it holds in flash; with a "Power cycle" button and fault switches
// for a trainer to show every failure message. It reads the display only through its thread-safe
// methods, polling every 10 ms, so it keeps up while an operation drives the display from the
// worker thread.
class SimulatedDisplayWindow : public QWidget
{
    Q_OBJECT

public:
    explicit SimulatedDisplayWindow(SimulatedDisplay& display, QWidget* parent = nullptr);

    // Reads the display once and updates the window (the timer calls it; tests call it directly).
    void refresh();

    VfdScreen* screen() const { return screen_; }

private:
    void changeFaults(const std::function<void(SimulatedDisplay::Faults&)>& change);
    void unplugToggled(bool unplugged);
    void showFlash(const DisplayFlashView& view);
    void showLamp(bool high);

    SimulatedDisplay& display_;
    QTimer* poll_;
    VfdScreen* screen_;
    QLabel* codePageNote_;
    QLabel* dsrLamp_;
    QLabel* dsrText_;
    QLabel* acknowledgements_;
    QLabel* state_;
    QLabel* general_;
    QLabel* baudRate_;
    QLabel* dataFormat_;
    QLabel* commandSet_;
    QLabel* codePageName_;
    QLabel* charset_;
    QLabel* brightness_;
    QLabel* titlePage_;
    QLabel* demo_;
    QLabel* firmware_;
    QLabel* balance_;
    QPushButton* powerCycle_;
    QCheckBox* unplugged_;
    QCheckBox* noAcknowledge_;
    QCheckBox* dsrLate_;
    int lampState_ = -1;
    DisplayFlash shownFlash_;
    DisplayCodePage codePage_;
    int shownLiveBalance_ = -1;
};
