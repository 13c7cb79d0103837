#pragma once

#include "windows/port_selection_window.h"

// The KD-138 port window: COM1 to COM 10.
class RS_232_KD138 : public PortSelectionWindow
{
    Q_OBJECT
public:
    explicit RS_232_KD138(Navigator& navigator);

protected:
    void enterClicked() override;
    void cancelClicked() override;
};
