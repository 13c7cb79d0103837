#pragma once

#include "port_session.h"
#include "windows/demo_window.h"

class Navigator;

// "Internation Character Sets": selects one of the display's international sets and shows the
// characters that differ between them.
class internation : public DemoWindow
{
    Q_OBJECT
public:
    explicit internation(Navigator& navigator);

    void startUp(std::function<void(bool)> started) override;

protected:
    void windowClosing() override;

private:
    // Selects the set and shows its name and the characters that differ between the sets.
    void ShowInternationalSet();
    void Command2_Click();

    Navigator& navigator_;
    PortSession MSComm1;
    qint16 InternationalSetNumber = 0;
    QString InternationalSetName = QStringLiteral("U.S.A");
};
