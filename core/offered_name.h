#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// How a word a person typed picks one of the names a list offers (a rate, a data format, a parity, a
// command set, a code page, a charset, a brightness, a text encoding, true or false), in options, in
// profiles and in the window alike: letter case does not matter, and nothing else is forgiven (no
// blanks, no abbreviations). The list's own spelling is what comes back, so that everything past
// this point compares exactly. Nothing when the list offers no such name.
std::optional<QString> offeredName(const QStringList& offered, const QString& typed);
