#pragma once

#include "setup/gui/display_flash_view.h"
#include "setup/sim/display_code_page.h"
#include "setup/sim/simulated_display.h"
#include "setup/sim/simulated_flash_file.h"
#include "widgets/vfd_frame.h"
#include "widgets/vfd_screen_view.h"

#include <functional>

#include <QByteArray>
#include <QWidget>

class QCheckBox;
class QLabel;
class QLayout;
class QPushButton;
class QTimer;

// The glass of a VQ71xx display: two lines of 20 character cells, each 5x7 dots, one dot of space
// between cells and two between the lines, no cursor row; lit dots glow cyan-green on the dark
// glass, unlit dots stay faintly visible as on the real tube, and the dots grow with the window.
VfdScreenStyle vq71xxScreenStyle();

// What a VQ71xx screen shows for its 40 bytes (line 1 then line 2, shorter is filled with
// spaces): each byte drawn as the character of the display's code page (a byte the code page
// leaves undefined as a blank cell), at a brightness of 100, 75, 50 or 25 %, and no dot lit while
// the display is off or restarting.
VfdFrame vq71xxScreenFrame(const QByteArray& bytes, const DisplayCodePage& codePage, int brightnessPercent,
                           bool lit);

// A window that shows the simulated display as a person would see the real one beside the till:
// its screen, its DSR line, what it holds in flash; with a "Power cycle" button (the flash stays), a
// "Factory reset" button (the flash is erased) and fault switches for a trainer to show every failure
// message. It reads the display only through its thread-safe methods, polling every 10 ms, so it keeps
// up while an operation drives the display from the worker thread. Given a flash file, it keeps there
// what the display holds whenever it sees that change, for the next run of the program.
class SimulatedDisplayWindow : public QWidget
{
    Q_OBJECT

public:
    explicit SimulatedDisplayWindow(SimulatedDisplay& display, QWidget* parent = nullptr,
                                    const SimulatedFlashFile* flashFile = nullptr);

    // Reads the display once and updates the window (the timer calls it; tests call it directly).
    void refresh();

    VfdScreenView* screen() const { return screen_; }
    // The 40 bytes on the screen, line 1 then line 2 (shorter lines filled with spaces).
    QByteArray screenContent() const { return screenContent_; }
    // Keeps the whole window on the screen it is on (at its opening, and when the main window moves
    // it beside itself again); see the definition.
    void fitScreen();

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Parts of the constructor: the line with the DSR lamp and the state, the flash box, the fault
    // switches and "Power cycle", and what they do.
    QLayout* stateLine();
    QWidget* flashBox();
    QWidget* faultBox();
    void connectSwitches();
    void changeFaults(const std::function<void(SimulatedDisplay::Faults&)>& change);
    void unplugToggled(bool unplugged);
    void showFlash(const DisplayFlashView& view);
    void showLamp(bool high);
    void keepFlash();

    SimulatedDisplay& display_;
    const SimulatedFlashFile* flashFile_;
    QTimer* poll_;
    VfdScreenView* screen_;
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
    QPushButton* factoryReset_;
    QCheckBox* unplugged_;
    QCheckBox* noAcknowledge_;
    QCheckBox* dsrLate_;
    int lampState_ = -1;
    DisplayFlash shownFlash_;
    DisplayCodePage codePage_;
    QByteArray screenContent_;
    int shownLiveBalance_ = -1;
};
