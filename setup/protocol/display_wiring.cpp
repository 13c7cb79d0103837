#include "setup/protocol/display_wiring.h"

#include "core/qt_serial_link.h"
#include "core/switching_link.h"

std::unique_ptr<DeviceWorker>
makeDisplayWorker(SerialLink* simulated, const std::function<std::unique_ptr<SerialLink>()>& makeRealLink,
                  Pacer& pacer, DeviceWiring wiring)
{
    std::unique_ptr<SerialLink> real = makeRealLink ? makeRealLink() : std::make_unique<QtSerialLink>();
    return std::make_unique<DeviceWorker>(std::make_unique<SwitchingLink>(simulated, std::move(real)), pacer,
                                          std::move(wiring));
}

DisplayAccess displayAccess(DevicePort& port, OperationDialogs& dialogs, const PortSelection& selection)
{
    return DisplayAccess(port.link(), port.pacer(), dialogs, selection, port.stopToken());
}
