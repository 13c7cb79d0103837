#pragma once

#include "emu/far_end.h"

#include "core/qt_serial_link.h"

// Windows: the second port of a virtual null-modem pair (com0com and the like), opened at the display's
// own settings; the program opens the first. The pair does not pass on the speed the program chose, so
// every byte counts as sent at the display's settings.
class ComEnd : public FarEnd
{
    Q_OBJECT
public:
    ComEnd(const QString& port, const LineSettings& displaySettings, QObject* parent = nullptr);

    LinkStatus open() override { return link_.open(); }
    QString name() const override { return link_.portName(); }

private:
    QtSerialLink link_{QtSerialLink::kDefaultWriteTimeoutMs, QtSerialLink::Role::Listen};
    LineSettings displaySettings_;
};
