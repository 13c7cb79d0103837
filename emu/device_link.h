#pragma once

#include "core/link_status.h"

#include <QString>

// A symbolic link with a fixed name (/tmp/ttyVFD0) to the pseudo-terminal, whose own name changes from
// run to run. A link left behind by a run that was killed is replaced; anything else at that path is
// left alone. The link goes when this object does, if it still points where it was made to.
class DeviceLink
{
public:
    DeviceLink() = default;
    ~DeviceLink();
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    // Makes the link, or says why it cannot.
    LinkStatus make(const QString& target, const QString& path);

private:
    QString target_;
    QString path_;
};
