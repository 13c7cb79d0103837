#include "setup/cli/too_late_retry.h"

#include "setup/protocol/display_access.h"

#include <QTextStream>

CliJob retriedWhenTooLate(CliJob job)
{
    return [job = std::move(job)](PortRun& run) {
        run.ackTooLate = false;
        const int status = job(run);
        if (!run.ackTooLate || run.access.stopRequested())
            return status;
        run.ackTooLate = false;
        run.err << "  the display's answer could not be told: sending it once more" << Qt::endl;
        return job(run);
    };
}

CliPlan CliPlan::runRepeatable(CliJob job)
{
    return run(retriedWhenTooLate(std::move(job)));
}
