#pragma once

#include <QWidget>

class DemoClock;

// What every vfddemo window shares: it deletes itself when closed, and while it pauses (the fixed
// waits some commands need) all its controls are disabled and a close from the window frame is
// refused, so no input slips between the held-back bytes and the window is never destroyed under
// the command that is running. The window keeps repainting meanwhile.
class DemoWindow : public QWidget
{
    Q_OBJECT
public:
    explicit DemoWindow(const QString& caption);

    bool isBusy() const { return busyDepth_ > 0; }

protected:
    // Runs while the window closes, to let go of its port.
    virtual void windowClosing() {}
    void closeEvent(QCloseEvent* event) override;

    // Holds the window busy for the life of the object.
    class Busy
    {
    public:
        explicit Busy(DemoWindow& window);
        ~Busy();
        Busy(const Busy&) = delete;
        Busy& operator=(const Busy&) = delete;

    private:
        DemoWindow& window_;
    };

    // A fixed pause during which the window is busy.
    void pauseFor(DemoClock& clock, int ms);

private:
    int busyDepth_ = 0;
};
