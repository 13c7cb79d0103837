#include "core/traffic_log.h"

#include <QMutexLocker>
#include <cmath>

void TrafficLog::add(double timeOfDay, const QString& event, const QString& text)
{
    QMutexLocker lock(&mutex_);
    entries_.append({timeOfDay, event, text});
}

QList<TrafficLog::Entry> TrafficLog::entriesFrom(qsizetype first) const
{
    QMutexLocker lock(&mutex_);
    return first >= entries_.size() ? QList<Entry>() : entries_.mid(first);
}

qsizetype TrafficLog::size() const
{
    QMutexLocker lock(&mutex_);
    return entries_.size();
}

void TrafficLog::clear()
{
    QMutexLocker lock(&mutex_);
    entries_.clear();
    ++generation_;
}

int TrafficLog::generation() const
{
    QMutexLocker lock(&mutex_);
    return generation_;
}

QString TrafficLog::clock(double timeOfDay)
{
    const qint64 ms = static_cast<qint64>(std::llround(timeOfDay * 1000.0)) % (24LL * 3600 * 1000);
    return QStringLiteral("%1:%2:%3.%4")
        .arg(ms / 3600000, 2, 10, QLatin1Char('0'))
        .arg(ms / 60000 % 60, 2, 10, QLatin1Char('0'))
        .arg(ms / 1000 % 60, 2, 10, QLatin1Char('0'))
        .arg(ms % 1000, 3, 10, QLatin1Char('0'));
}

QString TrafficLog::format(const Entry& entry)
{
    return QStringLiteral("%1  %2 %3").arg(clock(entry.timeOfDay), entry.event.leftJustified(9), entry.text);
}
