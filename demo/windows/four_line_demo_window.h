#pragma once

#include "demo/model/kd426_commands.h"
#include "demo/windows/demo_window.h"

#include <QList>

struct DemoContext;
class PortJob;
class WindowPort;

// "KD426-繁體": the four-line model's line commands, its clock and the printer pass-through. Every
// press opens the shared port, writes, and closes it again.
class FourLineDemoWindow : public DemoWindow
{
    Q_OBJECT
public:
    FourLineDemoWindow(DemoContext& context, WindowPort& sharedPort);

    // Tries the shared port once, so that the person may pick another port at once instead of finding
    // out at the first press.
    void startUp(std::function<void(bool)> started) override;

private:
    void press(int number);
    // Runs `steps` from `next` on, adding the port work to `job` until a prompt needs the work so far
    // done; the port is closed at the end and after any failure.
    void proceed(PortJob job, const QList<Kd426::Step>& steps, int next);

    DemoContext& context_;
    WindowPort& port_;
};
