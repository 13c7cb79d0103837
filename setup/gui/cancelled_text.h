#pragma once

#include <QString>

// What the person reads once "Cancel" has stopped a long transfer: how far it got and the state in
// which it leaves the display. The port is closed by then and no restart was sent.

inline const QString kCancelledTitle = QStringLiteral("Cancelled");

// `pageCount` 0: the update header was not acknowledged yet.
QString firmwareCancelledText(int pagesSent, int pageCount);
// `bytesSent` of the DEMO file's `fileLength` bytes went out in acknowledged blocks.
QString demoCancelledText(qint64 bytesSent, qint64 fileLength);
