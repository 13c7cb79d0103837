#pragma once

#include "windows/demo_window.h"

class Navigator;

// "KD138 DEMO": the one-line model's two line commands.
class OneLineDemoWindow : public DemoWindow
{
    Q_OBJECT
public:
    explicit OneLineDemoWindow(Navigator& navigator);

private:
    void press(const QByteArray& bytes);

    Navigator& navigator_;
};
