#pragma once

#include "setup/protocol/refusal.h"

#include <QString>
#include <optional>

// A file named as input (a profile, a title file, a DEMO, a firmware image) is opened only when it is
// a regular file: a FIFO would hold the read until something writes to it, a device may never end, a
// folder holds no bytes. Refuses a missing file with the system's reason ("No such file or
// directory"), and any other kind of file with what it is, both as a file that cannot be read.
std::optional<Refusal> refuseUnlessRegularFile(const QString& path);

// True for a file that exists and is a regular file (or a link to one).
bool isRegularFile(const QString& path);
