#pragma once

#include "demo/link/window_port.h"
#include "demo/model/display_product.h"
#include "demo/windows/demo_window.h"
#include "demo/windows/next_window.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

struct DemoContext;

// The chain of windows, one visible at a time. A window hands over by letting go of its port and then
// asking for the next one; the next is made, gets ready (a demonstration opens its port on the device
// worker) and is shown, and only then is the old one closed, so the program never has a moment without
// a visible window. A demonstration that cannot open its port is not shown: the person is told why and
// stays on (or is brought back to) the port selection. While the device worker has work the window
// shown is busy.
class Navigator : public QObject
{
    Q_OBJECT
public:
    explicit Navigator(DemoContext& context);
    ~Navigator() override;

    QWidget* current() const { return current_; }
    // Makes `next`, and shows it in place of the current window once it is ready.
    void show(NextWindow next);

private:
    void putInPlace(DemoWindow* next);
    // Shows a demonstration once its start-up has worked; otherwise the port selection of `model`.
    void showWhenStarted(DemoWindow* window, DisplayProduct model);
    void cannotOpen(DisplayProduct model);
    DemoWindow* adopt(DemoWindow* window);
    bool portBusy() const;

    DemoContext& context_;
    QPointer<DemoWindow> current_;
    // The port of the four-line and one-line demonstrations, which open it around each button press:
    // the never-shown window "Form1" that holds it.
    WindowPort sharedPort_;
};
