#include "demo/emulators/sim_log.h"

#include "demo/model/byte_text.h"

void SimLog::add(const QString& model, const QString& what, const QByteArray& bytes)
{
    // A long run of noise keeps only its start: the record is for reading, not for replaying.
    const QByteArray shown = bytes.left(12);
    QString entry = QStringLiteral("%1: %2 [%3%4]")
                        .arg(model, what, hexBytes(shown),
                             bytes.size() > shown.size() ? QStringLiteral(" ...") : QString());
    entries_.append(entry);
    while (entries_.size() > kCapacity) {
        entries_.removeFirst();
    }
    ++total_;
}

void SimLog::clear()
{
    entries_.clear();
    total_ = 0;
}
