#pragma once

#include "windows/port_selection_window.h"

// The KD-138 port window: COM1 to COM 10.
class OneLinePortWindow : public PortSelectionWindow
{
    Q_OBJECT
public:
    explicit OneLinePortWindow(WindowChain& navigator);

protected:
    void enterClicked() override;
    void cancelClicked() override;
};
