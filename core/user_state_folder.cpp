#include "core/user_state_folder.h"

#include <QDir>
#include <QStandardPaths>

QString userStateFolder(const QString& part)
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (!QDir::isAbsolutePath(state)) {
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
        state = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
#else
        state = QDir::homePath() + QStringLiteral("/.local/state");
#endif
    }
    return state + QStringLiteral("/talvex-display-tools/") + part;
}
