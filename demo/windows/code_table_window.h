#pragma once

#include "link/port_session.h"
#include "windows/demo_window.h"

class WindowChain;

// "CHARACTER CODE TABLE": selects one of the display's code tables and walks its upper half.
class CodeTableWindow : public DemoWindow
{
    Q_OBJECT
public:
    explicit CodeTableWindow(WindowChain& navigator);

    void startUp(std::function<void(bool)> started) override;

protected:
    void windowClosing() override;

private:
    void showCodeTable();
    void returnToCommandList();
    // Writes every code from 128 to 255, holding each group of 32 for eight seconds.
    void showUpperHalf(PortJob& job);

    WindowChain& navigator_;
    PortSession port_;
    qint16 codeTable_ = 0;
};
