#pragma once

#include "demo/link/window_port.h"
#include "demo/model/screen_mirror.h"
#include "demo/windows/demo_window.h"

#include <QList>

struct DemoContext;
class MirrorGrid;

// "ESC/poc command list": the ESC/POS command set of the two-line KD-317, one button per command, and
// the screen mirror the person types into. The window holds its port open while it is shown.
class EscPosDemoWindow : public DemoWindow
{
    Q_OBJECT
public:
    explicit EscPosDemoWindow(DemoContext& context);

    // Opens the port and greets the display; false (after telling the person) when the port fails.
    void startUp(std::function<void(bool)> started) override;

    MirrorMode writeMode() const { return writeMode_; }
    const ScreenMirror& mirror() const { return mirror_; }
    MirrorGrid* mirrorGrid() const { return grid_; }

protected:
    void windowClosing() override;

private:
    QWidget* commandButtons();
    void commandClicked(int index);
    // Hands the job to the port; the mirror's keys and clicks wait until it (and what `then` starts) has
    // ended.
    void runJob(PortJob job, WindowPort::Then then);
    // Writes to the display, then runs `then` once the bytes have left; a port failure has been told and
    // sends the person back to the port choice.
    void send(PortJob job, std::function<void()> then = {});
    void send(const QByteArray& bytes, std::function<void()> then = {});
    void portLost();
    // Lets go of the port and hands over to `next`.
    void leaveFor(NextWindow next);
    // The person's reply; empty when cancelled.
    QString ask(const QString& prompt, const QString& defaultReply);

    // The commands with prompts, pauses or mirror work.
    void moveCursor();
    void setBrightness();
    void setBlinking();
    void showReversed();
    void startVerticalScroll();
    void setClock();
    void endTest();

    // Keys and clicks on the mirror are handled in the order they came, each once the port work before
    // it has ended, as if the person had waited for it: none is lost however fast they come.
    void takeMirrorInput(std::function<void()> input);
    void handleMirrorInput();
    void sendCursorHome();
    void typeKey(int index, const QString& text);
    void refreshMirror();

    DemoContext& context_;
    WindowPort port_;
    MirrorMode writeMode_ = MirrorMode::Overwrite;
    ScreenMirror mirror_;
    MirrorGrid* grid_;
    QList<std::function<void()>> mirrorInput_;
    int jobsRunning_ = 0;
    bool handlingInput_ = false;
};
