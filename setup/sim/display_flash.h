#pragma once

#include "core/line_settings.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// What a VQ71xx display keeps in its flash. An erased region is empty.
struct DisplayFlash
{
    QByteArray generalRecord; // the 64-byte general parameter record
    QByteArray titleBlock;    // the 47-byte power-on title block
    QByteArray demo;          // the DEMO bytes received, in order
    int demoPages = 0;        // the pages its header announced
    QByteArray firmware;      // the installed firmware image
    int balance = 128;        // the stored brightness balance
    bool operator==(const DisplayFlash&) const = default;
};

// The line settings the display's own port runs at: from its general record, or 9600,N,8,1
// when the record is erased or holds a code the display does not know.
LineSettings displayLineSettings(const DisplayFlash& flash);

// The two 20-character lines the display shows after power-on: its title page, or its own.
QStringList powerOnLines(const DisplayFlash& flash);

// True when `record` is a sound general record: 64 bytes opening with the block signature.
bool isGeneralRecord(const QByteArray& record);
// True when `block` is a sound title block: 47 bytes, signature, 20 00 03.
bool isTitleBlock(const QByteArray& block);

inline const QByteArray kBlockSignature = QByteArray::fromHex("55AA5AA5");
