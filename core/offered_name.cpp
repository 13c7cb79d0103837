#include "core/offered_name.h"

std::optional<QString> offeredName(const QStringList& offered, const QString& typed)
{
    for (const QString& name : offered)
        if (name.compare(typed, Qt::CaseInsensitive) == 0)
            return name;
    return std::nullopt;
}
