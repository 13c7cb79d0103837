#pragma once

#include "windows/port_selection_window.h"

class QComboBox;

// The KD-317 port window: COM1 to COM 8, the line settings (lineSettingsBox_) and the command-set list.
class EscPosPortWindow : public PortSelectionWindow
{
    Q_OBJECT
public:
    explicit EscPosPortWindow(WindowChain& navigator);

protected:
    void enterClicked() override;
    void cancelClicked() override;

private:
    QComboBox* lineSettingsBox_;
    // Offered as on the original window; no command reads the choice.
    QComboBox* commandSetBox_;
};
