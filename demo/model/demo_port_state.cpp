#include "demo/model/demo_port_state.h"

QString DemoPortState::portText() const
{
    return systemPortName.isEmpty() ? QStringLiteral("COM%1").arg(comPortNumber) : systemPortName;
}

void DemoPortState::chooseComPort(int number)
{
    comPortNumber = static_cast<qint16>(number);
    systemPortName.clear();
}

void DemoPortState::chooseSystemPort(const QString& name)
{
    comPortNumber = 0;
    systemPortName = name;
}

void DemoPortState::confirmLineSettings(const QString& text)
{
    if (const std::optional<LineSettings> settings = LineSettings::parse(text)) {
        lineSettings = *settings;
        refusedSettingsText.reset();
    } else {
        refusedSettingsText = text;
    }
}
