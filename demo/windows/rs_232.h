#pragma once

#include "windows/port_selection_window.h"

class QComboBox;

// The KD-317 port window: COM1 to COM 8, the line settings (BOUDRATE) and the command-set list.
class RS_232 : public PortSelectionWindow
{
    Q_OBJECT
public:
    explicit RS_232(Navigator& navigator);

protected:
    void enterClicked() override;
    void cancelClicked() override;

private:
    QComboBox* BOUDRATE;
    // Offered as on the original window; no command reads the choice.
    QComboBox* S_COMMAND;
};
