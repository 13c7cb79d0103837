#include "line_settings.h"

#include <QStringList>

std::optional<LineSettings> ParseLineSettings(const QString& text)
{
    const QStringList fields = text.split(u',');
    if (fields.size() != 4) {
        return std::nullopt;
    }
    LineSettings settings;
    bool ok = false;
    settings.baudRate = fields[0].trimmed().toInt(&ok);
    if (!ok || settings.baudRate <= 0) {
        return std::nullopt;
    }

    const QString parity = fields[1].trimmed().toLower();
    if (parity == u"n") {
        settings.parity = QSerialPort::NoParity;
    } else if (parity == u"e") {
        settings.parity = QSerialPort::EvenParity;
    } else if (parity == u"o") {
        settings.parity = QSerialPort::OddParity;
    } else if (parity == u"m") {
        settings.parity = QSerialPort::MarkParity;
    } else if (parity == u"s") {
        settings.parity = QSerialPort::SpaceParity;
    } else {
        return std::nullopt;
    }

    const int dataBits = fields[2].trimmed().toInt(&ok);
    if (!ok || dataBits < 5 || dataBits > 8) {
        return std::nullopt;
    }
    settings.dataBits = static_cast<QSerialPort::DataBits>(dataBits);

    const QString stop = fields[3].trimmed();
    if (stop == u"1") {
        settings.stopBits = QSerialPort::OneStop;
    } else if (stop == u"1.5") {
        settings.stopBits = QSerialPort::OneAndHalfStop;
    } else if (stop == u"2") {
        settings.stopBits = QSerialPort::TwoStop;
    } else {
        return std::nullopt;
    }
    return settings;
}
