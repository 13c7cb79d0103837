#pragma once

#include "setup/operations/provisioning_profile.h"

#include <QByteArray>
#include <QString>

// What a profile would write to a display, as one SHA-256 digest in hex: the profile file's bytes,
// those of every file it names (firmware, title file, DEMO), and the text encoding its title lines
// go out in. Any change to any of them gives another digest. Empty when a file cannot be read.
QByteArray profileDigest(const QString& profilePath, const ProvisioningProfile& profile,
                         const QString& encodingName);
