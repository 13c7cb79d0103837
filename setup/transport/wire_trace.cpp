#include "wire_trace.h"

#include "pacer.h"

Q_LOGGING_CATEGORY(lcWire, "talvex.wire", QtWarningMsg)

QString HexDump(const QByteArray& bytes)
{
    QString hex;
    QString text;
    for (char c : bytes) {
        const auto byte = static_cast<quint8>(c);
        if (!hex.isEmpty())
            hex += QLatin1Char(' ');
        hex += QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
        text += (byte >= 0x20 && byte < 0x7F) ? QChar(byte) : QChar(u'.');
    }
    return hex + QStringLiteral("  ") + text;
}

QString TracedLink::stamp() const
{
    return QString::number(pacer_.now(), 'f', 3);
}

LinkStatus TracedLink::setSettings(const QString& settings)
{
    qCDebug(lcWire).noquote() << stamp() << "settings" << settings;
    return inner_.setSettings(settings);
}

LinkStatus TracedLink::open()
{
    LinkStatus status = inner_.open();
    qCDebug(lcWire).noquote() << stamp() << "open" << inner_.portName()
                              << (status.ok() ? QStringLiteral("ok") : status.reason);
    lastDsr_ = -1;
    return status;
}

void TracedLink::close()
{
    qCDebug(lcWire).noquote() << stamp() << "close";
    inner_.close();
}

LinkStatus TracedLink::write(const QByteArray& bytes)
{
    qCDebug(lcWire).noquote() << stamp() << "write" << bytes.size() << ":" << HexDump(bytes);
    LinkStatus status = inner_.write(bytes);
    if (!status.ok())
        qCDebug(lcWire).noquote() << stamp() << "write failed:" << status.reason;
    return status;
}

bool TracedLink::dsr()
{
    const bool high = inner_.dsr();
    if (static_cast<int>(high) != lastDsr_) {
        qCDebug(lcWire).noquote() << stamp() << "DSR" << (high ? "high" : "low");
        lastDsr_ = high;
    }
    return high;
}
