#include "windows/escpos_demo_window.h"

#include "link/demo_context.h"
#include "windows/mirror_grid.h"
#include "windows/window_chain.h"

#include "core/dialogs.h"

#include <QVBoxLayout>

namespace {
const QString Greeting1 = QStringLiteral("-WELCOME- TEST MODE-");
const QString Greeting2 = QStringLiteral("--YOU CAN CHANG ME--");
} // namespace

EscPosDemoWindow::EscPosDemoWindow(WindowChain& navigator)
    : DemoWindow(QStringLiteral("ESC/poc command list")), navigator_(navigator), port_(navigator.context())
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setSpacing(14);
    grid_ = new MirrorGrid;
    auto* mirrorRow = new QHBoxLayout;
    mirrorRow->addStretch();
    mirrorRow->addWidget(grid_);
    mirrorRow->addStretch();
    layout->addLayout(mirrorRow);
    auto* commands = new QWidget;
    buildCommands(commands);
    layout->addWidget(commands);
    // The mirror keeps taking keys while port work runs; they wait their turn.
    setHeldWhileBusy(commands);
    connect(grid_, &MirrorGrid::cellClicked, this, [this] { takeMirrorInput([this] { sendCursorHome(); }); });
    connect(grid_, &MirrorGrid::keyTyped, this, [this](int index, const QString& text) {
        // A key that waits lands where the input before it leaves the focus.
        const bool waits = jobsRunning_ > 0 || !mirrorInput_.isEmpty();
        takeMirrorInput([this, index, text, waits] { typeKey(waits ? mirror_.focus() : index, text); });
    });
}

void EscPosDemoWindow::startUp(std::function<void(bool)> started)
{
    writeMode_ = MirrorMode::Overwrite;
    std::optional<PortJob> job = port_.openChosen();
    if (!job) {
        started(false);
        return;
    }
    job->write("\x0C").write("\x1F\x43\x01").text(Greeting1).text(Greeting2);
    port_.run(std::move(*job), [this, started](const JobResult& result) {
        if (!result.sent()) {
            port_.close();
            started(false);
            return;
        }
        mirror_.show(Greeting1, Greeting2);
        refreshMirror();
        started(true);
    });
}

void EscPosDemoWindow::windowClosing()
{
    port_.close();
}

void EscPosDemoWindow::runJob(PortJob job, PortSession::Then then)
{
    ++jobsRunning_;
    port_.run(std::move(job), [this, then](const JobResult& result) {
        if (then) {
            then(result);
        }
        --jobsRunning_;
        handleMirrorInput();
    });
}

void EscPosDemoWindow::send(PortJob job, std::function<void()> then)
{
    runJob(std::move(job), [this, then](const JobResult& result) {
        if (result.portFailed()) {
            portLost();
        } else if (result.sent() && then) {
            then();
        }
    });
}

void EscPosDemoWindow::send(const QByteArray& bytes, std::function<void()> then)
{
    send(PortJob().write(bytes), std::move(then));
}

// The port failed under a command (the person has been told): back to the port choice.
void EscPosDemoWindow::portLost()
{
    port_.close();
    navigator_.showPortSelection(DemoModel::KD317);
}

QString EscPosDemoWindow::ask(const QString& prompt, const QString& defaultReply)
{
    return navigator_.context().dialogs->input(demoProgramTitle(), prompt, defaultReply);
}

void EscPosDemoWindow::refreshMirror()
{
    grid_->showMirror(mirror_);
}

void EscPosDemoWindow::takeMirrorInput(std::function<void()> input)
{
    mirrorInput_.append(std::move(input));
    handleMirrorInput();
}

void EscPosDemoWindow::handleMirrorInput()
{
    if (handlingInput_) {
        return;
    }
    handlingInput_ = true;
    while (jobsRunning_ == 0 && !mirrorInput_.isEmpty()) {
        // Once the port has been let go (END TEST, a failure) the keys have nowhere to go.
        if (!port_.isOpen()) {
            mirrorInput_.clear();
            break;
        }
        mirrorInput_.takeFirst()();
    }
    handlingInput_ = false;
}

// A click anywhere on the mirror sends the cursor home and puts the focus on cell 1.
void EscPosDemoWindow::sendCursorHome()
{
    mirror_.setFocus(1);
    grid_->focusCell(1);
    send("\x0B");
}

void EscPosDemoWindow::typeKey(int index, const QString& text)
{
    // A key with no byte in the display's page is ignored.
    const WireBytes byte = port_.encoding().encode(text);
    if (!byte || byte.bytes.size() != 1) {
        return;
    }
    const int k = static_cast<unsigned char>(byte.bytes.at(0));
    if (k == 13) {
        sendCursorHome();
        return;
    }
    // Control characters go to the display like any other code but draw nothing in the mirror.
    const QString shown = (k < 32 || k == 127) ? QString() : text;
    mirror_.setFocus(index);
    mirror_.typeCharacter(index, shown, writeMode_);
    refreshMirror();
    grid_->focusCell(mirror_.focus());
    send(byte.bytes);
}
