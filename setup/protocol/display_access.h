#pragma once

#include "core/pacer.h"
#include "core/serial_link.h"
#include "setup/protocol/operation_dialogs.h"
#include "setup/protocol/port_selection.h"

#include <atomic>

// Where an operation finds the display and what it works with: the port, time, the person, the
// selection, and the flag that asks it to stop (the window is closing). Every step with the port
// goes through a DisplaySession made from it.
struct DisplayAccess
{
    DisplayAccess(SerialLink& link, Pacer& pacer, OperationDialogs& dialogs, PortSelection selection = {},
                  const std::atomic_bool* stop = nullptr)
        : link(link), pacer(pacer), dialogs(dialogs), selection(std::move(selection)), stop(stop)
    {
    }

    SerialLink& link;
    Pacer& pacer;
    OperationDialogs& dialogs;
    PortSelection selection;
    const std::atomic_bool* stop;

    bool stopRequested() const { return stop && stop->load(); }
};
