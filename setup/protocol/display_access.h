#pragma once

#include "core/pacer.h"
#include "core/serial_link.h"
#include "setup/protocol/operation_dialogs.h"
#include "setup/protocol/port_selection.h"

#include "core/stop_token.h"

// Where an operation finds the display and what it works with: the port, time, the person, the
// selection, and the job's stop token (Cancel, the window closing, a signal). Every step with the port
// goes through a DisplaySession made from it.
struct DisplayAccess
{
    DisplayAccess(SerialLink& link, Pacer& pacer, OperationDialogs& dialogs, PortSelection selection = {},
                  StopToken stop = {})
        : link(link), pacer(pacer), dialogs(dialogs), selection(std::move(selection)), stop(std::move(stop))
    {
    }

    SerialLink& link;
    Pacer& pacer;
    OperationDialogs& dialogs;
    PortSelection selection;
    StopToken stop;

    bool stopRequested() const { return stop.stopRequested(); }
};
