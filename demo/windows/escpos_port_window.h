#pragma once

#include "demo/windows/port_selection_window.h"

class QComboBox;

// The KD-317 port window: COM1 to COM 8, the line settings (lineSettingsBox_) and the command-set list.
// ENTER goes on to the command list with the settings confirmed; CANCEL ends the program.
class EscPosPortWindow : public PortSelectionWindow
{
    Q_OBJECT
public:
    explicit EscPosPortWindow(DemoContext& context);

protected:
    void enterClicked() override;

private:
    QComboBox* lineSettingsBox_;
    // Offered as on the original window; no command reads the choice.
    QComboBox* commandSetBox_;
};
