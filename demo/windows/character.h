#pragma once

#include "port_session.h"
#include "windows/demo_window.h"

class Navigator;

// "CHARACTER CODE TABLE": selects one of the display's code tables and walks its upper half.
class CHARACTER : public DemoWindow
{
    Q_OBJECT
public:
    explicit CHARACTER(Navigator& navigator);

    void startUp(std::function<void(bool)> started) override;

protected:
    void windowClosing() override;

private:
    void Command1_Click();
    void Command2_Click();
    // Writes every code from 128 to 255, holding each group of 32 for eight seconds.
    void DIS(PortJob& job);

    Navigator& navigator_;
    PortSession MSComm1;
    qint16 CodeTableNumber = 0;
};
