#pragma once

#include "windows/port_selection_window.h"

// The KD-426 port window: COM1 to COM 5.
class FourLinePortWindow : public PortSelectionWindow
{
    Q_OBJECT
public:
    explicit FourLinePortWindow(WindowChain& navigator);

protected:
    void enterClicked() override;
    void cancelClicked() override;
};
