#include "cli/port_run.h"

#include "core/qt_serial_link.h"
#include "core/wire_trace.h"
#include "protocol/display_access.h"
#include "sim/simulated_display.h"

int runJobOnPort(const CliJob& job, const PortTarget& target, QTextStream& out, QTextStream& err,
                 OperationDialogs& dialogs)
{
    std::unique_ptr<SerialLink> realLink;
    SerialLink* link = target.simulatedDisplay;
    if (!link) {
        realLink = target.makeRealLink ? target.makeRealLink() : std::make_unique<QtSerialLink>();
        link = realLink.get();
    }
    TracedLink traced(*link, *target.pacer);
    DisplayAccess access(traced, *target.pacer, dialogs, target.selection, target.stop);
    CliSession session{access, out, err, target.simulatedDisplay, target.stdoutIsTerminal, target.quiet};
    const int status = job(session);
    if (traced.isOpen())
        traced.close();
    if (status == CliExit::Interrupted)
        err << session.interruption << Qt::endl;
    return status;
}
