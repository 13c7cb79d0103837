#pragma once

#include <QString>

// The folder `part` of the tools' state that a user's runs keep between them:
// $XDG_STATE_HOME/talvex-display-tools/<part>, ~/.local/state when XDG_STATE_HOME is not set or not
// absolute (a relative one is ignored, as every XDG folder variable is); on Windows and macOS, the
// local application data folder in its place.
QString userStateFolder(const QString& part);
