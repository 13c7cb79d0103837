#pragma once

#include "commands/screen_mirror.h"
#include "link/port_session.h"
#include "windows/demo_window.h"

#include <QList>

class MirrorGrid;
class WindowChain;
class QPushButton;

// "ESC/poc command list": the ESC/POS command set of the two-line KD-317, one button per command, and
// the screen mirror the person types into. The window holds its port open while it is shown.
class EscPosDemoWindow : public DemoWindow
{
    Q_OBJECT
public:
    explicit EscPosDemoWindow(WindowChain& navigator);

    // Opens the port and greets the display; false (after telling the person) when the port fails.
    void startUp(std::function<void(bool)> started) override;

    MirrorMode writeMode() const { return writeMode_; }
    const ScreenMirror& mirror() const { return mirror_; }
    MirrorGrid* mirrorGrid() const { return grid_; }

protected:
    void windowClosing() override;

private:
    void buildCommands(QWidget* area);
    void commandClicked(int number);
    // Writes to the display, then runs `then` once the bytes have left; a port failure has been told and
    // sends the person back to the port choice.
    void send(PortJob job, std::function<void()> then = {});
    void send(const QByteArray& bytes, std::function<void()> then = {});
    void portLost();
    // The person's reply; empty when cancelled.
    QString ask(const QString& prompt, const QString& defaultReply);

    // The commands with prompts, pauses or mirror work.
    void moveCursor();
    void setBrightness();
    void setBlinking();
    void showReversed();
    void startVerticalScroll();
    void setClock();

    void cellClicked(int index);
    void keyTyped(int index, const QString& text);
    void refreshMirror();

    WindowChain& navigator_;
    PortSession port_;
    MirrorMode writeMode_ = MirrorMode::Overwrite;
    ScreenMirror mirror_;
    MirrorGrid* grid_;
};
