#pragma once

#include <QString>
#include <optional>

struct CliContext;

// The first look at a file named on the command line or in a profile, the same in every command
// (firmware, demo write, title write --file, apply and the files of its profile): a missing file, or
// one that is not a regular file (a FIFO, a device, a folder), is refused before it is opened, with
// one box, the system's reason and the file's name (`origin`: where a profile names it). Gives the
// exit status for a refusal, nothing when the file may be read.
std::optional<int> refuseUnreadableNamedFile(CliContext& context, const QString& path,
                                             const QString& origin = {});
