#pragma once

#include <QString>

enum class PortPlatform { Windows, Unix };

// The platform this build runs on, for SystemPortPath.
PortPlatform CurrentPortPlatform();

// Turns a port text into what the operating system opens: "COMn" is port number n, which is
// "\\.\COMn" on Windows (the form that also reaches COM10 and above) and "/dev/ttyS<n-1>" elsewhere;
// any other text is already the system's name or path of a port and is kept as it stands.
QString SystemPortPath(const QString& portText, PortPlatform platform = CurrentPortPlatform());

// "COMn" for a port number chosen with an option button.
QString ComPortText(int number);
