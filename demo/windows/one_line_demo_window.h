#pragma once

#include "windows/demo_window.h"

class WindowChain;

// "KD138 DEMO": the one-line model's two line commands.
class OneLineDemoWindow : public DemoWindow
{
    Q_OBJECT
public:
    explicit OneLineDemoWindow(WindowChain& navigator);

private:
    void press(const QByteArray& bytes);

    WindowChain& navigator_;
};
