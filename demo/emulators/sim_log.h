#pragma once

#include <QByteArray>
#include <QStringList>

// The short record of what a simulated display did not understand: the newest entries, each naming the
// model and the bytes, so that a developer sees at once which command a window got wrong.
class SimLog
{
public:
    static constexpr int kCapacity = 60;

    void add(const QString& model, const QString& what, const QByteArray& bytes);
    const QStringList& entries() const { return entries_; }
    // Every entry ever added, including those that have dropped out of the record.
    int total() const { return total_; }
    void clear();

private:
    QStringList entries_;
    int total_ = 0;
};
