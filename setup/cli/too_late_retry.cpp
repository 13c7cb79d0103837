#include "setup/cli/too_late_retry.h"

#include "setup/protocol/display_access.h"

#include <QTextStream>

CliJob retriedWhenTooLate(CliJob job)
{
    return [job = std::move(job)](CliSession& session) {
        session.ackTooLate = false;
        const int status = job(session);
        if (!session.ackTooLate || session.access.stopRequested())
            return status;
        session.ackTooLate = false;
        session.err << "  the display's answer could not be told: sending it once more" << Qt::endl;
        return job(session);
    };
}

CliPlan CliPlan::runRepeatable(CliJob job)
{
    return run(retriedWhenTooLate(std::move(job)));
}
