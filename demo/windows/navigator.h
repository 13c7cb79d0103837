#pragma once

#include "windows/window_chain.h"

#include <QMetaObject>
#include <QPointer>
#include <QWidget>
#include <memory>

struct DemoContext;
class DemoWindow;
class PortSession;

// The chain of windows, one visible at a time. A window hands over by letting go of its port and then
// asking for the next one; the next is made, gets ready (a demonstration opens its port on the port
// worker) and is shown, and only then is the old one closed, so the program never has a moment without
// a visible window. A demonstration that cannot open its port is not shown: the person is told why and
// stays on (or is brought back to) the port selection. While the port worker has work the window shown
// is busy.
class Navigator : public WindowChain
{
public:
    explicit Navigator(DemoContext& context);
    ~Navigator() override;
    Navigator(const Navigator&) = delete;
    Navigator& operator=(const Navigator&) = delete;

    DemoContext& context() override { return context_; }
    QWidget* current() const { return current_; }

    void showLauncher() override;
    void showPortSelection(DemoModel model) override;
    void showEscPosDemo() override;
    void showCodeTable() override;
    void showInternationalSet() override;
    void showFourLineDemo() override;
    void showOneLineDemo() override;
    void endProgram() override;

    PortSession& sharedPort() override;
    void loadSharedPort() override;
    void unloadSharedPort() override;

private:
    void handOver(QWidget* next);
    // Shows the window once its start-up has worked; otherwise the port selection of `model`.
    void startUp(DemoWindow* window, DemoModel model);
    void cannotOpen(DemoModel model);
    bool portBusy() const;

    DemoContext& context_;
    QPointer<QWidget> current_;
    std::unique_ptr<PortSession> sharedPort_;
    QMetaObject::Connection busyConnection_;
};
