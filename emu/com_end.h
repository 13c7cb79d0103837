#pragma once

#include "emu/far_end.h"

#include <QSerialPort>

// Windows: the second port of a virtual null-modem pair (com0com and the like), opened at the display's
// own settings; the program opens the first. The pair does not pass on the speed the program chose, so
// every byte counts as sent at the display's settings.
class ComEnd : public FarEnd
{
    Q_OBJECT
public:
    ComEnd(const QString& port, const LineSettings& displaySettings, QObject* parent = nullptr);

    bool open(QString* reason) override;
    QString name() const override { return port_.portName(); }

private:
    QSerialPort port_;
    LineSettings displaySettings_;
};
