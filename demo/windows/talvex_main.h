#pragma once

#include "port_session.h"
#include "windows/demo_window.h"

class Navigator;

// The launcher: one button per display model.
class talvex_main : public DemoWindow
{
    Q_OBJECT
public:
    explicit talvex_main(Navigator& navigator);

protected:
    void windowClosing() override;

private:
    void notIncluded(const QString& model);
    void Command4_Click();

    Navigator& navigator_;
    PortSession kp685_;
};
