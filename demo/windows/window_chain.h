#pragma once

#include "model/demo_model.h"

class PortSession;
struct DemoContext;

// What a window may ask of the chain of windows it belongs to: the shared state, handing over to the
// next window, ending the program, and the hidden shared port. The windows know only this; the
// navigator, which makes the windows, implements it, so no window depends on the others.
class WindowChain
{
public:
    virtual ~WindowChain() = default;

    virtual DemoContext& context() = 0;

    virtual void showLauncher() = 0;
    virtual void showPortSelection(DemoModel model) = 0;
    virtual void showEscPosDemo() = 0;
    virtual void showCodeTable() = 0;
    virtual void showInternationalSet() = 0;
    virtual void showFourLineDemo() = 0;
    virtual void showOneLineDemo() = 0;
    virtual void endProgram() = 0;

    // The hidden window holding the port of the four-line and one-line demonstrations, loaded on first use.
    virtual PortSession& sharedPort() = 0;
    virtual void loadSharedPort() = 0;
    virtual void unloadSharedPort() = 0;
};
