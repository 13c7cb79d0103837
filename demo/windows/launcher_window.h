#pragma once

#include "link/port_session.h"
#include "windows/demo_window.h"

class WindowChain;

// The launcher: one button per display model.
class LauncherWindow : public DemoWindow
{
    Q_OBJECT
public:
    explicit LauncherWindow(WindowChain& navigator);

protected:
    void windowClosing() override;

private:
    void notIncluded(const QString& model);
    void sendKp685Greeting();

    WindowChain& navigator_;
    PortSession kp685_;
};
