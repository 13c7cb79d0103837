#pragma once

#include "core/line_settings.h"
#include "core/link_status.h"

#include <QByteArray>
#include <QObject>

// The end of the line the point-of-sale program opens: a pseudo-terminal on Linux and macOS, the second
// port of a virtual null-modem pair on Windows. It hands over every byte that arrives with the settings
// the program had set on the line when it was sent.
class FarEnd : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // Makes the line ready, or says why it cannot, in the system's words.
    virtual LinkStatus open() = 0;
    // What the program opens: "/dev/pts/3", "COM7".
    virtual QString name() const = 0;

signals:
    void received(const QByteArray& bytes, const LineSettings& sentAt);
};
