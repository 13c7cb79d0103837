#pragma once

#include "core/line_settings.h"
#include "core/link_status.h"

#include <QByteArray>
#include <QString>

// The only way to a port: exactly what the display protocols need. A settings change while open
// takes effect at once.
class SerialLink
{
public:
    virtual ~SerialLink() = default;

    virtual void setPortName(const QString& name) = 0;
    virtual QString portName() const = 0;
    virtual LinkStatus setSettings(const LineSettings& settings) = 0;
    virtual LineSettings settings() const = 0;

    virtual LinkStatus open() = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    // Writes the whole byte string, or fails.
    virtual LinkStatus write(const QByteArray& bytes) = 0;
    // True while the far side asserts DSR; false when the line cannot be read.
    virtual bool dsr() = 0;
    // Bytes written but not yet transmitted on the line.
    virtual qint64 bytesToWrite() = 0;
};
