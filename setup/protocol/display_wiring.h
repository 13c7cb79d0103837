#pragma once

#include "core/device_worker.h"
#include "setup/protocol/display_access.h"

#include <functional>
#include <memory>

// How vfdsetup's window and vfdctl reach a display (the simulated one plugs in as a link): one device worker
// whose port is `simulated` (the simulated display, or its port lock) when it is named "sim" (or "sim:NAME")
// and a real port made by `makeRealLink` (null: a QtSerialLink) for every other name. With no simulated
// display every name is a real port.
std::unique_ptr<DeviceWorker>
makeDisplayWorker(SerialLink* simulated, const std::function<std::unique_ptr<SerialLink>()>& makeRealLink,
                  Pacer& pacer, DeviceWiring wiring = {});

// What an operation run by a job of that worker works with: the job's port, pacer and stop request,
// `dialogs` and the port selection.
DisplayAccess displayAccess(DevicePort& port, OperationDialogs& dialogs, const PortSelection& selection);
