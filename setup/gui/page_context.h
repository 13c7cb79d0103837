#pragma once

#include "setup/protocol/port_selection.h"

#include <functional>

class Dialogs;
class OperationRunner;

// What a page of the main window needs to run device operations: the runner (one operation at a
// time, device buttons locked meanwhile), the dialogs for boxes shown on the GUI thread, and the
// window's current port selection.
struct PageContext
{
    OperationRunner& runner;
    Dialogs& dialogs;
    std::function<PortSelection()> selection;
};
