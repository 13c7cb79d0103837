#include "setup/cli/named_file_check.h"

#include "setup/cli/outcome_report.h"
#include "setup/operations/input_file.h"

std::optional<int> refuseUnreadableNamedFile(CliContext& context, const QString& path, const QString& origin)
{
    if (const std::optional<Refusal> refusal = refuseUnlessRegularFile(path))
        return reportRefusedFile(context, *refusal, path, origin);
    return std::nullopt;
}
