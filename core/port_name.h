#pragma once

#include <QString>
#include <optional>

// The port text is what the person picked or typed:
//  - "COMn" is port number n: every "COM" becomes "0" and the rest is read as a number;
//  - "sim" is the built-in simulated display, and "sim:NAME" (sim:a, sim:b, ...) another one beside
//    it: each name is a display of its own within one run;
//  - anything else is the system's own name or path of a port, opened as it stands.

inline const QString kSimulatedPortName = QStringLiteral("sim");

// "sim", or "sim:" followed by a name of letters, digits, '-' or '_'.
bool isSimulatedPort(const QString& portText);
bool isComPortText(const QString& portText);

// The port number of a "COMn" text; nothing when the text does not give a number of 1 or more.
std::optional<int> comPortNumber(const QString& portText);

// The name the system opens: "\\.\COMn" on Windows (which also reaches COM10 and above),
// "/dev/ttyS<n-1>" elsewhere; other texts as they stand. Nothing for a "COM" text without a number.
std::optional<QString> systemPortName(const QString& portText);

// The number n of the "COMn" entry among COM1 to COM`highest` that opens the system port
// `systemName` (COM1 for /dev/ttyS0 on Linux); nothing when none does. A port list shows such a port
// once, as its COM entry.
std::optional<int> comPortOpening(const QString& systemName, int highest);
