#pragma once

#include "windows/demo_window.h"

#include <QList>

class WindowChain;
class QButtonGroup;
class QComboBox;
class QGridLayout;
class QHBoxLayout;
class QPushButton;
class QRadioButton;

// A COM option button: its caption and the port number it stands for.
struct ComOption
{
    QString caption;
    int number;
};

// What the three port-selection windows share: the light cyan window with the heading, the COM
// options (none preselected; a click stores the port number at once), a list of the ports the system
// reports for adapters that are not COMn, and ENTER and CANCEL.
class PortSelectionWindow : public DemoWindow
{
    Q_OBJECT
public:
    PortSelectionWindow(WindowChain& navigator, const QList<ComOption>& options);

protected:
    virtual void enterClicked() = 0;
    virtual void cancelClicked() = 0;
    // Room between the options and the buttons for a window's own controls.
    QGridLayout* extraArea() const { return extra_; }

    WindowChain& navigator_;

private:
    void optionClicked(int number);
    void systemPortChosen(int index);
    // "Text encoding:" and its list, which sets the encoding of the whole run.
    QHBoxLayout* encodingRow();

    QButtonGroup* options_;
    QComboBox* systemPorts_;
    QGridLayout* extra_;
};

// The port options of each model's port window.
QList<ComOption> comOptions(int count);
