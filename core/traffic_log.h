#pragma once

#include <QByteArray>
#include <QList>
#include <QMutex>
#include <QString>

// What crossed the wire, kept for the traffic view: every write, every DSR change, every settings
// change, opening and closing, with the time of day to the millisecond. Written from the
// operation's worker thread, read from the GUI thread.
class TrafficLog
{
public:
    struct Entry
    {
        double timeOfDay; // seconds since midnight
        QString event;    // "write", "DSR", "settings", "open", "close", "failed"
        QString text;     // the event's details (hex and characters for a write)
    };

    void add(double timeOfDay, const QString& event, const QString& text);
    // The entries from `first` on (an index into all entries since the last clear).
    QList<Entry> entriesFrom(qsizetype first) const;
    qsizetype size() const;
    void clear();
    // Bumped by clear(), so a reader can tell that its index no longer holds.
    int generation() const;

    // "12:03:45.120  write     1F 46 52  .FR"
    static QString format(const Entry& entry);
    static QString clock(double timeOfDay);

private:
    mutable QMutex mutex_;
    QList<Entry> entries_;
    int generation_ = 0;
};
