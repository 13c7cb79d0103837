#include "emu/com_end.h"

ComEnd::ComEnd(const QString& port, const LineSettings& displaySettings, QObject* parent)
    : FarEnd(parent), displaySettings_(displaySettings)
{
    port_.setPortName(port);
    connect(&port_, &QSerialPort::readyRead, this,
            [this] { emit received(port_.readAll(), displaySettings_); });
}

bool ComEnd::open(QString* reason)
{
    static constexpr QSerialPort::Parity kParity[] = {QSerialPort::NoParity, QSerialPort::EvenParity,
                                                      QSerialPort::OddParity, QSerialPort::MarkParity,
                                                      QSerialPort::SpaceParity};
    static constexpr QSerialPort::StopBits kStopBits[] = {QSerialPort::OneStop, QSerialPort::OneAndHalfStop,
                                                          QSerialPort::TwoStop};
    const bool ok = port_.open(QIODevice::ReadOnly) && port_.setBaudRate(displaySettings_.baud) &&
                    port_.setDataBits(static_cast<QSerialPort::DataBits>(displaySettings_.dataBits)) &&
                    port_.setParity(kParity[static_cast<int>(displaySettings_.parity)]) &&
                    port_.setStopBits(kStopBits[static_cast<int>(displaySettings_.stopBits)]);
    if (!ok)
        *reason = port_.errorString();
    return ok;
}
