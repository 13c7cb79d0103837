#pragma once

#include "link/port_session.h"
#include "windows/demo_window.h"

class Navigator;

// The launcher: one button per display model.
class LauncherWindow : public DemoWindow
{
    Q_OBJECT
public:
    explicit LauncherWindow(Navigator& navigator);

protected:
    void windowClosing() override;

private:
    void notIncluded(const QString& model);
    void sendKp685Greeting();

    Navigator& navigator_;
    PortSession kp685_;
};
