#pragma once

#include "core/line_settings.h"
#include "core/wire_text.h"

#include <QString>
#include <optional>

// The port selection of the main window or of vfdctl's options, applied when a display session opens.
struct PortSelection
{
    QString port = QStringLiteral("COM1");
    LineSettings line;
    // Why the settings the person gave do not parse; empty when they do. Opening then fails with it.
    QString lineRefusal;
    // The encoding that text goes to the display in.
    WireEncoding encoding;

    // Parses the speed ("9600") and the format ("N,8,1") as the person gave them, once.
    void setLine(const QString& baud, const QString& format)
    {
        const std::optional<LineSettings> parsed =
            LineSettings::parse(baud + QLatin1Char(',') + format, &lineRefusal);
        if (parsed) {
            line = *parsed;
            lineRefusal.clear();
        }
    }
};
