#pragma once

#include <QByteArray>
#include <QList>

// The KP-685 greeting, as separate writes in order: print modes, the maker's name and address in
// Chinese, its telephone and fax lines.
QList<QByteArray> kp685Sequence();
