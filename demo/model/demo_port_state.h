#pragma once

#include "demo/model/display_product.h"

#include "core/line_settings.h"
#include "core/wire_text.h"

#include <QString>
#include <optional>

// The port and line settings shared by every window for the whole run.
struct DemoPortState
{
    // The COM port number of the option last clicked; 0 while no port has been chosen.
    qint16 comPortNumber = 0;
    // A port the system reports (a USB adapter, say) or "sim", the simulated display, chosen instead of
    // a COM option; empty otherwise.
    QString systemPortName;
    // The line settings confirmed on the KD-317 port window ("9600,n,8,1" until then).
    LineSettings lineSettings;
    // The text confirmed there last when it named no line settings: until settings are confirmed again,
    // no port is opened, and the person is told why.
    std::optional<QString> refusedSettingsText;
    // The model whose demonstration is shown or about to open the port; each job that opens the port
    // carries it to the simulated display, which takes this model's part.
    DisplayProduct displayModel = DisplayProduct::KD317;
    // The encoding every text goes to the display in, chosen on the port-selection windows.
    WireEncoding encoding;

    bool portChosen() const { return !systemPortName.isEmpty() || comPortNumber > 0; }
    // What the port is called in messages and what is opened: "COM3" or the system's name.
    QString portText() const;

    void chooseComPort(int number);
    void chooseSystemPort(const QString& name);
    // The settings text confirmed on the KD-317 port window, listed or typed, read here once.
    void confirmLineSettings(const QString& text);
};
