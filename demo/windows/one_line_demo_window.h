#pragma once

#include "demo/windows/demo_window.h"

class WindowPort;

// "KD138 DEMO": the one-line model's two line commands. Every press opens the shared port, writes, and
// closes it again.
class OneLineDemoWindow : public DemoWindow
{
    Q_OBJECT
public:
    explicit OneLineDemoWindow(WindowPort& sharedPort);

    // Tries the shared port once, as the four-line demonstration does.
    void startUp(std::function<void(bool)> started) override;

private:
    void press(const QByteArray& bytes);

    WindowPort& port_;
};
