#include "emu/com_end.h"

ComEnd::ComEnd(const QString& port, const LineSettings& displaySettings, QObject* parent)
    : FarEnd(parent), displaySettings_(displaySettings)
{
    link_.setPortName(port);
    link_.setSettings(displaySettings);
    link_.setReceivedHandler([this] { emit received(link_.takeReceived(), displaySettings_); });
}
