#pragma once

#include "model/demo_model.h"

#include "core/wire_text.h"

#include <QString>

// The port and line settings shared by every window for the whole run.
struct DemoPortState
{
    // The COM port number of the option last clicked; 0 while no port has been chosen.
    qint16 DemoPortNumber = 0;
    // A port the system reports (a USB adapter, say) or "sim", the simulated display, chosen instead of
    // a COM option; empty otherwise.
    QString DemoPortName;
    // The settings text confirmed on the KD-317 port window, as typed; it is read where the port opens.
    QString DemoLineSettings = QStringLiteral("9600,n,8,1");
    // The model whose demonstration is shown or about to open the port; each job that opens the port
    // carries it to the simulated display, which takes this model's part.
    DemoModel DemoDisplayModel = DemoModel::KD317;
    // The encoding every text goes to the display in, chosen on the port-selection windows.
    WireEncoding encoding;

    bool portChosen() const { return !DemoPortName.isEmpty() || DemoPortNumber > 0; }
    // What the port is called in messages and what is opened: "COM3" or the system's name.
    QString portText() const;

    void chooseComPort(int number)
    {
        DemoPortNumber = static_cast<qint16>(number);
        DemoPortName.clear();
    }
    void chooseSystemPort(const QString& name)
    {
        DemoPortNumber = 0;
        DemoPortName = name;
    }
};
