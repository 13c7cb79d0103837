#pragma once

#include "demo/link/window_port.h"
#include "demo/windows/demo_window.h"

struct DemoContext;

// "CHARACTER CODE TABLE": selects one of the display's code tables and walks its upper half.
class CodeTableWindow : public DemoWindow
{
    Q_OBJECT
public:
    explicit CodeTableWindow(DemoContext& context);

    void startUp(std::function<void(bool)> started) override;

protected:
    void windowClosing() override;

private:
    void showCodeTable();
    void returnToCommandList();

    WindowPort port_;
    qint16 codeTable_ = 0;
};
