#pragma once

#include "windows/port_selection_window.h"

// The KD-426 port window: COM1 to COM 5.
class RS_232_KD426 : public PortSelectionWindow
{
    Q_OBJECT
public:
    explicit RS_232_KD426(Navigator& navigator);

protected:
    void enterClicked() override;
    void cancelClicked() override;
};
