#pragma once

#include "demo/windows/demo_window.h"

#include <QList>
#include <optional>

struct DemoContext;
class QButtonGroup;
class QComboBox;
class QGridLayout;
class QHBoxLayout;
class QVBoxLayout;

// A COM option button: its caption and the port number it stands for.
struct ComOption
{
    QString caption;
    int number;
};

// The port options of each model's port window: COM1 to COM4, then "COM 5" and up with a blank.
QList<ComOption> comOptions(int count);

// A port-selection window "PLEASE SELECT COMPORT": the light cyan window with the heading, the COM
// options (none preselected; a click stores the port number at once) and "Simulated display", a list of
// the ports the system reports for adapters that are not COMn, the text encoding of the run, and ENTER
// and CANCEL. ENTER hands over to the model's demonstration; CANCEL to the window given, or, with none,
// it ends the program.
class PortSelectionWindow : public DemoWindow
{
    Q_OBJECT
public:
    PortSelectionWindow(DemoContext& context, const QList<ComOption>& options, NextWindow enter,
                        std::optional<NextWindow> cancel = std::nullopt);

protected:
    // Room between the options and the buttons for a window's own controls.
    QGridLayout* extraArea() const { return extra_; }
    // ENTER; a window with controls of its own reads them first.
    virtual void enterClicked();

    DemoContext& context_;

private:
    QHBoxLayout* optionGrid(const QList<ComOption>& options);
    // "Other port:" and the ports the system reports.
    QHBoxLayout* systemPortRow(int comOptionCount);
    // "Text encoding:" and its list, which sets the encoding of the whole run.
    QHBoxLayout* encodingRow();
    void addButtons(QVBoxLayout* layout);
    void optionClicked(int number);
    void systemPortChosen(int index);

    NextWindow enter_;
    std::optional<NextWindow> cancel_;
    QButtonGroup* options_ = nullptr;
    QComboBox* systemPorts_ = nullptr;
    QGridLayout* extra_ = nullptr;
};
