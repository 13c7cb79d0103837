#pragma once

#include "demo/link/window_port.h"
#include "demo/windows/demo_window.h"

struct DemoContext;

// "Internation Character Sets": selects one of the display's international sets and shows the
// characters that differ between them.
class InternationalSetWindow : public DemoWindow
{
    Q_OBJECT
public:
    explicit InternationalSetWindow(DemoContext& context);

    void startUp(std::function<void(bool)> started) override;

protected:
    void windowClosing() override;

private:
    // Selects the set and shows its name and the characters that differ between the sets.
    void showInternationalSet();
    void returnToCommandList();

    WindowPort port_;
    qint16 setNumber_ = 0;
    QString setName_ = QStringLiteral("U.S.A");
};
