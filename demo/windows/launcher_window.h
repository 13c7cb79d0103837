#pragma once

#include "demo/link/window_port.h"
#include "demo/windows/demo_window.h"

struct DemoContext;

// The launcher: one button per display model.
class LauncherWindow : public DemoWindow
{
    Q_OBJECT
public:
    explicit LauncherWindow(DemoContext& context);

private:
    void notIncluded(const QString& model);
    void sendKp685Greeting();

    DemoContext& context_;
    WindowPort kp685_;
};
