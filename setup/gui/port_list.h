#pragma once

#include "core/line_settings.h"

#include <QList>
#include <QPair>
#include <QString>

class QComboBox;

// One entry of the window's port list: the port text the person picks, what the popup shows beside
// it (the system's name of a COM port), and its tooltip (the adapter's description).
struct PortListEntry
{
    QString text;
    QString beside;
    QString tooltip;
};

constexpr int kComPortCount = 39;

// COM1 to COM39, then the system ports (name, description) that no COM entry opens, then "sim". A
// system port that a COM entry opens is listed once, as that entry with the system name beside it.
QList<PortListEntry> portListEntries(const QList<QPair<QString, QString>>& systemPorts);

// Fills the list with the entries; its popup shows each entry's `beside` text after the entry.
void fillPortList(QComboBox* list, const QList<PortListEntry>& entries);

// Fills the rate and format lists. The items hold their values: a rate item its rate, a format item its
// parity, data bits and stop bits (as line settings at the default rate).
void fillLineLists(QComboBox* rates, QComboBox* formats);
// Selects the items of `line` in the two lists.
void showLine(QComboBox* rates, QComboBox* formats, LineSettings line);
// The line settings of the two lists' current items.
LineSettings shownLine(const QComboBox* rates, const QComboBox* formats);
