#include "emu/screen_text.h"

#include "emu/virtual_display.h"

QString screenText(VirtualDisplay& display)
{
    CustomerDisplayEmulator& emulator = display.emulator();
    const VfdFrame frame = emulator.frame();
    QStringList lines;
    for (int row = 0; row < frame.grid.rows(); ++row)
        lines << frame.grid.rowText(row);
    lines << QString();
    switch (display.model()) {
    case DisplayProduct::KD317:
        lines << QStringLiteral("cursor %1,%2").arg(frame.cursorRow + 1).arg(frame.cursorColumn + 1);
        break;
    case DisplayProduct::KD138:
        lines << QStringLiteral("cursor 1,%1").arg(emulator.kd138().cursorColumn() + 1);
        break;
    case DisplayProduct::KD426:
        lines << QStringLiteral("cursor none") << QString() << emulator.kd426().receipt().lineTexts();
        break;
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}
